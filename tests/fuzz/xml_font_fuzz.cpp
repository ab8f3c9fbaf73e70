// An XML font file as the data folder holds it, beside the game's font images, then measured
// over every character.
#include "fuzz/fuzz_host.h"
#include "scene/rendering_font.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::scene();
    const std::string path = fuzz::writeDataFile("gui\\fuzz-font.xml", data, size);
    static const std::string everyCharacter = [] {
        std::string text;
        for (int code = 1; code < 256; ++code) {
            text += static_cast<char>(code);
        }
        return text;
    }();
    CGUIFont3D* font = nullptr;
    try {
        font = createFont(path, 1.0f);
        font->getTextExtent(everyCharacter);
        font->getPixelDimension(everyCharacter);
        for (int index = -1; index <= font->glyphCount(); ++index) {
            font->getGlyphSize(index);
            font->getGlyphAdvance(index);
        }
    } catch (const fuzz::InputRefused&) {
    }
    if (font != nullptr) {
        font->drop();
    }
    fuzz::limitTextures();
    return 0;
}
