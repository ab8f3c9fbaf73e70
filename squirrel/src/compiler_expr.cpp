// Expressions: operator precedence parsing and register code generation.
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
    case Op::Eq:
    case Op::Ne:
    case Op::Lt:
    case Op::Le:
    case Op::Gt:
    case Op::Ge:
    case Op::Cmp:
    case Op::Call:
    case Op::Closure:
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

bool isNumericConstant(const Exp& e) {
    return e.kind == Exp::Int || e.kind == Exp::Float;
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
    case Exp::FieldK:
        fs_->freeRegister(e.a);
        break;
    case Exp::Field:
    case Exp::Compare:
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
        fs_->emit(Op::GetK, reg, e.a, 0, e.b);
        break;
    case Exp::ThisField:
        reg = fs_->allocRegister();
        fs_->emit(Op::GetThis, reg, 0, 0, e.a);
        break;
    case Exp::Compare:
        freeRegisters(e.a, e.b);
        reg = fs_->allocRegister();
        fs_->emit(e.op, reg, e.a, e.b);
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

int Compiler::jumpIfFalse(Exp& e) {
    switch (e.kind) {
    case Exp::Compare:
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

// ---------------------------------------------------------------------------------------------
// Operators

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
    int r = toAnyRegister(right);
    int l = toAnyRegister(left);
    freeRegisters(l, r);
    int reg = fs_->allocRegister();
    fs_->emit(op, reg, l, r);
    return Exp::make(Exp::Temp, reg);
}

Exp Compiler::compareOp(Op op, Exp left, Exp right) {
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
    case TK_RESUME:
        error("generators are not supported: 'resume'");
    default:
        return postfix();
    }
}

// ---------------------------------------------------------------------------------------------
// Postfix forms, calls and primaries

Exp Compiler::postfix() {
    Exp e = primary();
    for (;;) {
        switch (lex_.token) {
        case '.': {
            next();
            Value name = expectIdentifier();
            int object = toAnyRegister(e);
            e = Exp::make(Exp::FieldK, object, stringConstant(name));
            break;
        }
        case '[': {
            // A '[' on a new line starts a new element of a table or array literal.
            if (lex_.newlineBefore)
                return e;
            next();
            int object = toAnyRegister(e);
            Exp key = commaExpression();
            expect(']');
            if (key.kind == Exp::Const &&
                fs_->proto()->constants[static_cast<std::size_t>(key.a)].tag == Tag::String) {
                e = Exp::make(Exp::FieldK, object, key.a);
            } else {
                int keyReg = toAnyRegister(key);
                e = Exp::make(Exp::Field, object, keyReg);
            }
            break;
        }
        case '(':
            e = call(e);
            break;
        case TK_PLUSPLUS:
        case TK_MINUSMINUS: {
            if (lex_.newlineBefore)
                return e;
            int delta = lex_.token == TK_PLUSPLUS ? 1 : -1;
            next();
            return increment(e, delta, false);
        }
        default:
            return e;
        }
    }
}

Exp Compiler::call(Exp function) {
    int fn;
    switch (function.kind) {
    case Exp::FieldK:
        fs_->freeRegister(function.a);
        fn = fs_->allocRegister();
        fs_->allocRegister();
        fs_->emit(Op::PrepCallK, fn, function.a, 0, function.b);
        break;
    case Exp::Field:
        freeRegisters(function.a, function.b);
        fn = fs_->allocRegister();
        fs_->allocRegister();
        fs_->emit(Op::PrepCall, fn, function.a, function.b);
        break;
    default:
        fn = toNextRegister(function);
        fs_->emit(Op::Move, fs_->allocRegister(), 0);
        break;
    }
    expect('(');
    int count = 1;
    while (lex_.token != ')') {
        Exp arg = expression();
        if (toNextRegister(arg) != fn + 1 + count)
            error("internal compiler error: argument out of place");
        ++count;
        if (lex_.token == ',')
            next();
        else if (lex_.token != ')')
            error("expected ')'");
    }
    next();
    fs_->emit(Op::Call, fn, fn, count);
    fs_->setFreeRegister(fn + 1);
    return Exp::make(Exp::Temp, fn);
}

// rawcall(function, this, arguments...)
Exp Compiler::rawCall() {
    next();
    expect('(');
    int fn = fs_->freeRegisterIndex();
    int values = 0;
    while (lex_.token != ')') {
        Exp arg = expression();
        toNextRegister(arg);
        ++values;
        if (lex_.token == ',')
            next();
        else if (lex_.token != ')')
            error("expected ')'");
    }
    next();
    if (values < 2)
        error("rawcall needs a function and an environment object");
    fs_->emit(Op::Call, fn, fn, values - 1);
    fs_->setFreeRegister(fn + 1);
    return Exp::make(Exp::Temp, fn);
}

Exp Compiler::identifier(const Value& name) {
    int local = fs_->findLocal(name.str());
    if (local >= 0)
        return Exp::make(Exp::Local, local);
    int outer = fs_->findOuter(name);
    if (outer >= 0)
        return Exp::make(Exp::Outer, outer);
    if (state_.consts.tag == Tag::Table) {
        if (Value* constant = state_.consts.table()->findString(name.str())) {
            Value value = *constant;
            // An enumeration member is resolved now, like the constant itself.
            if (value.tag == Tag::Table && lex_.token == '.') {
                next();
                Value member = expectIdentifier();
                Value* found = value.table()->findString(member.str());
                if (!found)
                    error("invalid enum member '" + std::string(member.str()->view()) + "'");
                value = *found;
            }
            switch (value.tag) {
            case Tag::Null:
                return Exp::make(Exp::Null);
            case Tag::Bool:
                return Exp::make(value.b ? Exp::True : Exp::False);
            case Tag::Integer: {
                Exp e = Exp::make(Exp::Int);
                e.ival = value.i;
                return e;
            }
            case Tag::Float: {
                Exp e = Exp::make(Exp::Float);
                e.fval = value.f;
                return e;
            }
            default:
                return Exp::make(Exp::Const, fs_->constant(value));
            }
        }
    }
    return Exp::make(Exp::ThisField, stringConstant(name));
}

Exp Compiler::primary() {
    switch (lex_.token) {
    case TK_STRING: {
        Exp e = Exp::make(Exp::Const, stringConstant(intern(lex_.text)));
        next();
        return e;
    }
    case TK_INTEGER: {
        Exp e = Exp::make(Exp::Int);
        e.ival = lex_.intValue;
        next();
        return e;
    }
    case TK_FLOAT: {
        Exp e = Exp::make(Exp::Float);
        e.fval = lex_.floatValue;
        next();
        return e;
    }
    case TK_NULL:
        next();
        return Exp::make(Exp::Null);
    case TK_TRUE:
        next();
        return Exp::make(Exp::True);
    case TK_FALSE:
        next();
        return Exp::make(Exp::False);
    case TK_LINE: {
        Exp e = Exp::make(Exp::Int);
        e.ival = lex_.line;
        next();
        return e;
    }
    case TK_FILE:
        next();
        return Exp::make(Exp::Const, stringConstant(source_));
    case TK_IDENTIFIER: {
        Value name = intern(lex_.text);
        next();
        return identifier(name);
    }
    case TK_THIS:
        next();
        return Exp::make(Exp::Local, 0);
    case TK_DOUBLECOLON: {
        next();
        int reg = fs_->allocRegister();
        fs_->emit(Op::LoadRoot, reg);
        Value name = expectIdentifier();
        return Exp::make(Exp::FieldK, reg, stringConstant(name));
    }
    case '(': {
        next();
        Exp e = commaExpression();
        expect(')');
        return e;
    }
    case '[':
        return arrayLiteral();
    case '{':
        return tableLiteral();
    case TK_FUNCTION:
        next();
        return functionExpression(Value(), false);
    case '@':
        next();
        return functionExpression(Value(), true);
    case TK_DELEGATE: {
        next();
        Exp parent = logicalOr();
        int parentReg = toAnyRegister(parent);
        expect(':');
        Exp table = expression();
        int tableReg = toAnyRegister(table);
        freeRegisters(parentReg, tableReg);
        int reg = fs_->allocRegister();
        fs_->emit(Op::SetDelegate, reg, parentReg, tableReg);
        return Exp::make(Exp::Temp, reg);
    }
    case TK_VARGC: {
        // The older form of vargv.len().
        next();
        Exp vargv = identifier(intern("vargv"));
        int object = toAnyRegister(vargv);
        freeExp(vargv);
        int fn = fs_->allocRegister();
        fs_->allocRegister();
        fs_->emit(Op::PrepCallK, fn, object, 0, stringConstant(intern("len")));
        fs_->emit(Op::Call, fn, fn, 1);
        fs_->setFreeRegister(fn + 1);
        return Exp::make(Exp::Temp, fn);
    }
    case TK_RAWCALL:
        return rawCall();
    case TK_CLASS:
    case TK_BASE:
        error("classes are not supported: '" + Lexer::tokenText(lex_.token) + "'");
    default:
        error("expression expected");
    }
}

Exp Compiler::tableLiteral() {
    next();
    int table = fs_->allocRegister();
    int newTable = fs_->emit(Op::NewTable, table);
    int count = 0;
    while (lex_.token != '}') {
        switch (lex_.token) {
        case TK_FUNCTION: {
            next();
            Value name = expectIdentifier();
            int value = fs_->allocRegister();
            compileFunction(name, false, value);
            fs_->emit(Op::NewSlotK, table, 0, value, stringConstant(name));
            break;
        }
        case '[': {
            next();
            Exp key = commaExpression();
            int keyReg = toAnyRegister(key);
            expect(']');
            expect('=');
            Exp value = expression();
            int valueReg = toAnyRegister(value);
            fs_->emit(Op::NewSlot, table, keyReg, valueReg);
            break;
        }
        case TK_STRING: {
            // JSON form: "key" : value
            Value name = intern(lex_.text);
            next();
            expect(':');
            Exp value = expression();
            int valueReg = toAnyRegister(value);
            fs_->emit(Op::NewSlotK, table, 0, valueReg, stringConstant(name));
            break;
        }
        case TK_IDENTIFIER: {
            Value name = expectIdentifier();
            expect('=');
            Exp value = expression();
            int valueReg = toAnyRegister(value);
            fs_->emit(Op::NewSlotK, table, 0, valueReg, stringConstant(name));
            break;
        }
        default:
            error("expected '}'");
        }
        fs_->setFreeRegister(table + 1);
        ++count;
        if (lex_.token == ',')
            next();
    }
    next();
    fs_->at(newTable).d = count;
    return Exp::make(Exp::Temp, table);
}

Exp Compiler::arrayLiteral() {
    next();
    int array = fs_->allocRegister();
    int newArray = fs_->emit(Op::NewArray, array);
    int count = 0;
    while (lex_.token != ']') {
        Exp value = expression();
        int valueReg = toAnyRegister(value);
        fs_->emit(Op::Append, array, valueReg);
        fs_->setFreeRegister(array + 1);
        ++count;
        if (lex_.token == ',')
            next();
    }
    next();
    fs_->at(newArray).d = count;
    return Exp::make(Exp::Temp, array);
}

Exp Compiler::functionExpression(const Value& name, bool lambda) {
    int reg = fs_->allocRegister();
    compileFunction(name, lambda, reg);
    return Exp::make(Exp::Temp, reg);
}

// Compiles a function's parameters and body into a nested prototype and emits the instruction
// that makes a closure of it in register destination. Default values and a bound environment
// are evaluated in the enclosing function, when the closure is made.
void Compiler::compileFunction(const Value& name, bool lambda, int destination) {
    int environment = kNoRegister;
    if (!lambda && lex_.token == '[') {
        next();
        Exp env = expression();
        environment = toNextRegister(env);
        expect(']');
    }
    expect('(');
    FuncState child(state_, lex_, fs_, name, source_);
    child.line = fs_->line;
    child.declareLocal(intern("this"), 0);
    child.proto()->parameters.push_back(intern("this"));
    int firstDefault = fs_->freeRegisterIndex();
    int defaults = 0;
    while (lex_.token != ')') {
        if (lex_.token == TK_VARPARAMS) {
            next();
            child.proto()->varargs = true;
            if (lex_.token != ')')
                error("expected ')'");
            break;
        }
        Value param = expectIdentifier();
        child.declareLocal(param, child.activeLocals());
        child.proto()->parameters.push_back(param);
        if (lex_.token == '=') {
            next();
            Exp value = expression();
            toNextRegister(value);
            ++defaults;
        } else if (defaults > 0) {
            error("expected '='");
        }
        if (lex_.token == ',')
            next();
        else if (lex_.token != ')')
            error("expected ')'");
    }
    next();
    FunctionProto* proto = child.proto();
    proto->paramCount = static_cast<std::uint8_t>(child.activeLocals());
    proto->defaultCount = static_cast<std::uint8_t>(defaults);
    if (proto->varargs)
        child.declareLocal(intern("vargv"), child.activeLocals());

    FuncState* parent = fs_;
    bool discard = discardNext_;
    discardNext_ = false;
    fs_ = &child;
    if (lambda) {
        Exp body = expression();
        int reg = toAnyRegister(body);
        child.emit(Op::Return, reg);
    } else {
        statement();
    }
    child.emit(Op::ReturnNull);
    child.closeLocals(0);
    fs_ = parent;
    discardNext_ = discard;

    auto& functions = fs_->proto()->functions;
    functions.push_back(child.takeProto());
    fs_->emit(Op::Closure, destination, firstDefault, environment,
              static_cast<std::int32_t>(functions.size() - 1));
    fs_->setFreeRegister(destination + 1);
}

// ---------------------------------------------------------------------------------------------
// Assignments

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
