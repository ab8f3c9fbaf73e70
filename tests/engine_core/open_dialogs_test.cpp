#include "core/open_dialogs.h"

#include <gtest/gtest.h>

#include <map>
#include <thread>

namespace {

class NamedDialog : public IOpenDialog {
public:
    explicit NamedDialog(std::string name) : name(std::move(name)) {}
    const std::string& getDialogName() const override { return name; }

private:
    std::string name;
};

// Opens the named dialogs and closes through `list`; returns the names closed, comma-joined.
std::string closedBy(const std::string& list) {
    COpenDialogList open;
    std::vector<NamedDialog*> made;
    for (const char* name : {"a", "b", "c", "menu"}) {
        made.push_back(new NamedDialog(name));
        open.registerDialog(1, made.back());
    }
    std::string closed;
    open.closeDialogs(list, [&](const std::string& name) { closed += name + ","; });
    for (NamedDialog* dialog : made) {
        open.registerDialog(-1, dialog);
        dialog->drop();
    }
    return closed;
}

} // namespace

TEST(CloseDialogs, EmptyMinusOneAndSeparatorsOnlyCloseEveryDialog) {
    EXPECT_EQ(closedBy(""), "a,b,c,menu,");
    EXPECT_EQ(closedBy("-1"), "a,b,c,menu,");
    EXPECT_EQ(closedBy(" | "), "a,b,c,menu,");
}

TEST(CloseDialogs, NamedListsCloseExactlyThoseDialogsInOpeningOrder) {
    EXPECT_EQ(closedBy("c b|a"), "a,b,c,");
    EXPECT_EQ(closedBy("menu"), "menu,");
    EXPECT_EQ(closedBy("men"), "");
    EXPECT_EQ(closedBy("x,-1"), "");
    EXPECT_EQ(normalizeDialogList("a  b||c, d"), ",a,b,c,d,");
}

TEST(OpenDialogs, RegistryHoldsOneReferenceAndFindsByName) {
    COpenDialogList open;
    NamedDialog* dialog = new NamedDialog("options");
    open.registerDialog(1, dialog);
    EXPECT_EQ(dialog->getReferenceCount(), 2);
    EXPECT_EQ(open.isDialogOpen("options"), 1);
    EXPECT_EQ(open.isDialogOpen("option"), 0);
    open.registerDialog(-1, dialog);
    EXPECT_EQ(dialog->getReferenceCount(), 1);
    EXPECT_EQ(open.isDialogOpen("options"), 0);
    EXPECT_EQ(open.size(), 0u);
    dialog->drop();
}

// Opening a dialog takes the scene's lock and then the list's; closing goes through the list and
// closes each dialog under the scene's lock. Done on two threads at once, a list that kept its
// lock while closing would deadlock (and the thread sanitizer reports the inverted order).
TEST(OpenDialogs, OpeningAndClosingOnTwoThreadsDoNotDeadlock) {
    COpenDialogList open;
    CriticalSectionLock sceneLock;
    std::map<std::string, NamedDialog*> shown;
    int closedCount = 0;
    auto closeByName = [&](const std::string& name) {
        ScopedLock scene(sceneLock);
        auto found = shown.find(name);
        if (found == shown.end()) {
            return;
        }
        open.registerDialog(-1, found->second);
        found->second->drop();
        shown.erase(found);
        ++closedCount;
    };
    const int rounds = 50000;
    std::thread opener([&] {
        for (int round = 0; round < rounds; ++round) {
            ScopedLock scene(sceneLock);
            auto* dialog = new NamedDialog("d" + std::to_string(round));
            shown[dialog->getDialogName()] = dialog;
            open.registerDialog(1, dialog);
        }
    });
    for (int round = 0; round < rounds; ++round) {
        open.closeDialogs("", closeByName);
    }
    opener.join();
    open.closeDialogs("-1", closeByName);
    EXPECT_EQ(closedCount, rounds);
    EXPECT_EQ(open.size(), 0u);
    EXPECT_TRUE(shown.empty());
}
