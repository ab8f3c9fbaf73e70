// The engine ends the process on a fatal report through quick_exit (terminateProcess). In a fuzz
// run that would end the whole run on the first input the engine refuses this way, so this
// definition takes the C library's place and unwinds back to the target as fuzz::InputRefused
// instead. Only the target's own process links it. This file must not see the C library's
// declaration, which says the function never throws.
#include "fuzz/input_refused.h"

extern "C" [[noreturn]] void quick_exit(int) {
    throw fuzz::InputRefused();
}
