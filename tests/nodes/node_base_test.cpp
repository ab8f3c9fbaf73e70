#include "node_fixture.h"

#include "core/vellumengine.h"
#include "scene/node_debug_list.h"
#include "scene/node_utilities.h"
#include "utils/engine_state.h"

#include <algorithm>
#include <limits>

namespace {

using NodeBase = NodeTest;

// A node that carries the text node's marker.
class MarkedTextNode : public CNodeBasement {
public:
    MarkedTextNode(irr::scene::ISceneNode* parent, irr::scene::ISceneManager* manager)
        : CNodeBasement(parent, manager, 8001, irr::core::vector3df(),
                        irr::core::dimension2df(1, 1)) {
        setDebugName(NBASE_TXT);
    }
};

class CountedOwner : public irr::IReferenceCounted {
public:
    explicit CountedOwner(bool& destroyed) : destroyed(destroyed) {}
    ~CountedOwner() override { destroyed = true; }
    bool& destroyed;
};

TEST_F(NodeBase, NewNodeHasTheDocumentedDefaults) {
    CNodeBasement* node =
        makeNode(nullptr, 8001, irr::core::vector3df(1, 2, 3), irr::core::dimension2df(2, 4));
    EXPECT_STREQ(node->getDebugName(), "NBASE_SPR");
    EXPECT_EQ(asEngineNode(node), node);
    EXPECT_EQ(asEngineNode(scene->getRootSceneNode()), nullptr);
    EXPECT_EQ(node->getAlphaThreshold(), 12);
    EXPECT_EQ(node->getHideCount(), 0);
    EXPECT_FLOAT_EQ(node->getAlpha(), 1.0f);
    EXPECT_FLOAT_EQ(node->getAlphaFactor(), 1.0f);
    EXPECT_EQ(node->getTint(), 0xFFFFFFFFu);
    EXPECT_EQ(node->getRenderOrder(), 0);
    EXPECT_TRUE(node->areAnimatorsEnabled());
    EXPECT_FALSE(node->isGeometryValid());
    EXPECT_EQ(node->getOwner(), nullptr);
    EXPECT_EQ(node->getAutomaticCulling(), irr::scene::EAC_OFF);
    EXPECT_EQ(node->getPosition(), irr::core::vector3df(1, 2, 3));
    EXPECT_EQ(node->getEffectiveAlpha(), 255);
    EXPECT_EQ(node->getNodeKind(), static_cast<irr::u32>(irr::scene::ESNT_BILLBOARD));
    EXPECT_EQ(node->getType(), irr::scene::ESNT_UNKNOWN);
    EXPECT_STREQ(node->getName(), "id00001F41_");
}

TEST_F(NodeBase, AlphaFarBeyondTheUnitRangeOrNotANumberIsClamped) {
    CNodeBasement* node =
        makeNode(nullptr, 8001, irr::core::vector3df(), irr::core::dimension2df(1, 1));
    node->setAlpha(5.5e16f);
    EXPECT_EQ(node->getEffectiveAlpha(), 255);
    node->setAlpha(-1e30f);
    EXPECT_EQ(node->getEffectiveAlpha(), 0);
    node->setAlpha(std::numeric_limits<float>::quiet_NaN());
    EXPECT_EQ(node->getEffectiveAlpha(), 0);
    node->setAlpha(0.5f);
    EXPECT_EQ(node->getEffectiveAlpha(), 127);
}

// A node that counts how often it is drawn.
class DrawCountingNode : public CNodeBasement {
public:
    explicit DrawCountingNode(irr::scene::ISceneNode* parent)
        : CNodeBasement(parent, parent->getSceneManager(), 8001, irr::core::vector3df(),
                        irr::core::dimension2df(1, 1)) {
        drop();
    }
    void render() override { ++draws; }
    int draws = 0;
};

TEST_F(NodeBase, FramesDrawNodesAboveTheirThresholdAndTheChildrenOfHiddenOnes) {
    getEngine().setDeviceServices(device);
    DrawCountingNode* faint = new DrawCountingNode(scene->getRootSceneNode());
    DrawCountingNode* underFaint = new DrawCountingNode(faint);
    DrawCountingNode* hidden = new DrawCountingNode(scene->getRootSceneNode());
    DrawCountingNode* underHidden = new DrawCountingNode(hidden);
    DrawCountingNode* invisible = new DrawCountingNode(scene->getRootSceneNode());
    DrawCountingNode* underInvisible = new DrawCountingNode(invisible);
    faint->setAlpha(0.04f);
    hidden->setHideCount(1);
    invisible->setVisible(false);

    getEngine().getRenderer().renderAll();
    getEngine().setDeviceServices(nullptr);
    EXPECT_EQ(faint->draws, 0);
    EXPECT_EQ(underFaint->draws, 1);
    EXPECT_EQ(hidden->draws, 0);
    EXPECT_EQ(underHidden->draws, 1);
    EXPECT_EQ(invisible->draws, 0);
    EXPECT_EQ(underInvisible->draws, 0);
}

TEST_F(NodeBase, EffectiveAlphaIsClampedAndHiddenNodesAreNotDrawn) {
    CNodeBasement* node = makeNode();
    node->setAlpha(0.04f);
    EXPECT_EQ(node->getEffectiveAlpha(), 0);
    node->setAlphaThreshold(10);
    EXPECT_EQ(node->getEffectiveAlpha(), 10);
    node->setAlpha(3.0f);
    EXPECT_EQ(node->getEffectiveAlpha(), 255);
    node->setAlpha(-1.0f);
    node->setAlphaThreshold(0);
    EXPECT_EQ(node->getEffectiveAlpha(), 0);
    node->setAlpha(0.5f);
    node->setAlphaFactor(0.5f);
    EXPECT_EQ(node->getEffectiveAlpha(), 63);
    node->setHideCount(1);
    EXPECT_EQ(node->getEffectiveAlpha(), 0);
}

TEST_F(NodeBase, SubtreeSettersReachOnlyDescendantsThatExist) {
    CNodeBasement* parent = makeNode();
    // A library node between engine nodes does not stop the walk.
    irr::scene::ISceneNode* plain = scene->addEmptySceneNode(parent);
    CNodeBasement* grandchild = makeNode(plain);
    CNodeBasement* child = makeNode(parent);

    parent->setAlphaFactor(0.5f);
    parent->setAlphaThreshold(3);
    parent->setRenderOrder(6);
    CNodeBasement* later = makeNode(parent);

    for (CNodeBasement* node : {parent, child, grandchild}) {
        EXPECT_FLOAT_EQ(node->getAlphaFactor(), 0.5f);
        EXPECT_EQ(node->getAlphaThreshold(), 3);
        EXPECT_EQ(node->getRenderOrder(), 6);
    }
    EXPECT_FLOAT_EQ(later->getAlphaFactor(), 1.0f);
    EXPECT_EQ(later->getAlphaThreshold(), 12);
    EXPECT_EQ(later->getRenderOrder(), 0);

    child->setAlphaFactor(0.25f);
    EXPECT_FLOAT_EQ(parent->getAlphaFactor(), 0.5f);
}

TEST_F(NodeBase, ZeroSizeComponentsAreStoredAsOne) {
    CNodeBasement* node =
        makeNode(nullptr, 8001, irr::core::vector3df(), irr::core::dimension2df(0, 5));
    EXPECT_EQ(node->getSize(), irr::core::dimension2df(1, 5));
    const irr::core::aabbox3df& box = node->getBoundingBox();
    EXPECT_EQ(box.MinEdge, irr::core::vector3df(-0.5f, -2.5f, -0.001f));
    EXPECT_EQ(box.MaxEdge, irr::core::vector3df(0.5f, 2.5f, 0.001f));
    node->setSize(3, 0);
    EXPECT_EQ(node->getSize(), irr::core::dimension2df(3, 1));
}

TEST_F(NodeBase, MapY2ZFollowsTheYPositionAndDepthsAddUp) {
    CNodeBasement* parent = makeNode();
    CNodeBasement* child = makeNode(parent);
    parent->setMapY2Z(100);
    parent->setPosition(irr::core::vector3df(0, 0.25f, 0));
    parent->updateAbsolutePosition();
    EXPECT_EQ(parent->getLocalDepth(), 25);
    EXPECT_EQ(parent->getAbsoluteDepth(), 25);
    child->setLocalDepth(3);
    EXPECT_EQ(child->getAbsoluteDepth(), 28);

    // The depth box sits lower by the absolute depth in steps of 1e-8.
    EXPECT_FLOAT_EQ(child->getDepthBox().MinEdge.Z, -0.001f - 28e-8f);
    EXPECT_FLOAT_EQ(child->getDepthBox().MaxEdge.Z, 0.001f - 28e-8f);
}

TEST_F(NodeBase, DepthIsNotInheritedFromALibraryParent) {
    CNodeBasement* outer = makeNode();
    outer->setLocalDepth(40);
    irr::scene::ISceneNode* plain = scene->addEmptySceneNode(outer);
    CNodeBasement* inner = makeNode(plain);
    inner->setLocalDepth(2);
    EXPECT_EQ(inner->getAbsoluteDepth(), 2);
}

TEST_F(NodeBase, MovingClearsTheGeometryFlagOnlyWhenTheNodeMoves) {
    CNodeBasement* parent = makeNode();
    CNodeBasement* child = makeNode(parent);
    child->setGeometryValid(true);
    child->updateAbsolutePosition();
    EXPECT_TRUE(child->isGeometryValid());
    parent->setPosition(irr::core::vector3df(1, 0, 0));
    parent->updateAbsolutePosition();
    child->updateAbsolutePosition();
    EXPECT_FALSE(child->isGeometryValid());

    child->setGeometryValid(true);
    child->setPosition(child->getPosition());
    EXPECT_FALSE(child->isGeometryValid());
    child->setGeometryValid(true);
    child->setSize(2, 2);
    EXPECT_FALSE(child->isGeometryValid());
}

TEST_F(NodeBase, SetIdPrefixesTheNameEveryTimeAndMovesTheTableEntry) {
    CNodeBasement* node = makeNode();
    node->setName("x");
    node->setID(7);
    node->setID(8);
    EXPECT_STREQ(node->getName(), "id00000008_id00000007_x");
    EXPECT_EQ(getIdCache(7, kIdCacheRead, nullptr), nullptr);
    EXPECT_EQ(getIdCache(8, kIdCacheRead, nullptr), node);
}

TEST_F(NodeBase, NodeLeavingIdZeroLeavesNoEntryBehind) {
    CNodeBasement* node = makeNode(nullptr, 0);
    EXPECT_EQ(getIdCache(0, kIdCacheRead, nullptr), node);
    node->setID(21);
    EXPECT_EQ(getIdCache(0, kIdCacheRead, nullptr), nullptr);
    node->remove();
    EXPECT_EQ(getIdCache(21, kIdCacheRead, nullptr), nullptr);
}

TEST_F(NodeBase, PropertiesReadTheirDefaultsUntilWritten) {
    CNodeBasement* node = makeNode();
    EXPECT_EQ(node->getStringProperty("name", "none"), "none");
    EXPECT_EQ(node->getIntProperty("count", -1), -1);
    EXPECT_FLOAT_EQ(node->getFloatProperty("scale", 0.5f), 0.5f);
    node->setStringProperty("name", "Ann");
    node->setIntProperty("count", 4);
    node->setFloatProperty("scale", 1.25f);
    EXPECT_EQ(node->getStringProperty("name", "none"), "Ann");
    EXPECT_EQ(node->getIntProperty("count", -1), 4);
    EXPECT_FLOAT_EQ(node->getFloatProperty("scale", 0.5f), 1.25f);
    EXPECT_EQ(node->getIntProperty("missing", 9), 9);
}

TEST_F(NodeBase, FindAnimatorSearchesTheNodeFirstThenChildrenDepthFirst) {
    CNodeBasement* parent = makeNode();
    CNodeBasement* first = makeNode(parent);
    CNodeBasement* deep = makeNode(first);
    CNodeBasement* second = makeNode(parent);

    TestAnimator* deepOne = new TestAnimator("SELDES");
    deep->addAnimator(deepOne);
    deepOne->drop();
    TestAnimator* secondOne = new TestAnimator("SELDES");
    second->addAnimator(secondOne);
    secondOne->drop();
    irr::scene::ISceneNodeAnimator* library = scene->createRotationAnimator(irr::core::vector3df());
    parent->addAnimator(library);
    library->drop();

    EXPECT_EQ(parent->findAnimator("SELDES", false), nullptr);
    EXPECT_EQ(parent->findAnimator("SELDES", true), deepOne);
    EXPECT_EQ(second->findAnimator("SELDES", false), secondOne);
    EXPECT_EQ(parent->findAnimator("SELDE", true), nullptr);

    TestAnimator* own = new TestAnimator("SELDES");
    parent->addAnimator(own);
    own->drop();
    EXPECT_EQ(parent->findAnimator("SELDES", true), own);
}

TEST_F(NodeBase, TextChildrenAreCountedAmongTextNodesOnly) {
    CNodeBasement* parent = makeNode();
    makeNode(parent);
    MarkedTextNode* firstText = new MarkedTextNode(parent, scene);
    firstText->drop();
    makeNode(parent);
    MarkedTextNode* secondText = new MarkedTextNode(parent, scene);
    secondText->drop();
    EXPECT_EQ(parent->getTextChild(0), firstText);
    EXPECT_EQ(parent->getTextChild(1), secondText);
    EXPECT_EQ(parent->getTextChild(2), nullptr);
    EXPECT_EQ(asEngineNode(firstText), firstText);
}

TEST_F(NodeBase, AnimationRunsAnimatorsOnlyWhenVisibleAndEnabled) {
    CNodeBasement* parent = makeNode();
    CNodeBasement* child = makeNode(parent);
    TestAnimator* parentAnimator = new TestAnimator();
    parent->addAnimator(parentAnimator);
    parentAnimator->drop();
    TestAnimator* childAnimator = new TestAnimator();
    child->addAnimator(childAnimator);
    childAnimator->drop();

    parent->OnAnimate(10);
    EXPECT_EQ(parentAnimator->steps, 1);
    EXPECT_EQ(childAnimator->steps, 1);

    parent->setAnimatorsEnabled(false);
    parent->setPosition(irr::core::vector3df(2, 0, 0));
    parent->OnAnimate(20);
    EXPECT_EQ(parentAnimator->steps, 1);
    EXPECT_EQ(childAnimator->steps, 2);
    EXPECT_EQ(child->getAbsolutePosition(), irr::core::vector3df(2, 0, 0));

    parent->setVisible(false);
    parent->OnAnimate(30);
    EXPECT_EQ(childAnimator->steps, 2);
}

TEST_F(NodeBase, DestructionFinishesAnimatorsClearsTheEntryAndDropsTheOwner) {
    CNodeBasement* node = makeNode(nullptr, 31);
    TestAnimator* animator = new TestAnimator("ALPH01");
    animator->grab();
    node->addAnimator(animator);
    animator->drop();
    bool ownerDestroyed = false;
    node->setOwner(new CountedOwner(ownerDestroyed));
    CNodeBasement* child = makeNode(node, 32);
    child->grab();

    node->remove();
    EXPECT_TRUE(animator->finished);
    EXPECT_TRUE(ownerDestroyed);
    EXPECT_EQ(getIdCache(31, kIdCacheRead, nullptr), nullptr);
    EXPECT_EQ(child->getParent(), nullptr);
    animator->drop();
    child->drop();
    EXPECT_EQ(getIdCache(32, kIdCacheRead, nullptr), nullptr);
}

TEST_F(NodeBase, DebugModeNamesNodesAndListsTheLiveOnes) {
    setDebugModeSource([] { return true; });
    CNodeBasement* first = makeNode(nullptr, 8001, irr::core::vector3df(1.5f, -0.25f, 0));
    CNodeBasement* second = makeNode(nullptr, 8001, irr::core::vector3df(0.0125f, 2, 0));
    setDebugModeSource(nullptr);
    EXPECT_STREQ(first->getName(), "CSpriteNode id=8001 pos=(1500:-250)");
    std::vector<std::string> names = debugNodeNames();
    auto firstAt = std::find(names.begin(), names.end(), "CSpriteNode id=8001 pos=(1500:-250)");
    auto secondAt = std::find(names.begin(), names.end(), "CSpriteNode id=8001 pos=(0012:2000)");
    ASSERT_NE(firstAt, names.end());
    ASSERT_NE(secondAt, names.end());
    EXPECT_LT(firstAt - names.begin(), secondAt - names.begin());

    first->remove();
    second->remove();
    names = debugNodeNames();
    EXPECT_EQ(std::count(names.begin(), names.end(), "CSpriteNode id=8001 pos=(1500:-250)"), 0);
}

} // namespace
