#include "class.h"

#include "function.h"
#include "state.h"

#include <new>

namespace squirrel::detail {

const char* metaName(Meta meta) {
    static const char* const names[] = {
        "_add",    "_sub",     "_mul",     "_div",      "_modulo",    "_unm",
        "_set",    "_get",     "_typeof",  "_nexti",    "_cmp",       "_call",
        "_cloned", "_newslot", "_delslot", "_tostring", "_newmember", "_inherited",
    };
    static_assert(sizeof(names) / sizeof(names[0]) == kMetaCount, "one name per metamethod");
    return names[static_cast<std::size_t>(meta)];
}

Class::Class(State& state) : GCObject(Tag::Class, state.gcHead), index(indexList_) {}

Instance* Instance::create(State& state, Class* cls) {
    void* memory = ::operator new(sizeof(Instance) + cls->fieldCount * sizeof(Value));
    Instance* instance = new (memory) Instance(state.gcHead, Value(cls), cls->fieldCount);
    Value* fields = instance->fields();
    for (const ClassMember& member : cls->members) {
        if (member.isField())
            new (&fields[member.field]) Value(member.value);
    }
    cls->locked = true;
    return instance;
}

Instance* Instance::copy(State& state, const Instance* original) {
    void* memory = ::operator new(sizeof(Instance) + original->fieldCount * sizeof(Value));
    Instance* instance =
        new (memory) Instance(state.gcHead, original->classValue, original->fieldCount);
    for (std::uint32_t i = 0; i < original->fieldCount; ++i)
        new (&instance->fields()[i]) Value(original->fields()[i]);
    return instance;
}

void Instance::destroy(Instance* instance) {
    Value* fields = instance->fields();
    for (std::uint32_t i = 0; i < instance->fieldCount; ++i)
        fields[i].~Value();
    instance->~Instance();
    ::operator delete(instance);
}

Meta metamethodFor(const State& state, const Value& key) {
    if (key.tag != Tag::String || key.str()->length < 2 || key.str()->data[0] != '_')
        return Meta::Count;
    for (std::size_t i = 0; i < kMetaCount; ++i) {
        if (state.metaNames[i].ref == key.ref)
            return static_cast<Meta>(i);
    }
    return Meta::Count;
}

Value newClass(State& state, const Value& base, const Value& attributes) {
    Class* cls = new Class(state);
    Value result(cls);
    cls->attributes = attributes;
    if (base.tag == Tag::Class) {
        const Class* parent = base.as<Class>();
        cls->base = base;
        cls->members = parent->members;
        cls->fieldCount = parent->fieldCount;
        cls->constructor = parent->constructor;
        cls->nativeType = parent->nativeType;
        for (std::size_t i = 0; i < kMetaCount; ++i)
            cls->metamethods[i] = parent->metamethods[i];
        cls->index.copyFrom(parent->index);
    }
    return result;
}

namespace {

bool isFunction(const Value& v) {
    return v.tag == Tag::Closure || v.tag == Tag::NativeClosure;
}

// A script method of a derived class remembers the base class for the `base` keyword. The
// function may belong to other classes too, so the class gets a copy.
Value methodFor(State& state, const Class* cls, const Value& value) {
    if (value.tag != Tag::Closure || cls->base.isNull())
        return value;
    const Closure* source = value.closure();
    Closure* copy = new Closure(state.gcHead, source->proto);
    Value result(copy);
    copy->env = source->env;
    copy->root = source->root;
    copy->outers = source->outers;
    copy->defaults = source->defaults;
    copy->base = cls->base;
    return result;
}

} // namespace

MemberResult addMember(State& state, Class* cls, const Value& key, const Value& value,
                       const Value& attributes, bool isStatic) {
    bool shared = isStatic || isFunction(value);
    if (isFunction(value)) {
        Meta meta = metamethodFor(state, key);
        if (meta != Meta::Count) {
            cls->metamethods[static_cast<std::size_t>(meta)] = methodFor(state, cls, value);
            return MemberResult::Added;
        }
    }
    if (!shared && cls->locked)
        return MemberResult::ClassLocked;
    if (ClassMember* existing = cls->find(key)) {
        // A field stays a field and gets a new default; a shared member is replaced, or turns
        // into a field when a plain value takes its place.
        if (existing->isField() || shared) {
            existing->value = existing->isField() ? value : methodFor(state, cls, value);
        } else {
            existing->value = value;
            existing->field = cls->fieldCount++;
        }
        if (!attributes.isNull())
            existing->attributes = attributes;
        return MemberResult::Replaced;
    }
    ClassMember member;
    member.key = key;
    member.value = shared ? methodFor(state, cls, value) : value;
    member.attributes = attributes;
    if (!shared)
        member.field = cls->fieldCount++;
    auto position = static_cast<std::int32_t>(cls->members.size());
    if (key.rawEquals(state.constructorName))
        cls->constructor = position;
    cls->members.push_back(std::move(member));
    cls->index.set(key, Value::integer(position));
    return MemberResult::Added;
}

} // namespace squirrel::detail
