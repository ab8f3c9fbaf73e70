// Register code generation: placing expression values in registers, conditional jumps, and
// the token helpers shared by the parser.
#include "compiler.h"

#include "state.h"

#include <cstring>

namespace squirrel::detail {

namespace {

// Instructions whose only effect is writing register a from other operands; a value computed
// into a temporary can be redirected to its final register by rewriting a.
bool writesOnlyA(const Instr& in) {
    switch (in.op) {
    case Op::LoadNull:
        return in.d == 1;
    case Op::LoadInt:
    case Op::LoadFloat:
    case Op::LoadBool:
    case Op::LoadConst:
    case Op::LoadRoot:
    case Op::Move:
    case Op::GetOuter:
    case Op::NewTable:
    case Op::NewArray:
    case Op::Get:
    case Op::GetK:
    case Op::GetThis:
    case Op::Delete:
    case Op::In:
    case Op::InstanceOf:
    case Op::TypeOf:
    case Op::Clone:
    case Op::SetDelegate:
    case Op::Add:
    case Op::Sub:
    case Op::Mul:
    case Op::Div:
    case Op::Mod:
    case Op::MulK:
    case Op::DivK:
    case Op::ModK:
    case Op::ArithI:
    case Op::Neg:
    case Op::Not:
    case Op::BitNot:
    case Op::BitAnd:
    case Op::BitOr:
    case Op::BitXor:
    case Op::Shl:
    case Op::Shr:
    case Op::UShr:
    case Op::BitAndK:
    case Op::BitOrK:
    case Op::BitXorK:
    case Op::ShlK:
    case Op::ShrK:
    case Op::UShrK:
    case Op::Eq:
    case Op::Ne:
    case Op::Lt:
    case Op::Le:
    case Op::Gt:
    case Op::Ge:
    case Op::Cmp:
    case Op::Call:
    case Op::Closure:
    case Op::NewClass:
    case Op::GetBase:
    case Op::GetParent:
    case Op::Resume:
        return true;
    default:
        return false;
    }
}

Op jumpFor(Op compare) {
    switch (compare) {
    case Op::Eq:
        return Op::JfEq;
    case Op::Ne:
        return Op::JfNe;
    case Op::Lt:
        return Op::JfLt;
    case Op::Le:
        return Op::JfLe;
    case Op::Gt:
        return Op::JfGt;
    default:
        return Op::JfGe;
    }
}

// The same for an ordering against a constant.
Op jumpForConstant(Op compare) {
    switch (compare) {
    case Op::Lt:
        return Op::JfLtK;
    case Op::Le:
        return Op::JfLeK;
    case Op::Gt:
        return Op::JfGtK;
    default:
        return Op::JfGeK;
    }
}

// The jump taken exactly when the given conditional jump is not. Comparisons order their
// operands totally (unordered floats count as greater), so "not less" is "greater or equal".
bool invertedJump(Op jump, Op& inverse) {
    switch (jump) {
    case Op::JfEq:
        inverse = Op::JfNe;
        return true;
    case Op::JfNe:
        inverse = Op::JfEq;
        return true;
    case Op::JfLt:
        inverse = Op::JfGe;
        return true;
    case Op::JfGe:
        inverse = Op::JfLt;
        return true;
    case Op::JfLe:
        inverse = Op::JfGt;
        return true;
    case Op::JfGt:
        inverse = Op::JfLe;
        return true;
    case Op::JfLtK:
        inverse = Op::JfGeK;
        return true;
    case Op::JfGeK:
        inverse = Op::JfLtK;
        return true;
    case Op::JfLeK:
        inverse = Op::JfGtK;
        return true;
    case Op::JfGtK:
        inverse = Op::JfLeK;
        return true;
    case Op::JmpIfFalse:
        inverse = Op::JmpIfTrue;
        return true;
    default:
        return false;
    }
}

// Instructions that jump relative to themselves.
bool isJump(Op op) {
    switch (op) {
    case Op::Jmp:
    case Op::JmpIfTrue:
    case Op::JmpIfFalse:
    case Op::JfEq:
    case Op::JfNe:
    case Op::JfLt:
    case Op::JfLe:
    case Op::JfGt:
    case Op::JfGe:
    case Op::JfLtK:
    case Op::JfLeK:
    case Op::JfGtK:
    case Op::JfGeK:
    case Op::Foreach:
    case Op::PushTrap:
    case Op::StepJfLt:
    case Op::StepJfLe:
    case Op::StepJfGt:
    case Op::StepJfGe:
    case Op::StepJfLtK:
    case Op::StepJfLeK:
    case Op::StepJfGtK:
    case Op::StepJfGeK:
        return true;
    default:
        return false;
    }
}

} // namespace

Compiler::NestingGuard::NestingGuard(Compiler& compiler) : compiler(compiler) {
    constexpr int kMaxDepth = 400;
    if (++compiler.depth_ > kMaxDepth)
        compiler.error("expressions or statements nested too deeply");
}

Value Compiler::intern(std::string_view text) {
    return state_.string(text);
}

int Compiler::stringConstant(const Value& s) {
    return fs_->constant(s);
}

void Compiler::expect(int token) {
    if (lex_.token != token)
        error("expected '" + Lexer::tokenText(token) + "'");
    next();
}

Value Compiler::expectIdentifier() {
    if (lex_.token != TK_IDENTIFIER)
        error("expected 'IDENTIFIER'");
    Value name = intern(lex_.text);
    next();
    return name;
}

// ---------------------------------------------------------------------------------------------
// Register helpers

void Compiler::freeRegisters(int r1, int r2) {
    if (r1 < r2)
        std::swap(r1, r2);
    fs_->freeRegister(r1);
    fs_->freeRegister(r2);
}

void Compiler::freeExp(const Exp& e) {
    switch (e.kind) {
    case Exp::Temp:
    case Exp::Base:
    case Exp::FieldK:
        fs_->freeRegister(e.a);
        break;
    case Exp::Field:
        freeRegisters(e.a, e.b);
        break;
    case Exp::Compare:
        if (e.constantRight)
            fs_->freeRegister(e.a);
        else
            freeRegisters(e.a, e.b);
        break;
    default:
        break;
    }
}

void Compiler::discharge(Exp& e) {
    int reg;
    switch (e.kind) {
    case Exp::Outer:
        reg = fs_->allocRegister();
        fs_->emit(Op::GetOuter, reg, 0, 0, e.a);
        break;
    case Exp::Field:
        freeRegisters(e.a, e.b);
        reg = fs_->allocRegister();
        fs_->emit(Op::Get, reg, e.a, e.b);
        break;
    case Exp::FieldK:
        fs_->freeRegister(e.a);
        reg = fs_->allocRegister();
        if (e.parent)
            fs_->emit(Op::GetParent, reg, e.a);
        else
            fs_->emit(Op::GetK, reg, e.a, 0, e.b);
        break;
    case Exp::ThisField:
        reg = fs_->allocRegister();
        fs_->emit(Op::GetThis, reg, 0, 0, e.a);
        break;
    case Exp::Compare:
        if (e.constantRight) {
            fs_->freeRegister(e.a);
            reg = fs_->allocRegister();
            int constant = fs_->allocRegister();
            fs_->emit(Op::LoadConst, constant, 0, 0, e.b);
            fs_->emit(e.op, reg, e.a, constant);
            fs_->freeRegister(constant);
            break;
        }
        freeRegisters(e.a, e.b);
        reg = fs_->allocRegister();
        fs_->emit(e.op, reg, e.a, e.b);
        break;
    case Exp::Base:
        reg = e.a;
        break;
    default:
        return;
    }
    e = Exp::make(Exp::Temp, reg);
}

void Compiler::toRegister(Exp& e, int reg) {
    discharge(e);
    switch (e.kind) {
    case Exp::Void:
    case Exp::Null:
        fs_->emit(Op::LoadNull, reg, 0, 0, 1);
        break;
    case Exp::True:
    case Exp::False:
        fs_->emit(Op::LoadBool, reg, 0, 0, e.kind == Exp::True);
        break;
    case Exp::Int:
        fs_->emit(Op::LoadInt, reg, 0, 0, e.ival);
        break;
    case Exp::Float: {
        std::int32_t bits;
        std::memcpy(&bits, &e.fval, sizeof bits);
        fs_->emit(Op::LoadFloat, reg, 0, 0, bits);
        break;
    }
    case Exp::Const:
        fs_->emit(Op::LoadConst, reg, 0, 0, e.a);
        break;
    case Exp::Local:
    case Exp::Temp:
        if (e.a != reg)
            fs_->emit(Op::Move, reg, e.a);
        break;
    default:
        break;
    }
}

int Compiler::toNextRegister(Exp& e) {
    discharge(e);
    freeExp(e);
    int reg = fs_->allocRegister();
    toRegister(e, reg);
    e = Exp::make(Exp::Temp, reg);
    return reg;
}

int Compiler::toAnyRegister(Exp& e) {
    discharge(e);
    if (e.inRegister())
        return e.a;
    return toNextRegister(e);
}

// Puts the value of e into register reg (a local or a reserved result register).
Exp Compiler::assignLocal(int reg, Exp value) {
    discharge(value);
    if (value.kind == Exp::Temp && value.a == fs_->freeRegisterIndex() - 1 && value.a != reg &&
        fs_->lastInstructionIsFinal()) {
        Instr& last = fs_->at(fs_->pc() - 1);
        if (last.a == value.a && writesOnlyA(last)) {
            last.a = static_cast<std::uint8_t>(reg);
            fs_->freeRegister(value.a);
            return Exp::make(Exp::Local, reg);
        }
    }
    toRegister(value, reg);
    freeExp(value);
    return Exp::make(Exp::Local, reg);
}

// After a store into obj[key], leaves the stored value as the expression's result in the
// lowest temporary the target used, so temporaries stay stacked.
Exp Compiler::fieldResult(int lowestTemp, const Exp& value) {
    if (lowestTemp < 0)
        return value;
    if (value.kind == Exp::Temp) {
        if (value.a != lowestTemp)
            fs_->emit(Op::Move, lowestTemp, value.a);
        fs_->setFreeRegister(lowestTemp + 1);
        return Exp::make(Exp::Temp, lowestTemp);
    }
    fs_->setFreeRegister(lowestTemp);
    return value;
}

// A condition that is straight code ending in its exit jump is repeated at the end of the loop,
// jumping back to the body while it holds: each round then runs one jump less. Any other loop
// jumps back to its condition.
void Compiler::loopBack(int conditionPc, int jumpExit) {
    Op inverse = Op::Jmp;
    bool straight = jumpExit >= 0 && invertedJump(fs_->at(jumpExit).op, inverse);
    for (int pc = conditionPc; straight && pc < jumpExit; ++pc)
        straight = !isJump(fs_->at(pc).op);
    if (!straight) {
        fs_->emitJumpBack(conditionPc);
        return;
    }
    auto condition = fs_->copyCode(conditionPc, jumpExit + 1);
    Instr& jump = condition.back().first;
    int jumpPc = fs_->pc() + static_cast<int>(condition.size()) - 1;
    jump.op = inverse;
    jump.d = (jumpExit + 1) - (jumpPc + 1);
    fs_->pasteCode(condition);
}

void Compiler::fuseLoopStep(int stepPc) {
    if (fs_->pc() != stepPc + 2)
        return;
    const Instr step = fs_->at(stepPc);
    const Instr jump = fs_->at(stepPc + 1);
    if (step.op != Op::ArithI || step.a != step.b || step.d < 1 || step.d > 127 ||
        jump.b != step.a || jump.d >= 0)
        return;
    // The fused operations follow the order of the jumps they stand for.
    static_assert(static_cast<int>(Op::JfGe) - static_cast<int>(Op::JfLt) == 3 &&
                      static_cast<int>(Op::StepJfGe) - static_cast<int>(Op::StepJfLt) == 3 &&
                      static_cast<int>(Op::JfGeK) - static_cast<int>(Op::JfLtK) == 3 &&
                      static_cast<int>(Op::StepJfGeK) - static_cast<int>(Op::StepJfLtK) == 3,
                  "the step jumps are in the order of the ordering jumps");
    Op first;
    Op fusedFirst;
    if (jump.op >= Op::JfLt && jump.op <= Op::JfGe) {
        first = Op::JfLt;
        fusedFirst = Op::StepJfLt;
    } else if (jump.op >= Op::JfLtK && jump.op <= Op::JfGeK) {
        first = Op::JfLtK;
        fusedFirst = Op::StepJfLtK;
    } else {
        return;
    }
    const Op fused = static_cast<Op>(static_cast<int>(fusedFirst) + static_cast<int>(jump.op) -
                                     static_cast<int>(first));
    const int stepLine = fs_->cutCode(stepPc).front().second;
    const auto amount = static_cast<std::uint8_t>(step.d | (step.c == '-' ? 128 : 0));
    // The jump keeps its target, one instruction further from the fused instruction.
    fs_->pasteCode({{Instr{fused, amount, step.a, jump.c, jump.d + 1}, stepLine}});
}

int Compiler::jumpIfFalse(Exp& e) {
    switch (e.kind) {
    case Exp::Compare:
        if (e.constantRight) {
            fs_->freeRegister(e.a);
            return fs_->emit(jumpForConstant(e.op), 0, e.a, e.b, 0);
        }
        freeRegisters(e.a, e.b);
        return fs_->emit(jumpFor(e.op), 0, e.a, e.b, 0);
    case Exp::Null:
    case Exp::False:
        return fs_->emit(Op::Jmp);
    case Exp::Int:
        return e.ival ? -1 : fs_->emit(Op::Jmp);
    case Exp::Float:
        return e.fval != 0.0f ? -1 : fs_->emit(Op::Jmp);
    case Exp::True:
    case Exp::Const:
        return -1;
    default: {
        int reg = toAnyRegister(e);
        freeExp(e);
        return fs_->emit(Op::JmpIfFalse, reg);
    }
    }
}

} // namespace squirrel::detail
