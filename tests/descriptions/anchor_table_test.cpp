#include "description_fixture.h"

#include "scene/anchor_table.h"

namespace {

using Anchors = DescriptionTest;

TEST_F(Anchors, DefiningANameAgainReplacesItsRecord) {
    defineAnchor("anchor_replace", irr::core::vector3df(1, 2, 3), irr::core::dimension2df(4, 5),
                 "first");
    defineAnchor("anchor_replace", irr::core::vector3df(6, 7, 8), irr::core::dimension2df(9, 10),
                 "second");
    AnchorPoint anchor;
    ASSERT_TRUE(getAnchor("anchor_replace", anchor));
    EXPECT_EQ(anchor.Position, irr::core::vector3df(6, 7, 8));
    EXPECT_EQ(anchor.Size, irr::core::dimension2df(9, 10));
    EXPECT_EQ(anchor.ParentName, "second");
    EXPECT_TRUE(boxes.boxes().empty());
}

TEST_F(Anchors, UndeclaredAnchorShowsAMessageAndGivesNothing) {
    AnchorPoint anchor;
    anchor.ParentName = "unchanged";
    EXPECT_FALSE(getAnchor("anchor_never_defined", anchor));
    EXPECT_EQ(anchor.ParentName, "unchanged");
    ASSERT_EQ(boxes.boxes().size(), 1u);
    EXPECT_EQ(boxes.boxes()[0].text, "Error: undeclared anchor point used: anchor_never_defined");
}

TEST_F(Anchors, SectionsWithoutANameAreIgnoredAndSizesDefaultToTheLeadingNumber) {
    readAnchors("[Anchor]\n-Position:x5\n[Anchor]\n-Name: anchor_sized \n-Size:2 h3\n"
                "-Position:y-1\n[Anchor]\n-Name:anchor_last\n-Size:w1.5");
    AnchorPoint anchor;
    ASSERT_TRUE(getAnchor("anchor_sized", anchor));
    EXPECT_FLOAT_EQ(anchor.Size.Width, 2);
    EXPECT_FLOAT_EQ(anchor.Size.Height, 3);
    EXPECT_EQ(anchor.Position, irr::core::vector3df(0, -1, 0));
    ASSERT_TRUE(getAnchor("anchor_last", anchor));
    EXPECT_FLOAT_EQ(anchor.Size.Width, 1.5f);
    EXPECT_FLOAT_EQ(anchor.Size.Height, 0);
    EXPECT_TRUE(boxes.boxes().empty());
}

TEST_F(Anchors, TextBeforeTheFirstHeaderIsNoSection) {
    readAnchors("-Name:anchor_not_a_section\n-Size:1\n[Anchor]\n-Name:anchor_real\n");
    AnchorPoint anchor;
    EXPECT_TRUE(getAnchor("anchor_real", anchor));
    EXPECT_FALSE(getAnchor("anchor_not_a_section", anchor));
}

} // namespace
