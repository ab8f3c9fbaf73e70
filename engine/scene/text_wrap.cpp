#include "text_wrap.h"

#include "core/game_client.h"
#include "core/vellumengine.h"
#include "scene/rendering_font.h"

#include <algorithm>

namespace {

bool isBreak(char c) {
    return c == '.' || c == ',' || c == ';' || c == ' ' || c == ':' || c == '\n';
}

// Whether a markup line starts at `at` (the start of the text or right after a line feed).
bool markupLineAt(const std::string& text, size_t at) {
    return at < text.size() && text[at] == '<';
}

} // namespace

std::string wrapText(const CGUIFont3D& font, const std::string& text, float maxWidth) {
    std::string out;
    std::string saved;
    float width = 0;
    size_t lineStart = 0;
    size_t lastBreak = 0;
    // Bytes on the output line being built; a line is never left empty.
    size_t lineBytes = 0;
    size_t i = 0;
    if (markupLineAt(text, 0)) {
        i = std::min(text.find('\n'), text.size());
        out = text.substr(0, i);
    }
    while (i < text.size()) {
        const char c = text[i];
        if (c == '\n' && markupLineAt(text, i + 1)) {
            const size_t end = std::min(text.find('\n', i + 1), text.size());
            out += text.substr(i, end - i);
            i = end;
            continue;
        }
        if (c == '\n') {
            lineStart = i;
        }
        if (isBreak(c)) {
            lastBreak = i;
            saved = out;
        }
        if (c == '\n') {
            width = 0;
            out += c;
            lineBytes = 0;
            ++i;
            continue;
        }
        width += font.getTextExtent(std::string(1, c)).X;
        if (width > maxWidth && lineBytes > 0) {
            width = 0;
            if (lineStart < lastBreak) {
                out = saved + text[lastBreak] + '\n';
                i = lastBreak + 1;
            } else {
                out += '\n';
            }
            lineBytes = 0;
            lineStart = i;
        } else {
            out += c;
            ++lineBytes;
            ++i;
        }
    }
    return out;
}

std::string wrapText(const std::string& text, float maxWidth) {
    CVellumEngine& engine = getEngine();
    CGUIFont3D* font = engine.hasClient() ? engine.getClient()->getFont(std::string()) : nullptr;
    return font != nullptr ? wrapText(*font, text, maxWidth) : text;
}
