#include "script_nodes_fixture.h"

#include "scene/screen_mapping.h"
#include "script/node_handles.h"
#include "script/node_table.h"

#include <cmath>
#include <utility>
#include <vector>

namespace {

using NodeFunctions = ScriptNodesTest;
using SpriteLifetime = ScriptNodesTest;
using SpriteCreation = ScriptNodesTest;

} // namespace

TEST_F(SpriteLifetime, FadeWithDeleteFadesTheSubtreeOverItsTimeThenDeletesTheNode) {
    CSpriteNode* node = makeSprite("fading");
    CSpriteNode* child = makeSprite("", kNoNodeId, node);
    int handle = nodeHandle(node);
    frameAt(1000);
    EXPECT_TRUE(run("return core_FadeSprite(\"fading\", 1.0, 0.0, 500, 1);").toBool());

    for (irr::u32 time = 1025; time <= 1250; time += 25) {
        frameAt(time);
    }
    EXPECT_NEAR(child->getAlphaFactor(), 0.5f, 0.1f);
    for (irr::u32 time = 1275; time <= 1500; time += 25) {
        frameAt(time);
    }
    ASSERT_EQ(nodeFromHandle(handle), node);
    EXPECT_LT(node->getAlphaFactor(), 0.1f);
    for (irr::u32 time = 1525; time <= 1600; time += 25) {
        frameAt(time);
    }
    EXPECT_EQ(nodeFromHandle(handle), nullptr);
    EXPECT_EQ(getNodeByName("fading"), nullptr);
}

TEST_F(SpriteLifetime, DeleteWithOnlyTheNodeDeletesAtOnceAndAFadeWithoutDeleteKeepsIt) {
    int doomed = nodeHandle(makeSprite("doomed"));
    CSpriteNode* kept = makeSprite("kept");
    frameAt(1000);
    EXPECT_TRUE(run("return core_DeleteSprite(\"doomed\");").toBool());
    EXPECT_TRUE(run("return core_FadeSprite(\"kept\", 1.0, 0.5, 100, 0);").toBool());
    getEngine().getRenderer().drainDeletionQueue();
    EXPECT_EQ(nodeFromHandle(doomed), nullptr);
    EXPECT_FALSE(run("return core_DeleteSprite(\"doomed\");").toBool());

    for (irr::u32 time = 1025; time <= 1300; time += 25) {
        frameAt(time);
    }
    EXPECT_EQ(getNodeByName("kept"), kept);
    EXPECT_FLOAT_EQ(kept->getAlphaFactor(), 0.5f);
}

TEST_F(NodeFunctions, ANodeTableFromAScriptChangesTheNodeAndAZeroWidthStaysTiny) {
    CSpriteNode* node = makeSprite("sized");
    node->setSize(3, 2);
    node->setTint(0xFF405060u);
    EXPECT_TRUE(run("local t = core_GetNode(\"sized\"); t._w = 0; t._x = 4;"
                    "t._rotation = 0.5; return core_SetNode(t, t);")
                    .toBool());
    EXPECT_FLOAT_EQ(node->getSize().Width, 1e-05f);
    EXPECT_FLOAT_EQ(node->getSize().Height, 2);
    EXPECT_FLOAT_EQ(node->getPosition().X, 4);
    EXPECT_FLOAT_EQ(node->getFlatRotation(), 0.5f);
    EXPECT_EQ(node->getTint(), 0xFF405060u);
    EXPECT_FLOAT_EQ(run("return core_GetNode(\"sized\")._w;").toFloat(), 1e-05f);
    EXPECT_FALSE(run("return core_SetNode(\"sized\", 5);").toBool());
}

TEST_F(NodeFunctions, ShowSpriteHidesAndShowsAndAnUnknownNameIsAScriptError) {
    CSpriteNode* node = makeSprite("shown");
    run("core_ShowSprite(\"shown\", 0);");
    EXPECT_EQ(node->getHideCount(), 1);
    run("core_ShowSprite(\"shown\", 1);");
    EXPECT_EQ(node->getHideCount(), 0);
    EXPECT_THROW(run("core_ShowSprite(\"never_shown\", 1);"), squirrel::SquirrelError);

    EXPECT_TRUE(run("return core_EnableNode(\"shown\", false);").toBool());
    EXPECT_FALSE(node->isVisible());
    run("core_EnableNode(\"shown\", 1);");
    EXPECT_TRUE(node->isVisible());
}

