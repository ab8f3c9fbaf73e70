// Classes and their instances. A class keeps its members in declaration order with a table from
// key to position, whose order is the order in which the members iterate; a member is either a
// field, whose value every instance holds in a slot of its own (the class holds the default), or a
// method or static value shared through the class.
#pragma once

#include "metamethods.h"
#include "table.h"

#include <memory>
#include <vector>

namespace squirrel::detail {

class State;

constexpr std::uint32_t kNotAField = 0xFFFFFFFFu;

struct ClassMember {
    Value key;
    Value value;      // a field's default value, or the method or static value
    Value attributes; // table of attributes, or null
    std::uint32_t field = kNotAField;
    bool isField() const { return field != kNotAField; }
};

// What a native class (blob, file, regexp) keeps in each of its instances.
struct NativeData {
    virtual ~NativeData() = default;
};

struct Class : GCObject {
    explicit Class(State& state);

    // The member stored under key, or null.
    const ClassMember* find(const Value& key) const {
        const Value* position = index.find(key);
        return position ? &members[static_cast<std::size_t>(position->i)] : nullptr;
    }
    ClassMember* find(const Value& key) {
        const Value* position = index.find(key);
        return position ? &members[static_cast<std::size_t>(position->i)] : nullptr;
    }
    const Value& meta(Meta m) const { return metamethods[static_cast<std::size_t>(m)]; }

    Value base;       // class or null
    Value attributes; // class attributes, or null
    std::vector<ClassMember> members;
    std::uint32_t fieldCount = 0;
    std::int32_t constructor = -1; // position of the constructor among the members
    bool locked = false;           // instances exist, so no field can be added
    Value metamethods[kMetaCount];
    const void* nativeType = nullptr; // set by native classes and inherited

private:
    // The index belongs to the class alone, so it stays off the collector's list.
    GCObject* indexList_ = nullptr;

public:
    Table index; // key -> position in members (keys are also in members)
};

struct Instance : GCObject {
    // Makes an instance with the class's default field values.
    static Instance* create(State& state, Class* cls);
    // Makes an instance of the same class with the same field values.
    static Instance* copy(State& state, const Instance* original);
    static void destroy(Instance* instance);

    Value* fields() { return reinterpret_cast<Value*>(this + 1); }
    const Value* fields() const { return reinterpret_cast<const Value*>(this + 1); }
    Class* cls() const { return classValue.as<Class>(); }

    Value classValue;
    std::uint32_t fieldCount;
    std::unique_ptr<NativeData> native;

private:
    Instance(GCObject*& listHead, const Value& cls, std::uint32_t fieldCount)
        : GCObject(Tag::Instance, listHead), classValue(cls), fieldCount(fieldCount) {}
    ~Instance() = default;
};

// What adding a member did.
enum class MemberResult { Added, ClassLocked, Replaced };

// Makes a class that starts with a copy of base's members (base may be null).
Value newClass(State& state, const Value& base, const Value& attributes);
// Adds or replaces a member. Functions and statics are shared; anything else is a field,
// which cannot be added once the class has instances. Functions named like a metamethod
// become the class's metamethod instead of a member.
MemberResult addMember(State& state, Class* cls, const Value& key, const Value& value,
                       const Value& attributes, bool isStatic);
// The metamethod a function stored under key becomes, or Meta::Count.
Meta metamethodFor(const State& state, const Value& key);

} // namespace squirrel::detail
