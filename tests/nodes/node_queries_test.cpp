#include "node_fixture.h"

#include "core/vellumengine.h"
#include "scene/node_utilities.h"
#include "scene/screen_mapping.h"
#include "support/test_program.h"
#include "utils/utils_str.h"

#include <cmath>
#include <cstdlib>

namespace {

class NodeQueries : public NodeTest {
protected:
    void SetUp() override {
        NodeTest::SetUp();
        getEngine().setDeviceServices(device);
        camera = scene->addCameraSceneNode(nullptr, irr::core::vector3df(0, 0, -20.65f),
                                           irr::core::vector3df(0, 0, 0));
        camera->setAspectRatio(4.0f / 3.0f);
        scene->setActiveCamera(camera);
        // One frame brings the camera's view area up to date.
        scene->drawAll();
    }

    void TearDown() override {
        getEngine().getRenderer().drainDeletionQueue();
        getEngine().setDeviceServices(nullptr);
        NodeTest::TearDown();
    }

    irr::scene::ICameraSceneNode* camera = nullptr;
};

TEST_F(NodeQueries, DeletionIsQueuedAndTheNodeStaysUntilTheQueueDrains) {
    CNodeBasement* node = makeNode(nullptr, 70);
    node->setName("doomed");
    deleteNode(node);
    deleteNode(node);
    EXPECT_EQ(getEngine().getRenderer().queuedDeletions(), 2u);
    EXPECT_EQ(node->getParent(), scene->getRootSceneNode());
    EXPECT_EQ(std::string(node->getName()),
              "doomed" +
                  format(",DELALREADY(id=70, p=%08llX)",
                         static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(node))) +
                  format(",DELALREADY(id=70, p=%08llX)",
                         static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(node))));
    getEngine().getRenderer().drainDeletionQueue();
    EXPECT_EQ(getNodeById(70), nullptr);
    EXPECT_EQ(getEngine().getRenderer().queuedDeletions(), 0u);
}

TEST_F(NodeQueries, DeletingAnAnimatorFinishesItAndClearsItsName) {
    CNodeBasement* node = makeNode();
    node->setName("keeps");
    TestAnimator* animator = new TestAnimator("SELDES");
    node->addAnimator(animator);
    animator->grab();
    animator->drop();
    deleteNode(node, animator);
    EXPECT_TRUE(animator->finished);
    EXPECT_EQ(animator->tag, "");
    EXPECT_STREQ(node->getName(), "keeps");
    getEngine().getRenderer().drainDeletionQueue();
    EXPECT_TRUE(node->getAnimators().empty());
    EXPECT_EQ(node->getParent(), scene->getRootSceneNode());
    animator->drop();
}

TEST_F(NodeQueries, TrulyVisibleNeedsEveryAncestorVisible) {
    CNodeBasement* parent = makeNode();
    CNodeBasement* child = makeNode(parent);
    EXPECT_TRUE(isTrulyVisible(child));
    parent->setVisible(false);
    EXPECT_TRUE(child->isVisible());
    EXPECT_FALSE(isTrulyVisible(child));
    scene->getRootSceneNode()->setVisible(false);
    parent->setVisible(true);
    EXPECT_FALSE(isTrulyVisible(child));
    scene->getRootSceneNode()->setVisible(true);
}

TEST_F(NodeQueries, ScreenPointsMapToTheirSceneOffsetAtAGivenDepth) {
    irr::core::position2di centre(400, 300);
    irr::core::vector3df middle = screenToScene(20.65f, &centre);
    EXPECT_NEAR(middle.X, 0, 1e-4);
    EXPECT_NEAR(middle.Y, 0, 1e-4);
    EXPECT_NEAR(middle.Z, 20.65f, 1e-4);

    float halfHeight = 10.0f * std::tan(camera->getFOV() / 2);
    irr::core::position2di topRight(800, 0);
    irr::core::vector3df corner = screenToScene(10.0f, &topRight);
    EXPECT_NEAR(corner.Z, 10.0f, 1e-3);
    EXPECT_NEAR(corner.Y, halfHeight, 1e-3);
    EXPECT_NEAR(corner.X, halfHeight * 4.0f / 3.0f, 1e-3);
    EXPECT_NEAR(screenToScene(20.0f, &topRight).X, 2 * corner.X, 1e-3);
}

TEST_F(NodeQueries, CursorInNodeIsAFractionOfItsBox) {
    EXPECT_EXIT(
        {
            TestProgram gameProgram;
            CNodeBasement* node = makeNode(nullptr, 8001, irr::core::vector3df(1, 0, 0),
                                           irr::core::dimension2df(4, 2));
            node->updateAbsolutePosition();
            device->getCursorControl()->setPosition(irr::core::position2di(400, 300));
            getEngine().getInput().updateCursor();
            irr::core::vector2df inside = getCursorInNode(node);
            node->setPosition(irr::core::vector3df(-10, -10, 0));
            node->updateAbsolutePosition();
            irr::core::vector2df outside = getCursorInNode(node);
            bool ok = std::fabs(inside.X - 0.25f) < 1e-3 && std::fabs(inside.Y - 0.5f) < 1e-3 &&
                      outside.X > 1 && outside.Y > 1;
            if (!ok) {
                fprintf(stderr, "inside %f %f outside %f %f\n", inside.X, inside.Y, outside.X,
                        outside.Y);
            }
            std::exit(ok ? 0 : 2);
        },
        testing::ExitedWithCode(0), "");
}

} // namespace
