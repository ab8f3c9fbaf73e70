// A value a constructor returns is dropped: the call gives the instance and the value dies
// with the constructor's frame.
class C {
    constructor(kind) {
        local made = kind == "array" ? [1] : kind == "table" ? {} : C.Inner();
        ::seen <- made.weakref();
        return made;
    }
    static Inner = class {};
}
foreach (kind in ["array", "table", "instance"]) {
    local c = C(kind);
    print(kind + ": " + (c instanceof C) + " " + (::seen == null) + "\n");
}
class D extends C {
    constructor() { base.constructor("array"); return [2]; }
}
print("derived: " + (D() instanceof D) + " " + (::seen == null) + "\n");
// Many such calls leave nothing behind for the collector.
for (local i = 0; i < 20000; i++)
    C("array");
print(collectgarbage() + " " + (::seen == null) + "\n");
