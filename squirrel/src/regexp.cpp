#include "regexp.h"

#include <cctype>

namespace squirrel::detail {

struct Regex::Node {
    enum Kind { Char, Any, Set, Group, Begin, End, WordBoundary, NotWordBoundary, Balanced };
    Kind kind = Char;
    unsigned char ch = 0;    // of Char, and the opening character of Balanced
    unsigned char close = 0; // the closing character of Balanced
    std::bitset<256> set;
    std::vector<Sequence> alternatives; // of a group
    int capture = -1;                   // of a capturing group
    int min = 1;
    int max = 1; // -1: no limit

    bool singleCharacter() const { return kind == Char || kind == Any || kind == Set; }
};

namespace {

using Node = Regex::Node;
using Sequence = Regex::Sequence;

bool isWord(int c) {
    return c == '_' || std::isalnum(c);
}

bool inClass(char letter, int c) {
    switch (letter) {
    case 'l':
        return std::islower(c);
    case 'u':
        return std::isupper(c);
    case 'a':
        return std::isalpha(c);
    case 'w':
        return isWord(c);
    case 's':
        return std::isspace(c);
    case 'd':
        return std::isdigit(c);
    case 'x':
        return std::isxdigit(c);
    case 'c':
        return std::iscntrl(c);
    default:
        return std::ispunct(c);
    }
}

// The class of a predefined escape letter (\w, \d, ...; upper case for the complement);
// false when the letter names none.
bool escapeClass(char letter, std::bitset<256>& set) {
    char lower = static_cast<char>(std::tolower(static_cast<unsigned char>(letter)));
    if (std::string_view("luawsdxcp").find(lower) == std::string_view::npos || letter == 'L' ||
        letter == 'U')
        return false;
    bool negated = letter != lower;
    for (int c = 0; c < 256; ++c)
        set[static_cast<std::size_t>(c)] = inClass(lower, c) != negated;
    return true;
}

char escapedCharacter(char letter) {
    switch (letter) {
    case 't':
        return '\t';
    case 'n':
        return '\n';
    case 'r':
        return '\r';
    case 'f':
        return '\f';
    default:
        return letter;
    }
}

class Parser {
public:
    explicit Parser(std::string_view pattern) : p_(pattern) {}

    std::vector<Sequence> parse(std::size_t& groups) {
        std::vector<Sequence> result = alternatives();
        if (pos_ < p_.size())
            fail("unexpected ')'");
        groups = groups_;
        return result;
    }

private:
    [[noreturn]] void fail(const char* message) { throw RegexError(message); }
    bool atEnd() const { return pos_ >= p_.size(); }
    char peek() const { return p_[pos_]; }

    std::vector<Sequence> alternatives() {
        std::vector<Sequence> result;
        result.push_back(sequence());
        while (!atEnd() && peek() == '|') {
            ++pos_;
            result.push_back(sequence());
        }
        return result;
    }

    Sequence sequence() {
        Sequence items;
        while (!atEnd() && peek() != '|' && peek() != ')') {
            Node node = atom();
            quantifier(node);
            items.push_back(std::move(node));
        }
        return items;
    }

