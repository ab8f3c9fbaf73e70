#include "state.h"

#include "library.h"
#include "machine.h"
#include "size_limits.h"

#include <cstdio>

namespace squirrel::detail {

State::State() {
    root = newTable();
    consts = newTable();
    for (std::size_t i = 0; i < kMetaCount; ++i)
        metaNames[i] = string(metaName(static_cast<Meta>(i)));
    constructorName = string("constructor");
    notEnoughMemory = string(kNotEnoughMemory);
    stringTooLong = string(kStringTooLong);
    for (std::size_t i = 0; i < kTagCount; ++i)
        typeNames[i] = string(typeName(static_cast<Tag>(i)));
    print = [](std::string_view text) { std::fwrite(text.data(), 1, text.size(), stdout); };
    printError = [](std::string_view text) { std::fwrite(text.data(), 1, text.size(), stderr); };
    createNumberDelegate(*this);
    createStringDelegate(*this);
    createTableDelegate(*this);
    createArrayDelegate(*this);
    createClosureDelegate(*this);
    createClassDelegates(*this);
    createGeneratorDelegate(*this);
    createThreadDelegate(*this);
    createWeakRefDelegate(*this);
    registerBaseLibrary(*this);
    registerBlobLibrary(*this);
    registerIoLibrary(*this);
    registerMathLibrary(*this);
    registerStringLibrary(*this);
    registerSystemLibrary(*this);
}

State::~State() {
    root.setNull();
    consts.setNull();
    numberDelegate.setNull();
    stringDelegate.setNull();
    tableDelegate.setNull();
    arrayDelegate.setNull();
    closureDelegate.setNull();
    classDelegate.setNull();
    instanceDelegate.setNull();
    generatorDelegate.setNull();
    threadDelegate.setNull();
    weakRefDelegate.setNull();
    blobClass.setNull();
    errorHandler.setNull();
    debugHook.setNull();
    // What is left is held by cycles only.
    while (gcHead && collectCycles(gcHead) > 0) {
    }
}

Value State::newArray(std::size_t size) {
    checkElements(size, sizeof(Value));
    Value array(new Array(gcHead));
    array.array()->items.resize(size);
    return array;
}

Value State::newNative(NativeFn fn, std::string_view name, std::int32_t paramCheck,
                       std::string_view typeMask) {
    Value native(new NativeClosure(gcHead, fn, string(name)));
    native.native()->paramCheck = paramCheck;
    parseTypeMask(typeMask, native.native()->typeMask);
    return native;
}

void State::registerNative(Table* table, std::string_view name, NativeFn fn,
                           std::int32_t paramCheck, std::string_view typeMask) {
    table->set(string(name), newNative(fn, name, paramCheck, typeMask));
}

bool parseTypeMask(std::string_view mask, std::vector<std::uint32_t>& out) {
    out.clear();
    std::uint32_t bits = 0;
    for (std::size_t i = 0; i < mask.size(); ++i) {
        std::uint32_t code;
        switch (mask[i]) {
        case 'o':
            code = typeCode(Tag::Null);
            break;
        case 'i':
            code = typeCode(Tag::Integer);
            break;
        case 'f':
            code = typeCode(Tag::Float);
            break;
        case 'n':
            code = typeCode(Tag::Integer) | typeCode(Tag::Float);
            break;
        case 's':
            code = typeCode(Tag::String);
            break;
        case 't':
            code = typeCode(Tag::Table);
            break;
        case 'a':
            code = typeCode(Tag::Array);
            break;
        case 'u':
            code = typeCode(Tag::UserData);
            break;
        case 'c':
            code = typeCode(Tag::Closure) | typeCode(Tag::NativeClosure);
            break;
        case 'b':
            code = typeCode(Tag::Bool);
            break;
        case 'g':
            code = typeCode(Tag::Generator);
            break;
        case 'p':
            code = typeCode(Tag::UserPointer);
            break;
        case 'v':
            code = typeCode(Tag::Thread);
            break;
        case 'x':
            code = typeCode(Tag::Instance);
            break;
        case 'y':
            code = typeCode(Tag::Class);
            break;
        case 'r':
            code = typeCode(Tag::WeakRef);
            break;
        case '.':
            code = 0x00FFFFFFu;
            break;
        case ' ':
            continue;
        default:
            out.clear();
            return false;
        }
        bits |= code & 0x00FFFFFFu;
        if (i + 1 < mask.size() && mask[i + 1] == '|') {
            ++i;
            if (i + 1 == mask.size()) {
                out.clear();
                return false;
            }
            continue;
        }
        out.push_back(bits == 0x00FFFFFFu ? 0 : bits);
        bits = 0;
    }
    return true;
}

} // namespace squirrel::detail
