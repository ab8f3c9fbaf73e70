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

bool Machine::metamethod(const Value& object, Meta meta, Value& out) const {
    switch (object.tag) {
    case Tag::Table: {
        const Value& delegate = object.table()->delegate;
        if (delegate.tag != Tag::Table)
            return false;
        const Value* fn =
            delegate.table()->findString(state.metaNames[static_cast<std::size_t>(meta)].str());
        if (!fn)
            return false;
        out = *fn;
        return true;
    }
    case Tag::Instance: {
        const Value& fn = object.as<Instance>()->cls()->meta(meta);
        if (fn.isNull())
            return false;
        out = fn;
        return true;
    }
    default:
        return false;
    }
}

bool Machine::callFallible(const Value& fn, const Value& self, const Value* args, int count,
                           Value& out) {
    try {
        out = protectedCall(fn, self, args, count);
        return true;
    } catch (ScriptException&) {
        if (error.isNull())
            return false;
        // A real error: the frames outside report it as their own.
        traceCaptured = false;
        throw;
    }
}

bool Machine::defaultMember(const Value& delegate, const Value& key, Value& out) {
    if (delegate.tag != Tag::Table)
        return false;
    const Value* v = delegate.table()->find(key);
    if (!v)
        return false;
    out = *v;
    return true;
}

// Lookup order: a table's own slots and its delegate chain, then the table default delegate,
// then _get; an instance's class members, then _get, then the instance default delegate.
bool Machine::tryGet(const Value& object, const Value& key, Value& out) {
    switch (object.tag) {
    case Tag::Table: {
        const Table* t = object.table();
        for (;;) {
            if (const Value* v = t->find(key)) {
                out = slotValue(*v);
                return true;
            }
            if (t->delegate.tag != Tag::Table)
                break;
            t = t->delegate.table();
        }
        if (defaultMember(state.tableDelegate, key, out))
            return true;
        Value fn;
        return metamethod(object, Meta::Get, fn) && callFallible(fn, object, &key, 1, out);
    }
    case Tag::Instance: {
        Instance* instance = object.as<Instance>();
        if (const ClassMember* member = instance->cls()->find(key)) {
            out = slotValue(member->isField() ? instance->fields()[member->field] : member->value);
            return true;
        }
        Value fn;
        if (metamethod(object, Meta::Get, fn) && callFallible(fn, object, &key, 1, out))
            return true;
        return defaultMember(state.instanceDelegate, key, out);
    }
    case Tag::Class:
        if (const ClassMember* member = object.as<Class>()->find(key)) {
            out = slotValue(member->value);
            return true;
        }
        return defaultMember(state.classDelegate, key, out);
    case Tag::Array:
        if (key.isNumber()) {
            auto& items = object.array()->items;
            std::int32_t index = key.toInt();
            if (index < 0 || static_cast<std::size_t>(index) >= items.size())
                return false;
            out = slotValue(items[static_cast<std::size_t>(index)]);
            return true;
        }
        return defaultMember(state.arrayDelegate, key, out);
    case Tag::String:
        if (key.isNumber()) {
            String* s = object.str();
            std::int32_t index = key.toInt();
            if (index < 0 || static_cast<std::uint32_t>(index) >= s->length)
                return false;
            out.setInt(static_cast<signed char>(s->data[index]));
            return true;
        }
        return defaultMember(state.stringDelegate, key, out);
    case Tag::Integer:
    case Tag::Float:
    case Tag::Bool:
        return defaultMember(state.numberDelegate, key, out);
    case Tag::Closure:
    case Tag::NativeClosure:
        return defaultMember(state.closureDelegate, key, out);
    case Tag::Generator:
        return defaultMember(state.generatorDelegate, key, out);
    case Tag::Thread:
        return defaultMember(state.threadDelegate, key, out);
    case Tag::WeakRef:
        return defaultMember(state.weakRefDelegate, key, out);
    default:
        return false;
    }
}

Value Machine::get(const Value& object, const Value& key) {
    Value result;
    if (!tryGet(object, key, result))
        raiseIndexError(key);
    return result;
}

