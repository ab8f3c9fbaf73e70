// format and printf: every conversion with flags, width and precision, and their errors.
print(format("%s %d 0x%02X\n", "this is a test :", 123, 10));
printf("%s %d 0x%02X\n", "this is a test :", 123, 10);
print(format("[%d] [%i] [%5d] [%-5d] [%05d] [%+d] [% d] [%d]\n", 42, -42, 42, 42, 42, 42, 42, -7));
print(format("[%o] [%#o] [%u] [%x] [%X] [%#x] [%08x] [%x]\n", 8, 8, 7, 255, 255, 255, 48879, -1));
print(format("[%c] [%3c] [%-3c] [%c]\n", 65, 'b', 'c', 0x7E));
print(format("[%f] [%.2f] [%10.3f] [%-10.1f] [%+.1f] [%08.3f] [%.0f]\n", 3.14159, 3.14159,
             2.5, 2.5, 2.5, -1.5, 2.5));
print(format("[%e] [%.2e] [%E] [%12.3e]\n", 12345.678, 0.000123, 1e20, -5.5));
print(format("[%g] [%g] [%G] [%.3g] [%g] [%#g]\n", 0.0001, 123456789.0, 1e-10, 3.14159, 100.0,
             2.0));
print(format("[%s] [%5s] [%-5s] [%.2s] [%6.3s] [%s]\n", "ab", "ab", "ab", "abcdef", "abcdef", ""));
print(format("100%% [%d%%]\n", 50));
// Numbers convert to what the conversion needs.
print(format("%d %d %f %x\n", 2.9, -2.9, 7, 16.0));
print(format("no conversions") + " " + format("%s", "only") + " " + format("%s|%s", "a", "b") + "\n");
local text = format("%s=%d", "key", 1);
print(text.len() + " " + typeof text + "\n");

function check(name, f) {
    try {
        print(name + ": " + f() + "\n");
    } catch (e) {
        print(name + ": " + e + "\n");
    }
}
check("missing argument", @() format("%d %d", 1));
check("string for integer", @() format("%d", "x"));
check("string for float", @() format("%f", "x"));
check("number for string", @() format("%s", 5));
check("null for string", @() format("%s", null));
check("unknown conversion", @() format("%y", 1));
check("length modifier", @() format("%ld", 1));
check("unfinished", @() format("abc %"));
check("width too long", @() format("%123d", 1));
check("precision too long", @() format("%.123f", 1.0));
check("star", @() format("%*d", 5, 1));
check("extra arguments", @() format("%d", 1, 2, 3));
check("format needs a string", @() format(5));
