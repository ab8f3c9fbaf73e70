#include "node_fixture.h"

namespace {

using NodeTransform = NodeTest;

// The library's definition of the absolute transformation, computed in full.
irr::core::matrix4 libraryAbsolute(irr::scene::ISceneNode* node) {
    return node->getParent()->getAbsoluteTransformation() * node->getRelativeTransformation();
}

void expectSameMatrix(const irr::core::matrix4& actual, const irr::core::matrix4& expected) {
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(actual[i], expected[i]) << "element " << i;
    }
}

TEST_F(NodeTransform, AbsoluteTransformationIsTheLibraryProductWhetherMovedTurnedOrScaled) {
    // A library parent that is moved, turned and scaled, with engine nodes below it: one only
    // moved (the short way), one turned and one scaled (the library's way), and a moved node
    // below the turned one.
    irr::scene::ISceneNode* parent = scene->addEmptySceneNode(nullptr, -1);
    parent->setPosition(irr::core::vector3df(1.5f, -2.25f, 3.0f));
    parent->setRotation(irr::core::vector3df(10.0f, -20.0f, 33.0f));
    parent->setScale(irr::core::vector3df(2.0f, 0.5f, 1.25f));
    parent->updateAbsolutePosition();

    CNodeBasement* moved = makeNode(parent, 8001, irr::core::vector3df(0.3f, -0.7f, 0.11f));
    CNodeBasement* turned = makeNode(parent, 8001, irr::core::vector3df(-4.0f, 2.0f, 0.5f));
    turned->setRotation(irr::core::vector3df(0, 0, 45.0f));
    CNodeBasement* scaled = makeNode(parent, 8001, irr::core::vector3df(7.0f, 0.25f, -1.0f));
    scaled->setScale(irr::core::vector3df(3.0f, 3.0f, 1.0f));
    CNodeBasement* below = makeNode(turned, 8001, irr::core::vector3df(0.125f, 9.5f, -0.2f));
    CNodeBasement* atRoot = makeNode(nullptr, 8001, irr::core::vector3df(-3.5f, 1.0f, 20.55f));

    for (CNodeBasement* node : {moved, turned, scaled, below, atRoot}) {
        node->updateAbsolutePosition();
        SCOPED_TRACE(node == moved    ? "moved"
                     : node == turned ? "turned"
                     : node == scaled ? "scaled"
                     : node == below  ? "below"
                                      : "at root");
        expectSameMatrix(node->getAbsoluteTransformation(), libraryAbsolute(node));
    }

    // Moving again follows the parent's current transformation.
    parent->setRotation(irr::core::vector3df(0, 0, -90.0f));
    parent->updateAbsolutePosition();
    moved->setPosition(irr::core::vector3df(5.0f, 6.0f, 7.0f));
    moved->updateAbsolutePosition();
    expectSameMatrix(moved->getAbsoluteTransformation(), libraryAbsolute(moved));
    EXPECT_FALSE(moved->isGeometryValid());
}

} // namespace
