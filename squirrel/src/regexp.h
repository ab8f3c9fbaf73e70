// Regular expressions of the string library: ^ $ . | ( ) (?: ) [ ] character classes, the
// greedy repetitions * + ? {n} {n,} {n,m}, the escapes \t \n \r \f and the classes
// \l \u \a \A \w \W \s \S \d \D \x \X \c \C \p \P, the word boundaries \b \B, and the balanced
// match \mXY: from an X to the Y that closes it, with nested X...Y pairs inside.
// Matching backtracks; repetitions take as much as they can first.
#pragma once

#include <bitset>
#include <cstddef>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace squirrel::detail {

// A malformed pattern, or a text whose match would nest too deeply.
struct RegexError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

class Regex {
public:
    // A capture's byte range; begin is -1 when the group took no part in the match.
    struct Capture {
        long begin = -1;
        long end = -1;
    };

    // Throws RegexError for a malformed pattern.
    explicit Regex(std::string_view pattern);
    ~Regex();
    Regex(const Regex&) = delete;
    Regex& operator=(const Regex&) = delete;

    // Told the number of steps the matcher took, in batches while it runs and the rest at the
    // end; it can stop a long match by throwing.
    using StepCounter = std::function<void(std::size_t steps)>;

    // True when the whole text matches. Both match and search throw RegexError for a text
    // whose match would nest deeper than the matcher allows (a repeated group matching thousands
    // of times).
    bool match(std::string_view text, const StepCounter& countSteps = {}) const;
    // The first match starting at or after start: captures[0] is the whole match, then one entry
    // per capturing group. ^ matches at start.
    bool search(std::string_view text, std::size_t start, std::vector<Capture>& captures,
                const StepCounter& countSteps = {}) const;
    // Capturing groups plus one for the whole match.
    std::size_t captureCount() const { return groups_ + 1; }

    struct Node;
    using Sequence = std::vector<Node>;

private:
    std::unique_ptr<std::vector<Sequence>> alternatives_;
    std::size_t groups_ = 0;
};

} // namespace squirrel::detail
