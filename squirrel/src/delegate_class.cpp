// Default delegates of classes and instances.
#include "library.h"
#include "machine.h"

namespace squirrel::detail {

namespace {

Class* classOf(const Value& v) {
    return v.as<Class>();
}

Value classInstance(Machine& m, Value* args, int) {
    return Value(Instance::create(m.state, classOf(args[0])));
}

Value classGetAttributes(Machine& m, Value* args, int) {
    Class* cls = classOf(args[0]);
    if (args[1].isNull())
        return cls->attributes;
    const ClassMember* member = cls->find(args[1]);
    if (!member)
        m.raiseError("wrong index");
    return member->attributes;
}

Value classSetAttributes(Machine& m, Value* args, int) {
    Class* cls = classOf(args[0]);
    Value previous;
    if (args[1].isNull()) {
        previous = std::move(cls->attributes);
        cls->attributes = args[2];
        return previous;
    }
    ClassMember* member = cls->find(args[1]);
    if (!member)
        m.raiseError("wrong index");
    previous = std::move(member->attributes);
    member->attributes = args[2];
    return previous;
}

Value classRawIn(Machine&, Value* args, int) {
    return Value::boolean(classOf(args[0])->find(args[1]) != nullptr);
}

Value classRawGet(Machine& m, Value* args, int) {
    const ClassMember* member = classOf(args[0])->find(args[1]);
    if (!member)
        m.raiseError("the index doesn't exist");
    return slotValue(member->value);
}

Value classRawSet(Machine& m, Value* args, int) {
    m.addClassMember(args[0], args[1], args[2], Value(), false, false);
    return args[0];
}

Value classNewMember(Machine& m, Value* args, int count, bool declared) {
    Value attributes = count > 3 ? args[3] : Value();
    bool isStatic = count > 4 && args[4].truthy();
    m.addClassMember(args[0], args[1], args[2], attributes, isStatic, declared);
    return Value();
}

Value classNewMemberWithMeta(Machine& m, Value* args, int count) {
    return classNewMember(m, args, count, true);
}

Value classRawNewMember(Machine& m, Value* args, int count) {
    return classNewMember(m, args, count, false);
}

Value classGetBase(Machine&, Value* args, int) {
    return classOf(args[0])->base;
}

Value instanceGetClass(Machine&, Value* args, int) {
    return args[0].as<Instance>()->classValue;
}

Value instanceRawIn(Machine&, Value* args, int) {
    return Value::boolean(args[0].as<Instance>()->cls()->find(args[1]) != nullptr);
}

Value instanceRawGet(Machine& m, Value* args, int) {
    Instance* instance = args[0].as<Instance>();
    const ClassMember* member = instance->cls()->find(args[1]);
    if (!member)
        m.raiseError("the index doesn't exist");
    return slotValue(member->isField() ? instance->fields()[member->field] : member->value);
}

Value instanceRawSet(Machine& m, Value* args, int) {
    Instance* instance = args[0].as<Instance>();
    const ClassMember* member = instance->cls()->find(args[1]);
    if (!member || !member->isField())
        m.raiseError("the index doesn't exist");
    instance->fields()[member->field] = args[2];
    return args[0];
}

} // namespace

void createClassDelegates(State& s) {
    s.classDelegate = s.newTable();
    Table* c = s.classDelegate.table();
    s.registerNative(c, "instance", classInstance, 1, "y");
    s.registerNative(c, "getattributes", classGetAttributes, 2, "y");
    s.registerNative(c, "setattributes", classSetAttributes, 3, "y");
    s.registerNative(c, "rawin", classRawIn, 2, "y");
    s.registerNative(c, "rawget", classRawGet, 2, "y");
    s.registerNative(c, "rawset", classRawSet, 3, "y");
    s.registerNative(c, "newmember", classNewMemberWithMeta, -3, "y");
    s.registerNative(c, "rawnewmember", classRawNewMember, -3, "y");
    s.registerNative(c, "getbase", classGetBase, 1, "y");
    s.registerNative(c, "weakref", delegateWeakRef, 1, "y");
    s.registerNative(c, "tostring", delegateToString, 1, "y");

    s.instanceDelegate = s.newTable();
    Table* i = s.instanceDelegate.table();
    s.registerNative(i, "getclass", instanceGetClass, 1, "x");
    s.registerNative(i, "rawin", instanceRawIn, 2, "x");
    s.registerNative(i, "rawget", instanceRawGet, 2, "x");
    s.registerNative(i, "rawset", instanceRawSet, 3, "x");
    s.registerNative(i, "weakref", delegateWeakRef, 1, "x");
    s.registerNative(i, "tostring", delegateToString, 1, "x");
}

} // namespace squirrel::detail
