// Per-function compilation state: register allocation, locals, free variables, constants and
// the instruction stream with its line table.
#pragma once

#include "function.h"
#include "lexer.h"

#include <unordered_map>
#include <vector>

namespace squirrel::detail {

class State;

// A break/continue context: a loop or a switch.
struct LoopContext {
    std::vector<int> breaks;
    std::vector<int> continues;
    int trapDepth;
    bool isSwitch;
};

class FuncState {
public:
    FuncState(State& state, Lexer& lexer, FuncState* parent, Value name, Value source);

    FunctionProto* proto() const { return proto_.as<FunctionProto>(); }
    Value takeProto() {
        proto()->callCost = static_cast<std::int32_t>(proto()->code.size());
        return std::move(proto_);
    }
    FuncState* parent() const { return parent_; }

    // Registers: locals occupy [0, activeLocals()); temporaries sit above them.
    int allocRegister();
    void freeRegister(int reg);
    int freeRegisterIndex() const { return freeReg_; }
    void setFreeRegister(int reg) { freeReg_ = reg; }
    int activeLocals() const { return static_cast<int>(locals_.size()); }
    bool isTemporary(int reg) const { return reg >= activeLocals(); }

    // Declares a local held in register reg, which must be the next local register.
    void declareLocal(const Value& name, int reg);
    int findLocal(const String* name) const;
    // Index of the free variable for name, created on demand; -1 when no enclosing function
    // has such a local.
    int findOuter(const Value& name);
    // Drops the locals declared after the first `keep`.
    void closeLocals(int keep);

    int constant(const Value& value);

    int emit(Op op, int a = 0, int b = 0, int c = 0, std::int32_t d = 0);
    int pc() const { return static_cast<int>(proto()->code.size()); }
    Instr& at(int pc) { return proto()->code[static_cast<std::size_t>(pc)]; }
    // Points the jump at pc to target.
    void patchJump(int jumpPc, int target);
    // Points the jump at pc to the next instruction emitted.
    void patchHere(int jumpPc);
    void emitJumpBack(int target);
    // Marks the next instruction as the target of a jump emitted later.
    void markTarget() { lastTarget_ = pc(); }
    // True when no jump lands on the next instruction, so the last one may be rewritten.
    bool lastInstructionIsFinal() const { return lastTarget_ < pc(); }

    // Removes instructions [from, pc()) and returns them with their lines, for re-emission.
    std::vector<std::pair<Instr, int>> cutCode(int from);
    void pasteCode(const std::vector<std::pair<Instr, int>>& code);
    // Instructions [from, to) with their lines, left in place.
    std::vector<std::pair<Instr, int>> copyCode(int from, int to);

    std::vector<LoopContext> loops;
    int trapDepth = 0;
    int line = 1; // line recorded for the next instruction

private:
    void recordLine(int instructionLine);

    State& state_;
    Lexer& lexer_;
    FuncState* parent_;
    Value proto_;
    struct Local {
        Value name;
        int reg;
        std::size_t infoIndex;
    };
    std::vector<Local> locals_;
    int freeReg_ = 0;
    int lastTarget_ = -1;
    std::unordered_map<std::uint64_t, int> constantIndex_;
};

} // namespace squirrel::detail
