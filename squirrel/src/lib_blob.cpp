// The blob library: the blob class, a growable byte buffer used as a stream, and the byte and
// endianness helpers.
#include "library.h"
#include "machine.h"
#include "native_class.h"
#include "size_limits.h"
#include "stream.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace squirrel::detail {

const char kBlobType = 0;

namespace {

// At most kMaxLength bytes.
struct Blob : Stream {
    explicit Blob(std::size_t size) {
        checkElements(size, 1);
        bytes.resize(size);
    }

    std::size_t read(void* buffer, std::size_t size) override {
        std::size_t n = std::min(size, bytes.size() - position);
        // An empty read may come with no buffer at all, which memcpy must not be given.
        if (n != 0)
            std::memcpy(buffer, bytes.data() + position, n);
        position += n;
        return n;
    }
    // Writing past the end grows the blob.
    std::size_t write(const void* buffer, std::size_t size) override {
        if (position + size > bytes.size()) {
            if (position + size > bytes.capacity())
                checkElements(position + size, 1);
            bytes.resize(position + size);
        }
        if (size != 0)
            std::memcpy(bytes.data() + position, buffer, size);
        position += size;
        return size;
    }
    bool seek(long offset, Origin origin) override {
        long from = origin == Origin::Begin     ? 0
                    : origin == Origin::Current ? static_cast<long>(position)
                                                : length();
        long target = from + offset;
        if (target < 0 || target > length())
            return false;
        position = static_cast<std::size_t>(target);
        return true;
    }
    long tell() override { return static_cast<long>(position); }
    long length() override { return static_cast<long>(bytes.size()); }
    bool atEnd() override { return position == bytes.size(); }
    bool flush() override { return true; }
    bool resize(long size) override {
        if (static_cast<std::size_t>(size) > bytes.capacity())
            checkElements(static_cast<std::size_t>(size), 1);
        bytes.resize(static_cast<std::size_t>(size));
        position = std::min(position, bytes.size());
        return true;
    }

