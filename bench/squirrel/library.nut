// Standard library calls: format, regular expressions and blob streams.
local text = "";
local count = 0;
for (local i = 0; i < 400000; i++) {
    local s = format("%05d:%s:%.2f", i, "key", i * 0.5);
    count += s.len();
}
local re = regexp(@"(\w+)=(\d+)");
local line = "alpha=1 beta=22 gamma=333 delta=4444";
for (local i = 0; i < 100000; i++) {
    local start = 0;
    local m;
    while ((m = re.capture(line, start)) != null) {
        count += m[2].end - m[2].begin;
        start = m[0].end;
    }
}
local b = blob();
for (local i = 0; i < 1000000; i++)
    b.writen(i, 'i');
b.seek(0);
local sum = 0;
while (!b.eos())
    sum += b.readn('i') & 0xFF;
print(count + " " + sum + "\n");
