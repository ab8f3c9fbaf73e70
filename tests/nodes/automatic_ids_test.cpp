#include "node_fixture.h"

#include "scene/node_utilities.h"
#include "utils/utils_str.h"

#include <set>
#include <vector>

namespace {

using AutomaticIds = NodeTest;

// The number of automatic names in the name table.
int automaticNameCount() {
    int count = 0;
    for (const std::string& line : splitList(listNameIds(), '\n', false)) {
        if (line.find(":AutoID") != std::string::npos) {
            ++count;
        }
    }
    return count;
}

// Forces an automatic ID on each node and checks that each holds its own name ID.
void forceAll(const std::vector<CNodeBasement*>& nodes) {
    std::set<int> ids;
    for (CNodeBasement* node : nodes) {
        int id = ForceNodeToHaveID(node);
        ASSERT_GE(id, kFirstNameId);
        ASSERT_LE(id, kLastNameId);
        ASSERT_EQ(getNodeById(id), node);
        ASSERT_TRUE(startsWith(idToName(id), "AutoID")) << idToName(id);
        ids.insert(id);
    }
    EXPECT_EQ(ids.size(), nodes.size());
}

TEST_F(AutomaticIds, NineHundredLiveNodesEachHoldOneAndReleasedOnesAreReused) {
    std::vector<CNodeBasement*> nodes;
    for (int i = 0; i < 900; ++i) {
        nodes.push_back(makeNode());
    }
    forceAll(nodes);
    int names = automaticNameCount();
    EXPECT_GE(names, 900);

    // Every other node goes; as many new ones take the released IDs without new names.
    std::vector<CNodeBasement*> kept;
    for (size_t i = 0; i < nodes.size(); ++i) {
        if (i % 2 == 0) {
            nodes[i]->remove();
        } else {
            kept.push_back(nodes[i]);
        }
    }
    std::vector<CNodeBasement*> added;
    for (int i = 0; i < 450; ++i) {
        added.push_back(makeNode());
    }
    forceAll(added);
    for (CNodeBasement* node : kept) {
        EXPECT_EQ(getNodeById(node->getID()), node);
    }
    EXPECT_EQ(automaticNameCount(), names);

    // A whole new generation of 900 does not grow the name table either.
    scene->getRootSceneNode()->removeAll();
    nodes.clear();
    for (int i = 0; i < 900; ++i) {
        nodes.push_back(makeNode());
    }
    forceAll(nodes);
    EXPECT_EQ(automaticNameCount(), names);
    EXPECT_TRUE(boxes.boxes().empty());
}

TEST_F(AutomaticIds, EveryFreeNameIdCanBeTakenAndOneMoreIsFatal) {
    EXPECT_EXIT(
        {
            echoBoxesToStderr();
            // Named live nodes hold all name IDs but 700. Which of the two fatal errors ends
            // it depends on whether every name ID already belongs to an automatic name.
            for (int id = kFirstNameId; id <= kLastNameId - 700; ++id) {
                makeNode(nullptr, id);
            }
            std::set<int> ids;
            for (int i = 0; i < 700; ++i) {
                CNodeBasement* node = makeNode();
                ids.insert(ForceNodeToHaveID(node));
            }
            fprintf(stderr, "distinct automatic IDs: %zu\n", ids.size());
            ForceNodeToHaveID(makeNode());
        },
        testing::ExitedWithCode(1),
        "distinct automatic IDs: 700\n"
        "box: (NotEnough name IDs!|ForceNodeToHaveID failed - no free IDs!!!)\n");
}

} // namespace
