// Assignments (=, <-, compound forms) and increments.
#include "compiler.h"

namespace squirrel::detail {

Exp Compiler::assignment(Exp target, int op, bool discard) {
    Op arith = op == TK_PLUSEQ    ? Op::Add
               : op == TK_MINUSEQ ? Op::Sub
               : op == TK_MULEQ   ? Op::Mul
               : op == TK_DIVEQ   ? Op::Div
                                  : Op::Mod;
    bool compound = op != '=' && op != TK_NEWSLOT;
    int lowestTemp = -1;
    if (target.kind == Exp::Field || target.kind == Exp::FieldK) {
        if (fs_->isTemporary(target.a))
            lowestTemp = target.a;
        else if (target.kind == Exp::Field && fs_->isTemporary(target.b))
            lowestTemp = target.b;
    }
    switch (target.kind) {
    case Exp::Local:
        if (op == TK_NEWSLOT)
            error("can't 'create' a local slot");
        if (compound)
            return assignLocal(target.a, binaryArith(arith, target, expression()));
        return assignLocal(target.a, expression());
    case Exp::Outer: {
        if (op == TK_NEWSLOT)
            error("can't 'create' a local slot");
        Exp value;
        if (compound) {
            int reg = fs_->allocRegister();
            fs_->emit(Op::GetOuter, reg, 0, 0, target.a);
            value = binaryArith(arith, Exp::make(Exp::Temp, reg), expression());
        } else {
            value = expression();
        }
        int reg = toAnyRegister(value);
        fs_->emit(Op::SetOuter, 0, reg, 0, target.a);
        return value;
    }
    case Exp::Field:
    case Exp::FieldK: {
        bool constantKey = target.kind == Exp::FieldK;
        Exp value;
        if (compound) {
            int reg = fs_->allocRegister();
            if (constantKey)
                fs_->emit(Op::GetK, reg, target.a, 0, target.b);
            else
                fs_->emit(Op::Get, reg, target.a, target.b);
            value = binaryArith(arith, Exp::make(Exp::Temp, reg), expression());
        } else {
            value = expression();
        }
        int reg = toAnyRegister(value);
        if (op == TK_NEWSLOT)
            fs_->emit(constantKey ? Op::NewSlotK : Op::NewSlot, target.a,
                      constantKey ? 0 : target.b, reg, constantKey ? target.b : 0);
        else
            fs_->emit(constantKey ? Op::SetK : Op::Set, target.a, constantKey ? 0 : target.b, reg,
                      constantKey ? target.b : 0);
        return discard ? Exp::make(Exp::Void) : fieldResult(lowestTemp, value);
    }
    case Exp::ThisField: {
        Exp value;
        if (compound) {
            int reg = fs_->allocRegister();
            fs_->emit(Op::GetThis, reg, 0, 0, target.a);
            value = binaryArith(arith, Exp::make(Exp::Temp, reg), expression());
        } else {
            value = expression();
        }
        int reg = toAnyRegister(value);
        if (op == TK_NEWSLOT)
            fs_->emit(Op::NewSlotK, 0, 0, reg, target.a);
        else
            fs_->emit(Op::SetThis, 0, 0, reg, target.a);
        return value;
    }
    default:
        error("can't assign expression");
    }
}

Exp Compiler::increment(Exp target, int delta, bool prefix) {
    int sign = delta > 0 ? '+' : '-';
    int lowestTemp = -1;
    if (target.kind == Exp::Field || target.kind == Exp::FieldK) {
        if (fs_->isTemporary(target.a))
            lowestTemp = target.a;
        else if (target.kind == Exp::Field && fs_->isTemporary(target.b))
            lowestTemp = target.b;
    }
    switch (target.kind) {
    case Exp::Local: {
        int reg = target.a;
        if (prefix) {
            fs_->emit(Op::ArithI, reg, reg, sign, 1);
            return target;
        }
        int old = fs_->allocRegister();
        fs_->emit(Op::Move, old, reg);
        fs_->emit(Op::ArithI, reg, reg, sign, 1);
        return Exp::make(Exp::Temp, old);
    }
    case Exp::Outer:
    case Exp::Field:
    case Exp::FieldK:
    case Exp::ThisField: {
        int value = fs_->allocRegister();
        switch (target.kind) {
        case Exp::Outer:
            fs_->emit(Op::GetOuter, value, 0, 0, target.a);
            break;
        case Exp::Field:
            fs_->emit(Op::Get, value, target.a, target.b);
            break;
        case Exp::FieldK:
            fs_->emit(Op::GetK, value, target.a, 0, target.b);
            break;
        default:
            fs_->emit(Op::GetThis, value, 0, 0, target.a);
            break;
        }
        int stored = prefix ? value : fs_->allocRegister();
        fs_->emit(Op::ArithI, stored, value, sign, 1);
        switch (target.kind) {
        case Exp::Outer:
            fs_->emit(Op::SetOuter, 0, stored, 0, target.a);
            break;
        case Exp::Field:
            fs_->emit(Op::Set, target.a, target.b, stored);
            break;
        case Exp::FieldK:
            fs_->emit(Op::SetK, target.a, 0, stored, target.b);
            break;
        default:
            fs_->emit(Op::SetThis, 0, 0, stored, target.a);
            break;
        }
        if (!prefix)
            fs_->freeRegister(stored);
        return fieldResult(lowestTemp, Exp::make(Exp::Temp, value));
    }
    default:
        error("can't '++' or '--' an expression");
    }
}

} // namespace squirrel::detail
