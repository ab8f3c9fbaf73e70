// Value operations: indexing with delegation, arithmetic, comparison and conversion to text.
#include "machine.h"

#include <climits>
#include <cmath>
#include <cstring>

namespace squirrel::detail {

namespace {

const char* objectKindName(Tag tag) {
    switch (tag) {
    case Tag::Closure:
        return "closure";
    case Tag::NativeClosure:
        return "nativeclosure";
    default:
        return typeName(tag);
    }
}

} // namespace

std::string valueToText(const Value& v) {
    switch (v.tag) {
    case Tag::Null:
        return "null";
    case Tag::Integer:
        return formatString("%d", v.i);
    case Tag::Float:
        return formatString("%g", static_cast<double>(v.f));
    case Tag::Bool:
        return v.b ? "true" : "false";
    case Tag::String:
        return std::string(v.str()->view());
    default:
        return formatString(
            "(%s : 0x%llx)", objectKindName(v.tag),
            static_cast<unsigned long long>(reinterpret_cast<std::uintptr_t>(v.pointer)));
    }
}

void Machine::raiseIndexError(const Value& key) {
    std::string text =
        key.tag == Tag::String || key.isNumber() ? valueToText(key) : typeName(key.tag);
    raiseError("the index '%.50s' does not exist", text.c_str());
}

// Looks a key up in a table's delegate chain and then in the type's default delegate.
Value Machine::getDelegated(const Value& object, const Value& key, bool& found) {
    found = true;
    const Value* defaults = nullptr;
    switch (object.tag) {
    case Tag::Table: {
        const Value* parent = &object.table()->delegate;
        while (parent->tag == Tag::Table) {
            if (Value* v = parent->table()->find(key))
                return *v;
            parent = &parent->table()->delegate;
        }
        defaults = &state.tableDelegate;
        break;
    }
    case Tag::Array:
        defaults = &state.arrayDelegate;
        break;
    case Tag::String:
        defaults = &state.stringDelegate;
        break;
    case Tag::Integer:
    case Tag::Float:
    case Tag::Bool:
        defaults = &state.numberDelegate;
        break;
    case Tag::Closure:
    case Tag::NativeClosure:
        defaults = &state.closureDelegate;
        break;
    default:
        break;
    }
    if (defaults && defaults->tag == Tag::Table) {
        if (Value* v = defaults->table()->find(key))
            return *v;
    }
    found = false;
    return Value();
}

bool Machine::tryGet(const Value& object, const Value& key, Value& out) {
    switch (object.tag) {
    case Tag::Table:
        if (Value* v = object.table()->find(key)) {
            out = *v;
            return true;
        }
        break;
    case Tag::Array:
        if (key.isNumber()) {
            auto& items = object.array()->items;
            std::int32_t index = key.toInt();
            if (index < 0 || static_cast<std::size_t>(index) >= items.size())
                return false;
            out = items[static_cast<std::size_t>(index)];
            return true;
        }
        break;
    case Tag::String:
        if (key.isNumber()) {
            String* s = object.str();
            std::int32_t index = key.toInt();
            if (index < 0 || static_cast<std::uint32_t>(index) >= s->length)
                return false;
            out.setInt(static_cast<signed char>(s->data[index]));
            return true;
        }
        break;
    default:
        break;
    }
    bool found;
    Value v = getDelegated(object, key, found);
    if (found)
        out = std::move(v);
    return found;
}

Value Machine::get(const Value& object, const Value& key) {
    Value result;
    if (!tryGet(object, key, result))
        raiseIndexError(key);
    return result;
}

void Machine::set(const Value& object, const Value& key, const Value& value) {
    switch (object.tag) {
    case Tag::Table:
        if (Value* v = object.table()->find(key)) {
            *v = value;
            return;
        }
        break;
    case Tag::Array:
        if (key.isNumber()) {
            auto& items = object.array()->items;
            std::int32_t index = key.toInt();
            if (index >= 0 && static_cast<std::size_t>(index) < items.size()) {
                items[static_cast<std::size_t>(index)] = value;
                return;
            }
        }
        break;
    default:
        break;
    }
    raiseIndexError(key);
}

void Machine::newSlot(const Value& object, const Value& key, const Value& value) {
    if (key.isNull())
        raiseError("null cannot be used as index");
    if (object.tag != Tag::Table)
        raiseError("indexing %s with %s", typeName(object.tag), typeName(key.tag));
    object.table()->set(key, value);
}

Value Machine::remove(const Value& object, const Value& key) {
    if (object.tag != Tag::Table)
        raiseError("cannot delete a slot from %s", typeName(object.tag));
    Value removed;
    if (!object.table()->remove(key, &removed))
        raiseIndexError(key);
    return removed;
}

bool Machine::contains(const Value& object, const Value& key) {
    switch (object.tag) {
    case Tag::Table: {
        const Value* table = &object;
        while (table->tag == Tag::Table) {
            if (table->table()->find(key))
                return true;
            table = &table->table()->delegate;
        }
        return false;
    }
    case Tag::Array:
        return key.isNumber() && key.toInt() >= 0 &&
               static_cast<std::size_t>(key.toInt()) < object.array()->items.size();
    case Tag::String:
        return key.isNumber() && key.toInt() >= 0 &&
               static_cast<std::uint32_t>(key.toInt()) < object.str()->length;
    default:
        return false;
    }
}

Value Machine::arith(char op, const Value& a, const Value& b) {
    if (a.tag == Tag::Integer && b.tag == Tag::Integer) {
        std::uint32_t x = static_cast<std::uint32_t>(a.i), y = static_cast<std::uint32_t>(b.i);
        switch (op) {
        case '+':
            return Value::integer(static_cast<std::int32_t>(x + y));
        case '-':
            return Value::integer(static_cast<std::int32_t>(x - y));
        case '*':
            return Value::integer(static_cast<std::int32_t>(x * y));
        case '/':
            if (b.i == 0)
                raiseError("division by zero");
            // INT_MIN / -1 overflows; wrap around as the hardware would without trapping.
            return Value::integer(b.i == -1 ? static_cast<std::int32_t>(0u - x) : a.i / b.i);
        case '%':
            if (b.i == 0)
                raiseError("modulo by zero");
            return Value::integer(b.i == -1 ? 0 : a.i % b.i);
        }
    }
    if (a.isNumber() && b.isNumber()) {
        float x = a.toFloat(), y = b.toFloat();
        switch (op) {
        case '+':
            return Value::real(x + y);
        case '-':
            return Value::real(x - y);
        case '*':
            return Value::real(x * y);
        case '/':
            return Value::real(x / y);
        case '%':
            return Value::real(std::fmod(x, y));
        }
    }
    if (op == '+' && (a.tag == Tag::String || b.tag == Tag::String))
        return concat(a, b);
    raiseError("arith op %c on between '%s' and '%s'", op, typeName(a.tag), typeName(b.tag));
}

void Machine::raiseBitwiseError(const Value& a, const Value& b) {
    raiseError("bitwise op between '%s' and '%s'", typeName(a.tag), typeName(b.tag));
}

bool Machine::equals(const Value& a, const Value& b) const {
    if (a.tag == b.tag) {
        if (a.tag == Tag::Float)
            return a.f == b.f;
        return a.raw == b.raw;
    }
    if (a.isNumber() && b.isNumber())
        return a.toFloat() == b.toFloat();
    return false;
}

int Machine::compare(const Value& a, const Value& b) {
    if (a.tag == b.tag) {
        switch (a.tag) {
        case Tag::Integer:
            return a.i < b.i ? -1 : a.i > b.i ? 1 : 0;
        case Tag::Float:
            return a.f < b.f ? -1 : a.f == b.f ? 0 : 1;
        case Tag::String: {
            if (a.ref == b.ref)
                return 0;
            String* x = a.str();
            String* y = b.str();
            int order = std::memcmp(x->data, y->data, std::min(x->length, y->length));
            if (order == 0)
                order = x->length < y->length ? -1 : 1;
            return order < 0 ? -1 : 1;
        }
        case Tag::Bool:
            return a.b == b.b ? 0 : a.b ? 1 : -1;
        case Tag::Null:
            return 0;
        default:
            // Objects of one type order by identity.
            return a.pointer == b.pointer ? 0 : a.pointer < b.pointer ? -1 : 1;
        }
    }
    if (a.isNumber() && b.isNumber()) {
        float x = a.toFloat(), y = b.toFloat();
        return x < y ? -1 : x == y ? 0 : 1;
    }
    if (a.isNull())
        return -1;
    if (b.isNull())
        return 1;
    raiseError("comparison between '%s' and '%s'", typeName(a.tag), typeName(b.tag));
}

Value Machine::toString(const Value& v) {
    if (v.tag == Tag::String)
        return v;
    return state.string(valueToText(v));
}

Value Machine::concat(const Value& a, const Value& b) {
    Value left = toString(a);
    Value right = toString(b);
    String* x = left.str();
    String* y = right.str();
    std::string joined;
    joined.reserve(x->length + y->length);
    joined.append(x->data, x->length);
    joined.append(y->data, y->length);
    return state.string(joined);
}

Value Machine::clone(const Value& v) {
    switch (v.tag) {
    case Tag::Table: {
        Table* source = v.table();
        Value copy = state.newTable(source->size());
        Table* target = copy.table();
        for (std::uint32_t i = source->nextLive(0); i < source->end(); i = source->nextLive(i + 1))
            target->set(source->entry(i).key, source->entry(i).value);
        target->delegate = source->delegate;
        return copy;
    }
    case Tag::Array: {
        Value copy = state.newArray();
        copy.array()->items = v.array()->items;
        return copy;
    }
    default:
        raiseError("cloning a %s", typeName(v.tag));
    }
}

} // namespace squirrel::detail
