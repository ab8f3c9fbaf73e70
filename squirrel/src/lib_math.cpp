// The math library: the C runtime's functions on the machine's numbers, and RAND_MAX and PI.
#include "library.h"
#include "machine.h"

#include <cmath>
#include <cstdlib>

namespace squirrel::detail {

namespace {

template <float (*F)(float)>
Value unary(Machine&, Value* args, int) {
    return Value::real(F(args[1].toFloat()));
}

template <float (*F)(float, float)>
Value binary(Machine&, Value* args, int) {
    return Value::real(F(args[1].toFloat(), args[2].toFloat()));
}

Value mathAbs(Machine&, Value* args, int) {
    std::int32_t v = args[1].toInt();
    return Value::integer(v < 0 ? static_cast<std::int32_t>(0u - static_cast<std::uint32_t>(v))
                                : v);
}

Value mathRand(Machine&, Value*, int) {
    return Value::integer(std::rand());
}

Value mathSrand(Machine&, Value* args, int) {
    std::srand(static_cast<unsigned>(args[1].toInt()));
    return Value();
}

} // namespace

void registerMathLibrary(State& s) {
    Table* root = s.root.table();
    s.registerNative(root, "sqrt", unary<std::sqrt>, 2, ".n");
    s.registerNative(root, "sin", unary<std::sin>, 2, ".n");
    s.registerNative(root, "cos", unary<std::cos>, 2, ".n");
    s.registerNative(root, "asin", unary<std::asin>, 2, ".n");
    s.registerNative(root, "acos", unary<std::acos>, 2, ".n");
    s.registerNative(root, "log", unary<std::log>, 2, ".n");
    s.registerNative(root, "log10", unary<std::log10>, 2, ".n");
    s.registerNative(root, "tan", unary<std::tan>, 2, ".n");
    s.registerNative(root, "atan", unary<std::atan>, 2, ".n");
    s.registerNative(root, "atan2", binary<std::atan2>, 3, ".nn");
    s.registerNative(root, "pow", binary<std::pow>, 3, ".nn");
    s.registerNative(root, "floor", unary<std::floor>, 2, ".n");
    s.registerNative(root, "ceil", unary<std::ceil>, 2, ".n");
    s.registerNative(root, "exp", unary<std::exp>, 2, ".n");
    s.registerNative(root, "fabs", unary<std::fabs>, 2, ".n");
    s.registerNative(root, "abs", mathAbs, 2, ".n");
    s.registerNative(root, "rand", mathRand, 1);
    s.registerNative(root, "srand", mathSrand, 2, ".n");
    root->set(s.string("RAND_MAX"), Value::integer(RAND_MAX));
    root->set(s.string("PI"), Value::real(3.14159265358979323846f));
}

} // namespace squirrel::detail