TEST_F(NodeFunctions, AttributesComeBackWithTheTypeTheyWereStoredWith) {
    CSpriteNode* node = makeSprite("attributed");
    EXPECT_TRUE(run("return core_GetNodeAttribute(\"attributed\", \"a\") == null;").toBool());
    EXPECT_TRUE(run("return core_SetNodeAttribute(\"attributed\", \"text\", \"hello\");").toBool());
    EXPECT_TRUE(run("return core_SetNodeAttribute(\"attributed\", \"count\", 42);").toBool());
    EXPECT_FALSE(run("return core_SetNodeAttribute(\"attributed\", \"real\", 1.5);").toBool());
    node->setFloatProperty("speed", 2.5f);

    EXPECT_EQ(node->getStringProperty("text", ""), "hello");
    EXPECT_EQ(node->getIntProperty("count", 0), 42);
    squirrel::Object text = run("return core_GetNodeAttribute(\"attributed\", \"text\");");
    EXPECT_EQ(text.type(), squirrel::Type::String);
    EXPECT_EQ(text.toString(), "hello");
    squirrel::Object count = run("return core_GetNodeAttribute(\"attributed\", \"count\");");
    EXPECT_EQ(count.type(), squirrel::Type::Integer);
    EXPECT_EQ(count.toInt(), 42);
    squirrel::Object speed = run("return core_GetNodeAttribute(\"attributed\", \"speed\");");
    EXPECT_EQ(speed.type(), squirrel::Type::Float);
    EXPECT_FLOAT_EQ(speed.toFloat(), 2.5f);
    EXPECT_TRUE(run("return core_GetNodeAttribute(\"attributed\", \"real\") == null;").toBool());
}

TEST_F(NodeFunctions, AtlasCellsAreReadAndSetButAnEmptyGridIsRefused) {
    CSpriteNode* sprite = makeSprite("atlas_sprite");
    auto* plain = new CNodeBasement(scene->root(), scene->scene(), kNoNodeId,
                                    irr::core::vector3df(), irr::core::dimension2df(1, 1));
    plain->drop();
    setNodeName(plain, "atlas_plain");

    EXPECT_TRUE(run("return core_SetNodeAtlas(\"atlas_sprite\","
                    " {_x = 3, _y = 1, _sizex = 4, _sizey = 2});")
                    .toBool());
    EXPECT_FLOAT_EQ(sprite->getAtlasX(), 3);
    EXPECT_FLOAT_EQ(sprite->getAtlasH(), 2);
    squirrel::Object cell = run("return core_GetNodeAtlas(\"atlas_sprite\");");
    EXPECT_FLOAT_EQ(cell.get("_sizex").toFloat(), 4);
    EXPECT_FLOAT_EQ(cell.get("_y").toFloat(), 1);

    EXPECT_FALSE(run("return core_SetNodeAtlas(\"atlas_sprite\", {_x = 1, _sizey = 2});").toBool());
    EXPECT_FLOAT_EQ(sprite->getAtlasW(), 4);
    EXPECT_FALSE(std::isnan(sprite->getVertices()[0].TCoords.X));
    EXPECT_FALSE(run("return core_GetNodeAtlas(\"atlas_plain\");").toBool());
    EXPECT_FALSE(
        run("return core_SetNodeAtlas(\"atlas_plain\", {_sizex = 1, _sizey = 1});").toBool());
}

