// seterrorhandler: the handler runs for an error nobody catches, with the frames still in
// place; error() writes to standard error. A thread's error counts where the thread was called.
seterrorhandler(function(e) {
    print("handler saw: " + e + " in " + getstackinfos(2).func + "\n");
});
error("to standard error\n");
try {
    throw "caught here";
} catch (e) {
    print("caught: " + e + "\n");
}
try {
    newthread(function() { throw "thread error"; }).call();
} catch (e) {
    print("caught: " + e + "\n");
}
function broken() {
    local t = {};
    return t.key;
}
broken();
