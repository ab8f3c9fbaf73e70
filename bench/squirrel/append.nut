// Growing a string one character at a time.
local s = "";
for (local i = 0; i < 200000; i++)
    s += "x";
print(s.len() + "\n");
