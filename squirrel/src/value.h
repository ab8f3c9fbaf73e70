// Tagged script values. Integers, floats, bools and user pointers are stored unboxed; every
// other kind points to a reference-counted heap object.
#pragma once

#include <cstdint>
#include <cstring>

namespace squirrel::detail {

// Internal type tags, dense so that the interpreter can switch on them. Everything from String
// on is reference counted.
enum class Tag : std::uint8_t {
    Null,
    Integer,
    Float,
    Bool,
    UserPointer,
    String,
    FunctionProto,
    WeakRef,
    // Containers: objects that can hold references to other objects and take part in cycles.
    Table,
    Array,
    Closure,
    NativeClosure,
    Class,
    Instance,
    Generator,
    Thread,
    UserData,
};

constexpr std::size_t kTagCount = static_cast<std::size_t>(Tag::UserData) + 1;

constexpr bool isRefCounted(Tag tag) {
    return tag >= Tag::String;
}
constexpr bool isContainer(Tag tag) {
    return tag >= Tag::Table;
}

// The type codes scripts and the embedding interface see (bit flags of the reference design:
// 0x08000000 reference counted, 0x04000000 numeric, 0x02000000 delegable, 0x01000000 can be
// false).
std::uint32_t typeCode(Tag tag);
// The name `typeof` returns.
const char* typeName(Tag tag);

// Header shared by every heap object.
struct RefCounted {
    std::uint32_t refCount = 0;
    Tag tag;
    std::uint8_t flags = 0; // kHasWeakRef
    explicit RefCounted(Tag t) : tag(t) {}
};

// A weak reference to the object exists (in the weak reference table).
constexpr std::uint8_t kHasWeakRef = 1;

// Frees an object whose reference count dropped to zero. Freeing is iterative, so dropping a
// long chain of objects does not recurse.
void destroyObject(RefCounted* object);

inline void addRef(RefCounted* object) {
    ++object->refCount;
}
inline void releaseRef(RefCounted* object) {
    if (--object->refCount == 0)
        destroyObject(object);
}

struct String;
struct Table;
struct Array;
struct Closure;
struct NativeClosure;
struct FunctionProto;
struct WeakRef;

class Value {
public:
    Tag tag;
    union {
        std::int32_t i;
        float f;
        bool b;
        void* pointer;
        RefCounted* ref;
        std::uint64_t raw;
    };

    Value() : tag(Tag::Null), raw(0) {}
    explicit Value(RefCounted* object) : tag(object->tag), raw(0) {
        ref = object;
        addRef(object);
    }
    Value(const Value& other) : tag(other.tag), raw(other.raw) {
        if (isRefCounted(tag))
            addRef(ref);
    }
    Value(Value&& other) noexcept : tag(other.tag), raw(other.raw) {
        other.tag = Tag::Null;
        other.raw = 0;
    }
    ~Value() {
        if (isRefCounted(tag))
            releaseRef(ref);
    }
    Value& operator=(const Value& other) {
        if (isRefCounted(other.tag))
            addRef(other.ref);
        Value old;
        old.tag = tag;
        old.raw = raw;
        tag = other.tag;
        raw = other.raw;
        return *this;
    }
    Value& operator=(Value&& other) noexcept {
        if (this != &other) {
            Value old;
            old.tag = tag;
            old.raw = raw;
            tag = other.tag;
            raw = other.raw;
            other.tag = Tag::Null;
            other.raw = 0;
        }
        return *this;
    }

    static Value integer(std::int32_t v) {
        Value r;
        r.tag = Tag::Integer;
        r.raw = payload(v);
        return r;
    }
    static Value real(float v) {
        Value r;
        r.tag = Tag::Float;
        r.raw = payload(v);
        return r;
    }
    static Value boolean(bool v) {
        Value r;
        r.tag = Tag::Bool;
        r.raw = payload(v);
        return r;
    }
    static Value userPointer(void* p) {
        Value r;
        r.tag = Tag::UserPointer;
        r.pointer = p;
        return r;
    }

    void setNull() {
        if (isRefCounted(tag)) {
            RefCounted* old = ref;
            tag = Tag::Null;
            raw = 0;
            releaseRef(old);
        } else {
            tag = Tag::Null;
            raw = 0;
        }
    }
    void setInt(std::int32_t v) {
        if (isRefCounted(tag))
            setNull();
        overwriteInt(v);
    }
    void setFloat(float v) {
        if (isRefCounted(tag))
            setNull();
        overwriteFloat(v);
    }
    void setBool(bool v) {
        if (isRefCounted(tag))
            setNull();
        overwriteBool(v);
    }
    // Write a scalar over a value that holds no object, so there is nothing to release.
    void overwriteInt(std::int32_t v) {
        tag = Tag::Integer;
        raw = payload(v);
    }
    void overwriteFloat(float v) {
        tag = Tag::Float;
        raw = payload(v);
    }
    void overwriteBool(bool v) {
        tag = Tag::Bool;
        raw = payload(v);
    }

    bool isNull() const { return tag == Tag::Null; }
    bool isNumber() const { return tag == Tag::Integer || tag == Tag::Float; }
    // null, false, integer 0 and float 0.0 are false; everything else is true.
    bool truthy() const {
        switch (tag) {
        case Tag::Null:
            return false;
        case Tag::Integer:
            return i != 0;
        case Tag::Float:
            return f != 0.0f;
        case Tag::Bool:
            return b;
        default:
            return true;
        }
    }
    float toFloat() const { return tag == Tag::Integer ? static_cast<float>(i) : f; }
    std::int32_t toInt() const { return tag == Tag::Integer ? i : truncate(f); }
    // A float truncated toward zero. Floats beyond the integer range and NaN give the smallest
    // integer, as the processor's own conversion does; converting them directly is undefined.
    static std::int32_t truncate(float v) {
        if (v >= -2147483648.0f && v < 2147483648.0f)
            return static_cast<std::int32_t>(v);
        return INT32_MIN;
    }

    // Same type and same payload: identity for objects, value for scalars.
    bool rawEquals(const Value& other) const { return tag == other.tag && raw == other.raw; }

    String* str() const { return reinterpret_cast<String*>(ref); }
    Table* table() const { return reinterpret_cast<Table*>(ref); }
    Array* array() const { return reinterpret_cast<Array*>(ref); }
    Closure* closure() const { return reinterpret_cast<Closure*>(ref); }
    NativeClosure* native() const { return reinterpret_cast<NativeClosure*>(ref); }
    template <class T>
    T* as() const {
        return reinterpret_cast<T*>(ref);
    }

private:
    // The payload word of a scalar, with the scalar where its union member lies and zeros
    // elsewhere. Scalars are written as the whole word at once: a later copy reads the whole
    // word, which the processor can then forward from the one store.
    template <class T>
    static std::uint64_t payload(T v) {
        std::uint64_t word = 0;
        std::memcpy(&word, &v, sizeof v);
        return word;
    }
};

// Hash of a value used as a table key; strings carry theirs.
std::uint32_t hashValue(const Value& key);

} // namespace squirrel::detail
