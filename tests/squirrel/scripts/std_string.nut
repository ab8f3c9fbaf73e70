// The string library besides format: strip, lstrip, rstrip, split, escape, startswith, endswith.
print("[" + strip("  x y \t\n") + "][" + lstrip(" \t x  ") + "][" + rstrip("  x \r\n") + "][" +
      strip("") + "][" + strip(" \n\t ") + "][" + strip("none") + "]\n");

function show(parts) {
    local text = parts.len() + ":";
    foreach (p in parts)
        text += "[" + p + "]";
    return text;
}
print(show(split("1.2-3;;4/5", ".-/;")) + "\n");
print(show(split("1.2-3;;4/5", ".-/;", true)) + "\n");
print(show(split(",a,,b,", ",")) + " " + show(split(",a,,b,", ",", true)) + "\n");
print(show(split("", ",")) + " " + show(split("", ",", true)) + " " + show(split("abc", "")) +
      " " + show(split("a b", " ", false)) + "\n");

print(escape("plain") + "|" + escape("a\"b'c\\d") + "|" + escape("\a\b\t\n\v\f\r") + "|" +
      escape("nul\x00end") + "|" + escape("\x01\x1f\x7f\xff") + "\n");
print(escape("") + "|" + escape("tab\tand space") + "\n");

print(startswith("hello", "he") + " " + startswith("he", "hello") + " " +
      startswith("hello", "") + " " + startswith("hello", "hello") + " " +
      startswith("hello", "lo") + "\n");
print(endswith("hello", "llo") + " " + endswith("lo", "hello") + " " + endswith("hello", "") +
      " " + endswith("hello", "hel") + "\n");
try {
    split("a", 5);
} catch (e) {
    print(e + "\n");
}
