// Class declarations: the class statement, class expressions, members and attributes.
#include "compiler.h"

namespace squirrel::detail {

// class Name { ... } / class a.b.Name { ... }: a new slot in this or in the named table.
void Compiler::classStatement() {
    next();
    Value name = expectIdentifier();
    int object = -1;
    while (lex_.token == '.' || lex_.token == TK_DOUBLECOLON) {
        next();
        Value member = expectIdentifier();
        Exp container =
            object < 0 ? identifier(name) : Exp::make(Exp::FieldK, object, stringConstant(name));
        object = toNextRegister(container);
        name = std::move(member);
    }
    if (object < 0) {
        if (fs_->findLocal(name.str()) >= 0)
            error("cannot create a class in a local with the syntax(class <local>)");
        object = 0;
    }
    int value = fs_->allocRegister();
    classBody(value);
    fs_->emit(Op::NewSlotK, object, 0, value, stringConstant(name));
}

int Compiler::attributeTable() {
    next();
    int table = fs_->allocRegister();
    int newTable = fs_->emit(Op::NewTable, table);
    fs_->at(newTable).d = tableSlots(table, TK_ATTR_CLOSE);
    return table;
}

void Compiler::classBody(int reg) {
    int base = kNoRegister;
    int attributes = kNoRegister;
    if (lex_.token == TK_EXTENDS) {
        next();
        Exp e = expression();
        base = toNextRegister(e);
    }
    if (lex_.token == TK_ATTR_OPEN)
        attributes = attributeTable();
    expect('{');
    fs_->emit(Op::NewClass, reg, base, attributes);
    fs_->setFreeRegister(reg + 1);
    while (lex_.token != '}') {
        int memberAttributes = kNoRegister;
        if (lex_.token == TK_ATTR_OPEN)
            memberAttributes = attributeTable();
        bool isStatic = false;
        if (lex_.token == TK_STATIC) {
            isStatic = true;
            next();
        }
        int key = fs_->allocRegister();
        int value;
        switch (lex_.token) {
        case TK_FUNCTION:
        case TK_CONSTRUCTOR: {
            bool constructor = lex_.token == TK_CONSTRUCTOR;
            next();
            Value name = constructor ? intern("constructor") : expectIdentifier();
            fs_->emit(Op::LoadConst, key, 0, 0, stringConstant(name));
            value = fs_->allocRegister();
            compileFunction(name, false, value);
            break;
        }
        case '[': {
            next();
            assignLocal(key, commaExpression());
            expect(']');
            expect('=');
            value = fs_->allocRegister();
            assignLocal(value, expression());
            break;
        }
        case TK_IDENTIFIER: {
            Value name = expectIdentifier();
            fs_->emit(Op::LoadConst, key, 0, 0, stringConstant(name));
            expect('=');
            value = fs_->allocRegister();
            assignLocal(value, expression());
            break;
        }
        default:
            error("expected a member declaration or '}'");
        }
        fs_->emit(Op::NewMember, reg, key, value, memberAttributes | (isStatic ? 0x100 : 0));
        fs_->setFreeRegister(reg + 1);
        if (lex_.token == ';' || lex_.token == ',')
            next();
    }
    next();
}

} // namespace squirrel::detail
