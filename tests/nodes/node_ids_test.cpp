#include "node_fixture.h"

#include "scene/node_utilities.h"
#include "utils/utils_str.h"

#include <cstdlib>
#include <vector>

namespace {

using NodeIds = NodeTest;

std::vector<int> releasedIds;

void recordRelease(int id) {
    releasedIds.push_back(id);
}

TEST_F(NodeIds, NoNodeIdAndIdsOutsideTheTableGiveNullSilently) {
    EXPECT_EQ(getNodeById(8001), nullptr);
    EXPECT_EQ(getNodeById(8003), nullptr);
    EXPECT_EQ(getNodeById(-5), nullptr);
    EXPECT_EQ(getNodeById(123456), nullptr);
    CNodeBasement* node = makeNode(nullptr, 9000);
    EXPECT_EQ(node->getID(), 9000);
    EXPECT_EQ(getIdCache(9000, kIdCacheWrite, node), nullptr);
    EXPECT_TRUE(boxes.boxes().empty());
}

TEST_F(NodeIds, InvalidIdsAreFatal) {
    EXPECT_EXIT(
        {
            echoBoxesToStderr();
            getNodeById(8000);
        },
        testing::ExitedWithCode(1), "Node ID is out of range!");
    EXPECT_EXIT(
        {
            echoBoxesToStderr();
            getIdCache(8002, kIdCacheWrite, nullptr);
        },
        testing::ExitedWithCode(1), "Node ID is out of range!");
    EXPECT_EXIT(
        {
            echoBoxesToStderr();
            getIdCache(5, 2, nullptr);
        },
        testing::ExitedWithCode(1), "Node ID is out of range!");
}

TEST_F(NodeIds, ClearingWithANullNodeWarnsAndClearsNothing) {
    CNodeBasement* node = makeNode(nullptr, 40);
    EXPECT_EQ(getIdCache(40, kIdCacheClear, nullptr), node);
    ASSERT_EQ(boxes.boxes().size(), 1u);
    EXPECT_EQ(boxes.boxes()[0].text, "Error! Destroyng sprite cache with 0!");
    EXPECT_EQ(getNodeById(40), node);
}

TEST_F(NodeIds, NodeThatLostItsEntryDoesNotClearTheNewHolder) {
    setNodeIdReleaseListener(recordRelease);
    releasedIds.clear();
    CNodeBasement* first = makeNode(nullptr, 50);
    CNodeBasement* second = makeNode(nullptr, 50);
    EXPECT_EQ(getNodeById(50), second);
    first->remove();
    EXPECT_EQ(getNodeById(50), second);
    EXPECT_TRUE(releasedIds.empty());
    second->remove();
    EXPECT_EQ(getNodeById(50), nullptr);
    EXPECT_EQ(releasedIds, std::vector<int>{50});
    setNodeIdReleaseListener(nullptr);
}

TEST_F(NodeIds, FirstNameOfTheProcessGetsTheFirstNameId) {
    // A fresh process, so no name has been given yet.
    testing::FLAGS_gtest_death_test_style = "threadsafe";
    EXPECT_EXIT(
        {
            int first = nameToId("the_first_name");
            int second = nameToId("the_second_name");
            bool ok = first == 1003 && second == 1004 && nameToId("the_first_name") == 1003;
            std::exit(ok ? 0 : 2);
        },
        testing::ExitedWithCode(0), "");
    testing::FLAGS_gtest_death_test_style = "fast";
}

TEST_F(NodeIds, NamesKeepTheirIdsAndUnknownOnesHaveNone) {
    int id = nameToId("ids_kept_name");
    EXPECT_GE(id, kFirstNameId);
    EXPECT_LE(id, kLastNameId);
    EXPECT_EQ(nameToId("ids_kept_name"), id);
    EXPECT_EQ(findNameId("ids_kept_name"), id);
    EXPECT_EQ(findNameId("ids_never_named"), 0);
    EXPECT_EQ(idToName(id), "ids_kept_name");
    EXPECT_EQ(idToName(7999), "???");
}

TEST_F(NodeIds, NameAllocationWrapsOnceAndSkipsIdsOfLiveNodes) {
    // Run the counter up to the end of the range.
    int counter = 0;
    for (int i = 0; counter != kLastNameId; ++i) {
        counter = nameToId(format("wrap_filler_%i", i));
        ASSERT_LT(i, 2000);
    }
    CNodeBasement* holdsFirst = makeNode(nullptr, kFirstNameId);
    CNodeBasement* holdsSecond = makeNode(nullptr, kFirstNameId + 1);
    EXPECT_EQ(nameToId("wrap_after_end"), kFirstNameId + 2);
    EXPECT_EQ(nameToId("wrap_next"), kFirstNameId + 3);
    EXPECT_EQ(idToName(kFirstNameId + 2), "wrap_after_end");

    setNodeName(holdsFirst, "wrap_after_end");
    EXPECT_EQ(getNodeByName("wrap_after_end"), holdsFirst);
    holdsSecond->remove();
}

TEST_F(NodeIds, NameIdsRunOutWhenEveryOneIsHeldByALiveNode) {
    EXPECT_EXIT(
        {
            echoBoxesToStderr();
            for (int id = kFirstNameId; id <= kLastNameId; ++id) {
                makeNode(nullptr, id);
            }
            nameToId("ids_one_too_many");
        },
        testing::ExitedWithCode(1), "NotEnough name IDs!");
}

TEST_F(NodeIds, MainLevelInterfaceSharesTheIdOfTheUnknownName) {
    CNodeBasement* level = makeNode();
    setNodeName(level, "main_level_interface");
    EXPECT_EQ(level->getID(), nameToId("???"));
    EXPECT_EQ(findNameId("main_level_interface"), 0);
    EXPECT_EQ(getNodeByName("???"), level);
}

TEST_F(NodeIds, ForcingGivesAChainOfEngineParentsTheirIds) {
    CNodeBasement* top = makeNode();
    irr::scene::ISceneNode* plain = scene->addEmptySceneNode(top);
    CNodeBasement* middle = makeNode(plain);
    CNodeBasement* bottom = makeNode(middle);
    CNodeBasement* leaf = makeNode(bottom);

    int id = ForceNodeToHaveID(leaf);
    EXPECT_EQ(id, leaf->getID());
    for (CNodeBasement* node : {leaf, bottom, middle}) {
        EXPECT_EQ(getNodeById(node->getID()), node);
        EXPECT_TRUE(startsWith(idToName(node->getID()), "AutoID"));
    }
    // The chain ends at the library node between the engine nodes.
    EXPECT_EQ(top->getID(), 8001);
    EXPECT_EQ(plain->getID(), -1);
    EXPECT_EQ(ForceNodeToHaveID(leaf), id);
}

TEST_F(NodeIds, ForcingStopsAtAParentThatOwnsItsId) {
    CNodeBasement* top = makeNode();
    CNodeBasement* named = makeNode(top);
    setNodeName(named, "forced_chain_named");
    CNodeBasement* leaf = makeNode(named);
    ForceNodeToHaveID(leaf);
    EXPECT_EQ(getNodeById(leaf->getID()), leaf);
    EXPECT_EQ(named->getID(), findNameId("forced_chain_named"));
    EXPECT_EQ(top->getID(), 8001);
}

TEST_F(NodeIds, ListingShowsEachNameWithThePlaceOfItsNode) {
    CNodeBasement* parent = makeNode(nullptr, 61);
    CNodeBasement* child = makeNode(parent);
    setNodeName(child, "listed_child");
    int unusedId = nameToId("listed_unused");
    CNodeBasement* orphan = makeNode();
    orphan->grab();
    setNodeName(orphan, "listed_orphan");
    orphan->remove();

    std::string listing = "\n" + listNameIds() + "\n";
    EXPECT_NE(listing.find(format("\n%i:listed_child, parrent:61\n", child->getID())),
              std::string::npos);
    EXPECT_NE(listing.find(format("\n%i:listed_unused\n", unusedId)), std::string::npos);
    EXPECT_NE(listing.find(format("\n%i:listed_orphan, unknown parrent\n", orphan->getID())),
              std::string::npos);
    orphan->drop();
}

TEST_F(NodeIds, LocalIdsAreFoundBelowTheirRootOnly) {
    CNodeBasement* root = makeNode();
    CNodeBasement* middle = makeNode(root);
    CNodeBasement* local = makeNode(middle, 10005);
    CNodeBasement* elsewhere = makeNode(nullptr, 10006);
    EXPECT_EQ(getNodeById(10005, root), local);
    EXPECT_EQ(getNodeById(10006, root), nullptr);
    EXPECT_EQ(getNodeById(10006, scene->getRootSceneNode()), elsewhere);
    EXPECT_EXIT(
        {
            echoBoxesToStderr();
            getNodeById(8001, root);
        },
        testing::ExitedWithCode(1), "Wrong local ID!!! Must start from 10000");
}

} // namespace
