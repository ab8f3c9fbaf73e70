// Embedding interface of the Squirrel virtual machine.
//
//     squirrel::VM vm;
//     vm.registerFunction("twice", [](squirrel::CallContext& c) {
//         return squirrel::Object(c.intArg(0) * 2);
//     }, 1, "i");
//     squirrel::Object main = vm.compile("function f(x) { return twice(x) + 1; }", "example");
//     main.call();                                  // defines f in the root table
//     int r = vm.callFunction("f", {20}).toInt();   // 41
//
// Errors of compiling and running scripts are thrown as SquirrelError. A script whose allocation
// fails gets the error "not enough memory", one that would make a string longer than 2^31-1
// bytes "string too long"; scripts can catch both, and the machine goes on working.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace squirrel {

// The error message of a host call that ran out of its operation budget (VM::setOperationBudget).
inline constexpr const char* kOperationBudgetExceeded = "operation budget exceeded";

namespace detail {
class State;
class Machine;
} // namespace detail

// Type codes of script values. They are the language's own and are stored in files, so they
// never change.
enum class Type : std::uint32_t {
    Null = 0x01000001,
    Integer = 0x05000002,
    Float = 0x05000004,
    Bool = 0x01000008,
    String = 0x08000010,
    Table = 0x0A000020,
    Array = 0x08000040,
    UserData = 0x0A000080,
    Closure = 0x08000100,
    NativeClosure = 0x08000200,
    Generator = 0x08000400,
    UserPointer = 0x00000800,
    Thread = 0x08001000,
    FuncProto = 0x08002000,
    Class = 0x08004000,
    Instance = 0x0A008000,
    WeakRef = 0x08010000,
};

struct StackFrameInfo {
    std::string function;
    std::string source; // "NATIVE" for native functions
    int line;           // -1 when unknown
    // The compilation the function came from (see Object::compilation); 0 for native functions.
    std::uint32_t compilation;
};

// A failed compilation or call. what() starts with "SquirrelFunction<> call failed" for calls.
class SquirrelError : public std::runtime_error {
public:
    SquirrelError(const std::string& what, std::string message, std::string source, int line,
                  int column, std::vector<StackFrameInfo> callStack);

    const std::string& message() const { return message_; } // the machine's error text
    const std::string& source() const { return source_; }   // where the error happened
    int line() const { return line_; }
    int column() const { return column_; } // compile errors only, otherwise 0
    const std::vector<StackFrameInfo>& callStack() const { return callStack_; }

private:
    std::string message_;
    std::string source_;
    int line_;
    int column_;
    std::vector<StackFrameInfo> callStack_;
};

class Object;

// Iterates a table's slots in the machine's order or an array's elements in index order.
class ObjectIterator {
public:
    using value_type = std::pair<Object, Object>;

    value_type operator*() const;
    ObjectIterator& operator++();
    bool operator==(const ObjectIterator& other) const { return position_ == other.position_; }
    bool operator!=(const ObjectIterator& other) const { return position_ != other.position_; }

private:
    friend class Object;
    ObjectIterator(const Object* container, std::uint32_t position);
    const Object* container_;
    std::uint32_t position_;
};

// A counted reference to a script value. Objects stay valid after the VM that made them is
// destroyed (they keep its memory alive), but can then no longer be called.
class Object {
public:
    Object();
    Object(int value);
    Object(float value);
    Object(double value);
    Object(bool value);
    Object(const char*) = delete; // strings are made by VM::string
    // An opaque pointer of the host (a node, say) that scripts can hold and hand back.
    static Object fromUserPointer(void* pointer);
    Object(const Object& other);
    Object(Object&& other) noexcept;
    Object& operator=(const Object& other);
    Object& operator=(Object&& other) noexcept;
    ~Object();

    Type type() const;
    const char* typeName() const; // what `typeof` says
    bool isNull() const { return type() == Type::Null; }
    bool isNumber() const { return type() == Type::Integer || type() == Type::Float; }

    // Numbers convert into each other; bools give 0 or 1; other values give 0.
    int toInt() const;
    float toFloat() const;
    // The language's truth: null, false, 0 and 0.0 are false.
    bool toBool() const;
    // A string's text, otherwise the value as tostring() writes it.
    std::string toString() const;
    // The pointer of a user pointer value; null for every other value.
    void* toUserPointer() const;
    // Script functions: which compilation of the machine made them (VM::compile and the
    // scripts' own compilestring number them 1, 2, ...; every function a text defines shares its
    // number), so a host can tell the frames of one compiled text in a call stack even when
    // several texts have the same source name. 0 for every other value.
    std::uint32_t compilation() const;

