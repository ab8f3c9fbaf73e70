// A JSON-like serializer and parser: classes, recursion, string building, regular expressions,
// format, errors with positions, and a round trip of nested data.
class JsonWriter {
    constructor(indentText = null) {
        indentUnit = indentText;
    }
    function write(value) {
        parts = [];
        emit(value, 0);
        local text = "";
        foreach (p in parts)
            text += p;
        return text;
    }
    function emit(value, depth) {
        switch (typeof value) {
        case "null":
            parts.append("null");
            break;
        case "bool":
            parts.append(value ? "true" : "false");
            break;
        case "integer":
            parts.append(value.tostring());
            break;
        case "float":
            parts.append(format("%g", value));
            break;
        case "string":
            parts.append(quote(value));
            break;
        case "array":
            emitList("[", "]", value, depth, function(i, v) { emit(v, depth + 1); });
            break;
        case "table": {
            local keys = value.keys();
            keys.sort();
            local sorted = keys.map(@(k) [k, value[k]]);
            emitList("{", "}", sorted, depth, function(i, pair) {
                parts.append(quote(pair[0]) + (indentUnit ? ": " : ":"));
                emit(pair[1], depth + 1);
            });
            break;
        }
        default:
            if (value instanceof JsonValue) {
                emit(value.toJson(), depth);
                break;
            }
            throw "cannot serialize a " + typeof value;
        }
    }
    function emitList(open, close, items, depth, emitItem) {
        parts.append(open);
        foreach (i, item in items) {
            if (i > 0)
                parts.append(",");
            newline(depth + 1);
            emitItem(i, item);
        }
        if (items.len() > 0)
            newline(depth);
        parts.append(close);
    }
    function newline(depth) {
        if (indentUnit == null)
            return;
        local text = "\n";
        for (local i = 0; i < depth; i++)
            text += indentUnit;
        parts.append(text);
    }
    function quote(text) {
        return "\"" + escape(text) + "\"";
    }
    indentUnit = null;
    parts = null;
}

// Values of classes that know their JSON form.
class JsonValue {
    function toJson() { return null; }
}
class Point extends JsonValue {
    constructor(px, py) { x = px; y = py; }
    function toJson() { return { x = x, y = y }; }
    x = 0;
    y = 0;
}

class JsonError {
    constructor(m, p) { message = m; position = p; }
    function _tostring() { return message + " at " + position; }
    message = null;
    position = 0;
}

class JsonReader {
    static number = regexp(@"-?\d+(\.\d+)?([eE][+\-]?\d+)?");
    constructor(source) { text = source; }
    function read() {
        pos = 0;
        local value = parseValue();
        skipSpace();
        if (pos != text.len())
            fail("trailing text");
        return value;
    }
    function fail(message) { throw JsonError(message, pos); }
    function skipSpace() {
        while (pos < text.len() && (text[pos] == ' ' || text[pos] == '\n' || text[pos] == '\t'))
            pos++;
    }
    function peek() {
        skipSpace();
        if (pos >= text.len())
            fail("unexpected end");
        return text[pos];
    }
    function expect(c) {
        if (peek() != c)
            fail("expected '" + c.tochar() + "'");
        pos++;
    }
    function literal(word, value) {
        if (text.slice(pos, min(pos + word.len(), text.len())) != word)
            fail("unknown word");
        pos += word.len();
        return value;
    }
    function parseValue() {
        switch (peek()) {
        case '{':
            return parseObject();
        case '[':
            return parseArray();
        case '"':
            return parseString();
        case 't':
            return literal("true", true);
        case 'f':
            return literal("false", false);
        case 'n':
            return literal("null", null);
        default:
            return parseNumber();
        }
    }
    function parseNumber() {
        local found = number.search(text, pos);
        if (found == null || found.begin != pos)
            fail("bad value");
        local digits = text.slice(found.begin, found.end);
        pos = found.end;
        return digits.find(".") != null || digits.find("e") != null || digits.find("E") != null
            ? digits.tofloat()
            : digits.tointeger();
    }
    function parseString() {
        pos++;
        local out = "";
        while (true) {
            if (pos >= text.len())
                fail("unterminated string");
            local c = text[pos++];
            if (c == '"')
                return out;
            if (c == '\\') {
                local e = text[pos++];
                switch (e) {
                case 'n': out += "\n"; break;
                case 't': out += "\t"; break;
                case 'x':
                    out += text.slice(pos, pos + 2).tointeger(16).tochar();
                    pos += 2;
                    break;
                default: out += e.tochar();
                }
            } else {
                out += c.tochar();
            }
        }
    }
    function parseArray() {
        pos++;
        local items = [];
        if (peek() == ']') {
            pos++;
            return items;
        }
        while (true) {
            items.append(parseValue());
            if (peek() == ']') {
                pos++;
                return items;
            }
            expect(',');
        }
    }
    function parseObject() {
        pos++;
        local result = {};
        if (peek() == '}') {
            pos++;
            return result;
        }
        while (true) {
            if (peek() != '"')
                fail("expected a key");
            local key = parseString();
            expect(':');
            result[key] <- parseValue();
            if (peek() == '}') {
                pos++;
                return result;
            }
            expect(',');
        }
    }
    text = null;
    pos = 0;
}

function min(a, b) { return a < b ? a : b; }

// Structural equality, to check round trips.
function same(a, b) {
    if (typeof a != typeof b)
        return typeof a == "float" && typeof b == "integer" || typeof a == "integer" && typeof b == "float" ? a == b : false;
    switch (typeof a) {
    case "table":
        if (a.len() != b.len())
            return false;
        foreach (k, v in a) {
            if (!b.rawin(k) || !same(v, b[k]))
                return false;
        }
        return true;
    case "array":
        if (a.len() != b.len())
            return false;
        foreach (i, v in a) {
            if (!same(v, b[i]))
                return false;
        }
        return true;
    default:
        return a == b;
    }
}

local data = {
    name = "Vellum \"engine\"",
    version = 2,
    ratio = 0.75,
    tags = ["2d", "fast", "tiny"],
    nested = { empty = {}, list = [], flags = [true, false, null], deep = [[1, [2, [3]]]] },
    text = "line one\nline two\ttabbed",
    origin = Point(3, -4)
};
local compact = JsonWriter().write(data);
print(compact + "\n");
print(JsonWriter("  ").write({ list = [1, { a = null }], b = "x" }) + "\n");
local back = JsonReader(compact).read();
print(back.name + " | " + back.nested.deep[0][1][1][0] + " | " + back.origin.x + "," + back.origin.y +
      " | " + back.text.len() + "\n");
data.origin = data.origin.toJson();
print("round trip equal: " + same(data, back) + "\n");
print("second pass equal: " + (JsonWriter().write(back) == compact) + "\n");
local pretty = JsonWriter("\t").write(back);
print("pretty lines: " + split(pretty, "\n").len() + ", same data: " + same(JsonReader(pretty).read(), back) + "\n");
foreach (bad in ["[1, 2", "{\"a\" 1}", "[tru]", "{1:2}", "\"open", "[1] x", "-"]) {
    try {
        JsonReader(bad).read();
        print(bad + " parsed\n");
    } catch (e) {
        print(bad + " -> " + e + "\n");
    }
}
try {
    JsonWriter().write({ f = print });
} catch (e) {
    print(e + "\n");
}
print(format("%d values in %d characters\n", JsonReader("[1,2,3,4.5e1,-6]").read().len(), compact.len()));
