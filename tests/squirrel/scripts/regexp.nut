// Regular expressions: the documented syntax, match, search and capture.
local ex = regexp(@"(\d+) ([a-zA-Z]+)(\p)");
local string = "stuff 123 Test;";
local res = ex.capture(string);
foreach (i, val in res)
    print(format("match number[%02d] %s\n", i, string.slice(val.begin, val.end)));
local letters = regexp("[a-zA-Z]+");
local text = "123 Test;";
local found = letters.search(text);
print(text.slice(found.begin, found.end) + " " + found.begin + " " + found.end + "\n");

// match is true only when the whole string matches.
function matches(pattern, subjects) {
    local re = regexp(pattern);
    local line = pattern + ":";
    foreach (s in subjects)
        line += " " + (re.match(s) ? "Y" : "n");
    print(line + "\n");
}
matches("abc", ["abc", "abcd", "xabc", ""]);
matches("a.c", ["abc", "a-c", "ac", "a\nc"]);
matches("a*", ["", "a", "aaaa", "ab"]);
matches("a+", ["", "a", "aaaa"]);
matches("colou?r", ["color", "colour", "colouur"]);
matches("a{3}", ["aa", "aaa", "aaaa"]);
matches("a{2,}", ["a", "aa", "aaaaa"]);
matches("a{1,3}b", ["b", "ab", "aaab", "aaaab"]);
matches("cat|dog|bird", ["cat", "dog", "bird", "cow", "catdog"]);
matches("(ab)+", ["ab", "abab", "aba", ""]);
matches("(?:ab|cd)*e", ["e", "abcde", "abce"]);
matches("[abc]+", ["abccba", "abd"]);
matches("[^abc]+", ["xyz", "xaz"]);
matches("[a-f0-9]+", ["c0ffee", "coffee"]);
matches("[-a]+", ["-a-", "b"]);
matches("[]a]+", ["]a]", "b"]);
matches("\\d+\\.\\d+", ["3.14", "3x14", "314"]);
matches("\\w+", ["under_score9", "with space"]);
matches("\\W\\S\\D", [" x!", "a x"]);
matches("\\s*\\a+\\s*", ["  word ", "w0rd"]);
matches("\\A+", ["123 !", "12a"]);
matches("\\x+\\X", ["fF09g", "fF09"]);
matches("\\l+\\u+", ["abcDEF", "ABCdef"]);
matches("\\c\\C", ["\tx", "xx"]);
matches("\\p+\\P", [".,;a", "..."]);
matches("\\t\\n\\r\\f", ["\t\n\r\f"]);
matches("a\\*b\\(\\)", ["a*b()", "aab()"]);
matches("(a|ab)(c|bcd)(d*)", ["abcd", "abcdd"]);
matches("^abc$", ["abc"]);
matches("(a*)*b", ["aaab", "b"]);

// search finds the leftmost match; repetitions take as much as they can, then give back.
function first(pattern, subject, start = 0) {
    local r = regexp(pattern).search(subject, start);
    return r == null ? "none" : "[" + subject.slice(r.begin, r.end) + "]@" + r.begin;
}
print(first("o+", "foo boo") + " " + first("o+", "foo boo", 3) + " " + first("x", "foo") + " " +
      first("", "abc") + " " + first("", "abc", 3) + "\n");
print(first("a.*b", "xaxbxbx") + " " + first("a[^b]*b", "xaxbxbx") + "\n");
print(first("^foo", "foofoo") + " " + first("^foo", "foofoo", 3) + " " + first("foo$", "foofoo") +
      " " + first("^$", "") + "\n");
print(first("\\bcat\\b", "concat cat") + " " + first("\\Bcat", "cat concat") + " " +
      first("\\b\\w+\\b", "  hi  ") + "\n");
print(first("(a|ab)(c|bcd)", "xabcd") + " " + first("x*", "aaa") + " " + first("[0-9]{2,3}", "a1234") +
      "\n");

// capture: one entry per group; a group that took no part gives begin and end 0.
function groups(pattern, subject) {
    local caps = regexp(pattern).capture(subject);
    if (caps == null)
        return "none";
    local line = "";
    foreach (c in caps)
        line += "[" + subject.slice(c.begin, c.end) + " " + c.begin + "-" + c.end + "]";
    return line;
}
print(groups("(\\w+)@(\\w+)\\.com", "mail bob@example.com now") + "\n");
print(groups("(a)|(b)", "b") + "\n");
print(groups("((a)(b))+", "abab") + "\n");
print(groups("(?:x)(y)", "xy") + " " + groups("(x)", "none here") + "\n");
print(regexp("(a)(b)(?:c)").subexpcount() + " " + regexp("abc").subexpcount() + "\n");
print(regexp("(\\d)").capture("a1b2", 2)[1].begin + "\n");

// \mXY: a balanced run from X to its matching Y, nesting included.
local balanced = regexp(@"\m()");
foreach (text in ["f(a, (b), g(c(d))) + (e)", "x (open (still open)", "no brackets", "())", ")("]) {
    local found = balanced.search(text);
    print(found == null ? "none" : text.slice(found.begin, found.end));
    print("|");
}
print("\n");
print(regexp(@"\m{}").match("{a{b}c}") + " " + regexp(@"\m{}").match("{a{b}c") + " " +
      regexp(@"\m{}").match("{a}b}") + "\n");
local call = regexp(@"(\w+)(\m())").capture("  sum(1, max(2, 3)) rest");
print(call.len() + " " + call[1].begin + "-" + call[1].end + " " + call[2].begin + "-" + call[2].end +
      "\n");
print(regexp(@"\m""""").search("say \"hi\" twice \"x\"").end + " " +
      regexp(@"(\m[])+$").match("[][[]][x]") + " " + regexp(@"a\m<>*b").match("ab") + "\n");

// Errors: malformed patterns and start positions.
foreach (bad in ["(abc", "abc)", "[abc", "*a", "a**", "a*?", "a{2", "a{3,1}", "a{x}", "\\", "[z-a]", "^*",
                 "\\m", "\\m("]) {
    try {
        regexp(bad);
        print(bad + " compiled\n");
    } catch (e) {
        print(bad + ": " + e + "\n");
    }
}
try {
    regexp("a").search("abc", 4);
} catch (e) {
    print(e + "\n");
}
try {
    regexp("a").search("abc", -1);
} catch (e) {
    print(e + "\n");
}
print(typeof regexp("a") + " " + (regexp("a") instanceof regexp) + "\n");
