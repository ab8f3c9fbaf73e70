print("nothing runs when the script does not compile\n");
local value = (1 + ;