    // Tables: the slot's value without delegation, null when absent. Arrays: the element at an
    // integer index, null when out of range. Instances: a field or a member of the class;
    // classes: a member (the default value of a field). Weak references read as their target.
    Object get(const Object& key) const;
    Object get(std::string_view key) const;
    Object get(const char* key) const { return get(std::string_view(key)); }
    Object get(int index) const { return get(Object(index)); }
    bool has(const Object& key) const;
    bool has(std::string_view key) const;
    bool has(const char* key) const { return has(std::string_view(key)); }
    // Tables: creates or overwrites the slot. Arrays: sets an existing element. Instances: sets
    // an existing field. Returns false when nothing could be set.
    bool set(const Object& key, const Object& value);
    bool set(std::string_view key, const Object& value);
    bool set(const char* key, const Object& value) { return set(std::string_view(key), value); }
    bool remove(const Object& key);
    bool remove(std::string_view key);
    bool remove(const char* key) { return remove(std::string_view(key)); }
    // Arrays only.
    void append(const Object& value);
    // Slots of a table, elements of an array, bytes of a string; 0 otherwise.
    int size() const;

    ObjectIterator begin() const;
    ObjectIterator end() const;

    // Calls a function with the root table as `this`. Calling a class makes an instance and
    // runs its constructor; calling a generator function makes a generator.
    Object call(const std::vector<Object>& args = {}) const;
    // Calls a function with the given `this`.
    Object callWithThis(const Object& self, const std::vector<Object>& args) const;

private:
    friend class VM;
    friend class CallContext;
    friend class ObjectIterator;
    friend struct ObjectAccess;

    void retain();
    void release();

    detail::State* state_ = nullptr; // set for reference-counted values
    alignas(8) unsigned char value_[16];
};

class VM;

// What a native function registered through the VM sees.
class CallContext {
public:
    VM& vm() const { return vm_; }
    // Number of script arguments (`this` not counted) and the arguments, from 0.
    int argCount() const { return count_ - 1; }
    Object arg(int index) const;
    Object self() const;
    int intArg(int index) const { return arg(index).toInt(); }
    float floatArg(int index) const { return arg(index).toFloat(); }
    bool boolArg(int index) const { return arg(index).toBool(); }
    std::string stringArg(int index) const { return arg(index).toString(); }

private:
    friend struct HostCall;
    CallContext(VM& vm, const void* args, int count) : vm_(vm), args_(args), count_(count) {}
    VM& vm_;
    const void* args_;
    int count_;
};

// Native functions return their result (a default Object for none). Throwing any
// std::exception raises a script error with its text.
using NativeFunction = std::function<Object(CallContext&)>;

class VM {
public:
    static constexpr std::size_t kDefaultStackSlots = 1u << 20;
    static constexpr int kAnyArgumentCount = -1;

    explicit VM(std::size_t stackSlots = kDefaultStackSlots);
    ~VM();
    VM(const VM&) = delete;
    VM& operator=(const VM&) = delete;

    Object rootTable() const;
    // Compiles script text into a function; `sourceName` appears in error reports.
    Object compile(std::string_view text, std::string_view sourceName);
    // Compiles and runs script text with the root table as `this`; returns its result.
    Object run(std::string_view text, std::string_view sourceName);
    // Calls the function stored under `name` in the root table.
    Object callFunction(std::string_view name, const std::vector<Object>& args = {});

    Object string(std::string_view text);
    Object newTable();
    Object newArray(int size = 0);

    // Makes a native function. `argumentCount` is the number of script arguments (`this` not
    // counted) or kAnyArgumentCount. `typeMask` has one entry per argument: a letter of
    // s (string), i (integer), f (float), n (number), b (bool), t (table), a (array),
    // c (function), x (instance), y (class), u (userdata), p (user pointer), o (null) or
    // . (anything), with alternatives joined by '|'. The machine checks count and types before
    // the call.
    Object newFunction(std::string_view name, NativeFunction function,
                       int argumentCount = kAnyArgumentCount, std::string_view typeMask = {});
    // Stores a new native function in a table (the root table when none is given).
    void registerFunction(std::string_view name, NativeFunction function,
                          int argumentCount = kAnyArgumentCount, std::string_view typeMask = {});
    void registerFunction(const Object& table, std::string_view name, NativeFunction function,
                          int argumentCount = kAnyArgumentCount, std::string_view typeMask = {});

    // Where `print` and `error` write (standard output and standard error by default).
    void setPrintFunction(std::function<void(std::string_view)> print);
    void setErrorFunction(std::function<void(std::string_view)> print);

    // The most operations one call from the host into scripts may run (Object::call,
    // Object::callWithThis, callFunction, run), counting everything the call starts: the
    // functions it calls, the generators and threads it resumes, the scripts native functions
    // call back (host calls made from inside it share its budget) and regular expression
    // matching. Operations stand for instructions: a call of a script function counts the
    // instructions of the function, each round of a loop the instructions of its body, and each
    // step of the regular expression matcher one. A call that goes beyond its budget fails
    // with the error kOperationBudgetExceeded: scripts cannot catch it, everything the call
    // still tries to run fails the same way, and the call fails even when native code swallowed
    // the error, so a runaway script always returns to the host. The next call from the host
    // starts with the whole budget again. 0 (the default) sets no limit.
    void setOperationBudget(std::uint64_t operations);
    std::uint64_t operationBudget() const;

    // Frees objects that only reference cycles keep alive (tables, arrays, functions, classes,
    // instances, generators, threads); returns how many were freed.
    int collectGarbage();

    detail::State& state() const { return *state_; }
    detail::Machine& machine() const { return *machine_; }

private:
    detail::State* state_;
    detail::Machine* machine_;
};

} // namespace squirrel
