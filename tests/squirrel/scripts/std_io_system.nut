// The io and system libraries: files, the standard streams, dofile and loadfile, environment,
// commands, clocks, dates, remove and rename.
local dir = getenv("TMPDIR");
if (dir == null)
    dir = "/tmp";
local prefix = dir + "/sq_io_" + time() + "_" + (clock() * 1000000).tointeger() + "_";

// A file written with every number type and a blob, read back after seeking.
local path = prefix + "data.bin";
local f = file(path, "wb+");
f.writen(42, 'i');
f.writen(-3, 's');
f.writen(1.5, 'f');
f.writen(0.25, 'd');
local b = blob();
b.writen(7, 'b');
b.writen(8, 'b');
f.writeblob(b);
print(f.len() + " " + f.tell() + " " + f.eos() + " " + f.flush() + "\n");
print(f.seek(0) + " " + f.readn('i') + " " + f.readn('s') + " " + f.readn('f') + " " +
      f.readn('d') + "\n");
local rest = f.readblob(100);
print(rest.len() + " " + rest[0] + " " + rest[1] + " " + f.eos() + "\n");
print(f.seek(-2, 'e') + " " + f.tell() + " " + f.seek(1, 'c') + " " + f.readn('b') + "\n");
try {
    f.readn('i');
} catch (e) {
    print(e + "\n");
}
f.resize(4);
print(f.len() + " " + typeof f + "\n");
f.close();
foreach (method in ["len", "close"]) {
    try {
        f[method]();
    } catch (e) {
        print(method + ": " + e + "\n");
    }
}
local reopened = file(path, "rb");
print(reopened.len() + " " + reopened.readn('i') + "\n");
reopened.close();
try {
    file(dir + "/no/such/dir/file", "r");
} catch (e) {
    print(e + "\n");
}

// Scripts from files: dofile runs with the caller's this and gives the result.
local script = prefix + "script.nut";
local out = file(script, "w");
foreach (c in "value <- 40; return vargv.len() + value + this.extra;")
    out.writen(c, 'c');
out.close();
extra <- 2;
print(dofile(script) + " " + value + "\n");
local loaded = loadfile(script);
print(typeof loaded + " " + loaded() + " " + loaded.call({ extra = 10 }) + "\n");
local broken = prefix + "broken.nut";
out = file(broken, "w");
foreach (c in "local = 1;")
    out.writen(c, 'c');
out.close();
try {
    loadfile(broken);
} catch (e) {
    print(e + "\n");
}
try {
    dofile(dir + "/no/such/script.nut");
} catch (e) {
    print(e + "\n");
}

// rename and remove.
local moved = prefix + "moved.bin";
rename(path, moved);
try {
    file(path, "r");
} catch (e) {
    print("renamed away: " + e + "\n");
}
remove(moved);
remove(script);
remove(broken);
foreach (name in [moved, script]) {
    try {
        remove(name);
    } catch (e) {
        print(e + "\n");
    }
}
try {
    rename(moved, path);
} catch (e) {
    print(e + "\n");
}

// The standard streams are files.
stdout.writen('o', 'c');
stdout.writen('k', 'c');
stdout.writen('\n', 'c');
stdout.flush();
print(typeof stdin + " " + typeof stderr + "\n");

// Environment, commands, clocks and dates.
print(typeof getenv("PATH") + " " + getenv("SQ_NO_SUCH_VARIABLE") + "\n");
print(system("exit 0") + " " + (system("exit 3") != 0) + "\n");
local t = time();
print(typeof t + " " + (t > 1000000000) + " " + typeof clock() + " " + (clock() >= 0) + "\n");
local d = date(0, 'u');
print(d.year + "-" + d.month + "-" + d.day + " " + d.hour + ":" + d.min + ":" + d.sec + " " +
      d.wday + " " + d.yday + "\n");
d = date(951782400 + 86400 * 2 + 3661, 'u');
print(d.year + "-" + d.month + "-" + d.day + " " + d.hour + ":" + d.min + ":" + d.sec + " " +
      d.wday + " " + d.yday + "\n");
print(date().len() + " " + (date(t).year >= 2024) + "\n");
try {
    date(0, 'x');
} catch (e) {
    print(e + "\n");
}
