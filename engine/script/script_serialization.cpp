#include "script_serialization.h"

#include "utils/base64.h"
#include "utils/debug.h"
#include "utils/key_value.h"
#include "utils/number_text.h"
#include "utils/utils_str.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <vector>

namespace {

using squirrel::Object;
using squirrel::Type;

int typeCode(Type type) {
    return static_cast<int>(type);
}

// The readable copy of a string is never read back; escaping keeps markup held in the string
// (a serialized value stored as a string, say) from being taken for elements of this text.
std::string escapeMarkup(const std::string& text) {
    return replaceAll(replaceAll(replaceAll(text, "&", "&amp;"), "<", "&lt;"), ">", "&gt;");
}

// What follows the first `start` in the whole text up to the next `end`; empty when either is
// missing.
std::string between(const std::string& text, const std::string& start, const std::string& end) {
    int position = 0;
    return getBetween(text, start, end, position);
}

// A signed decimal integer with all its digits (type codes have nine); empty or non-numeric text
// gives 0 and values beyond the script integer's range are clamped to it.
int readDecimalInt(const std::string& text) {
    long long value = std::strtoll(text.c_str(), nullptr, 10);
    return static_cast<int>(std::clamp<long long>(value, INT_MIN, INT_MAX));
}

// A float as written with "%f", all integer digits included (a large value has more than the
// engine's usual eight); text that gives no finite float reads as 0.
float readDecimalFloat(const std::string& text) {
    float value = static_cast<float>(std::strtod(text.c_str(), nullptr));
    return std::isfinite(value) ? value : 0.0f;
}

// How many slot elements of container `id` the body holds: the most slots its text can fill.
int countSlots(const std::string& body, int id) {
    const std::string prefix = format("<%i_", id);
    int count = 0;
    for (int at = find(body, prefix); at >= 0; at = find(body, prefix, at + 1)) {
        size_t position = static_cast<size_t>(at) + prefix.size();
        size_t digits = position;
        while (digits < body.size() && body[digits] >= '0' && body[digits] <= '9') {
            ++digits;
        }
        if (digits > position && body.compare(digits, 6, "_slot>") == 0) {
            ++count;
        }
    }
    return count;
}

// The text of slot k of container `id`. Slots follow each other in the body and each slot element
// occurs once, so the search starts where the previous slot ended (reading a long container stays
// linear) and goes over the whole body only when the slot is not found there.
std::string slotTextOf(const std::string& body, int id, int k, int& position) {
    const std::string start = format("<%i_%i_slot>", id, k);
    const std::string end = format("</%i_%i_slot>", id, k);
    int from = position;
    std::string slot = getBetween(body, start, end, from);
    if (from < 0) {
        from = 0;
        slot = getBetween(body, start, end, from);
    }
    if (from >= 0) {
        position = from;
    }
    return slot;
}

class ValueWriter {
public:
    void write(const Object& value, std::string& text, int& counter, int depth) {
        const int type = typeCode(value.type());
        text += format("<%i_type val=\"%i\"/>", counter, type);
        switch (value.type()) {
        case Type::Integer:
            text += format("<%i_int val=\"%i\"/>", counter, value.toInt());
            ++counter;
            return;
        case Type::Float:
            text += format("<%i_float val=\"%f\"/>", counter, static_cast<double>(value.toFloat()));
            ++counter;
            return;
        case Type::Bool:
            text += format("<%i_bool val=\"%i\"/>", counter, value.toBool() ? 1 : 0);
            ++counter;
            return;
        case Type::String: {
            // Up to the first zero byte, as the text form has always held strings.
            const std::string bytes = value.toString().c_str();
            text += format("<%i_str>%s</%i_str>", counter,
                           base64Encode(kBase64Standard, bytes).c_str(), counter);
            text += format("<%i_str_debug>%s</%i_str_debug>", counter, escapeMarkup(bytes).c_str(),
                           counter);
            ++counter;
            return;
        }
        case Type::Table:
        case Type::Array:
            writeContainer(value, text, counter, depth);
            return;
        default:
            showErrorBox(format("Wrong SqSerialize type on serialize! %i", type), false);
            return;
        }
    }

private:
    void writeContainer(const Object& container, std::string& text, int& counter, int depth) {
        const int id = counter++;
        // The machine's text of a container names its address, which identifies it while the
        // container lives.
        const std::string identity = container.toString();
        std::string body;
        int slots = 0;
        if (depth >= kMaxSerializedNesting) {
            showErrorBox(format("SqSerialize value nested deeper than %i levels on serialize!",
                                kMaxSerializedNesting),
                         false);
        } else if (std::find(open.begin(), open.end(), identity) != open.end()) {
            showErrorBox("SqSerialize value contains itself on serialize!", false);
        } else {
            open.push_back(identity);
            for (const auto& [key, item] : container) {
                std::string slotText;
                write(key, slotText, counter, depth + 1);
                write(item, slotText, counter, depth + 1);
                body += format("\n<%i_%i_slot>\n%s\n</%i_%i_slot>", id, slots, slotText.c_str(), id,
                               slots);
                ++slots;
            }
            open.pop_back();
            // Every nesting level is indented by one more tab.
            body = replaceAll(replaceAll(body, "\r", ""), "\n", "\n\t");
        }
        text += format("\n<%i_table>%s\n</%i_table><%i_table_len val=\"%i\"/>", id, body.c_str(),
                       id, id, slots);
    }

