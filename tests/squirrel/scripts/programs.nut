// Small programs that combine the language's features.
function join(arr, sep) {
    local s = "";
    foreach (i, v in arr) {
        if (i)
            s += sep;
        s += v;
    }
    return s;
}

// Word frequencies, sorted by count and then alphabetically.
local text = "the quick brown fox jumps over the lazy dog the fox";
local counts = {};
local word = "";
foreach (c in text + " ") {
    if (c == ' ') {
        if (word.len() > 0) {
            if (word in counts) counts[word]++;
            else counts[word] <- 1;
            word = "";
        }
    } else {
        word += c.tochar();
    }
}
local words = counts.keys();
words.sort(function(a, b) {
    local d = counts[b] <=> counts[a];
    return d != 0 ? d : a <=> b;
});
foreach (w in words)
    print(w + "=" + counts[w] + " ");
print("\n");

// A serializer for nested tables and arrays.
function serialize(v) {
    switch (typeof v) {
        case "table":
            local keys = v.keys();
            keys.sort();
            local parts = [];
            foreach (k in keys)
                parts.append(k + ":" + serialize(v[k]));
            return "{" + join(parts, ",") + "}";
        case "array":
            return "[" + join(v.map(serialize), ",") + "]";
        case "string":
            return "\"" + v + "\"";
        default:
            return "" + v;
    }
}
local data = {
    name = "widget",
    tags = ["a", "b"],
    size = 3,
    nested = { ok = true, ratio = 0.5 },
    none = null
};
print(serialize(data) + "\n");

// Quicksort on arrays.
function quicksort(a) {
    if (a.len() <= 1)
        return a;
    local pivot = a[0], less = [], more = [];
    for (local i = 1; i < a.len(); i++)
        (a[i] < pivot ? less : more).append(a[i]);
    return quicksort(less).extend([pivot]).extend(quicksort(more));
}
print(join(quicksort([5, 3, 9, 1, 5, 8, 2]), ",") + "\n");

// Sieve of Eratosthenes.
local limit = 50;
local composite = array(limit + 1, false);
local primes = [];
for (local n = 2; n <= limit; n++) {
    if (composite[n])
        continue;
    primes.append(n);
    for (local m = n * n; m <= limit; m += n)
        composite[m] = true;
}
print(primes.len() + ": " + join(primes, " ") + "\n");

// Event handlers kept in a table of arrays of closures.
local handlers = {};
function on(name, fn) {
    if (!(name in handlers))
        handlers[name] <- [];
    handlers[name].append(fn);
}
function fire(name, arg) {
    local results = [];
    if (name in handlers)
        foreach (h in handlers[name])
            results.append(h(arg));
    return results;
}
on("greet", @(who) "hello " + who);
on("greet", @(who) "hi " + who);
on("bye", @(who) "bye " + who);
print(join(fire("greet", "bob"), "; ") + " | " + join(fire("bye", "amy"), "; ") + " | " + fire("none", 1).len() + "\n");

// Memoized recursion.
local memo = {};
function mfib(n) {
    if (n < 2)
        return n;
    if (n in memo)
        return memo[n];
    local r = mfib(n - 1) + mfib(n - 2);
    memo[n] <- r;
    return r;
}
print(mfib(40) + " " + memo.len() + "\n");

function reverse(s) {
    local r = "";
    for (local i = s.len() - 1; i >= 0; i--)
        r += s[i].tochar();
    return r;
}
print(reverse("stressed") + "\n");

// An object built from a table with methods and a shared prototype.
local Account = {
    function deposit(amount) {
        if (amount <= 0)
            throw "invalid amount " + amount;
        balance += amount;
        history.append(amount);
        return this;
    }
    function report() { return owner + ": " + balance + " (" + history.len() + " deposits)"; }
};
function makeAccount(owner) {
    return delegate Account : { owner = owner, balance = 0, history = [] };
}
local acc = makeAccount("ann");
acc.deposit(10).deposit(5);
try {
    acc.deposit(-1);
} catch (e) {
    print(e + "\n");
}
print(acc.report() + " " + makeAccount("bo").report() + "\n");
