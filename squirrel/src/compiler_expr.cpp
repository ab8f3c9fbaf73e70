// Expressions: operators by precedence, folding of integer literals and unary forms.
#include "compiler.h"

namespace squirrel::detail {

namespace {

bool isNumericConstant(const Exp& e) {
    return e.kind == Exp::Int || e.kind == Exp::Float;
}

// The operation that takes its right operand from the constants, for the operations that have
// one.
bool constantForm(Op op, Op& withConstant) {
    switch (op) {
    case Op::Mul:
        withConstant = Op::MulK;
        return true;
    case Op::Div:
        withConstant = Op::DivK;
        return true;
    case Op::Mod:
        withConstant = Op::ModK;
        return true;
    case Op::BitAnd:
        withConstant = Op::BitAndK;
        return true;
    case Op::BitOr:
        withConstant = Op::BitOrK;
        return true;
    case Op::BitXor:
        withConstant = Op::BitXorK;
        return true;
    case Op::Shl:
        withConstant = Op::ShlK;
        return true;
    case Op::Shr:
        withConstant = Op::ShrK;
        return true;
    case Op::UShr:
        withConstant = Op::UShrK;
        return true;
    default:
        return false;
    }
}

} // namespace

Exp Compiler::commaExpression() {
    bool discard = discardNext_;
    Exp e = expression();
    while (lex_.token == ',') {
        next();
        discharge(e);
        freeExp(e);
        discardNext_ = discard;
        e = expression();
    }
    return e;
}

Exp Compiler::expression() {
    NestingGuard guard(*this);
    bool discard = discardNext_;
    discardNext_ = false;
    Exp e = logicalOr();
    switch (lex_.token) {
    case '=':
    case TK_NEWSLOT:
    case TK_PLUSEQ:
    case TK_MINUSEQ:
    case TK_MULEQ:
    case TK_DIVEQ:
    case TK_MODEQ: {
        int op = lex_.token;
        next();
        Exp result = assignment(e, op, discard);
        if (discard) {
            // Only statements discard values, and they start with no temporaries in use.
            fs_->setFreeRegister(fs_->activeLocals());
            return Exp::make(Exp::Void);
        }
        return result;
    }
    case '?': {
        next();
        int jumpElse = jumpIfFalse(e);
        int reg = fs_->allocRegister();
        assignLocal(reg, expression());
        int jumpEnd = fs_->emit(Op::Jmp);
        if (jumpElse >= 0)
            fs_->patchHere(jumpElse);
        expect(':');
        assignLocal(reg, expression());
        fs_->patchHere(jumpEnd);
        return Exp::make(Exp::Temp, reg);
    }
    default:
        if (discard)
            dropPostfixCopy(e);
        return e;
    }
}

// `x++` on a local copies the old value before incrementing; when the value is dropped the
// copy is useless and is removed.
void Compiler::dropPostfixCopy(Exp& e) {
    int pc = fs_->pc();
    if (e.kind != Exp::Temp || e.a != fs_->freeRegisterIndex() - 1 || pc < 2 ||
        !fs_->lastInstructionIsFinal())
        return;
    Instr copy = fs_->at(pc - 2);
    Instr step = fs_->at(pc - 1);
    if (copy.op != Op::Move || copy.a != e.a || step.op != Op::ArithI || step.a != copy.b ||
        step.b != copy.b)
        return;
    fs_->cutCode(pc - 2);
    fs_->emit(step.op, step.a, step.b, step.c, step.d);
    fs_->freeRegister(e.a);
    e = Exp::make(Exp::Void);
}

Exp Compiler::logicalOr() {
    Exp e = logicalAnd();
    while (lex_.token == TK_OR) {
        next();
        discharge(e);
        int reg = e.kind == Exp::Temp ? e.a : toNextRegister(e);
        int jump = fs_->emit(Op::JmpIfTrue, reg);
        assignLocal(reg, logicalAnd());
        fs_->patchHere(jump);
        e = Exp::make(Exp::Temp, reg);
    }
    return e;
}

Exp Compiler::logicalAnd() {
    Exp e = bitOr();
    while (lex_.token == TK_AND) {
        next();
        discharge(e);
        int reg = e.kind == Exp::Temp ? e.a : toNextRegister(e);
        int jump = fs_->emit(Op::JmpIfFalse, reg);
        assignLocal(reg, bitOr());
        fs_->patchHere(jump);
        e = Exp::make(Exp::Temp, reg);
    }
    return e;
}

Exp Compiler::bitOr() {
    Exp e = bitXor();
    while (lex_.token == '|') {
        next();
        if (!e.isConstant())
            toAnyRegister(e);
        e = binaryArith(Op::BitOr, e, bitXor());
    }
    return e;
}

Exp Compiler::bitXor() {
    Exp e = bitAnd();
    while (lex_.token == '^') {
        next();
        if (!e.isConstant())
            toAnyRegister(e);
        e = binaryArith(Op::BitXor, e, bitAnd());
    }
    return e;
}

Exp Compiler::bitAnd() {
    Exp e = equality();
    while (lex_.token == '&') {
        next();
        if (!e.isConstant())
            toAnyRegister(e);
        e = binaryArith(Op::BitAnd, e, equality());
    }
    return e;
}

Exp Compiler::equality() {
    Exp e = comparison();
    for (;;) {
        int token = lex_.token;
        if (token != TK_EQ && token != TK_NE && token != TK_CMP3)
            return e;
        next();
        toAnyRegister(e);
        Exp right = comparison();
        if (token == TK_CMP3)
            e = binaryArith(Op::Cmp, e, right);
        else
            e = compareOp(token == TK_EQ ? Op::Eq : Op::Ne, e, right);
    }
}

Exp Compiler::comparison() {
    Exp e = shift();
    for (;;) {
        Op op;
        switch (lex_.token) {
        case '<':
            op = Op::Lt;
            break;
        case '>':
            op = Op::Gt;
            break;
        case TK_LE:
            op = Op::Le;
            break;
        case TK_GE:
            op = Op::Ge;
            break;
        case TK_IN:
            op = Op::In;
            break;
        case TK_INSTANCEOF:
            op = Op::InstanceOf;
            break;
        default:
            return e;
        }
        next();
        toAnyRegister(e);
        Exp right = shift();
        if (op == Op::In || op == Op::InstanceOf)
            e = binaryArith(op, e, right);
        else
            e = compareOp(op, e, right);
    }
}

Exp Compiler::shift() {
    Exp e = additive();
    for (;;) {
        Op op;
        switch (lex_.token) {
        case TK_SHL:
            op = Op::Shl;
            break;
        case TK_SHR:
            op = Op::Shr;
            break;
        case TK_USHR:
            op = Op::UShr;
            break;
        default:
            return e;
        }
        next();
        if (!e.isConstant())
            toAnyRegister(e);
        e = binaryArith(op, e, additive());
    }
}

Exp Compiler::additive() {
    Exp e = multiplicative();
    while (lex_.token == '+' || lex_.token == '-') {
        Op op = lex_.token == '+' ? Op::Add : Op::Sub;
        next();
        if (!e.isConstant())
            toAnyRegister(e);
        e = binaryArith(op, e, multiplicative());
    }
    return e;
}

Exp Compiler::multiplicative() {
    Exp e = unary();
    for (;;) {
        Op op;
        switch (lex_.token) {
        case '*':
            op = Op::Mul;
            break;
        case '/':
            op = Op::Div;
            break;
        case '%':
            op = Op::Mod;
            break;
        default:
            return e;
        }
        next();
        if (!e.isConstant())
            toAnyRegister(e);
        e = binaryArith(op, e, unary());
    }
}

// Folds integer operations on two literals; everything else becomes an instruction. The left
// operand is already in a register unless it is a constant.
Exp Compiler::binaryArith(Op op, Exp left, Exp right) {
    if (left.kind == Exp::Int && right.kind == Exp::Int) {
        std::uint32_t x = static_cast<std::uint32_t>(left.ival);
        std::uint32_t y = static_cast<std::uint32_t>(right.ival);
        Exp folded = Exp::make(Exp::Int);
        switch (op) {
        case Op::Add:
            folded.ival = static_cast<std::int32_t>(x + y);
            return folded;
        case Op::Sub:
            folded.ival = static_cast<std::int32_t>(x - y);
            return folded;
        case Op::Mul:
            folded.ival = static_cast<std::int32_t>(x * y);
            return folded;
        case Op::BitAnd:
            folded.ival = left.ival & right.ival;
            return folded;
        case Op::BitOr:
            folded.ival = left.ival | right.ival;
            return folded;
        case Op::BitXor:
            folded.ival = left.ival ^ right.ival;
            return folded;
        case Op::Shl:
            folded.ival = static_cast<std::int32_t>(x << (y & 31));
            return folded;
        case Op::Shr:
            folded.ival = left.ival >> (y & 31);
            return folded;
        case Op::UShr:
            folded.ival = static_cast<std::int32_t>(x >> (y & 31));
            return folded;
        default:
            break;
        }
    }
    if ((op == Op::Add || op == Op::Sub) && right.kind == Exp::Int && !isNumericConstant(left)) {
        int l = toAnyRegister(left);
        freeExp(left);
        int reg = fs_->allocRegister();
        fs_->emit(Op::ArithI, reg, l, op == Op::Add ? '+' : '-', right.ival);
        return Exp::make(Exp::Temp, reg);
    }
    Op withConstant;
    if ((right.kind == Exp::Int || right.kind == Exp::Float) && !isNumericConstant(left) &&
        constantForm(op, withConstant)) {
        int k = fs_->constant(right.kind == Exp::Int ? Value::integer(right.ival)
                                                     : Value::real(right.fval));
        if (k <= 255) {
            int l = toAnyRegister(left);
            freeExp(left);
            int reg = fs_->allocRegister();
            fs_->emit(withConstant, reg, l, k);
            return Exp::make(Exp::Temp, reg);
        }
    }
    int r = toAnyRegister(right);
    int l = toAnyRegister(left);
    freeRegisters(l, r);
    int reg = fs_->allocRegister();
    fs_->emit(op, reg, l, r);
    return Exp::make(Exp::Temp, reg);
}

Exp Compiler::compareOp(Op op, Exp left, Exp right) {
    // An ordering against an integer reads it from the constants, which saves a load when the
    // comparison decides a jump (loop bounds).
    if (right.kind == Exp::Int && op != Op::Eq && op != Op::Ne) {
        int k = fs_->constant(Value::integer(right.ival));
        if (k <= 255) {
            Exp e = Exp::make(Exp::Compare, toAnyRegister(left), k);
            e.op = op;
            e.constantRight = true;
            return e;
        }
    }
    int r = toAnyRegister(right);
    int l = toAnyRegister(left);
    Exp e = Exp::make(Exp::Compare, l, r);
    e.op = op;
    return e;
}

Exp Compiler::unary() {
    NestingGuard guard(*this);
    switch (lex_.token) {
    case '-': {
        next();
        Exp e = unary();
        if (e.kind == Exp::Int) {
            e.ival = static_cast<std::int32_t>(0u - static_cast<std::uint32_t>(e.ival));
            return e;
        }
        if (e.kind == Exp::Float) {
            e.fval = -e.fval;
            return e;
        }
        int source = toAnyRegister(e);
        freeExp(e);
        int reg = fs_->allocRegister();
        fs_->emit(Op::Neg, reg, source);
        return Exp::make(Exp::Temp, reg);
    }
    case '!':
    case '~':
    case TK_TYPEOF:
    case TK_CLONE: {
        int token = lex_.token;
        next();
        Exp e = unary();
        if (token == '~' && e.kind == Exp::Int) {
            e.ival = ~e.ival;
            return e;
        }
        int source = toAnyRegister(e);
        freeExp(e);
        int reg = fs_->allocRegister();
        Op op = token == '!'         ? Op::Not
                : token == '~'       ? Op::BitNot
                : token == TK_TYPEOF ? Op::TypeOf
                                     : Op::Clone;
        fs_->emit(op, reg, source);
        return Exp::make(Exp::Temp, reg);
    }
    case TK_DELETE: {
        next();
        Exp e = postfix();
        int object, key;
        switch (e.kind) {
        case Exp::Field:
            object = e.a;
            key = e.b;
            break;
        case Exp::FieldK:
            object = e.a;
            key = fs_->allocRegister();
            fs_->emit(Op::LoadConst, key, 0, 0, e.b);
            break;
        case Exp::ThisField:
            object = 0;
            key = fs_->allocRegister();
            fs_->emit(Op::LoadConst, key, 0, 0, e.a);
            break;
        default:
            error("can't delete an expression");
        }
        freeRegisters(object, key);
        int reg = fs_->allocRegister();
        fs_->emit(Op::Delete, reg, object, key);
        return Exp::make(Exp::Temp, reg);
    }
    case TK_PLUSPLUS:
    case TK_MINUSMINUS: {
        int delta = lex_.token == TK_PLUSPLUS ? 1 : -1;
        next();
        return increment(postfix(), delta, true);
    }
    case TK_RESUME: {
        next();
        Exp e = unary();
        int source = toAnyRegister(e);
        freeExp(e);
        int reg = fs_->allocRegister();
        fs_->emit(Op::Resume, reg, source);
        return Exp::make(Exp::Temp, reg);
    }
    default:
        return postfix();
    }
}

} // namespace squirrel::detail