    Node atom() {
        Node node;
        char c = p_[pos_++];
        switch (c) {
        case '(': {
            node.kind = Node::Group;
            if (p_.substr(pos_, 2) == "?:") {
                pos_ += 2;
            } else {
                node.capture = static_cast<int>(++groups_);
            }
            node.alternatives = alternatives();
            if (atEnd() || peek() != ')')
                fail("expected ')'");
            ++pos_;
            break;
        }
        case '[':
            node.kind = Node::Set;
            characterClass(node.set);
            break;
        case '.':
            node.kind = Node::Any;
            break;
        case '^':
            node.kind = Node::Begin;
            break;
        case '$':
            node.kind = Node::End;
            break;
        case '*':
        case '+':
        case '?':
        case '{':
            fail("nothing to repeat");
        case '\\': {
            if (atEnd())
                fail("unexpected end of the pattern");
            char letter = p_[pos_++];
            if (letter == 'b' || letter == 'B') {
                node.kind = letter == 'b' ? Node::WordBoundary : Node::NotWordBoundary;
            } else if (letter == 'm') {
                if (pos_ + 2 > p_.size())
                    fail("balanced chars expected");
                node.kind = Node::Balanced;
                node.ch = static_cast<unsigned char>(p_[pos_++]);
                node.close = static_cast<unsigned char>(p_[pos_++]);
            } else if (escapeClass(letter, node.set)) {
                node.kind = Node::Set;
            } else {
                node.ch = static_cast<unsigned char>(escapedCharacter(letter));
            }
            break;
        }
        default:
            node.ch = static_cast<unsigned char>(c);
            break;
        }
        return node;
    }

    void characterClass(std::bitset<256>& set) {
        bool negated = !atEnd() && peek() == '^';
        if (negated)
            ++pos_;
        bool first = true;
        while (!atEnd() && (peek() != ']' || first)) {
            first = false;
            unsigned char low = static_cast<unsigned char>(p_[pos_++]);
            if (low == '\\') {
                if (atEnd())
                    fail("unexpected end of the pattern");
                char letter = p_[pos_++];
                std::bitset<256> named;
                if (escapeClass(letter, named)) {
                    set |= named;
                    continue;
                }
                low = static_cast<unsigned char>(escapedCharacter(letter));
            }
            if (pos_ + 1 < p_.size() && peek() == '-' && p_[pos_ + 1] != ']') {
                ++pos_;
                unsigned char high = static_cast<unsigned char>(p_[pos_++]);
                if (high == '\\') {
                    if (atEnd())
                        fail("unexpected end of the pattern");
                    high = static_cast<unsigned char>(escapedCharacter(p_[pos_++]));
                }
                if (high < low)
                    fail("invalid range");
                for (int c = low; c <= high; ++c)
                    set[static_cast<std::size_t>(c)] = true;
            } else {
                set[low] = true;
            }
        }
        if (atEnd())
            fail("expected ']'");
        ++pos_;
        if (negated)
            set.flip();
    }

    int number() {
        if (atEnd() || !std::isdigit(static_cast<unsigned char>(peek())))
            fail("number expected");
        int value = 0;
        while (!atEnd() && std::isdigit(static_cast<unsigned char>(peek()))) {
            value = value * 10 + (p_[pos_++] - '0');
            if (value > 0xFFFF)
                fail("repetition count too large");
        }
        return value;
    }

    void quantifier(Node& node) {
        if (atEnd())
            return;
        switch (peek()) {
        case '*':
            node.min = 0;
            node.max = -1;
            break;
        case '+':
            node.min = 1;
            node.max = -1;
            break;
        case '?':
            node.min = 0;
            node.max = 1;
            break;
        case '{':
            ++pos_;
            node.min = number();
            node.max = node.min;
            if (!atEnd() && peek() == ',') {
                ++pos_;
                node.max = !atEnd() && peek() == '}' ? -1 : number();
            }
            if (atEnd() || peek() != '}')
                fail("expected '}'");
            if (node.max >= 0 && node.max < node.min)
                fail("invalid repetition range");
            break;
        default:
            return;
        }
        if (node.kind == Node::Begin || node.kind == Node::End || node.kind == Node::WordBoundary ||
            node.kind == Node::NotWordBoundary)
            fail("nothing to repeat");
        ++pos_;
        if (!atEnd() && (peek() == '*' || peek() == '+' || peek() == '?' || peek() == '{'))
            fail("nothing to repeat");
    }

