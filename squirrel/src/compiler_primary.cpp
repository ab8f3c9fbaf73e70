// Postfix forms (members, indexing, calls), primaries, literals and function bodies.
#include "compiler.h"

#include "state.h"

namespace squirrel::detail {

Exp Compiler::postfix() {
    Exp e = primary();
    for (;;) {
        switch (lex_.token) {
        case '.': {
            next();
            // `constructor` is a keyword, but also the name of a class member.
            Value name;
            if (lex_.token == TK_CONSTRUCTOR) {
                name = intern("constructor");
                next();
            } else {
                name = expectIdentifier();
            }
            bool fromBase = e.kind == Exp::Base;
            int object = toAnyRegister(e);
            if (fromBase) {
                // base.member: fetched now, so that a call passes the current `this`.
                fs_->emit(Op::GetK, object, object, 0, stringConstant(name));
                e = Exp::make(Exp::Temp, object);
            } else {
                e = Exp::make(Exp::FieldK, object, stringConstant(name));
                e.parent = name.str()->view() == "parent";
            }
            break;
        }
        case '[': {
            // A '[' on a new line starts a new element of a table or array literal.
            if (lex_.newlineBefore)
                return e;
            next();
            bool fromBase = e.kind == Exp::Base;
            int object = toAnyRegister(e);
            Exp key = commaExpression();
            expect(']');
            if (fromBase) {
                int keyReg = toAnyRegister(key);
                freeExp(key);
                fs_->emit(Op::Get, object, object, keyReg);
                e = Exp::make(Exp::Temp, object);
            } else if (key.kind == Exp::Const &&
                       fs_->proto()->constants[static_cast<std::size_t>(key.a)].tag ==
                           Tag::String) {
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
    case Exp::ThisField:
        fn = fs_->allocRegister();
        fs_->allocRegister();
        fs_->emit(Op::PrepCallThis, fn, 0, 0, function.a);
        break;
    case Exp::Local:
        fn = fs_->allocRegister();
        fs_->allocRegister();
        fs_->emit(Op::PrepLocal, fn, function.a);
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
    case TK_CLASS: {
        next();
        int reg = fs_->allocRegister();
        classBody(reg);
        return Exp::make(Exp::Temp, reg);
    }
    case TK_BASE: {
        next();
        int reg = fs_->allocRegister();
        fs_->emit(Op::GetBase, reg);
        return Exp::make(Exp::Base, reg);
    }
    default:
        error("expression expected");
    }
}

Exp Compiler::tableLiteral() {
    next();
    int table = fs_->allocRegister();
    int newTable = fs_->emit(Op::NewTable, table);
    fs_->at(newTable).d = tableSlots(table, '}');
    return Exp::make(Exp::Temp, table);
}

int Compiler::tableSlots(int table, int terminator) {
    int count = 0;
    while (lex_.token != terminator) {
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
            error("expected '" + Lexer::tokenText(terminator) + "'");
        }
        fs_->setFreeRegister(table + 1);
        ++count;
        if (lex_.token == ',')
            next();
    }
    next();
    return count;
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
    if (!proto->varargs && !proto->generator)
        proto->directArgs = proto->paramCount;

    auto& functions = fs_->proto()->functions;
    functions.push_back(child.takeProto());
    fs_->emit(Op::Closure, destination, firstDefault, environment,
              static_cast<std::int32_t>(functions.size() - 1));
    fs_->setFreeRegister(destination + 1);
}

} // namespace squirrel::detail
