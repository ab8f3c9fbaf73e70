#include "script_nodes_fixture.h"

#include "script/node_handles.h"
#include "script/node_table.h"

namespace {

using NodeTable = ScriptNodesTest;
using NodeHandles = ScriptNodesTest;
using NodeReferences = ScriptNodesTest;

squirrel::Object tableWith(const char* key, const squirrel::Object& value) {
    squirrel::Object table = getEngine().getScripting().vm().newTable();
    table.set(key, value);
    return table;
}

} // namespace

TEST_F(NodeTable, ReadingOneSpriteAndApplyingToAnotherCopiesEveryGroup) {
    CSpriteNode* source = makeSprite();
    source->setPosition(irr::core::vector3df(1.5f, -2, 3));
    source->setSize(4, 0.25f);
    source->setFlatRotation(0.7f);
    source->setAlpha(0.6f);
    source->setAlphaFactor(0.4f);
    source->setTint(0x80102030u);
    CSpriteNode* target = makeSprite();
    CSpriteNode* targetChild = makeSprite("", kNoNodeId, target);

    squirrel::Object table = vm().newTable();
    readNodeTable(vm(), source, table, NodeTableGroups());
    EXPECT_FALSE(table.has("_id"));
    EXPECT_TRUE(table.has("_pointer"));
    applyNodeTable(target, table, NodeTableGroups());

    EXPECT_EQ(target->getPosition(), irr::core::vector3df(1.5f, -2, 3));
    EXPECT_EQ(target->getSize(), irr::core::dimension2df(4, 0.25f));
    EXPECT_FLOAT_EQ(target->getFlatRotation(), 0.7f);
    EXPECT_FLOAT_EQ(target->getAlpha(), 0.6f);
    EXPECT_FLOAT_EQ(target->getAlphaFactor(), 0.4f);
    EXPECT_FLOAT_EQ(targetChild->getAlphaFactor(), 0.4f);
    // The tint's colour is copied; applying it makes it opaque.
    EXPECT_EQ(target->getTint(), 0xFF102030u);
}

TEST_F(NodeTable, AppliedSlotsConvertBetweenNumberTypesAndMissingOnesReadAsZero) {
    CSpriteNode* node = makeSprite();
    node->setPosition(irr::core::vector3df(5, 5, 5));
    node->setSize(3, 3);
    squirrel::Object table = run("return {_x = 7, _y = 2.5, _w = 0, _h = 2, _tintR = 300,"
                                 " _tintG = 12.9, _tintB = -4, _rotation = 1}");
    NodeTableGroups groups;
    groups.alpha = 0;
    groups.fade = 0;
    applyNodeTable(node, table, groups);

    EXPECT_EQ(node->getPosition(), irr::core::vector3df(7, 2.5f, 0));
    // A width of 0 is kept as a tiny width, not turned into the node's default of 1.
    EXPECT_FLOAT_EQ(node->getSize().Width, 1e-05f);
    EXPECT_FLOAT_EQ(node->getSize().Height, 2);
    EXPECT_EQ(node->getTint(), 0xFFFF0C00u);
    EXPECT_FLOAT_EQ(node->getFlatRotation(), 1);
    EXPECT_FLOAT_EQ(node->getAlpha(), 1);

    squirrel::Object read = vm().newTable();
    readNodeTable(vm(), node, read, NodeTableGroups());
    EXPECT_EQ(read.get("_x").type(), squirrel::Type::Float);
    EXPECT_EQ(read.get("_tintG").type(), squirrel::Type::Integer);
    EXPECT_EQ(read.get("_tintG").toInt(), 12);
}

TEST_F(NodeTable, IdentitySlotsNameOnlyGlobalIds) {
    CSpriteNode* parent = makeSprite("table_parent");
    CSpriteNode* local = makeSprite("", 9000, parent);
    CSpriteNode* unnamed = makeSprite("", 77);

    squirrel::Object named = makeNodeTable(vm(), parent);
    EXPECT_EQ(named.get("_name").toString(), "table_parent");
    EXPECT_EQ(named.get("_id").toInt(), findNameId("table_parent"));

    squirrel::Object below = makeNodeTable(vm(), local);
    EXPECT_EQ(below.get("_id").toInt(), 9000);
    EXPECT_EQ(below.get("_parentid").toInt(), parent->getID());
    EXPECT_EQ(below.get("_name").type(), squirrel::Type::String);
    EXPECT_EQ(below.get("_name").toString(), "");

    EXPECT_EQ(makeNodeTable(vm(), unnamed).get("_name").toString(), "???");
}

