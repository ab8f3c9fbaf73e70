#include "stream.h"

#include "machine.h"
#include "native_class.h"
#include "size_limits.h"

#include <algorithm>

#include <cstring>
#include <vector>

namespace squirrel::detail {

Stream& streamOf(Machine& m, const Value& self) {
    if (self.tag == Tag::Instance) {
        if (auto* stream = dynamic_cast<Stream*>(self.as<Instance>()->native.get())) {
            if (!stream->isOpen())
                m.raiseError("the file is closed");
            return *stream;
        }
    }
    m.raiseError("invalid type tag");
}

namespace {

template <class T>
Value readNumber(Machine& m, Stream& s) {
    T value;
    if (s.read(&value, sizeof value) != sizeof value)
        m.raiseError("io error");
    if constexpr (std::is_floating_point_v<T>)
        return Value::real(static_cast<float>(value));
    else
        return Value::integer(static_cast<std::int32_t>(value));
}

// readn(type): 'l' and 'i' 32-bit, 's' and 'w' 16-bit signed and unsigned, 'c' and 'b' 8-bit
// signed and unsigned, 'f' and 'd' 32 and 64-bit floats; in the machine's byte order.
Value streamReadN(Machine& m, Value* args, int) {
    Stream& s = streamOf(m, args[0]);
    switch (args[1].toInt()) {
    case 'l':
    case 'i':
        return readNumber<std::int32_t>(m, s);
    case 's':
        return readNumber<std::int16_t>(m, s);
    case 'w':
        return readNumber<std::uint16_t>(m, s);
    case 'c':
        return readNumber<std::int8_t>(m, s);
    case 'b':
        return readNumber<std::uint8_t>(m, s);
    case 'f':
        return readNumber<float>(m, s);
    case 'd':
        return readNumber<double>(m, s);
    default:
        m.raiseError("invalid format");
    }
}

template <class T>
void writeNumber(Machine& m, Stream& s, T value) {
    if (s.write(&value, sizeof value) != sizeof value)
        m.raiseError("io error");
}

Value streamWriteN(Machine& m, Value* args, int) {
    Stream& s = streamOf(m, args[0]);
    const Value& n = args[1];
    switch (args[2].toInt()) {
    case 'l':
    case 'i':
        writeNumber(m, s, n.toInt());
        break;
    case 's':
        writeNumber(m, s, static_cast<std::int16_t>(n.toInt()));
        break;
    case 'w':
        writeNumber(m, s, static_cast<std::uint16_t>(n.toInt()));
        break;
    case 'c':
        writeNumber(m, s, static_cast<std::int8_t>(n.toInt()));
        break;
    case 'b':
        writeNumber(m, s, static_cast<std::uint8_t>(n.toInt()));
        break;
    case 'f':
        writeNumber(m, s, n.toFloat());
        break;
    case 'd':
        writeNumber(m, s, static_cast<double>(n.toFloat()));
        break;
    default:
        m.raiseError("invalid format");
    }
    return Value();
}

Value streamReadBlob(Machine& m, Value* args, int) {
    Stream& s = streamOf(m, args[0]);
    std::int32_t size = args[1].toInt();
    if (size <= 0)
        m.raiseError("invalid size");
    // Never more room than the bytes that are left.
    long left = s.length() - s.tell();
    std::vector<char> data(static_cast<std::size_t>(std::max(0L, std::min<long>(size, left))));
    std::size_t read = s.read(data.data(), data.size());
    if (read == 0)
        m.raiseError("no data left to read");
    return makeBlob(m, data.data(), read);
}

Value streamWriteBlob(Machine& m, Value* args, int) {
    Stream& s = streamOf(m, args[0]);
    Stream& source = nativeDataOf<Stream>(m, args[1], &kBlobType);
    long size = source.length();
    long position = source.tell();
    std::vector<char> data(static_cast<std::size_t>(size));
    source.seek(0, Stream::Origin::Begin);
    source.read(data.data(), data.size());
    source.seek(position, Stream::Origin::Begin);
    if (s.write(data.data(), data.size()) != data.size())
        m.raiseError("io error");
    return Value();
}

// seek(offset, [origin]): origin 'b' (the default), 'c' or 'e'; gives 0, or -1 when the
// position would leave the stream.
Value streamSeek(Machine& m, Value* args, int count) {
    Stream& s = streamOf(m, args[0]);
    Stream::Origin origin = Stream::Origin::Begin;
    if (count > 2) {
        switch (args[2].toInt()) {
        case 'b':
            break;
        case 'c':
            origin = Stream::Origin::Current;
            break;
        case 'e':
            origin = Stream::Origin::End;
            break;
        default:
            m.raiseError("invalid origin");
        }
    }
    return Value::integer(s.seek(args[1].toInt(), origin) ? 0 : -1);
}

// A position or length as a script integer; a file beyond the integers' range cannot be told.
Value streamSize(Machine& m, long size) {
    if (size > static_cast<long>(kMaxLength))
        m.raiseError("stream too large");
    return Value::integer(static_cast<std::int32_t>(size));
}

Value streamTell(Machine& m, Value* args, int) {
    return streamSize(m, streamOf(m, args[0]).tell());
}

Value streamLen(Machine& m, Value* args, int) {
    return streamSize(m, streamOf(m, args[0]).length());
}

// eos() and flush() give 1 for yes and null for no.
Value streamEos(Machine& m, Value* args, int) {
    return streamOf(m, args[0]).atEnd() ? Value::integer(1) : Value();
}

Value streamFlush(Machine& m, Value* args, int) {
    return streamOf(m, args[0]).flush() ? Value::integer(1) : Value();
}

Value streamResize(Machine& m, Value* args, int) {
    std::int32_t size = args[1].toInt();
    if (size < 0 || !streamOf(m, args[0]).resize(size))
        m.raiseError("resize failed");
    return Value();
}

} // namespace

void addStreamMethods(State& state, const Value& cls) {
    addNativeMethod(state, cls, "readn", streamReadN, 2, "xn");
    addNativeMethod(state, cls, "writen", streamWriteN, 3, "xnn");
    addNativeMethod(state, cls, "readblob", streamReadBlob, 2, "xn");
    addNativeMethod(state, cls, "writeblob", streamWriteBlob, 2, "xx");
    addNativeMethod(state, cls, "seek", streamSeek, -2, "xnn");
    addNativeMethod(state, cls, "tell", streamTell, 1, "x");
    addNativeMethod(state, cls, "len", streamLen, 1, "x");
    addNativeMethod(state, cls, "eos", streamEos, 1, "x");
    addNativeMethod(state, cls, "flush", streamFlush, 1, "x");
    addNativeMethod(state, cls, "resize", streamResize, 2, "xn");
}

} // namespace squirrel::detail
