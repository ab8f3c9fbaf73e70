#pragma once

namespace fuzz {

// Thrown where the engine would end the process after a fatal report (see process_end.cpp):
// the input's processing stops there. The targets catch it; it is the engine refusing the input,
// not a fault.
struct InputRefused {};

} // namespace fuzz
