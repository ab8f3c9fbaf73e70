// An error raised inside a native function called from a script function.
local items = [3, 1, 2];
items.sort(function(a, b) {
    throw "comparison refused";
});
