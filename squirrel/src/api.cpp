// The embedding interface on top of the machine.
#include "squirrel/squirrel.h"

#include "compiler.h"
#include "machine.h"
#include "size_limits.h"

#include <new>

namespace squirrel {

using detail::Machine;
using detail::State;
using detail::Tag;
using detail::Value;

static_assert(sizeof(Value) <= 16 && alignof(Value) <= 8, "Object stores a Value in place");

struct ObjectAccess {
    static Value& value(Object& o) { return *std::launder(reinterpret_cast<Value*>(o.value_)); }
    static const Value& value(const Object& o) {
        return *std::launder(reinterpret_cast<const Value*>(o.value_));
    }
    static Object make(State* state, Value v) {
        Object o;
        value(o) = std::move(v);
        if (detail::isRefCounted(value(o).tag)) {
            o.state_ = state;
            o.retain();
        }
        return o;
    }
    static State* state(const Object& o) { return o.state_; }
};

namespace {

Value& valueOf(Object& o) {
    return ObjectAccess::value(o);
}
const Value& valueOf(const Object& o) {
    return ObjectAccess::value(o);
}

std::string errorMessage(Machine& m) {
    const Value& error = m.error;
    if (error.tag == Tag::String)
        return std::string(error.str()->view());
    return detail::valueToText(error);
}

// Turns the error the machine is raising into a SquirrelError and clears it.
SquirrelError callFailure(Machine& m) {
    std::string message = errorMessage(m);
    std::vector<StackFrameInfo> stack;
    if (m.traceCaptured) {
        for (const auto& entry : m.trace)
            stack.push_back(
                StackFrameInfo{entry.function, entry.source, entry.line, entry.compilation});
    }
    std::string source;
    int line = -1;
    for (const auto& frame : stack) {
        if (frame.source != "NATIVE") {
            source = frame.source;
            line = frame.line;
            break;
        }
    }
    std::string what = "SquirrelFunction<> call failed: " + message;
    for (const auto& frame : stack)
        what += "\n*FUNCTION [" + frame.function + "()] " + frame.source + " line [" +
                std::to_string(frame.line) + "]";
    m.error.setNull();
    m.trace.clear();
    m.traceCaptured = false;
    return SquirrelError(what, message, source, line, 0, std::move(stack));
}

Machine& machineOf(State* state) {
    if (!state || !state->main)
        throw SquirrelError("SquirrelFunction<> call failed: the virtual machine is gone",
                            "the virtual machine is gone", "", -1, 0, {});
    return *state->main;
}

Object invoke(State* state, const Value& fn, const Value& self, const std::vector<Object>& args) {
    Machine& m = machineOf(state);
    std::vector<Value> values;
    values.reserve(args.size());
    for (const Object& arg : args)
        values.push_back(valueOf(arg));
    // The outermost host call starts with the whole operation budget; calls the host makes
    // from inside it share what is left.
    if (state->hostCalls == 0) {
        state->budgetLeft =
            state->budget == 0 ? INT64_MAX : static_cast<std::int64_t>(state->budget);
        state->budgetExhausted = false;
    }
    ++state->hostCalls;
    struct Leave {
        State* state;
        ~Leave() { --state->hostCalls; }
    } leave{state};
    try {
        Value result = m.call(fn, self, values.data(), static_cast<int>(values.size()));
        // Native code may have swallowed the budget error; the call fails all the same.
        if (state->budgetExhausted)
            m.raiseError("%s", kOperationBudgetExceeded);
        return ObjectAccess::make(state, std::move(result));
    } catch (detail::ScriptException&) {
        throw callFailure(m);
    } catch (const detail::StringTooLong&) {
        m.error = state->stringTooLong;
        throw callFailure(m);
    } catch (const std::bad_alloc&) {
        m.error = state->notEnoughMemory;
        throw callFailure(m);
    } catch (const std::length_error&) {
        m.error = state->notEnoughMemory;
        throw callFailure(m);
    }
}

} // namespace

SquirrelError::SquirrelError(const std::string& what, std::string message, std::string source,
                             int line, int column, std::vector<StackFrameInfo> callStack)
    : std::runtime_error(what), message_(std::move(message)), source_(std::move(source)),
      line_(line), column_(column), callStack_(std::move(callStack)) {}

// ---------------------------------------------------------------------------------------------
// Object

Object::Object() {
    new (value_) Value();
}
Object::Object(int value) {
    new (value_) Value(Value::integer(value));
}
Object::Object(float value) {
    new (value_) Value(Value::real(value));
}
Object::Object(double value) {
    new (value_) Value(Value::real(static_cast<float>(value)));
}
Object::Object(bool value) {
    new (value_) Value(Value::boolean(value));
}

Object Object::fromUserPointer(void* pointer) {
    Object o;
    valueOf(o) = Value::userPointer(pointer);
    return o;
}

Object::Object(const Object& other) : state_(other.state_) {
    new (value_) Value(valueOf(other));
    retain();
}

Object::Object(Object&& other) noexcept : state_(other.state_) {
    new (value_) Value(std::move(valueOf(other)));
    other.state_ = nullptr;
}

Object& Object::operator=(const Object& other) {
    if (this != &other) {
        Object copy(other);
        *this = std::move(copy);
    }
    return *this;
}

Object& Object::operator=(Object&& other) noexcept {
    if (this != &other) {
        valueOf(*this).setNull();
        release();
        valueOf(*this) = std::move(valueOf(other));
        state_ = other.state_;
        other.state_ = nullptr;
    }
    return *this;
}

Object::~Object() {
    valueOf(*this).~Value();
    release();
}

void Object::retain() {
    if (state_)
        ++state_->handles;
}

void Object::release() {
    if (!state_)
        return;
    State* state = state_;
    state_ = nullptr;
    if (--state->handles == 0 && state->orphaned)
        delete state;
}

Type Object::type() const {
    return static_cast<Type>(detail::typeCode(valueOf(*this).tag));
}

const char* Object::typeName() const {
    return detail::typeName(valueOf(*this).tag);
}

int Object::toInt() const {
    const Value& v = valueOf(*this);
    if (v.isNumber())
        return v.toInt();
    return v.tag == Tag::Bool ? v.b : 0;
}

float Object::toFloat() const {
    const Value& v = valueOf(*this);
    if (v.isNumber())
        return v.toFloat();
    return v.tag == Tag::Bool && v.b ? 1.0f : 0.0f;
}

bool Object::toBool() const {
    return valueOf(*this).truthy();
}

std::string Object::toString() const {
    return detail::valueToText(valueOf(*this));
}

void* Object::toUserPointer() const {
    const Value& v = valueOf(*this);
    return v.tag == Tag::UserPointer ? v.pointer : nullptr;
}

std::uint32_t Object::compilation() const {
    const Value& v = valueOf(*this);
    return v.tag == Tag::Closure ? v.closure()->proto->compilation : 0;
}

namespace {

Value keyFor(State* state, std::string_view key) {
    if (!state)
        return Value();
    return state->string(key);
}

} // namespace

namespace {

// The slot of a table, array element, instance field or class member, or null.
const Value* findSlot(const Value& self, const Value& key) {
    switch (self.tag) {
    case Tag::Table:
        return self.table()->find(key);
    case Tag::Array:
        if (key.isNumber()) {
            auto& items = self.array()->items;
            int index = key.toInt();
            if (index >= 0 && static_cast<std::size_t>(index) < items.size())
                return &items[static_cast<std::size_t>(index)];
        }
        return nullptr;
    case Tag::Instance: {
        detail::Instance* instance = self.as<detail::Instance>();
        const detail::ClassMember* member = instance->cls()->find(key);
        if (!member)
            return nullptr;
        return member->isField() ? &instance->fields()[member->field] : &member->value;
    }
    case Tag::Class: {
        const detail::ClassMember* member = self.as<detail::Class>()->find(key);
        return member ? &member->value : nullptr;
    }
    default:
        return nullptr;
    }
}

bool hasSlots(const Value& v) {
    return v.tag == Tag::Table || v.tag == Tag::Instance || v.tag == Tag::Class;
}

} // namespace

Object Object::get(const Object& key) const {
    const Value* slot = findSlot(valueOf(*this), valueOf(key));
    return slot ? ObjectAccess::make(state_, detail::slotValue(*slot)) : Object();
}

Object Object::get(std::string_view key) const {
    if (!hasSlots(valueOf(*this)))
        return Object();
    return get(ObjectAccess::make(state_, keyFor(state_, key)));
}

bool Object::has(const Object& key) const {
    return findSlot(valueOf(*this), valueOf(key)) != nullptr;
}

bool Object::has(std::string_view key) const {
    if (!hasSlots(valueOf(*this)))
        return false;
    return has(ObjectAccess::make(state_, keyFor(state_, key)));
}

bool Object::set(const Object& key, const Object& value) {
    const Value& self = valueOf(*this);
    const Value& k = valueOf(key);
    switch (self.tag) {
    case Tag::Table:
        if (k.isNull())
            return false;
        self.table()->set(k, valueOf(value));
        return true;
    case Tag::Array:
        if (k.isNumber()) {
            auto& items = self.array()->items;
            int index = k.toInt();
            if (index >= 0 && static_cast<std::size_t>(index) < items.size()) {
                items[static_cast<std::size_t>(index)] = valueOf(value);
                return true;
            }
        }
        return false;
    case Tag::Instance: {
        detail::Instance* instance = self.as<detail::Instance>();
        const detail::ClassMember* member = instance->cls()->find(k);
        if (!member || !member->isField())
            return false;
        instance->fields()[member->field] = valueOf(value);
        return true;
    }
    default:
        return false;
    }
}

bool Object::set(std::string_view key, const Object& value) {
    if (valueOf(*this).tag != Tag::Table && valueOf(*this).tag != Tag::Instance)
        return false;
    return set(ObjectAccess::make(state_, keyFor(state_, key)), value);
}

bool Object::remove(const Object& key) {
    const Value& self = valueOf(*this);
    if (self.tag != Tag::Table)
        return false;
    return self.table()->remove(valueOf(key), nullptr);
}

bool Object::remove(std::string_view key) {
    if (valueOf(*this).tag != Tag::Table)
        return false;
    return remove(ObjectAccess::make(state_, keyFor(state_, key)));
}

void Object::append(const Object& value) {
    const Value& self = valueOf(*this);
    if (self.tag == Tag::Array)
        self.array()->items.push_back(valueOf(value));
}

int Object::size() const {
    const Value& self = valueOf(*this);
    switch (self.tag) {
    case Tag::Table:
        return static_cast<int>(self.table()->size());
    case Tag::Array:
        return static_cast<int>(self.array()->items.size());
    case Tag::String:
        return static_cast<int>(self.str()->length);
    default:
        return 0;
    }
}

namespace {

std::uint32_t endPosition(const Value& v) {
    if (v.tag == Tag::Table)
        return v.table()->end();
    if (v.tag == Tag::Array)
        return static_cast<std::uint32_t>(v.array()->items.size());
    return 0;
}

std::uint32_t firstPosition(const Value& v, std::uint32_t from) {
    if (v.tag == Tag::Table)
        return v.table()->nextLive(from);
    return std::min(from, endPosition(v));
}

} // namespace

ObjectIterator Object::begin() const {
    return ObjectIterator(this, firstPosition(valueOf(*this), 0));
}

ObjectIterator Object::end() const {
    return ObjectIterator(this, endPosition(valueOf(*this)));
}

ObjectIterator::ObjectIterator(const Object* container, std::uint32_t position)
    : container_(container), position_(position) {}

ObjectIterator::value_type ObjectIterator::operator*() const {
    const Value& v = valueOf(*container_);
    State* state = ObjectAccess::state(*container_);
    if (v.tag == Tag::Table) {
        const detail::Table* table = v.table();
        return {ObjectAccess::make(state, table->key(position_)),
                ObjectAccess::make(state, table->value(position_))};
    }
    return {Object(static_cast<int>(position_)),
            ObjectAccess::make(state, v.array()->items[position_])};
}

ObjectIterator& ObjectIterator::operator++() {
    position_ = firstPosition(valueOf(*container_), position_ + 1);
    return *this;
}

Object Object::call(const std::vector<Object>& args) const {
    if (!state_) {
        std::string message = std::string("attempt to call '") + typeName() + "'";
        throw SquirrelError("SquirrelFunction<> call failed: " + message, message, "", -1, 0, {});
    }
    Machine& m = machineOf(state_);
    return invoke(state_, valueOf(*this), m.state.root, args);
}

Object Object::callWithThis(const Object& self, const std::vector<Object>& args) const {
    return invoke(state_, valueOf(*this), valueOf(self), args);
}

// ---------------------------------------------------------------------------------------------
// Native functions

Object CallContext::arg(int index) const {
    if (index < 0 || index + 1 >= count_)
        return Object();
    const Value* values = static_cast<const Value*>(args_);
    return ObjectAccess::make(&vm_.state(), values[index + 1]);
}

Object CallContext::self() const {
    return ObjectAccess::make(&vm_.state(), static_cast<const Value*>(args_)[0]);
}

struct HostCall {
    struct Function {
        VM* vm;
        NativeFunction function;
    };

