#include "core/open_dialogs.h"

#include <gtest/gtest.h>

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
