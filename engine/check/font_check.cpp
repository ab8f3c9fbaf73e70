#include "font_check.h"

#include "scene/rendering_font.h"
#include "utils/source_text.h"
#include "utils/utils_fs.h"
#include "utils/utils_str.h"

void checkFontFile(CheckSession& session, const std::string& path, int minimumCharacters) {
    SourceText source;
    if (!readSourceText(path, source)) {
        session.error(CheckPlace{path, 0}, "empty font file");
        return;
    }
    const std::string open = "<texture>";
    size_t start = source.text.find(open);
    size_t end = start == std::string::npos ? start : source.text.find("</texture>", start);
    if (end == std::string::npos) {
        session.error(CheckPlace{path, 0}, "the font names no image (<texture>...</texture>)");
        return;
    }
    const CheckPlace texturePlace = source.originAt(start);
    std::string image = source.text.substr(start + open.size(), end - start - open.size());
    std::string imagePath = splitPath(path, true, true, false, false) + image;
    if (!fileExists(imagePath)) {
        session.error(texturePlace, format("font image '%s' does not exist",
                                           reportedFileName(imagePath).c_str()));
        return;
    }
    if (!session.imageLoads(imagePath)) {
        session.error(texturePlace, format("font image '%s' cannot be read as an image",
                                           reportedFileName(imagePath).c_str()));
        return;
    }
    if (!session.driver()) {
        return;
    }
    auto* font = new CGUIFont3D(session.driver());
    bool loaded = false;
    bool finished = session.readAt(CheckPlace{path, 0}, [&] { loaded = font->loadXmlFont(path); });
    if (finished && (!loaded || font->glyphCount() < minimumCharacters)) {
        session.error(CheckPlace{path, 0},
                      format("the font defines %d characters (<char .../>); at least %d are "
                             "needed",
                             font->glyphCount(), minimumCharacters));
    }
    font->drop();
}
