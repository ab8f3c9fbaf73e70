#include "text_file_check.h"

#include "debug.h"
#include "utils_str.h"
#include "windows_1252.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace {

const char kUtf8ByteOrderMark[] = "\xEF\xBB\xBF";
constexpr size_t kByteOrderMarkSize = 3;

// The number of bytes of the UTF-8 sequence that starts with `lead`, 0 for a byte that starts
// none.
size_t utf8SequenceSize(unsigned char lead) {
    if (lead < 0x80) {
        return 1;
    }
    if (lead >= 0xC2 && lead <= 0xDF) {
        return 2;
    }
    if (lead >= 0xE0 && lead <= 0xEF) {
        return 3;
    }
    if (lead >= 0xF0 && lead <= 0xF4) {
        return 4;
    }
    return 0;
}

// Decodes UTF-8 into wide text. False at the first byte that is not part of a valid sequence
// (overlong forms, surrogates and values beyond U+10FFFF included), with its offset.
bool decodeUtf8(const std::string& text, std::wstring& out, size_t& badOffset) {
    out.clear();
    out.reserve(text.size());
    for (size_t at = 0; at < text.size();) {
        const unsigned char lead = static_cast<unsigned char>(text[at]);
        const size_t size = utf8SequenceSize(lead);
        if (size == 0 || at + size > text.size()) {
            badOffset = at;
            return false;
        }
        uint32_t code = size == 1 ? lead : lead & (0xFF >> (size + 1));
        for (size_t i = 1; i < size; ++i) {
            const unsigned char next = static_cast<unsigned char>(text[at + i]);
            if ((next & 0xC0) != 0x80) {
                badOffset = at;
                return false;
            }
            code = (code << 6) | (next & 0x3F);
        }
        const bool overlong = (size == 3 && code < 0x800) || (size == 4 && code < 0x10000);
        if (overlong || (code >= 0xD800 && code <= 0xDFFF) || code > 0x10FFFF) {
            badOffset = at;
            return false;
        }
        out += static_cast<wchar_t>(code);
        at += size;
    }
    return true;
}

// The offset of the first line longer than the limit, or npos.
size_t findOverlongLine(const std::string& text, size_t maxLineBytes) {
    if (maxLineBytes >= text.size()) {
        return std::string::npos;
    }
    size_t lineStart = 0;
    while (lineStart < text.size()) {
        const void* found = std::memchr(text.data() + lineStart, '\n',
                                        std::min(text.size() - lineStart, maxLineBytes + 1));
        if (found == nullptr) {
            return text.size() - lineStart > maxLineBytes ? lineStart : std::string::npos;
        }
        lineStart = static_cast<size_t>(static_cast<const char*>(found) - text.data()) + 1;
    }
    return std::string::npos;
}

// "1 MiB" for a whole number of mebibytes, else the count of bytes.
std::string byteCountText(size_t bytes) {
    constexpr size_t kMebibyte = 1024 * 1024;
    return bytes % kMebibyte == 0 ? format("%zu MiB", bytes / kMebibyte)
                                  : format("%zu bytes", bytes);
}

std::function<void(const TextFileProblem&)>& problemHandler() {
    static std::function<void(const TextFileProblem&)> handler;
    return handler;
}

void reportProblem(const TextFileProblem& problem) {
    if (problemHandler()) {
        problemHandler()(problem);
        return;
    }
    showErrorBox(
        format("Line %i of %s %s", problem.line, problem.path.c_str(), problem.what.c_str()),
        false);
}

} // namespace

int lineAtOffset(const std::string& text, size_t offset) {
    offset = std::min(offset, text.size());
    return 1 + static_cast<int>(std::count(text.begin(), text.begin() + offset, '\n'));
}

void setTextFileProblemHandler(std::function<void(const TextFileProblem&)> handler) {
    problemHandler() = std::move(handler);
}

bool checkTextFileBytes(const std::string& path, std::string& bytes, size_t maxLineBytes) {
    const size_t zero = bytes.find('\0');
    if (zero != std::string::npos) {
        reportProblem({path, lineAtOffset(bytes, zero),
                       "holds a zero byte: the text is read up to it", true});
        bytes.resize(zero);
    }
    const size_t overlong = findOverlongLine(bytes, maxLineBytes);
    if (overlong != std::string::npos) {
        reportProblem({path, lineAtOffset(bytes, overlong),
                       format("is longer than %zu bytes (%s), the longest line a text file may "
                              "have: the file is not read",
                              maxLineBytes, byteCountText(maxLineBytes).c_str()),
                       true});
        return false;
    }
    if (bytes.compare(0, kByteOrderMarkSize, kUtf8ByteOrderMark) == 0) {
        const std::string utf8 = bytes.substr(kByteOrderMarkSize);
        std::wstring wide;
        size_t badOffset = 0;
        if (decodeUtf8(utf8, wide, badOffset)) {
            bytes = wideToWindows1252(wide);
        } else {
            reportProblem({path, lineAtOffset(utf8, badOffset),
                           "is not UTF-8, though the file starts with a UTF-8 byte-order mark: "
                           "the file is read as Windows-1252 text",
                           false});
            bytes = utf8;
        }
    }
    return true;
}
