-- Growing a string one character at a time.
local s = ""
for i = 0, 200000 - 1 do
    s = s .. "x"
end
print(#s)