    std::vector<unsigned char> bytes;
    std::size_t position = 0;
};

Blob& blobOf(Machine& m, const Value& self) {
    return nativeDataOf<Blob>(m, self, &kBlobType);
}

Value blobConstructor(Machine& m, Value* args, int count) {
    std::int32_t size = count > 1 ? args[1].toInt() : 0;
    if (size < 0)
        m.raiseError("cannot create blob with negative size");
    setNativeData(m, args[0], std::make_unique<Blob>(static_cast<std::size_t>(size)));
    return Value();
}

// Swaps the bytes of every whole unit of the given size.
void swapUnits(std::vector<unsigned char>& bytes, std::size_t unit) {
    for (std::size_t i = 0; i + unit <= bytes.size(); i += unit)
        std::reverse(bytes.begin() + static_cast<long>(i),
                     bytes.begin() + static_cast<long>(i + unit));
}

Value blobSwap2(Machine& m, Value* args, int) {
    swapUnits(blobOf(m, args[0]).bytes, 2);
    return Value();
}

Value blobSwap4(Machine& m, Value* args, int) {
    swapUnits(blobOf(m, args[0]).bytes, 4);
    return Value();
}

// blob[i] reads and writes bytes; other keys are not found.
Value blobGet(Machine& m, Value* args, int) {
    Blob& blob = blobOf(m, args[0]);
    if (args[1].tag != Tag::Integer)
        m.raise(Value());
    std::int32_t index = args[1].i;
    if (index < 0 || static_cast<std::size_t>(index) >= blob.bytes.size())
        m.raiseError("index out of range");
    return Value::integer(blob.bytes[static_cast<std::size_t>(index)]);
}

Value blobSet(Machine& m, Value* args, int) {
    Blob& blob = blobOf(m, args[0]);
    if (args[1].tag != Tag::Integer)
        m.raise(Value());
    std::int32_t index = args[1].i;
    if (index < 0 || static_cast<std::size_t>(index) >= blob.bytes.size())
        m.raiseError("index out of range");
    blob.bytes[static_cast<std::size_t>(index)] = static_cast<unsigned char>(args[2].toInt());
    return args[2];
}

Value blobTypeOf(Machine& m, Value*, int) {
    return m.state.string("blob");
}

Value blobNextI(Machine& m, Value* args, int) {
    Blob& blob = blobOf(m, args[0]);
    std::int32_t next = args[1].isNull() ? 0 : args[1].toInt() + 1;
    if (static_cast<std::size_t>(next) >= blob.bytes.size())
        return Value();
    return Value::integer(next);
}

// A clone gets a copy of the bytes, with its position at the start.
Value blobCloned(Machine& m, Value* args, int) {
    Blob& original = blobOf(m, args[1]);
    auto copy = std::make_unique<Blob>(0);
    copy->bytes = original.bytes;
    setNativeData(m, args[0], std::move(copy));
    return Value();
}

template <class To, class From>
To bitCast(From from) {
    static_assert(sizeof(To) == sizeof(From), "same size");
    To to;
    std::memcpy(&to, &from, sizeof to);
    return to;
}

Value castF2I(Machine&, Value* args, int) {
    return Value::integer(bitCast<std::int32_t>(args[1].toFloat()));
}

Value castI2F(Machine&, Value* args, int) {
    return Value::real(bitCast<float>(args[1].toInt()));
}

// The low 16 bits with their two bytes swapped, as a signed 16-bit number.
Value swap2(Machine&, Value* args, int) {
    auto bits = static_cast<std::uint16_t>(args[1].toInt());
    return Value::integer(static_cast<std::int16_t>((bits << 8) | (bits >> 8)));
}

std::uint32_t swapBytes(std::uint32_t bits) {
    return (bits >> 24) | ((bits >> 8) & 0xFF00u) | ((bits << 8) & 0xFF0000u) | (bits << 24);
}

Value swap4(Machine&, Value* args, int) {
    return Value::integer(
        static_cast<std::int32_t>(swapBytes(static_cast<std::uint32_t>(args[1].toInt()))));
}

Value swapFloat(Machine&, Value* args, int) {
    return Value::real(bitCast<float>(swapBytes(bitCast<std::uint32_t>(args[1].toFloat()))));
}

} // namespace

Value makeBlob(Machine& m, const void* data, std::size_t size) {
    Value blob(Instance::create(m.state, m.state.blobClass.as<Class>()));
    auto payload = std::make_unique<Blob>(size);
    if (size)
        std::memcpy(payload->bytes.data(), data, size);
    blob.as<Instance>()->native = std::move(payload);
    return blob;
}

void registerBlobLibrary(State& s) {
    Value cls = newNativeClass(s, &kBlobType);
    addNativeMethod(s, cls, "constructor", blobConstructor, -1, "xn");
    addStreamMethods(s, cls);
    addNativeMethod(s, cls, "swap2", blobSwap2, 1, "x");
    addNativeMethod(s, cls, "swap4", blobSwap4, 1, "x");
    addNativeMethod(s, cls, "_get", blobGet, 2, "x.");
    addNativeMethod(s, cls, "_set", blobSet, 3, "x..");
    addNativeMethod(s, cls, "_typeof", blobTypeOf, 1, "x");
    addNativeMethod(s, cls, "_nexti", blobNextI, 2, "x.");
    addNativeMethod(s, cls, "_cloned", blobCloned, 2, "xx");
    s.blobClass = cls;
    Table* root = s.root.table();
    root->set(s.string("blob"), cls);
    s.registerNative(root, "castf2i", castF2I, 2, ".n");
    s.registerNative(root, "casti2f", castI2F, 2, ".n");
    s.registerNative(root, "swap2", swap2, 2, ".n");
    s.registerNative(root, "swap4", swap4, 2, ".n");
    s.registerNative(root, "swapfloat", swapFloat, 2, ".n");
}

} // namespace squirrel::detail
