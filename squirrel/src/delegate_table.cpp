// Default delegate of tables.
#include "library.h"
#include "machine.h"

namespace squirrel::detail {

namespace {

Value tableLen(Machine&, Value* args, int) {
    return Value::integer(static_cast<std::int32_t>(args[0].table()->size()));
}

Value tableRawGet(Machine& m, Value* args, int) {
    Value* v = args[0].table()->find(args[1]);
    if (!v)
        m.raiseError("the index doesn't exist");
    return slotValue(*v);
}

Value tableRawSet(Machine& m, Value* args, int) {
    if (args[1].isNull())
        m.raiseError("null cannot be used as index");
    args[0].table()->set(args[1], args[2]);
    return args[0];
}

Value tableRawDelete(Machine&, Value* args, int) {
    Value removed;
    args[0].table()->remove(args[1], &removed);
    return removed;
}

Value tableRawIn(Machine&, Value* args, int) {
    return Value::boolean(args[0].table()->find(args[1]) != nullptr);
}

Value tableClear(Machine&, Value* args, int) {
    args[0].table()->clear();
    return args[0];
}

Value tableSetDelegate(Machine& m, Value* args, int) {
    // A delegate chain that leads back to the table would make every lookup loop forever.
    for (const Value* d = &args[1]; d->tag == Tag::Table; d = &d->table()->delegate) {
        if (d->ref == args[0].ref)
            m.raiseError("invalid delegate: the chain leads back to the table");
    }
    args[0].table()->delegate = args[1];
    return args[0];
}

Value tableGetDelegate(Machine&, Value* args, int) {
    return args[0].table()->delegate;
}

Value tableFilter(Machine& m, Value* args, int) {
    Value self = args[0];
    Value fn = args[1];
    Value result = m.state.newTable();
    Table* source = self.table();
    for (std::uint32_t i = source->nextLive(0); i < source->end(); i = source->nextLive(i + 1)) {
        Value pair[2] = {source->key(i), slotValue(source->value(i))};
        if (m.call(fn, self, pair, 2).truthy())
            result.table()->set(pair[0], pair[1]);
    }
    return result;
}

Value collect(Machine& m, const Value& self, bool keys) {
    Table* t = self.table();
    Value result = m.state.newArray();
    auto& items = result.array()->items;
    items.reserve(t->size());
    for (std::uint32_t i = t->nextLive(0); i < t->end(); i = t->nextLive(i + 1))
        items.push_back(keys ? t->key(i) : slotValue(t->value(i)));
    return result;
}

Value tableKeys(Machine& m, Value* args, int) {
    return collect(m, args[0], true);
}
Value tableValues(Machine& m, Value* args, int) {
    return collect(m, args[0], false);
}

} // namespace

void createTableDelegate(State& s) {
    s.tableDelegate = s.newTable();
    Table* t = s.tableDelegate.table();
    s.registerNative(t, "len", tableLen, 1, "t");
    s.registerNative(t, "rawget", tableRawGet, 2, "t");
    s.registerNative(t, "rawset", tableRawSet, 3, "t");
    s.registerNative(t, "rawdelete", tableRawDelete, 2, "t");
    s.registerNative(t, "rawin", tableRawIn, 2, "t");
    s.registerNative(t, "tostring", delegateToString, 1, "t");
    s.registerNative(t, "weakref", delegateWeakRef, 1, "t");
    s.registerNative(t, "clear", tableClear, 1, "t");
    s.registerNative(t, "setdelegate", tableSetDelegate, 2, "tt|o");
    s.registerNative(t, "getdelegate", tableGetDelegate, 1, "t");
    s.registerNative(t, "filter", tableFilter, 2, "tc");
    s.registerNative(t, "keys", tableKeys, 1, "t");
    s.registerNative(t, "values", tableValues, 1, "t");
}

} // namespace squirrel::detail
