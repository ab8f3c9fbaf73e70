#include "text_fixture.h"

#include <cmath>

namespace {

using namespace std::string_literals;

// Text markup with absurd numbers, cut tags and bad bytes: drawn with finite pens.
class MarkupEdges : public TextTest {
protected:
    CTextNode* recordedText(const std::string& text) {
        CTextNode* node = makeText(text, irr::core::vector3df(0, 0, 0));
        node->attachEffect(new RecordingEffect(&game->effectCalls), 0);
        return node;
    }
    // Whether every pen and scale the effect saw is finite; at least one call must have come.
    bool drawnFinite() const {
        const std::vector<EffectCall> calls = callsOf(0);
        bool finite = !calls.empty();
        for (const EffectCall& call : calls) {
            finite = finite && std::isfinite(call.pen.X) && std::isfinite(call.pen.Y) &&
                     std::isfinite(call.pen.Z) && std::isfinite(call.scale);
        }
        return finite;
    }
};

TEST_F(MarkupEdges, AbsurdNumbersInTagsAreReportedAndDrawFinite) {
    // Offsets that add up beyond the range are reported too.
    recordedText("<d dx=3.0e38>\n<d dx=3.0e38>\nz\n<d dx=1.0e999 dy=-1.0e308>\na\n<line "
                 "x=1.0e39>\nb\n<spacer-x=9.9e99999999>\n"
                 "c\n<spacer-y=nan>\nd\n<size=1.0e999>\ne\n<color=99999999999999999999>\nf");
    frame();
    EXPECT_TRUE(drawnFinite());
    size_t lines = 0;
    for (const EffectCall& call : callsOf(0)) {
        lines += call.charIndex == 0 ? 1 : 0;
    }
    EXPECT_EQ(lines, 7u);
    EXPECT_TRUE(boxes.sawText("The number '3e+38 + 3.0e38' is beyond the range"));
    // A tag's value runs to its ">", and so does the quoted number.
    for (const char* number : {"1.0e999 dy=-1.0e308", "-1.0e308", "1.0e39", "9.9e99999999"}) {
        EXPECT_TRUE(boxes.sawText(std::string("The number '") + number + "' is beyond the range"))
            << number;
    }
}

TEST_F(MarkupEdges, CutTagsAndBadBytesDrawWithoutHarm) {
    for (const std::string& text :
         {"<d dx=1"s, "a\n<line x="s, "<"s, "a\n<color=#ff"s, "\x80\x81\x8D\x8F\x90\x9D\xFF"s,
          "a\0b\nc"s, "\xEF\xBB\xBF<d dx=1>\na"s, "<size=-0>\na"s}) {
        game->effectCalls.clear();
        recordedText(text);
        frame();
        for (const EffectCall& call : callsOf(0)) {
            EXPECT_TRUE(std::isfinite(call.pen.X) && std::isfinite(call.pen.Y)) << text;
        }
    }
}

} // namespace