// A table's own slot, then the slot of a delegate that has the key, then _set.
void Machine::set(const Value& object, const Value& key, const Value& value) {
    switch (object.tag) {
    case Tag::Table: {
        Table* t = object.table();
        for (;;) {
            if (Value* v = t->find(key)) {
                *v = value;
                return;
            }
            if (t->delegate.tag != Tag::Table)
                break;
            t = t->delegate.table();
        }
        Value fn, ignored;
        Value args[2] = {key, value};
        if (metamethod(object, Meta::Set, fn) && callFallible(fn, object, args, 2, ignored))
            return;
        break;
    }
    case Tag::Instance: {
        Instance* instance = object.as<Instance>();
        const ClassMember* member = instance->cls()->find(key);
        if (member && member->isField()) {
            instance->fields()[member->field] = value;
            return;
        }
        Value fn, ignored;
        Value args[2] = {key, value};
        if (metamethod(object, Meta::Set, fn) && callFallible(fn, object, args, 2, ignored))
            return;
        break;
    }
    case Tag::Class: {
        Class* cls = object.as<Class>();
        if (ClassMember* member = cls->find(key)) {
            if (member->isField())
                member->value = value;
            else
                addMember(state, cls, key, value, Value(), true);
            return;
        }
        break;
    }
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
    switch (object.tag) {
    case Tag::Table: {
        Table* t = object.table();
        Value fn;
        if (!t->find(key) && metamethod(object, Meta::NewSlot, fn)) {
            Value args[2] = {key, value};
            call(fn, object, args, 2);
            return;
        }
        t->set(key, value);
        return;
    }
    case Tag::Class:
        addClassMember(object, key, value, Value(), false, false);
        return;
    case Tag::Instance: {
        // An instance has only its class's members; _newslot may take new ones elsewhere.
        Value fn;
        if (!metamethod(object, Meta::NewSlot, fn))
            raiseError("class instances do not support the new slot operator");
        Value args[2] = {key, value};
        call(fn, object, args, 2);
        return;
    }
    default:
        raiseError("indexing %s with %s", typeName(object.tag), typeName(key.tag));
    }
}

void Machine::addClassMember(const Value& cls, const Value& key, const Value& value,
                             const Value& attributes, bool isStatic, bool declared) {
    if (key.isNull())
        raiseError("null cannot be used as index");
    Value fn;
    if (declared && !(fn = cls.as<Class>()->meta(Meta::NewMember)).isNull()) {
        Value args[4] = {key, value, attributes, Value::boolean(isStatic)};
        call(fn, cls, args, 4);
        return;
    }
    if (addMember(state, cls.as<Class>(), key, value, attributes, isStatic) ==
        MemberResult::ClassLocked)
        raiseError("trying to modify a class that has already been instantiated");
}

Value Machine::makeClass(const Value& base, const Value& attributes) {
    Value cls = newClass(state, base, attributes);
    if (base.tag == Tag::Class) {
        const Value& inherited = base.as<Class>()->meta(Meta::Inherited);
        if (!inherited.isNull())
            call(inherited, cls, &attributes, 1);
    }
    return cls;
}

Value Machine::remove(const Value& object, const Value& key) {
    if (object.tag == Tag::Table || object.tag == Tag::Instance) {
        Value fn;
        if (metamethod(object, Meta::DelSlot, fn))
            return call(fn, object, &key, 1);
    }
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
    case Tag::Instance:
        return object.as<Instance>()->cls()->find(key) != nullptr;
    case Tag::Class:
        return object.as<Class>()->find(key) != nullptr;
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
    Meta meta = op == '+'   ? Meta::Add
                : op == '-' ? Meta::Sub
                : op == '*' ? Meta::Mul
                : op == '/' ? Meta::Div
                            : Meta::Modulo;
    Value fn;
    if (metamethod(a, meta, fn))
        return call(fn, a, &b, 1);
    raiseError("arith op %c on between '%s' and '%s'", op, typeName(a.tag), typeName(b.tag));
}

Value Machine::negate(const Value& v) {
    if (v.tag == Tag::Integer)
        return Value::integer(static_cast<std::int32_t>(0u - static_cast<std::uint32_t>(v.i)));
    if (v.tag == Tag::Float)
        return Value::real(-v.f);
    Value fn;
    if (metamethod(v, Meta::Unm, fn))
        return call(fn, v, nullptr, 0);
    raiseError("attempt to negate a %s", typeName(v.tag));
}

Value Machine::typeOf(const Value& v) {
    Value fn;
    if (metamethod(v, Meta::Typeof, fn))
        return call(fn, v, nullptr, 0);
    return state.typeNames[static_cast<std::size_t>(v.tag)];
}

bool Machine::instanceOf(const Value& object, const Value& cls) {
    if (cls.tag != Tag::Class)
        raiseError("cannot apply instanceof between a %s and a %s", typeName(object.tag),
                   typeName(cls.tag));
    if (object.tag != Tag::Instance)
        return false;
    for (const Value* c = &object.as<Instance>()->classValue; c->tag == Tag::Class;
         c = &c->as<Class>()->base) {
        if (c->ref == cls.ref)
            return true;
    }
    return false;
}

Value Machine::parentOf(const Value& v) {
    if (v.tag == Tag::Table)
        return v.table()->delegate;
    if (v.tag == Tag::Class)
        return v.as<Class>()->base;
    // Instances had no parent; a member of that name is what later scripts mean.
    if (v.tag == Tag::Instance)
        return get(v, state.string("parent"));
    raiseError("the %s type doesn't have a parent slot", typeName(v.tag));
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
        case Tag::Table:
        case Tag::Instance: {
            Value fn;
            if (metamethod(a, Meta::Cmp, fn)) {
                Value order = call(fn, a, &b, 1);
                if (order.tag != Tag::Integer)
                    raiseError("_cmp must return an integer");
                return order.i < 0 ? -1 : order.i > 0 ? 1 : 0;
            }
            break;
        }
        default:
            break;
        }
        // Objects of one type order by identity.
        return a.pointer == b.pointer ? 0 : a.pointer < b.pointer ? -1 : 1;
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
    Value fn;
    if (metamethod(v, Meta::ToString, fn)) {
        Value text = call(fn, v, nullptr, 0);
        if (text.tag == Tag::String)
            return text;
    }
    return state.string(valueToText(v));
}

Value Machine::concat(const Value& a, const Value& b) {
    Value left = toString(a);
    Value right = toString(b);
    return state.strings.join(left.str()->view(), right.str()->view());
}

Value Machine::clone(const Value& v) {
    switch (v.tag) {
    case Tag::Table: {
        Table* source = v.table();
        Value copy = state.newTable();
        Table* target = copy.table();
        target->copyFrom(*source);
        target->delegate = source->delegate;
        Value fn;
        if (metamethod(copy, Meta::Cloned, fn))
            call(fn, copy, &v, 1);
        return copy;
    }
    case Tag::Instance: {
        Value copy(Instance::copy(state, v.as<Instance>()));
        Value fn;
        if (metamethod(copy, Meta::Cloned, fn))
            call(fn, copy, &v, 1);
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
