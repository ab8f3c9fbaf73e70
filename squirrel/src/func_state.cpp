#include "func_state.h"

#include "state.h"

namespace squirrel::detail {

namespace {
constexpr int kMaxRegisters = 250;
}

FuncState::FuncState(State& state, Lexer& lexer, FuncState* parent, Value name, Value source)
    : state_(state), lexer_(lexer), parent_(parent), proto_(new FunctionProto) {
    proto()->name = std::move(name);
    proto()->source = std::move(source);
    proto()->compilation = state.compilations;
}

int FuncState::allocRegister() {
    int reg = freeReg_++;
    if (freeReg_ > kMaxRegisters)
        lexer_.error("too many local variables or temporaries");
    if (freeReg_ > proto()->stackSize)
        proto()->stackSize = static_cast<std::uint8_t>(freeReg_);
    return reg;
}

void FuncState::freeRegister(int reg) {
    if (!isTemporary(reg))
        return;
    if (reg != freeReg_ - 1)
        lexer_.error("internal compiler error: temporaries released out of order");
    --freeReg_;
}

void FuncState::declareLocal(const Value& name, int reg) {
    if (reg != activeLocals())
        lexer_.error("internal compiler error: local declared out of order");
    proto()->locals.push_back(FunctionProto::LocalInfo{name, static_cast<std::uint32_t>(pc()), 0,
                                                       static_cast<std::uint8_t>(reg)});
    locals_.push_back(Local{name, reg, proto()->locals.size() - 1});
    if (freeReg_ <= reg)
        allocRegister();
}

int FuncState::findLocal(const String* name) const {
    for (std::size_t i = locals_.size(); i-- > 0;) {
        if (locals_[i].name.ref == name)
            return locals_[i].reg;
    }
    return -1;
}

int FuncState::findOuter(const Value& name) {
    auto& outers = proto()->outers;
    for (std::size_t i = 0; i < outers.size(); ++i) {
        if (outers[i].name.ref == name.ref)
            return static_cast<int>(i);
    }
    if (!parent_)
        return -1;
    int local = parent_->findLocal(name.str());
    bool fromLocal = local >= 0;
    int index = fromLocal ? local : parent_->findOuter(name);
    if (index < 0)
        return -1;
    if (outers.size() >= 255)
        lexer_.error("too many free variables");
    outers.push_back(FunctionProto::OuterInfo{name, fromLocal, static_cast<std::uint8_t>(index)});
    return static_cast<int>(outers.size() - 1);
}

void FuncState::closeLocals(int keep) {
    while (activeLocals() > keep) {
        proto()->locals[locals_.back().infoIndex].endPc = static_cast<std::uint32_t>(pc());
        locals_.pop_back();
    }
    freeReg_ = activeLocals();
}

int FuncState::constant(const Value& value) {
    // Constants are strings, floats and tables; identity (type and payload) is the key.
    std::uint64_t key = value.raw ^ (static_cast<std::uint64_t>(value.tag) << 56);
    auto it = constantIndex_.find(key);
    if (it != constantIndex_.end() &&
        proto()->constants[static_cast<std::size_t>(it->second)].rawEquals(value))
        return it->second;
    int index = static_cast<int>(proto()->constants.size());
    proto()->constants.push_back(value);
    constantIndex_[key] = index;
    return index;
}

void FuncState::recordLine(int instructionLine) {
    if (!state_.lineInfo)
        return;
    auto& lines = proto()->lines;
    if (lines.empty() || lines.back().line != instructionLine)
        lines.push_back(FunctionProto::LineInfo{static_cast<std::uint32_t>(pc()), instructionLine});
}

int FuncState::emit(Op op, int a, int b, int c, std::int32_t d) {
    recordLine(line);
    proto()->code.push_back(Instr{op, static_cast<std::uint8_t>(a), static_cast<std::uint8_t>(b),
                                  static_cast<std::uint8_t>(c), d});
    return pc() - 1;
}

void FuncState::patchJump(int jumpPc, int target) {
    at(jumpPc).d = target - (jumpPc + 1);
}

void FuncState::patchHere(int jumpPc) {
    patchJump(jumpPc, pc());
    lastTarget_ = pc();
}

void FuncState::emitJumpBack(int target) {
    emit(Op::Jmp, 0, 0, 0, target - (pc() + 1));
}

std::vector<std::pair<Instr, int>> FuncState::cutCode(int from) {
    std::vector<std::pair<Instr, int>> cut;
    auto& code = proto()->code;
    for (int i = from; i < pc(); ++i)
        cut.emplace_back(code[static_cast<std::size_t>(i)],
                         proto()->lineAt(static_cast<std::uint32_t>(i)));
    code.resize(static_cast<std::size_t>(from));
    auto& lines = proto()->lines;
    while (!lines.empty() && lines.back().pc >= static_cast<std::uint32_t>(from))
        lines.pop_back();
    return cut;
}

std::vector<std::pair<Instr, int>> FuncState::copyCode(int from, int to) {
    std::vector<std::pair<Instr, int>> copy;
    for (int i = from; i < to; ++i)
        copy.emplace_back(at(i), proto()->lineAt(static_cast<std::uint32_t>(i)));
    return copy;
}

void FuncState::pasteCode(const std::vector<std::pair<Instr, int>>& code) {
    for (const auto& [instruction, instructionLine] : code) {
        recordLine(instructionLine);
        proto()->code.push_back(instruction);
    }
}

} // namespace squirrel::detail