    std::string_view p_;
    std::size_t pos_ = 0;
    std::size_t groups_ = 0;
};

// What to match after the current node: the rest of a sequence, the end of a group, one more
// round of a repetition, or the end of the whole expression.
struct Continuation {
    enum Kind { Rest, CloseGroup, Repeat, Finish } kind;
    const Sequence* sequence = nullptr;
    std::size_t index = 0;
    const Node* node = nullptr; // the group or repeated node
    std::size_t start = 0;      // where the group or this round began
    int count = 0;              // rounds matched, with this one
    const Continuation* next = nullptr;
};

// Steps of a match (one per node tried) not yet told to the step counter.
class StepTally {
public:
    explicit StepTally(const Regex::StepCounter& counter) : counter_(counter) {}
    void step() {
        if (++steps_ == kBatch && counter_) {
            steps_ = 0;
            counter_(kBatch);
        }
    }
    void flush() {
        if (steps_ && counter_)
            counter_(steps_);
        steps_ = 0;
    }

private:
    static constexpr std::size_t kBatch = 1024;
    const Regex::StepCounter& counter_;
    std::size_t steps_ = 0;
};

class Matcher {
public:
    Matcher(std::string_view text, std::size_t start, bool whole,
            std::vector<Regex::Capture>& captures, StepTally& tally)
        : text_(text), start_(start), whole_(whole), captures_(captures), tally_(tally) {}

    // Matches the alternatives at pos; matchEnd is where the match ends.
    bool run(const std::vector<Sequence>& alternatives, std::size_t pos) {
        Continuation finish{Continuation::Finish};
        for (const Sequence& s : alternatives) {
            if (sequence(s, 0, pos, &finish))
                return true;
        }
        return false;
    }

    std::size_t matchEnd = 0;

private:
    bool sequence(const Sequence& s, std::size_t index, std::size_t pos, const Continuation* k) {
        tally_.step();
        if (index == s.size())
            return resume(k, pos);
        // Each node matched so far waits on the C++ stack for what follows it; a repeated group
        // over a long text would run out of stack.
        if (depth_ == kMaxDepth)
            throw RegexError("the text is too long for the regular expression");
        struct Nesting {
            int& depth;
            ~Nesting() { --depth; }
        } nesting{++depth_};
        Continuation rest{Continuation::Rest, &s, index + 1};
        rest.next = k;
        const Node& node = s[index];
        if (node.min == 1 && node.max == 1)
            return once(node, pos, &rest);
        if (node.singleCharacter())
            return repeatCharacters(node, pos, &rest);
        return repeat(node, 0, pos, &rest);
    }

    bool resume(const Continuation* k, std::size_t pos) {
        switch (k->kind) {
        case Continuation::Rest:
            return sequence(*k->sequence, k->index, pos, k->next);
        case Continuation::CloseGroup: {
            Regex::Capture saved = captures_[static_cast<std::size_t>(k->node->capture)];
            captures_[static_cast<std::size_t>(k->node->capture)] = {static_cast<long>(k->start),
                                                                     static_cast<long>(pos)};
            if (resume(k->next, pos))
                return true;
            captures_[static_cast<std::size_t>(k->node->capture)] = saved;
            return false;
        }
        case Continuation::Repeat:
            // A round that matched nothing ends the repetition, so that it cannot loop.
            if (pos == k->start)
                return k->count >= k->node->min && resume(k->next, pos);
            return repeat(*k->node, k->count, pos, k->next);
        default:
            if (whole_ && pos != text_.size())
                return false;
            matchEnd = pos;
            return true;
        }
    }

    bool matchesCharacter(const Node& node, std::size_t pos) const {
        if (pos >= text_.size())
            return false;
        unsigned char c = static_cast<unsigned char>(text_[pos]);
        switch (node.kind) {
        case Node::Char:
            return c == node.ch;
        case Node::Any:
            return true;
        default:
            return node.set[c];
        }
    }

    bool wordAt(std::size_t pos) const {
        return pos < text_.size() && isWord(static_cast<unsigned char>(text_[pos]));
    }

