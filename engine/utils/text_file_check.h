#pragma once

#include <cstddef>
#include <functional>
#include <string>

// The checks every text file passes when it is read, before any reader parses it, so that each
// reader gets text it can handle and the author hears which file and line are at fault.

// The longest line a text file may have, line feed excluded; far beyond any real file.
constexpr size_t kMaxTextLineBytes = 1024 * 1024;

// A problem the checks found in a text file: the file, the line (from 1) and what is wrong with
// the line, worded to follow "Line N of FILE". `partNotRead` tells that some of the file's text
// is left out because of it.
struct TextFileProblem {
    std::string path;
    int line = 0;
    std::string what;
    bool partNotRead = false;
};

// Where the checks report their problems: a box "Line N of FILE WHAT" while no handler is set
// (the check mode sets one that reports them at their file and line). An empty handler restores
// the box.
void setTextFileProblemHandler(std::function<void(const TextFileProblem&)> handler);

// The line (from 1) that holds the offset into the text.
int lineAtOffset(const std::string& text, size_t offset);

// Checks the bytes of the text file at `path` (for the messages) as they came from the disk:
// - a zero byte ends the text there, with a message naming its line;
// - a line longer than `maxLineBytes` refuses the file (false), with a message naming it;
// - a file that starts with a UTF-8 byte-order mark is UTF-8: the mark goes and the text becomes
//   engine text (Windows-1252, "?" for a character it lacks); when it is not valid UTF-8 after
//   all, a message names the first bad line and the bytes are kept as Windows-1252.
// Every other byte is engine text as it is. True when the text may be read.
bool checkTextFileBytes(const std::string& path, std::string& bytes,
                        size_t maxLineBytes = kMaxTextLineBytes);
