// The math library: every function and constant.
print(sqrt(16) + " " + sqrt(2) + " " + typeof sqrt(4) + "\n");
print(sin(0) + " " + cos(0) + " " + tan(0) + " " + sin(PI / 2) + " " + cos(PI) + "\n");
print(asin(1) + " " + acos(1) + " " + atan(1) + " " + atan2(1, 1) + " " + atan2(1, -1) + " " +
      atan2(0, 1) + "\n");
print(log(1) + " " + log(exp(2)) + " " + log10(1000) + " " + exp(0) + " " + exp(1) + "\n");
print(pow(2, 10) + " " + pow(2, 0.5) + " " + pow(10, -2) + " " + typeof pow(2, 2) + "\n");
print(floor(2.7) + " " + floor(-2.7) + " " + ceil(2.1) + " " + ceil(-2.1) + " " + floor(3) + " " +
      typeof floor(3) + "\n");
print(fabs(-2.5) + " " + fabs(3) + " " + typeof fabs(3) + " " + abs(-5) + " " + abs(5) + " " +
      abs(-2.7) + " " + typeof abs(-2.7) + "\n");
print(PI + " " + typeof PI + " " + (RAND_MAX == 2147483647) + "\n");
srand(42);
local first = [rand(), rand(), rand()];
srand(42);
local again = [rand(), rand(), rand()];
local inRange = true;
foreach (i, v in first) {
    if (v != again[i] || v < 0 || v > RAND_MAX)
        inRange = false;
}
print(inRange + " " + typeof rand() + "\n");
print((sqrt(-1) != sqrt(-1)) + " " + log(0) + " " + (1.0 / 0) + "\n");
try {
    sqrt("four");
} catch (e) {
    print(e + "\n");
}