TEST_F(NodeFunctions, SubnodesAreFoundByLocalIdBelowTheirNode) {
    CSpriteNode* holder = makeSprite("holder");
    CSpriteNode* middle = makeSprite("", kNoNodeId, holder);
    makeSprite("", 10005, middle);
    // Below a node every ID from 8002 on is local, as "-LocalID:9000" makes one.
    makeSprite("", 8003, middle);
    makeSprite("", 9000, holder);
    EXPECT_TRUE(run("return core_GetNodeSubnode(\"holder\", 8002) == null;").toBool());
    EXPECT_EQ(run("return core_GetNodeSubnode(\"holder\", 8003)._id;").toInt(), 8003);
    EXPECT_EQ(run("return core_GetNodeSubnode(\"holder\", 9000)._id;").toInt(), 9000);
    EXPECT_EQ(run("return core_GetNodeSubnode(\"holder\", 10005)._id;").toInt(), 10005);
    EXPECT_EQ(run("return core_GetNodeSubnode(\"holder\", 10005)._parentid;").toInt(),
              middle->getID());
    EXPECT_TRUE(run("return core_GetNodeSubnode(\"holder\", 10006) == null;").toBool());
    // A global ID is a mistake in the script, not a reason to end the game.
    EXPECT_THROW(run("core_GetNodeSubnode(\"holder\", 5);"), squirrel::SquirrelError);
    EXPECT_THROW(run("core_GetNodeSubnode(\"holder\", 8001);"), squirrel::SquirrelError);
    EXPECT_TRUE(boxes.boxes().empty());
}

TEST_F(NodeFunctions, AttachingMovesTheNodeAtOnceButNeverBelowItself) {
    CSpriteNode* mover = makeSprite("mover");
    CSpriteNode* host = makeSprite("host");
    mover->setPosition(irr::core::vector3df(1, 2, 0));
    host->setPosition(irr::core::vector3df(10, 0, 0));
    host->updateAbsolutePosition();
    mover->updateAbsolutePosition();

    EXPECT_TRUE(run("return core_AttachToNode(\"mover\", core_GetNode(\"host\"));").toBool());
    EXPECT_EQ(mover->getParent(), host);
    EXPECT_EQ(mover->getAbsolutePosition(), irr::core::vector3df(11, 2, 0));
    EXPECT_FALSE(run("return core_AttachToNode(\"host\", \"mover\");").toBool());
    EXPECT_FALSE(run("return core_AttachToNode(\"host\", \"host\");").toBool());
    EXPECT_EQ(host->getParent(), scene->root());

    squirrel::Object offset = run("local t = {}; core_ConvertXYCoords(t, \"mover\", \"host\");"
                                  "return t;");
    EXPECT_FLOAT_EQ(offset.get("_x").toFloat(), -1);
    EXPECT_FLOAT_EQ(offset.get("_y").toFloat(), -2);
}

TEST_F(NodeFunctions, EveryFunctionGivesFalseOrNullForANodeThatDoesNotExist) {
    const std::vector<std::pair<const char*, bool>> calls = {
        {"core_FadeSprite(\"gone\", 1.0, 0.0, 500, 1)", false},
        {"core_DeleteSprite(123)", false},
        {"core_GetNode({_id = 8001, _pointer = 987654})", true},
        {"core_GetNodeAtlas(\"gone\")", false},
        {"core_SetNodeAtlas(\"gone\", {_sizex = 1, _sizey = 1})", false},
        {"core_GetNodeAttribute(\"gone\", \"key\")", true},
        {"core_GetNodeSubnode(\"gone\", 10000)", true},
        {"core_SetNode(\"gone\", {})", false},
        {"core_SetNodeAttribute(\"gone\", \"key\", 1)", false},
        {"core_AttachToNode(\"gone\", \"gone\")", false},
        {"core_ConvertXYCoords({}, \"gone\", \"gone\")", false},
        {"core_EnableNode(\"gone\", 1)", false},
        {"core_GetNode(null)", true},
    };
    for (const auto& [call, isNull] : calls) {
        squirrel::Object result = run(std::string("return ") + call + ";");
        if (isNull) {
            EXPECT_TRUE(result.isNull()) << call;
        } else {
            EXPECT_EQ(result.type(), squirrel::Type::Bool) << call;
            EXPECT_FALSE(result.toBool()) << call;
        }
    }
    EXPECT_TRUE(boxes.boxes().empty());
}

