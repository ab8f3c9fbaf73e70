// Default delegate of arrays.
#include "library.h"
#include "machine.h"
#include "size_limits.h"

#include <algorithm>
#include <cstdlib>
#include <functional>

namespace squirrel::detail {

namespace {

std::vector<Value>& itemsOf(const Value& v) {
    return v.array()->items;
}

Value arrayLen(Machine&, Value* args, int) {
    return Value::integer(static_cast<std::int32_t>(itemsOf(args[0]).size()));
}

Value arrayAppend(Machine&, Value* args, int) {
    checkLength(itemsOf(args[0]).size() + 1);
    itemsOf(args[0]).push_back(args[1]);
    return args[0];
}

Value arrayExtend(Machine&, Value* args, int) {
    std::vector<Value> extra = itemsOf(args[1]);
    auto& items = itemsOf(args[0]);
    checkLength(items.size() + extra.size());
    items.insert(items.end(), extra.begin(), extra.end());
    return args[0];
}

Value arrayPop(Machine& m, Value* args, int) {
    auto& items = itemsOf(args[0]);
    if (items.empty())
        m.raiseError("empty array");
    Value last = std::move(items.back());
    items.pop_back();
    return slotValue(last);
}

Value arrayTop(Machine& m, Value* args, int) {
    auto& items = itemsOf(args[0]);
    if (items.empty())
        m.raiseError("top() on a empty array");
    return slotValue(items.back());
}

Value arrayInsert(Machine& m, Value* args, int) {
    auto& items = itemsOf(args[0]);
    std::int32_t index = args[1].toInt();
    if (index < 0 || static_cast<std::size_t>(index) > items.size())
        m.raiseError("index out of range");
    checkLength(items.size() + 1);
    items.insert(items.begin() + index, args[2]);
    return args[0];
}

Value arrayRemove(Machine& m, Value* args, int) {
    auto& items = itemsOf(args[0]);
    std::int32_t index = args[1].toInt();
    if (index < 0 || static_cast<std::size_t>(index) >= items.size())
        m.raiseError("idx out of range");
    Value removed = std::move(items[static_cast<std::size_t>(index)]);
    items.erase(items.begin() + index);
    return slotValue(removed);
}

Value arrayResize(Machine& m, Value* args, int count) {
    std::int32_t size = args[1].toInt();
    if (size < 0)
        m.raiseError("negative size");
    if (static_cast<std::size_t>(size) > itemsOf(args[0]).capacity())
        checkElements(static_cast<std::size_t>(size), sizeof(Value));
    itemsOf(args[0]).resize(static_cast<std::size_t>(size), count > 2 ? args[2] : Value());
    return args[0];
}

// Stable merge sort of positions in the array, so that sorting needs no copy of the items: only
// the left half of each merge is set aside.
void mergeSort(std::vector<std::uint32_t>& order, std::vector<std::uint32_t>& scratch,
               std::size_t from, std::size_t to,
               const std::function<int(std::uint32_t, std::uint32_t)>& compare) {
    if (to - from < 2)
        return;
    std::size_t middle = from + (to - from) / 2;
    mergeSort(order, scratch, from, middle, compare);
    mergeSort(order, scratch, middle, to, compare);
    std::copy(order.begin() + static_cast<std::ptrdiff_t>(from),
              order.begin() + static_cast<std::ptrdiff_t>(middle), scratch.begin());
    std::size_t left = 0, leftEnd = middle - from, right = middle, out = from;
    while (left < leftEnd && right < to) {
        if (compare(order[right], scratch[left]) < 0)
            order[out++] = order[right++];
        else
            order[out++] = scratch[left++];
    }
    while (left < leftEnd)
        order[out++] = scratch[left++];
}

// Moves the items into the sorted order: position k receives the item that was at order[k].
// Each cycle of the permutation is followed once; a finished position is marked by order[k] == k.
void permute(std::vector<Value>& items, std::vector<std::uint32_t>& order) {
    for (std::uint32_t start = 0; start < order.size(); ++start) {
        if (order[start] == start)
            continue;
        Value carried = std::move(items[start]);
        std::uint32_t position = start;
        while (order[position] != start) {
            std::uint32_t source = order[position];
            items[position] = std::move(items[source]);
            order[position] = position;
            position = source;
        }
        items[position] = std::move(carried);
        order[position] = position;
    }
}

// The comparison may run script code that raises: the array only changes once sorting finished.
// A comparison that resizes the array is an error.
Value arraySort(Machine& m, Value* args, int count) {
    Value self = args[0];
    Value fn = count > 1 ? args[1] : Value();
    std::vector<Value>& items = itemsOf(self);
    const std::size_t size = items.size();
    std::vector<std::uint32_t> order(size);
    for (std::uint32_t i = 0; i < size; ++i)
        order[i] = i;
    std::vector<std::uint32_t> scratch((size + 1) / 2);
    auto item = [&m, &items, size](std::uint32_t index) {
        if (items.size() != size)
            m.raiseError("the array was resized while sorting");
        return slotValue(items[index]);
    };
    std::function<int(std::uint32_t, std::uint32_t)> compare;
    if (fn.isNull()) {
        compare = [&m, &item](std::uint32_t a, std::uint32_t b) {
            return m.compare(item(a), item(b));
        };
    } else {
        compare = [&m, &fn, &item](std::uint32_t a, std::uint32_t b) {
            Value pair[2] = {item(a), item(b)};
            Value result = m.call(fn, m.state.root, pair, 2);
            if (result.tag == Tag::Bool)
                return result.b ? 1 : 0;
            if (!result.isNumber())
                m.raiseError("numeric value expected as return value of the compare function");
            return result.toInt();
        };
    }
    mergeSort(order, scratch, 0, size, compare);
    if (items.size() != size)
        m.raiseError("the array was resized while sorting");
    permute(items, order);
    return self;
}

Value arrayReverse(Machine&, Value* args, int) {
    auto& items = itemsOf(args[0]);
    std::reverse(items.begin(), items.end());
    return args[0];
}

Value arraySlice(Machine& m, Value* args, int count) {
    auto& items = itemsOf(args[0]);
    SliceRange range = sliceRange(m, args, count, static_cast<std::int32_t>(items.size()));
    Value result = m.state.newArray();
    itemsOf(result).assign(items.begin() + range.start, items.begin() + range.end);
    return result;
}

Value arrayClear(Machine&, Value* args, int) {
    std::vector<Value> old;
    old.swap(itemsOf(args[0]));
    return args[0];
}

// How many of (value, index, array) a mapping function takes.
int mapArgumentCount(const Value& fn) {
    if (fn.tag == Tag::Closure) {
        FunctionProto* proto = fn.closure()->proto;
        return proto->varargs ? 3 : std::min(3, proto->paramCount - 1);
    }
    std::int32_t check = fn.native()->paramCheck;
    return check == 0 ? 3 : std::min(3, std::abs(check) - 1);
}

// Calls fn for every element, with this = the array, and stores the results in target.
void mapInto(Machine& m, const Value& self, const Value& fn, std::vector<Value>& target) {
    int arguments = std::max(1, mapArgumentCount(fn));
    for (std::size_t i = 0; i < itemsOf(self).size(); ++i) {
        Value call[3] = {slotValue(itemsOf(self)[i]), Value::integer(static_cast<std::int32_t>(i)),
                         self};
        Value result = m.call(fn, self, call, arguments);
        if (i < target.size())
            target[i] = std::move(result);
    }
}

Value arrayMap(Machine& m, Value* args, int) {
    Value self = args[0];
    Value result = m.state.newArray(itemsOf(self).size());
    mapInto(m, self, args[1], itemsOf(result));
    return result;
}

Value arrayApply(Machine& m, Value* args, int) {
    Value self = args[0];
    mapInto(m, self, args[1], itemsOf(self));
    return self;
}

Value arrayReduce(Machine& m, Value* args, int count) {
    Value self = args[0];
    Value fn = args[1];
    std::size_t next = 0;
    Value accumulated;
    if (count > 2) {
        accumulated = args[2];
    } else {
        if (itemsOf(self).empty())
            return Value();
        accumulated = slotValue(itemsOf(self)[0]);
        next = 1;
    }
    for (; next < itemsOf(self).size(); ++next) {
        Value pair[2] = {accumulated, slotValue(itemsOf(self)[next])};
        accumulated = m.call(fn, self, pair, 2);
    }
    return accumulated;
}

Value arrayFilter(Machine& m, Value* args, int) {
    Value self = args[0];
    Value fn = args[1];
    Value result = m.state.newArray();
    for (std::size_t i = 0; i < itemsOf(self).size(); ++i) {
        Value pair[2] = {Value::integer(static_cast<std::int32_t>(i)), slotValue(itemsOf(self)[i])};
        if (m.call(fn, self, pair, 2).truthy())
            itemsOf(result).push_back(pair[1]);
    }
    return result;
}

Value arrayFind(Machine& m, Value* args, int) {
    auto& items = itemsOf(args[0]);
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (m.equals(slotValue(items[i]), args[1]))
            return Value::integer(static_cast<std::int32_t>(i));
    }
    return Value();
}

} // namespace

