// Global functions and constants of the base library.
function makeCycle() {
    local a = {};
    a.me <- a;
    local b = [];
    b.append(b);
}
makeCycle();
makeCycle();
print(collectgarbage() + " " + collectgarbage() + "\n");
print("print writes without a newline");
print("\n");
print(1); print(" "); print(2.5); print(" "); print(null); print(" "); print(true); print("\n");
print(type(1) + " " + type("s") + " " + type({}) + " " + type(print) + " " + type(null) + " " + type(1.5) + "\n");
local arr = array(3);
print(arr.len() + " " + arr[0] + " " + array(2, 7)[1] + " " + array(2.9).len() + "\n");
print((getroottable() == this) + " " + (getroottable().print == print) + "\n");
local oldRoot = getroottable();
local newRoot = { print = print, marker = "new" };
local previous = setroottable(newRoot);
print((previous == oldRoot) + " " + (getroottable() == newRoot) + "\n");
print(::marker + "\n");
setroottable(oldRoot);
print((getroottable() == oldRoot) + "\n");
local code = compilestring("return vargv.len() + 1;", "mybuffer");
print(code() + " " + code(1, 2) + " " + code.getinfos().src + "\n");
local plain = compilestring("x <- 5;");
plain();
print(x + " " + plain.getinfos().src + "\n");
function whoAmI() { return callee(); }
print((whoAmI() == whoAmI) + "\n");
function inspect(arg) {
    local localVar = "lv";
    local info = getstackinfos(1);
    return info.func + " " + info.src + " " + info.line + " " + info.locals.arg + " " + info.locals.localVar + " " + ("info" in info.locals);
}
print(inspect(42) + "\n");
function outerFrame() { return getstackinfos(2).func; }
function middleFrame() {
    local name = outerFrame();
    return name;
}
print(middleFrame() + "\n");
print(getstackinfos(0).func + " " + getstackinfos(0).src + " " + getstackinfos(0).line + " " + getstackinfos(100) + "\n");
enabledebuginfo(null);
local noLines = compilestring("return getstackinfos(1).line;");
enabledebuginfo(true);
local withLines = compilestring("\n\nreturn getstackinfos(1).line;");
print(noLines() + " " + withLines() + "\n");
print(_versionnumber_ + " " + _version_ + " " + _charsize_ + " " + _intsize_ + " " + _floatsize_ + "\n");
local events = [];
function hook(type, src, line, name) {
    events.append(type.tochar() + ":" + name + ":" + src + ":" + line);
}
function hooked(x) {
    return x + 1;
}
setdebughook(hook);
hooked(1);
setdebughook(null);
hooked(2);
foreach (e in events)
    print(e + "\n");
