#include "dialog_fixture.h"

#include "scene/node_base.h"
#include "utils/utils_fs.h"

#include <cmath>

namespace {

using namespace std::string_literals;

// Dialog files (".dlg") with bad bytes, cut text and absurd numbers.
using DialogFileEdges = DialogTest;

const char* const kButtonPart = "[Sprite]\n-Texture:\\gui\\orange.png\n-Size:w2 h1\n";

bool isFinite(const irr::core::vector3df& v) {
    return std::isfinite(v.X) && std::isfinite(v.Y) && std::isfinite(v.Z);
}

TEST_F(DialogFileEdges, AbsurdPositionsOpenAFiniteDialogAndNameTheNumber) {
    writeDialog("far.dlg",
                "-DialogName:far\n-Position:x1.0e999 y-1e308 z-0\n" + std::string(kButtonPart));
    CNodeBasement* root = open("far.dlg");
    ASSERT_NE(root, nullptr);
    EXPECT_TRUE(isFinite(root->getPosition()));
    EXPECT_EQ(root->getPosition(), irr::core::vector3df(0, 0, 0));
    EXPECT_TRUE(boxes.sawText("The number '1.0e999' is beyond the range"));
    EXPECT_TRUE(boxes.sawText("The number '-1e308' is beyond the range"));
    closeNow("far");
}

TEST_F(DialogFileEdges, ByteOrderMarkDoesNotHideTheFirstHeaderKey) {
    writeDialog("utf8.dlg",
                "\xEF\xBB\xBF-DialogName:gr\xC3\xBC\xC3\x9F\n" + std::string(kButtonPart));
    CNodeBasement* root = open("utf8.dlg");
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(getNodeByName("gr\xFC\xDF"), root);
    closeNow("gr\xFC\xDF");
}

TEST_F(DialogFileEdges, ZeroByteEndsTheDialogWhereItStandsAndSaysWhere) {
    writeDialog("zero.dlg", "-DialogName:zero\n[Sprite]\n-Texture:\\gui\\orange.png\n-Size:w2 h1\n"
                            "-Na\0me:hidden\n"s);
    CNodeBasement* root = open("zero.dlg");
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(getNodeByName("hidden"), nullptr);
    EXPECT_TRUE(boxes.sawText("Line 5 of " + resolveDataPath("dialogs\\zero.dlg") +
                              " holds a zero byte: the text is read up to it"));
    closeNow("zero");
}

TEST_F(DialogFileEdges, CutDialogsOpenWithWhatIsWhole) {
    // Cut in the header, in the sprite marker and in a sprite's key.
    writeDialog("cut_header.dlg", "-DialogName:cut_header\n-Posi");
    writeDialog("cut_marker.dlg", "-DialogName:cut_marker\n[Spri");
    writeDialog("cut_key.dlg", "-DialogName:cut_key\n" + std::string(kButtonPart) + "-Name:c");
    for (const char* name : {"cut_header", "cut_marker", "cut_key"}) {
        CNodeBasement* root = open(std::string(name) + ".dlg");
        ASSERT_NE(root, nullptr) << name;
        EXPECT_EQ(getNodeByName(name), root) << name;
        EXPECT_TRUE(isFinite(root->getPosition())) << name;
        closeNow(name);
    }
}

} // namespace
