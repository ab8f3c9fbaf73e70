// Blobs: writing and reading every number type, positions, byte access, growth, copies and the
// byte-order helpers.
local b = blob(4);
print(b.len() + " " + b.tell() + " " + typeof b + " " + b.eos() + " " + b[0] + " " + b[3] + "\n");
b.writen(0x01020304, 'i');
print(b.len() + " " + b.tell() + " " + b.eos() + "\n");
b.writen(-2, 's');
b.writen(65535, 'w');
b.writen(-1, 'c');
b.writen(200, 'b');
b.writen(1.5, 'f');
b.writen(-2.25, 'd');
b.writen(7, 'l');
print(b.len() + " " + b.tell() + "\n");
b.seek(0);
print(b.readn('i') + " " + b.readn('s') + " " + b.readn('w') + " " + b.readn('c') + " " +
      b.readn('b') + " " + b.readn('f') + " " + b.readn('d') + " " + b.readn('l') + " " +
      b.eos() + "\n");
// Values that do not fit wrap like the C types.
local w = blob();
w.writen(70000, 's');
w.writen(-1, 'w');
w.writen(300, 'b');
w.writen(200, 'c');
w.seek(0);
print(w.readn('s') + " " + w.readn('w') + " " + w.readn('b') + " " + w.readn('c') + "\n");
try {
    w.readn('i');
} catch (e) {
    print(e + "\n");
}
try {
    w.writen(1, 'z');
} catch (e) {
    print(e + "\n");
}

// Positions: seek from the beginning, the current position and the end.
print(b.seek(2) + " " + b.tell() + " " + b.seek(3, 'c') + " " + b.tell() + " " + b.seek(-4, 'e') +
      " " + b.tell() + " " + b.seek(0, 'e') + " " + b.eos() + "\n");
print(b.seek(100) + " " + b.seek(-1) + " " + b.tell() + "\n");
try {
    b.seek(0, 'x');
} catch (e) {
    print(e + "\n");
}

// Byte access through [], foreach, and the bytes of a little-endian integer.
local bytes = blob(4);
bytes.writen(0x11223344, 'i');
local line = "";
foreach (i, v in bytes)
    line += i + ":" + format("%02x", v) + " ";
print(line + "\n");
bytes[0] = 0xAA;
bytes[1] = 0x1BB;
print(format("%02x %02x", bytes[0], bytes[1]) + " " + ("len" in bytes) + "\n");
foreach (key in [4, -1, "nothing"]) {
    try {
        print(bytes[key]);
    } catch (e) {
        print(e + "\n");
    }
}
try {
    bytes[9] = 1;
} catch (e) {
    print(e + "\n");
}

// readblob and writeblob copy bytes between blobs; clone copies the content.
b.seek(0);
local part = b.readblob(4);
print(part.len() + " " + part.readn('i') + " " + typeof part + " " + b.tell() + "\n");
b.seek(b.len() - 2);
print(b.readblob(100).len() + "\n");
try {
    b.readblob(4);
} catch (e) {
    print(e + "\n");
}
local target = blob();
target.writeblob(part);
target.writeblob(part);
target.seek(4);
print(target.len() + " " + target.readn('i') + "\n");
local copy = clone bytes;
copy[0] = 0;
print(copy[0] + " " + bytes[0] + " " + copy.len() + " " + copy.tell() + "\n");

// resize, swap2, swap4 and flush.
local r = blob(2);
r.seek(2);
r.resize(6);
print(r.len() + " " + r.tell() + " " + r[5] + "\n");
r.resize(1);
print(r.len() + " " + r.tell() + " " + r.flush() + "\n");
local s = blob(0);
s.writen(0x0102, 'w');
s.writen(0x0304, 'w');
s.writen(0x05, 'b');
s.swap2();
print(format("%02x%02x%02x%02x%02x", s[0], s[1], s[2], s[3], s[4]) + " ");
s.swap4();
print(format("%02x%02x%02x%02x%02x", s[0], s[1], s[2], s[3], s[4]) + "\n");
try {
    blob(-1);
} catch (e) {
    print(e + "\n");
}

// The byte-order helpers.
print(castf2i(1.0) + " " + casti2f(1065353216) + " " + casti2f(castf2i(-2.5)) + " " +
      format("%x", castf2i(0.5)) + "\n");
print(format("%x", swap2(0x1234)) + " " + swap2(0x00FF) + " " + format("%x", swap4(0x11223344)) +
      " " + swap4(swap4(-5)) + " " + swapfloat(swapfloat(3.5)) + " " +
      format("%x", castf2i(swapfloat(1.0))) + "\n");
