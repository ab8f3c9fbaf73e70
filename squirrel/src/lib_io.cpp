// The input/output library: the file class on C streams, the standard streams, and loading and
// running script files.
#include "compiler.h"
#include "library.h"
#include "machine.h"
#include "native_class.h"
#include "stream.h"

#include <cstdio>
#include <fstream>
#include <sstream>
#include <unistd.h>

namespace squirrel::detail {

namespace {

const char kFileType = 0;

struct File : Stream {
    File(std::FILE* file, bool owned) : file(file), owned(owned) {}
    ~File() override { close(); }

    void close() {
        if (file && owned)
            std::fclose(file);
        file = nullptr;
    }
    std::size_t read(void* buffer, std::size_t size) override {
        return std::fread(buffer, 1, size, file);
    }
    std::size_t write(const void* buffer, std::size_t size) override {
        return std::fwrite(buffer, 1, size, file);
    }
    bool seek(long offset, Origin origin) override {
        int whence = origin == Origin::Begin     ? SEEK_SET
                     : origin == Origin::Current ? SEEK_CUR
                                                 : SEEK_END;
        return std::fseek(file, offset, whence) == 0;
    }
    long tell() override { return std::ftell(file); }
    long length() override {
        long position = std::ftell(file);
        std::fseek(file, 0, SEEK_END);
        long size = std::ftell(file);
        std::fseek(file, position, SEEK_SET);
        return size;
    }
    // At the end when the next read would find nothing.
    bool atEnd() override {
        int c = std::fgetc(file);
        if (c == EOF)
            return true;
        std::ungetc(c, file);
        return false;
    }
    bool flush() override { return std::fflush(file) == 0; }
    bool resize(long size) override {
        std::fflush(file);
        return ftruncate(fileno(file), size) == 0;
    }
    bool isOpen() const override { return file != nullptr; }

    std::FILE* file;
    bool owned;
};

Value fileConstructor(Machine& m, Value* args, int) {
    std::FILE* file = std::fopen(args[1].str()->c_str(), args[2].str()->c_str());
    if (!file)
        m.raiseError("cannot open file");
    setNativeData(m, args[0], std::make_unique<File>(file, true));
    return Value();
}

Value fileClose(Machine& m, Value* args, int) {
    File& file = nativeDataOf<File>(m, args[0], &kFileType);
    if (!file.isOpen())
        m.raiseError("the file is closed");
    file.close();
    return Value();
}

Value makeFile(State& s, const Value& cls, std::FILE* stream) {
    Value file(Instance::create(s, cls.as<Class>()));
    file.as<Instance>()->native = std::make_unique<File>(stream, false);
    return file;
}

// Compiles a script file; its name in error reports is the path.
Value loadScript(Machine& m, const Value& path) {
    std::ifstream in(path.str()->c_str(), std::ios::binary);
    if (!in)
        m.raiseError("cannot open the file");
    std::ostringstream text;
    text << in.rdbuf();
    Value proto;
    try {
        proto = compileScript(m.state, text.str(), path.str()->view());
    } catch (const CompileError& e) {
        m.raiseError("%s", e.what());
    }
    return Value(new Closure(m.state.gcHead, proto.as<FunctionProto>()));
}

Value ioLoadFile(Machine& m, Value* args, int) {
    return loadScript(m, args[1]);
}

// Runs the script with the caller's this; gives what the script returns.
Value ioDoFile(Machine& m, Value* args, int) {
    Value script = loadScript(m, args[1]);
    return m.call(script, args[0], nullptr, 0);
}

} // namespace

void registerIoLibrary(State& s) {
    Value cls = newNativeClass(s, &kFileType);
    addNativeMethod(s, cls, "constructor", fileConstructor, 3, "xss");
    addStreamMethods(s, cls);
    addNativeMethod(s, cls, "close", fileClose, 1, "x");
    Table* root = s.root.table();
    root->set(s.string("file"), cls);
    root->set(s.string("stdin"), makeFile(s, cls, stdin));
    root->set(s.string("stdout"), makeFile(s, cls, stdout));
    root->set(s.string("stderr"), makeFile(s, cls, stderr));
    s.registerNative(root, "loadfile", ioLoadFile, -2, ".sb");
    s.registerNative(root, "dofile", ioDoFile, -2, ".sb");
}

} // namespace squirrel::detail
