// An error nobody catches ends the script; sq reports it with the call stack on standard error.
print("before\n");
function fail(t) {
    return t.missing;
}
function caller() {
    local r = fail({});
    return r;
}
caller();
print("never\n");
