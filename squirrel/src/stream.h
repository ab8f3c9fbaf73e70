// Byte streams with a read/write position: the common part of blobs and files, and the methods
// both classes share (readn, writen, readblob, writeblob, seek, tell, len, eos, flush).
#pragma once

#include "class.h"

#include <cstddef>
#include <string_view>

namespace squirrel::detail {

class Machine;

struct Stream : NativeData {
    enum class Origin { Begin, Current, End };

    // Bytes read or written, which may be fewer than asked for.
    virtual std::size_t read(void* buffer, std::size_t size) = 0;
    virtual std::size_t write(const void* buffer, std::size_t size) = 0;
    // False when the position would leave the stream.
    virtual bool seek(long offset, Origin origin) = 0;
    virtual long tell() = 0;
    virtual long length() = 0;
    virtual bool atEnd() = 0;
    virtual bool flush() = 0;
    virtual bool resize(long size) = 0;
    // A closed file is no stream any more.
    virtual bool isOpen() const { return true; }
};

// The open stream behind this of a stream method, or raises.
Stream& streamOf(Machine& m, const Value& self);
// Adds the shared methods to a stream class.
void addStreamMethods(State& state, const Value& cls);

// The blob class (needed by readblob) and making a blob from bytes.
extern const char kBlobType;
Value makeBlob(Machine& m, const void* data, std::size_t size);

} // namespace squirrel::detail