    static Value trampoline(Machine& m, Value* args, int count) {
        const auto* native = reinterpret_cast<const detail::NativeClosure*>(m.frames.back().callee);
        auto* host = static_cast<Function*>(native->host.get());
        CallContext context(*host->vm, args, count);
        Object result;
        try {
            result = host->function(context);
        } catch (const SquirrelError& e) {
            m.raiseError("%s", e.message().c_str());
        } catch (const std::bad_alloc&) {
            m.raiseAllocationFailure(false);
        } catch (const std::exception& e) {
            m.raiseError("%s", e.what());
        }
        return valueOf(result);
    }
};

// ---------------------------------------------------------------------------------------------
// VM

VM::VM(std::size_t stackSlots) : state_(new State), machine_(nullptr) {
    machine_ = new Machine(*state_, stackSlots);
    state_->main = machine_;
}

VM::~VM() {
    delete machine_;
    state_->main = nullptr;
    if (state_->handles == 0)
        delete state_;
    else
        state_->orphaned = true;
}

Object VM::rootTable() const {
    return ObjectAccess::make(state_, state_->root);
}

Object VM::compile(std::string_view text, std::string_view sourceName) {
    Value proto;
    try {
        proto = detail::compileScript(*state_, text, sourceName);
    } catch (const detail::CompileError& e) {
        std::string source(sourceName);
        std::string what = source + " line = (" + std::to_string(e.line) + ") column = (" +
                           std::to_string(e.column) + ") : error " + e.what();
        throw SquirrelError(what, e.what(), source, e.line, e.column, {});
    }
    Value closure(new detail::Closure(state_->gcHead, proto.as<detail::FunctionProto>()));
    return ObjectAccess::make(state_, std::move(closure));
}

Object VM::run(std::string_view text, std::string_view sourceName) {
    return compile(text, sourceName).call();
}

Object VM::callFunction(std::string_view name, const std::vector<Object>& args) {
    Value* fn =
        state_->root.tag == Tag::Table ? state_->root.table()->find(state_->string(name)) : nullptr;
    if (!fn) {
        std::string message = "the index '" + std::string(name) + "' does not exist";
        throw SquirrelError("SquirrelFunction<> call failed: " + message, message, "", -1, 0, {});
    }
    Value function = *fn;
    return invoke(state_, function, state_->root, args);
}

Object VM::string(std::string_view text) {
    return ObjectAccess::make(state_, state_->string(text));
}

Object VM::newTable() {
    return ObjectAccess::make(state_, state_->newTable());
}

Object VM::newArray(int size) {
    return ObjectAccess::make(state_,
                              state_->newArray(static_cast<std::size_t>(std::max(0, size))));
}

Object VM::newFunction(std::string_view name, NativeFunction function, int argumentCount,
                       std::string_view typeMask) {
    std::string mask = typeMask.empty() ? std::string() : "." + std::string(typeMask);
    std::int32_t check = argumentCount == kAnyArgumentCount ? 0 : argumentCount + 1;
    Value native = state_->newNative(HostCall::trampoline, name, check, mask);
    if (!typeMask.empty() && native.native()->typeMask.empty())
        throw std::invalid_argument("invalid type mask '" + std::string(typeMask) + "'");
    native.native()->host =
        std::make_shared<HostCall::Function>(HostCall::Function{this, std::move(function)});
    return ObjectAccess::make(state_, std::move(native));
}

void VM::registerFunction(std::string_view name, NativeFunction function, int argumentCount,
                          std::string_view typeMask) {
    registerFunction(rootTable(), name, std::move(function), argumentCount, typeMask);
}

void VM::registerFunction(const Object& table, std::string_view name, NativeFunction function,
                          int argumentCount, std::string_view typeMask) {
    Object fn = newFunction(name, std::move(function), argumentCount, typeMask);
    Object target = table;
    target.set(name, fn);
}

void VM::setPrintFunction(std::function<void(std::string_view)> print) {
    state_->print = std::move(print);
}

void VM::setErrorFunction(std::function<void(std::string_view)> print) {
    state_->printError = std::move(print);
}

void VM::setOperationBudget(std::uint64_t operations) {
    state_->budget = std::min<std::uint64_t>(operations, INT64_MAX);
}

std::uint64_t VM::operationBudget() const {
    return state_->budget;
}

int VM::collectGarbage() {
    return detail::collectCycles(state_->gcHead);
}

} // namespace squirrel