void createArrayDelegate(State& s) {
    s.arrayDelegate = s.newTable();
    Table* t = s.arrayDelegate.table();
    s.registerNative(t, "len", arrayLen, 1, "a");
    s.registerNative(t, "append", arrayAppend, 2, "a");
    s.registerNative(t, "push", arrayAppend, 2, "a");
    s.registerNative(t, "extend", arrayExtend, 2, "aa");
    s.registerNative(t, "pop", arrayPop, 1, "a");
    s.registerNative(t, "top", arrayTop, 1, "a");
    s.registerNative(t, "insert", arrayInsert, 3, "an");
    s.registerNative(t, "remove", arrayRemove, 2, "an");
    s.registerNative(t, "resize", arrayResize, -2, "an");
    s.registerNative(t, "sort", arraySort, -1, "ac");
    s.registerNative(t, "reverse", arrayReverse, 1, "a");
    s.registerNative(t, "slice", arraySlice, -2, "ann");
    s.registerNative(t, "tostring", delegateToString, 1, "a");
    s.registerNative(t, "weakref", delegateWeakRef, 1, "a");
    s.registerNative(t, "clear", arrayClear, 1, "a");
    s.registerNative(t, "map", arrayMap, 2, "ac");
    s.registerNative(t, "apply", arrayApply, 2, "ac");
    s.registerNative(t, "reduce", arrayReduce, -2, "ac");
    s.registerNative(t, "filter", arrayFilter, 2, "ac");
    s.registerNative(t, "find", arrayFind, 2, "a.");
}

} // namespace squirrel::detail
