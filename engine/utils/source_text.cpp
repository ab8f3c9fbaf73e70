#include "source_text.h"

#include "text_file_check.h"
#include "text_file_macros.h"
#include "utils_fs.h"
#include "utils_str.h"

#include <algorithm>
#include <functional>

namespace {

using LineOrigin = std::function<SourceText::Origin(size_t lineInPiece)>;

// Appends a piece of text; `origin` tells where each line that starts inside the piece came from.
// A line the previous piece left empty at its end takes the origin of this piece's first line.
void appendPiece(SourceText& out, const std::string& piece, const LineOrigin& origin,
                 std::vector<bool>& pendingLine) {
    if (piece.empty()) {
        return;
    }
    if (out.lines.empty()) {
        out.lines.push_back(origin(0));
        pendingLine.push_back(false);
    } else if (pendingLine.back()) {
        out.lines.back() = origin(0);
        pendingLine.back() = false;
    }
    size_t lineInPiece = 0;
    for (size_t i = 0; i < piece.size(); ++i) {
        if (piece[i] != '\n') {
            continue;
        }
        ++lineInPiece;
        out.lines.push_back(origin(lineInPiece));
        pendingLine.push_back(i + 1 == piece.size());
    }
    out.text += piece;
}

bool readWithChain(const std::string& path, SourceText& out, std::vector<std::string>& chain) {
    std::string raw;
    if (!readFileRaw(path, raw)) {
        return false;
    }
    out = SourceText();
    out.path = path;
    raw = replaceAll(raw, "\r", "");
    expandThisFolder(path, raw);
    std::vector<bool> pending;
    chain.push_back(path);
    size_t position = 0;
    IncludeDirective directive;
    while (findIncludeDirective(raw, position, directive)) {
        std::string includedPath = resolveDataPath(directive.name);
        if (std::find(chain.begin(), chain.end(), includedPath) != chain.end()) {
            break;
        }
        int firstLine = lineAtOffset(raw, position);
        appendPiece(
            out, raw.substr(position, directive.start - position),
            [&](size_t line) {
                return SourceText::Origin{path, firstLine + static_cast<int>(line)};
            },
            pending);
        SourceText included;
        if (readWithChain(includedPath, included, chain)) {
            appendPiece(
                out, included.text, [&](size_t line) { return included.originOfLine(line); },
                pending);
            out.missingIncludes.insert(out.missingIncludes.end(), included.missingIncludes.begin(),
                                       included.missingIncludes.end());
        } else {
            out.missingIncludes.push_back(
                {SourceText::Origin{path, lineAtOffset(raw, directive.start)}, includedPath});
        }
        position = directive.end;
    }
    chain.pop_back();
    int firstLine = lineAtOffset(raw, position);
    appendPiece(
        out, raw.substr(position),
        [&](size_t line) {
            return SourceText::Origin{path, firstLine + static_cast<int>(line)};
        },
        pending);
    return true;
}

} // namespace

SourceText::Origin SourceText::originAt(size_t offset) const {
    offset = std::min(offset, text.size());
    return originOfLine(static_cast<size_t>(std::count(text.begin(), text.begin() + offset, '\n')));
}

SourceText::Origin SourceText::originOfLine(size_t index) const {
    return index < lines.size() ? lines[index] : Origin{path, 0};
}

bool readSourceText(const std::string& path, SourceText& out) {
    std::vector<std::string> chain;
    return readWithChain(path, out, chain);
}
