// Single-pass compiler from script text to function prototypes.
#pragma once

#include "func_state.h"
#include "lexer.h"

#include <string_view>

namespace squirrel::detail {

class State;

// Compiles a whole script into the prototype of its main function (variadic, `this` first).
// Throws CompileError.
Value compileScript(State& state, std::string_view text, std::string_view sourceName);

// Where an expression's value is, before it is placed in a register.
struct Exp {
    enum Kind {
        Void,
        Null,
        True,
        False,
        Int,       // ival
        Float,     // fval
        Const,     // constant index a
        Local,     // named local in register a
        Temp,      // temporary register a
        Outer,     // free variable a
        Field,     // register a indexed by register b
        FieldK,    // register a indexed by constant b
        ThisField, // identifier resolved at run time: this (then root) indexed by constant a
        Compare,   // comparison `op` of register a with register b (or constant b), not yet
                   // evaluated
        Base,      // `base` in temporary register a: members fetched from it keep `this`
    };
    Kind kind = Void;
    int a = 0;
    int b = 0;
    std::int32_t ival = 0;
    float fval = 0.0f;
    Op op = Op::Eq;
    // A FieldK of the key "parent": read, it is the 2.x `.parent` (a table's delegate, a class's
    // base); assigned, called or deleted it is an ordinary slot.
    bool parent = false;
    // A Compare whose right operand is the constant b.
    bool constantRight = false;

    static Exp make(Kind kind, int a = 0, int b = 0) {
        Exp e;
        e.kind = kind;
        e.a = a;
        e.b = b;
        return e;
    }
    bool inRegister() const { return kind == Local || kind == Temp; }
    bool isConstant() const { return kind >= Null && kind <= Const; }
};

class Compiler {
public:
    Compiler(State& state, std::string_view text, std::string_view sourceName);
    Value compile();

private:
    // statements
    void statements();
    void statement();
    void optionalSemicolon();
    bool isEndOfStatement() const;
    void block();
    void ifStatement();
    void whileStatement();
    void doWhileStatement();
    void forStatement();
    void foreachStatement();
    void switchStatement();
    void breakOrContinue(bool isBreak);
    void returnStatement();
    void localStatement();
    void functionStatement();
    void tryStatement();
    void constStatement();
    void enumStatement();
    void classStatement();
    void yieldStatement();
    void loopBody(LoopContext& context);
    Value scalarConstant();

    // expressions
    Exp commaExpression();
    Exp expression();
    Exp logicalOr();
    Exp logicalAnd();
    Exp bitOr();
    Exp bitXor();
    Exp bitAnd();
    Exp equality();
    Exp comparison();
    Exp shift();
    Exp additive();
    Exp multiplicative();
    Exp unary();
    Exp postfix();
    Exp primary();
    Exp identifier(const Value& name);
    Exp tableLiteral();
    // Slots of a table literal or attribute list up to the terminator, into register table;
    // returns how many.
    int tableSlots(int table, int terminator);
    Exp arrayLiteral();
    // `class [extends base] [</ attributes />] { members }` after the keyword, into register reg.
    void classBody(int reg);
    // An attribute list `</ ... />` (the current token) in a new register.
    int attributeTable();
    Exp functionExpression(const Value& name, bool lambda);
    Exp call(Exp function);
    Exp rawCall();
    Exp assignment(Exp target, int op, bool discard);
    Exp increment(Exp target, int delta, bool prefix);
    void dropPostfixCopy(Exp& e);
    Exp binaryArith(Op op, Exp left, Exp right);
    Exp compareOp(Op op, Exp left, Exp right);
    void compileFunction(const Value& name, bool lambda, int destination);

    // code generation helpers
    void discharge(Exp& e);
    void toRegister(Exp& e, int reg);
    int toNextRegister(Exp& e);
    int toAnyRegister(Exp& e);
    void freeExp(const Exp& e);
    void freeRegisters(int r1, int r2);
    // Emits a jump taken when e is false; returns its pc or -1 when e is always true.
    int jumpIfFalse(Exp& e);
    // Ends a loop whose condition was compiled from conditionPc up to its exit jump jumpExit
    // (-1: none) and whose body follows that jump.
    void loopBack(int conditionPc, int jumpExit);
    // A for loop whose step (at stepPc) adds a small constant to a register and whose jump back
    // tests that register: the two become one StepJf instruction.
    void fuseLoopStep(int stepPc);
    Exp keyOperand(Exp& object, bool allowConstant);
    Exp fieldResult(int lowestTemp, const Exp& value);
    Exp assignLocal(int reg, Exp value);
    int stringConstant(const Value& s);
    Value intern(std::string_view text);

    // tokens
    void next() {
        lex_.next();
        fs_->line = lex_.previousLine;
    }
    void expect(int token);
    Value expectIdentifier();
    [[noreturn]] void error(const std::string& message) { lex_.error(message); }

    // Counts nested expressions and statements, so that absurd nesting is an error instead of
    // exhausting the C++ stack.
    struct NestingGuard {
        explicit NestingGuard(Compiler& compiler);
        ~NestingGuard() { --compiler.depth_; }
        Compiler& compiler;
    };

    State& state_;
    Lexer lex_;
    int depth_ = 0;
    Value source_;
    FuncState* fs_ = nullptr;
    bool discardNext_ = false; // the next expression's value is not used
};

} // namespace squirrel::detail
