// Statements and the compiler's entry point.
#include "compiler.h"

#include "state.h"

namespace squirrel::detail {

Value compileScript(State& state, std::string_view text, std::string_view sourceName) {
    ++state.compilations;
    Compiler compiler(state, text, sourceName);
    return compiler.compile();
}

Compiler::Compiler(State& state, std::string_view text, std::string_view sourceName)
    : state_(state), lex_(text), source_(state.string(sourceName)) {}

Value Compiler::compile() {
    FuncState main(state_, lex_, nullptr, intern("main"), source_);
    fs_ = &main;
    main.declareLocal(intern("this"), 0);
    main.proto()->parameters.push_back(intern("this"));
    main.proto()->paramCount = 1;
    main.proto()->varargs = true;
    main.declareLocal(intern("vargv"), 1);
    next();
    while (lex_.token != TK_EOF) {
        statement();
        if (lex_.previous != '}' && lex_.previous != ';')
            optionalSemicolon();
    }
    main.emit(Op::ReturnNull);
    main.closeLocals(0);
    fs_ = nullptr;
    // The main function is variadic, so calls never take the direct path.
    return main.takeProto();
}

bool Compiler::isEndOfStatement() const {
    int t = lex_.token;
    return lex_.newlineBefore || t == TK_EOF || t == '}' || t == ';' || t == TK_CASE ||
           t == TK_DEFAULT || lex_.previous == '}';
}

void Compiler::optionalSemicolon() {
    if (lex_.token == ';') {
        next();
        return;
    }
    if (!isEndOfStatement())
        error("end of statement expected (; or lf)");
}

void Compiler::statements() {
    while (lex_.token != '}' && lex_.token != TK_DEFAULT && lex_.token != TK_CASE &&
           lex_.token != TK_EOF) {
        statement();
        if (lex_.previous != '}' && lex_.previous != ';')
            optionalSemicolon();
    }
}

void Compiler::statement() {
    NestingGuard guard(*this);
    switch (lex_.token) {
    case ';':
        next();
        break;
    case '{':
        block();
        break;
    case TK_IF:
        ifStatement();
        break;
    case TK_WHILE:
        whileStatement();
        break;
    case TK_DO:
        doWhileStatement();
        break;
    case TK_FOR:
        forStatement();
        break;
    case TK_FOREACH:
        foreachStatement();
        break;
    case TK_SWITCH:
        switchStatement();
        break;
    case TK_BREAK:
    case TK_CONTINUE:
        breakOrContinue(lex_.token == TK_BREAK);
        break;
    case TK_RETURN:
        returnStatement();
        break;
    case TK_LOCAL:
        localStatement();
        break;
    case TK_FUNCTION:
        functionStatement();
        break;
    case TK_TRY:
        tryStatement();
        break;
    case TK_THROW: {
        next();
        Exp e = commaExpression();
        int reg = toAnyRegister(e);
        fs_->emit(Op::Throw, reg);
        break;
    }
    case TK_CONST:
        constStatement();
        break;
    case TK_ENUM:
        enumStatement();
        break;
    case TK_CLASS:
        classStatement();
        break;
    case TK_YIELD:
        yieldStatement();
        break;
    default: {
        discardNext_ = true;
        Exp e = commaExpression();
        discardNext_ = false;
        discharge(e);
        break;
    }
    }
    fs_->setFreeRegister(fs_->activeLocals());
}

void Compiler::block() {
    expect('{');
    int keep = fs_->activeLocals();
    statements();
    expect('}');
    fs_->closeLocals(keep);
}

// A statement whose locals end with it (the body of if, while, for, ...).
void Compiler::loopBody(LoopContext& context) {
    fs_->loops.push_back(std::move(context));
    int keep = fs_->activeLocals();
    statement();
    fs_->closeLocals(keep);
    context = std::move(fs_->loops.back());
    fs_->loops.pop_back();
}

void Compiler::ifStatement() {
    next();
    expect('(');
    Exp condition = commaExpression();
    expect(')');
    int jumpElse = jumpIfFalse(condition);
    int keep = fs_->activeLocals();
    statement();
    if (lex_.token != '}' && lex_.token != TK_ELSE)
        optionalSemicolon();
    fs_->closeLocals(keep);
    if (lex_.token == TK_ELSE) {
        int jumpEnd = fs_->emit(Op::Jmp);
        if (jumpElse >= 0)
            fs_->patchHere(jumpElse);
        next();
        statement();
        fs_->closeLocals(keep);
        fs_->patchHere(jumpEnd);
    } else if (jumpElse >= 0) {
        fs_->patchHere(jumpElse);
    }
}

void Compiler::whileStatement() {
    next();
    expect('(');
    int top = fs_->pc();
    fs_->markTarget();
    Exp condition = commaExpression();
    expect(')');
    int jumpExit = jumpIfFalse(condition);
    fs_->markTarget();
    LoopContext loop{{}, {}, fs_->trapDepth, false};
    loopBody(loop);
    loopBack(top, jumpExit);
    if (jumpExit >= 0)
        fs_->patchHere(jumpExit);
    for (int j : loop.continues)
        fs_->patchJump(j, top);
    for (int j : loop.breaks)
        fs_->patchHere(j);
}

void Compiler::doWhileStatement() {
    next();
    int top = fs_->pc();
    fs_->markTarget();
    LoopContext loop{{}, {}, fs_->trapDepth, false};
    loopBody(loop);
    if (lex_.token == ';')
        next();
    expect(TK_WHILE);
    int conditionPc = fs_->pc();
    fs_->markTarget();
    expect('(');
    Exp condition = commaExpression();
    expect(')');
    int jumpExit = jumpIfFalse(condition);
    fs_->emitJumpBack(top);
    if (jumpExit >= 0)
        fs_->patchHere(jumpExit);
    for (int j : loop.continues)
        fs_->patchJump(j, conditionPc);
    for (int j : loop.breaks)
        fs_->patchHere(j);
}

void Compiler::forStatement() {
    next();
    expect('(');
    int keep = fs_->activeLocals();
    if (lex_.token == TK_LOCAL) {
        localStatement();
    } else if (lex_.token != ';') {
        discardNext_ = true;
        Exp e = commaExpression();
        discardNext_ = false;
        discharge(e);
        fs_->setFreeRegister(fs_->activeLocals());
    }
    expect(';');
    int top = fs_->pc();
    fs_->markTarget();
    int jumpExit = -1;
    if (lex_.token != ';') {
        Exp condition = commaExpression();
        jumpExit = jumpIfFalse(condition);
    }
    expect(';');
    // The increment is compiled here but runs after the body: cut its code and paste it back.
    int incrementStart = fs_->pc();
    if (lex_.token != ')') {
        discardNext_ = true;
        Exp e = commaExpression();
        discardNext_ = false;
        discharge(e);
        fs_->setFreeRegister(fs_->activeLocals());
    }
    expect(')');
    auto increment = fs_->cutCode(incrementStart);
    fs_->markTarget();
    LoopContext loop{{}, {}, fs_->trapDepth, false};
    loopBody(loop);
    int continueTarget = fs_->pc();
    fs_->markTarget();
    fs_->pasteCode(increment);
    loopBack(top, jumpExit);
    fuseLoopStep(continueTarget);
    if (jumpExit >= 0)
        fs_->patchHere(jumpExit);
    for (int j : loop.continues)
        fs_->patchJump(j, continueTarget);
    for (int j : loop.breaks)
        fs_->patchHere(j);
    fs_->closeLocals(keep);
}

void Compiler::foreachStatement() {
    next();
    expect('(');
    Value keyName;
    Value valueName = expectIdentifier();
    if (lex_.token == ',') {
        next();
        keyName = std::move(valueName);
        valueName = expectIdentifier();
    }
    expect(TK_IN);
    int keep = fs_->activeLocals();
    Exp container = commaExpression();
    expect(')');
    int base = toNextRegister(container);
    fs_->declareLocal(intern("@container"), base);
    fs_->emit(Op::LoadNull, base + 1, 0, 0, 1);
    fs_->declareLocal(intern("@iterator"), base + 1);
    fs_->declareLocal(keyName.isNull() ? intern("@key") : keyName, base + 2);
    fs_->declareLocal(valueName, base + 3);
    int top = fs_->pc();
    fs_->markTarget();
    int jumpExit = fs_->emit(Op::Foreach, base);
    LoopContext loop{{}, {}, fs_->trapDepth, false};
    loopBody(loop);
    fs_->emitJumpBack(top);
    fs_->patchHere(jumpExit);
    for (int j : loop.continues)
        fs_->patchJump(j, top);
    for (int j : loop.breaks)
        fs_->patchHere(j);
    fs_->closeLocals(keep);
}

// Each case compares the switch value with its expression in turn; a body that ends without
// break runs on into the next body, skipping that case's comparison.
void Compiler::switchStatement() {
    next();
    expect('(');
    Exp subject = commaExpression();
    expect(')');
    expect('{');
    int keep = fs_->activeLocals();
    int value = toNextRegister(subject);
    fs_->declareLocal(intern("@switch"), value);
    fs_->loops.push_back(LoopContext{{}, {}, fs_->trapDepth, true});
    int nextTest = -1;
    int fallThrough = -1;
    while (lex_.token == TK_CASE) {
        next();
        if (nextTest >= 0)
            fs_->patchHere(nextTest);
        Exp label = expression();
        expect(':');
        int labelReg = toAnyRegister(label);
        freeExp(label);
        nextTest = fs_->emit(Op::JfEq, 0, value, labelReg);
        if (fallThrough >= 0)
            fs_->patchHere(fallThrough);
        int caseLocals = fs_->activeLocals();
        statements();
        fs_->closeLocals(caseLocals);
        fallThrough = fs_->emit(Op::Jmp);
    }
    if (lex_.token == TK_DEFAULT) {
        next();
        expect(':');
        if (nextTest >= 0)
            fs_->patchHere(nextTest);
        nextTest = -1;
        if (fallThrough >= 0)
            fs_->patchHere(fallThrough);
        fallThrough = -1;
        int caseLocals = fs_->activeLocals();
        statements();
        fs_->closeLocals(caseLocals);
    }
    expect('}');
    if (nextTest >= 0)
        fs_->patchHere(nextTest);
    if (fallThrough >= 0)
        fs_->patchHere(fallThrough);
    for (int j : fs_->loops.back().breaks)
        fs_->patchHere(j);
    fs_->loops.pop_back();
    fs_->closeLocals(keep);
}

void Compiler::breakOrContinue(bool isBreak) {
    LoopContext* target = nullptr;
    for (auto it = fs_->loops.rbegin(); it != fs_->loops.rend(); ++it) {
        if (isBreak || !it->isSwitch) {
            target = &*it;
            break;
        }
    }
    if (!target)
        error(isBreak ? "'break' has to be in a loop block"
                      : "'continue' has to be in a loop block");
    int traps = fs_->trapDepth - target->trapDepth;
    if (traps > 0)
        fs_->emit(Op::PopTrap, 0, 0, 0, traps);
    int jump = fs_->emit(Op::Jmp);
    (isBreak ? target->breaks : target->continues).push_back(jump);
    next();
}

void Compiler::returnStatement() {
    next();
    if (isEndOfStatement()) {
        fs_->emit(Op::ReturnNull);
        return;
    }
    Exp e = commaExpression();
    int reg = toAnyRegister(e);
    // A call whose result is returned directly reuses the frame, unless a trap of this
    // function must stay active during the call.
    if (fs_->trapDepth == 0 && e.kind == Exp::Temp && fs_->lastInstructionIsFinal()) {
        Instr& last = fs_->at(fs_->pc() - 1);
        if (last.op == Op::Call && last.a == reg && last.b == reg)
            last.op = Op::TailCall;
    }
    fs_->emit(Op::Return, reg);
}

void Compiler::localStatement() {
    next();
    if (lex_.token == TK_FUNCTION) {
        next();
        Value name = expectIdentifier();
        int reg = fs_->allocRegister();
        compileFunction(name, false, reg);
        fs_->declareLocal(name, reg);
        return;
    }
    for (;;) {
        Value name = expectIdentifier();
        int reg;
        if (lex_.token == '=') {
            next();
            Exp value = expression();
            reg = toNextRegister(value);
        } else {
            reg = fs_->allocRegister();
            fs_->emit(Op::LoadNull, reg, 0, 0, 1);
        }
        fs_->declareLocal(name, reg);
        if (lex_.token != ',')
            break;
        next();
    }
}

// function name(...) / function a::b::name(...): a new slot in this (or in the named table).
void Compiler::functionStatement() {
    next();
    Value name = expectIdentifier();
    int object = 0;
    while (lex_.token == TK_DOUBLECOLON) {
        next();
        Value member = expectIdentifier();
        int reg = fs_->allocRegister();
        if (object == 0)
            fs_->emit(Op::GetThis, reg, 0, 0, stringConstant(name));
        else
            fs_->emit(Op::GetK, reg, object, 0, stringConstant(name));
        if (object != 0) {
            fs_->emit(Op::Move, object, reg);
            fs_->freeRegister(reg);
        } else {
            object = reg;
        }
        name = std::move(member);
    }
    int value = fs_->allocRegister();
    compileFunction(name, false, value);
    fs_->emit(Op::NewSlotK, object, 0, value, stringConstant(name));
}

void Compiler::tryStatement() {
    next();
    int keep = fs_->activeLocals();
    int trap = fs_->emit(Op::PushTrap, keep);
    ++fs_->trapDepth;
    statement();
    fs_->closeLocals(keep);
    --fs_->trapDepth;
    fs_->emit(Op::PopTrap, 0, 0, 0, 1);
    int jumpEnd = fs_->emit(Op::Jmp);
    fs_->patchHere(trap);
    expect(TK_CATCH);
    expect('(');
    Value name = expectIdentifier();
    expect(')');
    fs_->declareLocal(name, fs_->allocRegister());
    statement();
    fs_->closeLocals(keep);
    fs_->patchHere(jumpEnd);
}

Value Compiler::scalarConstant() {
    bool negative = false;
    if (lex_.token == '-') {
        negative = true;
        next();
    }
    Value value;
    switch (lex_.token) {
    case TK_INTEGER:
        value = Value::integer(
            negative ? static_cast<std::int32_t>(0u - static_cast<std::uint32_t>(lex_.intValue))
                     : lex_.intValue);
        break;
    case TK_FLOAT:
        value = Value::real(negative ? -lex_.floatValue : lex_.floatValue);
        break;
    case TK_STRING:
        if (negative)
            error("scalar expected : integer, float or string");
        value = intern(lex_.text);
        break;
    case TK_TRUE:
    case TK_FALSE:
        if (negative)
            error("scalar expected : integer, float or string");
        value = Value::boolean(lex_.token == TK_TRUE);
        break;
    default:
        error("scalar expected : integer, float or string");
    }
    next();
    return value;
}

void Compiler::constStatement() {
    next();
    Value name = expectIdentifier();
    expect('=');
    Value value = scalarConstant();
    state_.consts.table()->set(name, value);
}

void Compiler::enumStatement() {
    next();
    Value name = expectIdentifier();
    expect('{');
    Value members = state_.newTable();
    std::int32_t counter = 0;
    while (lex_.token != '}') {
        Value member = expectIdentifier();
        Value value;
        if (lex_.token == '=') {
            next();
            value = scalarConstant();
        } else {
            value = Value::integer(counter++);
        }
        members.table()->set(member, value);
        if (lex_.token == ',')
            next();
    }
    next();
    state_.consts.table()->set(name, members);
}

void Compiler::yieldStatement() {
    next();
    fs_->proto()->generator = true;
    if (isEndOfStatement()) {
        fs_->emit(Op::Yield, kNoRegister);
        return;
    }
    Exp e = commaExpression();
    fs_->emit(Op::Yield, toAnyRegister(e));
}

} // namespace squirrel::detail
