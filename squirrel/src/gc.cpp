// Freeing of objects and the collector of reference cycles.
#include "array.h"
#include "class.h"
#include "function.h"
#include "generator.h"
#include "machine.h"
#include "object.h"
#include "table.h"
#include "thread.h"
#include "weak_ref.h"

#include <vector>

namespace squirrel::detail {

namespace {

void freeObject(RefCounted* object) {
    if (object->flags & kHasWeakRef)
        clearWeakRef(object);
    switch (object->tag) {
    case Tag::String: {
        String* s = static_cast<String*>(object);
        s->owner->destroy(s);
        break;
    }
    case Tag::FunctionProto:
        delete static_cast<FunctionProto*>(object);
        break;
    case Tag::Table:
        delete static_cast<Table*>(object);
        break;
    case Tag::Array:
        delete static_cast<Array*>(object);
        break;
    case Tag::Closure:
        delete static_cast<Closure*>(object);
        break;
    case Tag::NativeClosure:
        delete static_cast<NativeClosure*>(object);
        break;
    case Tag::WeakRef:
        freeWeakRef(static_cast<WeakRef*>(object));
        break;
    case Tag::Class:
        delete static_cast<Class*>(object);
        break;
    case Tag::Instance:
        Instance::destroy(static_cast<Instance*>(object));
        break;
    case Tag::Generator:
        delete static_cast<Generator*>(object);
        break;
    case Tag::Thread:
        delete static_cast<Thread*>(object);
        break;
    default:
        break;
    }
}

// Objects whose count reached zero while another object was being freed wait in the list of the
// outermost destroyObject call, so freeing a long chain of objects runs in a loop instead of
// recursing. Only a pointer is thread-local: a thread-local list would die with the thread's
// other thread-local objects, before the static objects whose destructors may still free script
// values at process exit.
thread_local std::vector<RefCounted*>* pendingFrees = nullptr;

} // namespace

void destroyObject(RefCounted* object) {
    if (pendingFrees) {
        pendingFrees->push_back(object);
        return;
    }
    std::vector<RefCounted*> pending;
    pendingFrees = &pending;
    freeObject(object);
    while (!pending.empty()) {
        RefCounted* next = pending.back();
        pending.pop_back();
        freeObject(next);
    }
    pendingFrees = nullptr;
}

void traverseContainer(GCObject* object, ValueVisitor visit, void* context) {
    switch (object->tag) {
    case Tag::Table: {
        Table* t = static_cast<Table*>(object);
        t->traverse(visit, context);
        visit(t->delegate, context);
        break;
    }
    case Tag::Array:
        for (Value& v : static_cast<Array*>(object)->items)
            visit(v, context);
        break;
    case Tag::Closure: {
        Closure* c = static_cast<Closure*>(object);
        visit(c->env, context);
        visit(c->root, context);
        visit(c->base, context);
        for (Value& v : c->outers)
            visit(v, context);
        for (Value& v : c->defaults)
            visit(v, context);
        break;
    }
    case Tag::NativeClosure: {
        NativeClosure* c = static_cast<NativeClosure*>(object);
        visit(c->env, context);
        for (Value& v : c->outers)
            visit(v, context);
        break;
    }
    case Tag::Class: {
        Class* c = static_cast<Class*>(object);
        visit(c->base, context);
        visit(c->attributes, context);
        for (ClassMember& m : c->members) {
            visit(m.key, context);
            visit(m.value, context);
            visit(m.attributes, context);
        }
        for (Value& v : c->metamethods)
            visit(v, context);
        break;
    }
    case Tag::Instance: {
        Instance* instance = static_cast<Instance*>(object);
        visit(instance->classValue, context);
        for (std::uint32_t i = 0; i < instance->fieldCount; ++i)
            visit(instance->fields()[i], context);
        break;
    }
    case Tag::Generator: {
        Generator* g = static_cast<Generator*>(object);
        visit(g->closure, context);
        for (Value& v : g->slots)
            visit(v, context);
        break;
    }
    case Tag::Thread: {
        Thread* t = static_cast<Thread*>(object);
        visit(t->function, context);
        t->machine->traverse(visit, context);
        break;
    }
    default:
        break;
    }
}

void clearContainer(GCObject* object) {
    switch (object->tag) {
    case Tag::Table: {
        Table* t = static_cast<Table*>(object);
        t->clear();
        t->delegate.setNull();
        break;
    }
    case Tag::Array: {
        std::vector<Value> items;
        items.swap(static_cast<Array*>(object)->items);
        break;
    }
    case Tag::Closure: {
        Closure* c = static_cast<Closure*>(object);
        c->env.setNull();
        c->root.setNull();
        c->base.setNull();
        std::vector<Value> outers, defaults;
        outers.swap(c->outers);
        defaults.swap(c->defaults);
        break;
    }
    case Tag::NativeClosure: {
        NativeClosure* c = static_cast<NativeClosure*>(object);
        c->env.setNull();
        std::vector<Value> outers;
        outers.swap(c->outers);
        break;
    }
    case Tag::Class: {
        // The class stays valid (an empty member list) while the rest of the garbage goes.
        Class* c = static_cast<Class*>(object);
        c->base.setNull();
        c->attributes.setNull();
        c->index.clear();
        std::vector<ClassMember> members;
        members.swap(c->members);
        for (Value& v : c->metamethods)
            v.setNull();
        break;
    }
    case Tag::Instance: {
        // The class is kept: instances always have one. Fields are dropped.
        Instance* instance = static_cast<Instance*>(object);
        for (std::uint32_t i = 0; i < instance->fieldCount; ++i)
            instance->fields()[i].setNull();
        break;
    }
    case Tag::Generator: {
        Generator* g = static_cast<Generator*>(object);
        g->status = Generator::Status::Dead;
        std::vector<Value> slots;
        slots.swap(g->slots);
        break;
    }
    case Tag::Thread: {
        Thread* t = static_cast<Thread*>(object);
        t->function.setNull();
        t->machine->releaseAll();
        break;
    }
    default:
        break;
    }
}

std::vector<Value> findUnreachable(GCObject* listHead) {
    // Trial deletion: subtract the references containers hold on each other. A container whose
    // count stays above zero is referenced from outside the containers (a stack, native code, a
    // handle) and is alive; so is everything it reaches. The rest is garbage held by cycles.
    for (GCObject* o = listHead; o; o = o->gcNext)
        o->gcRefs = static_cast<std::int32_t>(o->refCount);
    for (GCObject* o = listHead; o; o = o->gcNext) {
        traverseContainer(
            o,
            [](Value& v, void*) {
                if (isContainer(v.tag))
                    --v.as<GCObject>()->gcRefs;
            },
            nullptr);
    }
    std::vector<GCObject*> work;
    for (GCObject* o = listHead; o; o = o->gcNext) {
        if (o->gcRefs > 0)
            work.push_back(o);
    }
    // Marked objects get gcRefs = -1 (alive); unmarked ones keep 0.
    for (GCObject* o : work)
        o->gcRefs = -1;
    while (!work.empty()) {
        GCObject* o = work.back();
        work.pop_back();
        traverseContainer(
            o,
            [](Value& v, void* context) {
                if (!isContainer(v.tag))
                    return;
                GCObject* child = v.as<GCObject>();
                if (child->gcRefs != -1) {
                    child->gcRefs = -1;
                    static_cast<std::vector<GCObject*>*>(context)->push_back(child);
                }
            },
            &work);
    }
    std::vector<Value> garbage;
    for (GCObject* o = listHead; o; o = o->gcNext) {
        if (o->gcRefs != -1)
            garbage.emplace_back(o);
    }
    return garbage;
}

int collectCycles(GCObject* listHead) {
    // The returned references keep the garbage valid while its contents are dropped; releasing
    // them afterwards frees it.
    std::vector<Value> garbage = findUnreachable(listHead);
    for (Value& v : garbage)
        clearContainer(v.as<GCObject>());
    return static_cast<int>(garbage.size());
}

} // namespace squirrel::detail