    // The containers being written, outermost first, so that one holding itself is noticed.
    std::vector<std::string> open;
};

int readValue(squirrel::VM& vm, const std::string& text, Object& value, int& counter, int depth);

void readContainer(squirrel::VM& vm, const std::string& text, Object& value, int& counter,
                   int depth, bool isArray) {
    const int id = counter++;
    const std::string body = between(text, format("<%i_table>", id), format("</%i_table>", id));
    // The stored length is only trusted as far as the body holds slots for it.
    int length = parseInt(between(text, format("<%i_table_len val=\"", id), "\"/>"));
    length = std::clamp(length, 0, countSlots(body, id));
    // An empty container beyond the limit is what the writer leaves there; only slots that would
    // have to be followed are reported.
    if (depth >= kMaxSerializedNesting && length > 0) {
        showErrorBox(format("SqSerialize value nested deeper than %i levels on deserialize!",
                            kMaxSerializedNesting),
                     false);
        length = 0;
    }
    Object container = isArray ? vm.newArray(length) : vm.newTable();
    int position = 0;
    for (int k = 0; k < length; ++k) {
        const std::string slotText = slotTextOf(body, id, k, position);
        Object key;
        Object item;
        readValue(vm, slotText, key, counter, depth + 1);
        readValue(vm, slotText, item, counter, depth + 1);
        // A null key, or an array index outside the array, sets nothing.
        container.set(key, item);
    }
    value = container;
}

int readValue(squirrel::VM& vm, const std::string& text, Object& value, int& counter, int depth) {
    const int type = readDecimalInt(between(text, format("<%i_type val=\"", counter), "\"/>"));
    if (type == 0) {
        return 0;
    }
    switch (static_cast<Type>(static_cast<unsigned>(type))) {
    case Type::String:
        value = vm.string(base64Decode(kBase64Standard, between(text, format("<%i_str>", counter),
                                                                format("</%i_str>", counter))));
        ++counter;
        break;
    case Type::Bool:
        value = Object(parseInt(between(text, format("<%i_bool val=\"", counter), "\"/>")) != 0);
        ++counter;
        break;
    case Type::Integer:
        value = Object(readDecimalInt(between(text, format("<%i_int val=\"", counter), "\"/>")));
        ++counter;
        break;
    case Type::Float:
        value =
            Object(readDecimalFloat(between(text, format("<%i_float val=\"", counter), "\"/>")));
        ++counter;
        break;
    case Type::Table:
    case Type::Array:
        readContainer(vm, text, value, counter, depth, type == typeCode(Type::Array));
        break;
    default:
        showErrorBox(format("Assert!\n%s: %i\n\n%s", __FILE__, __LINE__,
                            format("Wrong SqSerialize type on deserialize! %i", type).c_str()),
                     false);
        break;
    }
    return 1;
}

} // namespace

void serializeValue(const Object& value, std::string& text, int& counter) {
    ValueWriter().write(value, text, counter, 0);
}

int deserializeValue(squirrel::VM& vm, const std::string& text, Object& value, int& counter) {
    return readValue(vm, text, value, counter, 0);
}