    bool once(const Node& node, std::size_t pos, const Continuation* k) {
        switch (node.kind) {
        case Node::Char:
        case Node::Any:
        case Node::Set:
            return matchesCharacter(node, pos) && resume(k, pos + 1);
        case Node::Begin:
            return pos == start_ && resume(k, pos);
        case Node::End:
            return pos == text_.size() && resume(k, pos);
        case Node::WordBoundary:
        case Node::NotWordBoundary: {
            bool boundary = (pos > 0 && wordAt(pos - 1)) != wordAt(pos);
            return boundary == (node.kind == Node::WordBoundary) && resume(k, pos);
        }
        case Node::Balanced:
            return balanced(node, pos, k);
        default: {
            Continuation close{Continuation::CloseGroup};
            close.node = &node;
            close.start = pos;
            close.next = k;
            const Continuation* after = node.capture >= 0 ? &close : k;
            for (const Sequence& s : node.alternatives) {
                if (sequence(s, 0, pos, after))
                    return true;
            }
            return false;
        }
        }
    }

    // From the opening character at pos to the closing one that brings the nesting back to
    // zero; the closing character is tested first, so equal characters match the next one.
    bool balanced(const Node& node, std::size_t pos, const Continuation* k) {
        if (pos >= text_.size() || static_cast<unsigned char>(text_[pos]) != node.ch)
            return false;
        int depth = 1;
        for (std::size_t at = pos + 1; at < text_.size(); ++at) {
            auto c = static_cast<unsigned char>(text_[at]);
            if (c == node.close) {
                if (--depth == 0)
                    return resume(k, at + 1);
            } else if (c == node.ch) {
                ++depth;
            }
        }
        return false;
    }

    // A repeated single character: count how far it runs, then back off one at a time.
    bool repeatCharacters(const Node& node, std::size_t pos, const Continuation* k) {
        std::size_t limit = node.max < 0 ? text_.size() : static_cast<std::size_t>(node.max);
        std::size_t run = 0;
        while (run < limit && matchesCharacter(node, pos + run))
            ++run;
        for (std::size_t n = run + 1; n-- > static_cast<std::size_t>(node.min);) {
            if (resume(k, pos + n))
                return true;
        }
        return false;
    }

    // A repeated group: one more round first, then what follows.
    bool repeat(const Node& node, int count, std::size_t pos, const Continuation* k) {
        if (node.max < 0 || count < node.max) {
            Continuation again{Continuation::Repeat};
            again.node = &node;
            again.start = pos;
            again.count = count + 1;
            again.next = k;
            if (once(node, pos, &again))
                return true;
        }
        return count >= node.min && resume(k, pos);
    }

    std::string_view text_;
    std::size_t start_;
    bool whole_;
    std::vector<Regex::Capture>& captures_;
    StepTally& tally_;
    static constexpr int kMaxDepth = 4000;
    int depth_ = 0; // sequences being matched, one inside the other
};

} // namespace

Regex::Regex(std::string_view pattern) {
    alternatives_ = std::make_unique<std::vector<Sequence>>(Parser(pattern).parse(groups_));
}

Regex::~Regex() = default;

bool Regex::match(std::string_view text, const StepCounter& countSteps) const {
    std::vector<Capture> captures(captureCount());
    StepTally tally(countSteps);
    Matcher matcher(text, 0, true, captures, tally);
    bool matched = matcher.run(*alternatives_, 0);
    tally.flush();
    return matched;
}

bool Regex::search(std::string_view text, std::size_t start, std::vector<Capture>& captures,
                   const StepCounter& countSteps) const {
    StepTally tally(countSteps);
    for (std::size_t pos = start; pos <= text.size(); ++pos) {
        captures.assign(captureCount(), Capture{});
        Matcher matcher(text, start, false, captures, tally);
        if (matcher.run(*alternatives_, pos)) {
            captures[0] = {static_cast<long>(pos), static_cast<long>(matcher.matchEnd)};
            tally.flush();
            return true;
        }
    }
    tally.flush();
    return false;
}

} // namespace squirrel::detail