TEST_F(SpriteCreation, ParentNameFormPlacesSizesAndNamesTheNewSprite) {
    CSpriteNode* parent = makeSprite("create_parent");
    squirrel::Object table =
        run("return core_CreateSprite(\"gui\\\\box.spr\", \"create_parent\","
            " {x = 1, y = 2, z = 0.5, w = 2, retSprite = 1, name = \"made_box\"});");
    ASSERT_EQ(table.type(), squirrel::Type::Table);
    CNodeBasement* made = getNodeByName("made_box");
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(resolveNodeReference(table), made);
    EXPECT_EQ(made->getParent(), parent);
    EXPECT_EQ(table.get("_name").toString(), "made_box");
    EXPECT_EQ(made->getPosition(), irr::core::vector3df(1, 2, 0.5f));
    // Twice the description's width; the missing "h" keeps the description's height.
    EXPECT_EQ(made->getSize(), irr::core::dimension2df(4, 3));
    EXPECT_FLOAT_EQ(table.get("_w").toFloat(), 4);

    size_t children = parent->getChildren().size();
    EXPECT_TRUE(
        run("return core_CreateSprite(\"gui\\\\box.spr\", \"create_parent\", {x = 1});").isNull());
    EXPECT_EQ(parent->getChildren().size(), children + 1);
}

TEST_F(SpriteCreation, OptionsFirstFormTakesTheParentLastAndIgnoresTinySizesAndNames) {
    CSpriteNode* parent = makeSprite("options_parent");
    squirrel::Object table =
        run("return core_CreateSprite(\"gui\\\\box.spr\", {x = 3, w = 0, h = 0, retSprite = 1,"
            " name = \"options_name\"}, core_GetNode(\"options_parent\"));");
    ASSERT_EQ(table.type(), squirrel::Type::Table);
    CNodeBasement* made = resolveNodeReference(table);
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(made->getParent(), parent);
    EXPECT_EQ(made->getSize(), irr::core::dimension2df(2, 3));
    EXPECT_FLOAT_EQ(made->getPosition().X, 3);
    EXPECT_EQ(findNameId("options_name"), 0);

    squirrel::Object rooted = run("return core_CreateSprite(\"gui\\\\box.spr\", \"\","
                                  " {retSprite = 1, w = 0.5, h = 2});");
    ASSERT_EQ(rooted.type(), squirrel::Type::Table);
    EXPECT_EQ(resolveNodeReference(rooted)->getParent(), scene->root());
    EXPECT_EQ(resolveNodeReference(rooted)->getSize(), irr::core::dimension2df(1, 6));
}

TEST_F(SpriteCreation, AParentThatDoesNotExistCreatesNothing) {
    size_t rootChildren = scene->root()->getChildren().size();
    EXPECT_TRUE(run("return core_CreateSprite(\"gui\\\\box.spr\", \"no_such_parent\","
                    " {retSprite = 1});")
                    .isNull());
    EXPECT_TRUE(
        run("return core_CreateSprite(\"gui\\\\box.spr\", {retSprite = 1}, 4321);").isNull());
    EXPECT_EQ(scene->root()->getChildren().size(), rootChildren);
}

TEST_F(SpriteCreation, UnderCursorPutsTheSpriteWhereTheCursorPointsInItsParentsPlane) {
    CSpriteNode* parent = makeSprite("cursor_parent");
    parent->setPosition(irr::core::vector3df(2, 1, 5));
    device->getCursorControl()->setPosition(200, 450);
    getEngine().getInput().updateCursor();
    // A frame sets the camera's view up.
    frameAt(1000);
    squirrel::Object table = run("return core_CreateSprite(\"gui\\\\box.spr\", \"cursor_parent\","
                                 " {x = 9, y = 9, underCursor = 1, retSprite = 1});");
    CNodeBasement* made = resolveNodeReference(table);
    ASSERT_NE(made, nullptr);
    made->updateAbsolutePosition();
    EXPECT_FLOAT_EQ(made->getAbsolutePosition().Z, 5);
    ASSERT_EQ(getEngine().getInput().cursorX(), 200);
    irr::core::position2di shown = scene->screenPoint(made->getAbsolutePosition());
    EXPECT_NEAR(shown.X, 200, 1);
    EXPECT_NEAR(shown.Y, 450, 1);
}