TEST_F(NodeTable, NodesThatAreNotSpritesHaveNoRotation) {
    auto* plain = new CNodeBasement(scene->root(), scene->scene(), kNoNodeId,
                                    irr::core::vector3df(), irr::core::dimension2df(1, 1));
    plain->drop();
    applyNodeTable(plain, run("return {_rotation = 2.0, _w = 3, _h = 4}"), NodeTableGroups());
    EXPECT_EQ(plain->getRotation(), irr::core::vector3df());
    EXPECT_EQ(plain->getSize(), irr::core::dimension2df(3, 4));
    EXPECT_EQ(makeNodeTable(vm(), plain).get("_rotation").toFloat(), 0);
}

TEST_F(NodeHandles, ANodeKeepsOneHandleAndADeletedNodesHandleFindsNothing) {
    CSpriteNode* first = makeSprite();
    CSpriteNode* second = makeSprite();
    int handle = nodeHandle(first);
    EXPECT_GT(handle, 0);
    EXPECT_EQ(nodeHandle(first), handle);
    int other = nodeHandle(second);
    EXPECT_NE(other, handle);
    EXPECT_EQ(nodeFromHandle(handle), first);
    EXPECT_EQ(makeNodeTable(vm(), first).get("_pointer").toInt(), handle);

    deleteNode(first);
    EXPECT_EQ(nodeFromHandle(handle), first);
    getEngine().getRenderer().drainDeletionQueue();
    EXPECT_EQ(nodeFromHandle(handle), nullptr);
    EXPECT_EQ(resolveNodeReference(tableWith("_pointer", squirrel::Object(handle))), nullptr);

    // Handles are never given again, whatever address the next node gets.
    CSpriteNode* third = makeSprite();
    EXPECT_GT(nodeHandle(third), other);
    EXPECT_EQ(nodeFromHandle(other), second);
}

TEST_F(NodeHandles, MadeUpHandlesAndHandlesOfStrippedNodesFindNothing) {
    CSpriteNode* node = makeSprite();
    int handle = nodeHandle(node);
    EXPECT_EQ(nodeFromHandle(0), nullptr);
    EXPECT_EQ(nodeFromHandle(-handle), nullptr);
    EXPECT_EQ(nodeFromHandle(handle + 1000), nullptr);
    EXPECT_EQ(resolveNodeReference(tableWith("_pointer", squirrel::Object(handle + 1000))),
              nullptr);

    // Taking every animator off the node takes its handle along; the node then gets a new one.
    node->removeAnimators();
    EXPECT_EQ(nodeFromHandle(handle), nullptr);
    int renewed = nodeHandle(node);
    EXPECT_NE(renewed, handle);
    EXPECT_EQ(nodeFromHandle(renewed), node);
}

TEST_F(NodeReferences, NamesIdsAndTablesResolveToTheirNodes) {
    CSpriteNode* named = makeSprite("reference_named");
    CSpriteNode* numbered = makeSprite("", 88);
    CSpriteNode* anonymous = makeSprite();

    EXPECT_EQ(resolveNodeReference(vm().string("reference_named")), named);
    EXPECT_EQ(resolveNodeReference(squirrel::Object(88)), numbered);
    EXPECT_EQ(resolveNodeReference(tableWith("_id", squirrel::Object(88))), numbered);
    EXPECT_EQ(resolveNodeReference(tableWith("_id", squirrel::Object(88.0f))), numbered);
    EXPECT_EQ(resolveNodeReference(makeNodeTable(vm(), anonymous)), anonymous);

    // The ID wins over the handle while a node holds it; then the handle is used.
    squirrel::Object table = makeNodeTable(vm(), anonymous);
    table.set("_id", squirrel::Object(88));
    EXPECT_EQ(resolveNodeReference(table), numbered);
    table.set("_id", squirrel::Object(89));
    EXPECT_EQ(resolveNodeReference(table), anonymous);
}

TEST_F(NodeReferences, ValuesNamingNoNodeResolveToNothingWithoutSideEffects) {
    makeSprite("", 0);
    EXPECT_EQ(resolveNodeReference(vm().string("reference_unknown")), nullptr);
    EXPECT_EQ(findNameId("reference_unknown"), 0);
    // Outside the ID table, including the IDs the table treats as fatal.
    for (int id : {-1, 8000, 8001, 8002, 9000}) {
        EXPECT_EQ(resolveNodeReference(squirrel::Object(id)), nullptr) << id;
        EXPECT_EQ(resolveNodeReference(tableWith("_id", squirrel::Object(id))), nullptr) << id;
    }
    EXPECT_EQ(resolveNodeReference(squirrel::Object(0.0f)), nullptr);
    EXPECT_EQ(resolveNodeReference(squirrel::Object()), nullptr);
    EXPECT_EQ(resolveNodeReference(squirrel::Object(true)), nullptr);
    // A table without a numeric "_id" is not the node with ID 0.
    EXPECT_EQ(resolveNodeReference(vm().newTable()), nullptr);
    EXPECT_EQ(resolveNodeReference(tableWith("_id", vm().string("zero"))), nullptr);
    EXPECT_TRUE(boxes.boxes().empty());
}
