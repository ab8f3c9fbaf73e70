// Default delegate of functions: call, pcall, acall, pacall, bindenv, getinfos, roots.
function add(a, b) { return this.offset + a + b; }
local env = { offset = 100 };
print(add.call(env, 1, 2) + " " + add.pcall(env, 3, 4) + " " + add.acall([env, 5, 6]) + " " + add.pacall([env, 7, 8]) + "\n");
print.call(this, "native via call\n");
print.acall([this, "native via acall\n"]);
local boundEnv = { offset = 1000 };
local bound = add.bindenv(boundEnv);
print(bound(1, 1) + " " + bound.call({ offset = 0 }, 1, 1) + " " + (bound == add) + "\n");
local boundNative = print.bindenv({});
boundNative("bound native\n");
print(add.tostring().slice(0, 13) + " " + print.tostring().slice(0, 19) + "\n");
function info(a, b = 2, ...) {}
local i = info.getinfos();
print(i.native + " " + i.name + " " + i.src + " " + i.parameters.len() + " " + i.parameters[0] + i.parameters[1] + " " + i.defparams.len() + " " + i.defparams[0] + " " + i.varargs + "\n");
local lambda = (@(x) x).getinfos();
print(lambda.name + " " + lambda.parameters.len() + " " + lambda.varargs + "\n");
local ni = print.getinfos();
print(ni.native + " " + ni.name + " " + ni.paramscheck + " " + [].append.getinfos().typecheck.len() + "\n");
local f = compilestring("return ::marker;");
marker <- "main root";
print(f() + " | ");
f.setroot({ marker = "own root" });
print(f() + " | " + f.getroot().marker + " | " + (add.getroot() == getroottable()) + "\n");
local counter = { n = 0 };
local step = function(by) { n += by; return n; }.bindenv(counter);
step(2);
step(3);
print(counter.n + "\n");
