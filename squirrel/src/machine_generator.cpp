// Generators: making them, resuming them and saving their frame when they yield.
#include "machine.h"

namespace squirrel::detail {

// The call of a generator function: the arguments become the new generator's frame.
Value Machine::makeGenerator(Closure* closure, std::int32_t base, std::int32_t count) {
    FunctionProto* proto = closure->proto;
    if (base + proto->stackSize > capacity_)
        raiseError("stack overflow");
    checkArgumentCount(closure, count);
    adjustArguments(closure, base, count);
    if (!closure->env.isNull())
        stack_[base] = slotValue(closure->env);
    Generator* generator = new Generator(state.gcHead, Value(closure));
    Value result(generator);
    std::int32_t used = std::max<std::int32_t>(count, proto->paramCount + (proto->varargs ? 1 : 0));
    generator->slots.resize(proto->stackSize);
    for (std::int32_t i = 0; i < used; ++i)
        generator->slots[static_cast<std::size_t>(i)] = std::move(stack_[base + i]);
    generator->slots[0] = makeWeakRef(generator->slots[0]);
    generator->ip = proto->code.data();
    return result;
}

std::string_view Machine::generatorStatus(const Generator* generator) const {
    switch (generator->status) {
    case Generator::Status::Suspended:
        return "suspended";
    case Generator::Status::Running:
        return "running";
    default:
        return "dead";
    }
}

Generator* Machine::resumable(const Value& v) {
    if (v.tag != Tag::Generator)
        raiseError("cannot resume a %s, only generators can be resumed", typeName(v.tag));
    Generator* generator = v.as<Generator>();
    if (generator->status == Generator::Status::Dead)
        raiseError("resuming dead generator");
    if (generator->status == Generator::Status::Running)
        raiseError("resuming active generator");
    return generator;
}

// Puts the generator's frame back on the stack above everything in use.
void Machine::pushGenerator(Generator* generator, std::int32_t target, std::uint8_t flags) {
    Closure* closure = generator->closure.closure();
    FunctionProto* proto = closure->proto;
    std::int32_t base = top;
    if (base + proto->stackSize > capacity_)
        raiseError("stack overflow");
    for (std::size_t i = 0; i < generator->slots.size(); ++i)
        stack_[base + static_cast<std::int32_t>(i)] = std::move(generator->slots[i]);
    stack_[base] = Value(slotValue(stack_[base]));
    generator->slots.clear();
    auto frameIndex = static_cast<std::uint32_t>(frames.size());
    for (const auto& trap : generator->traps)
        traps_.push_back(Trap{frameIndex, trap.handler, base + trap.slot});
    generator->traps.clear();
    addRef(closure);
    frames.push_back(Frame{closure, generator->ip, proto->constants.data(), base, target,
                           static_cast<std::uint8_t>(flags | kGenerator), proto->stackSize});
    generators_.emplace_back(generator);
    generator->status = Generator::Status::Running;
    top = base + proto->stackSize;
    if (top > highWater_)
        highWater_ = top;
}

// The generator of the innermost frame yields: its registers, position and traps move into it.
void Machine::saveGenerator(Frame& frame, const Instr* ip) {
    Generator* generator = generators_.back().as<Generator>();
    FunctionProto* proto = reinterpret_cast<Closure*>(frame.callee)->proto;
    generator->slots.resize(proto->stackSize);
    for (std::int32_t i = 0; i < proto->stackSize; ++i)
        generator->slots[static_cast<std::size_t>(i)] = std::move(stack_[frame.base + i]);
    generator->slots[0] = makeWeakRef(generator->slots[0]);
    generator->ip = ip;
    auto index = static_cast<std::uint32_t>(frames.size() - 1);
    std::size_t first = traps_.size();
    while (first > 0 && traps_[first - 1].frame >= index)
        --first;
    generator->traps.clear();
    for (std::size_t i = first; i < traps_.size(); ++i)
        generator->traps.push_back({traps_[i].handler, traps_[i].slot - frame.base});
    traps_.resize(first);
    generator->status = Generator::Status::Suspended;
    generators_.pop_back();
}

// Resumes a generator from native code (foreach), running it in an interpreter loop of its own.
Value Machine::resumeNested(Generator* generator) {
    resumable(Value(generator));
    if (state.nativeNesting >= kMaxNativeNesting)
        raiseError("native stack overflow");
    ++state.nativeNesting;
    struct Restore {
        State& state;
        ~Restore() { --state.nativeNesting; }
    } restore{state};
    std::int32_t savedTop = top;
    pushGenerator(generator, -1, kBoundary);
    Value result = execute(static_cast<std::uint32_t>(frames.size() - 1), false);
    top = savedTop;
    return result;
}

} // namespace squirrel::detail
