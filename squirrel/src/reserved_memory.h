// Large zero-filled blocks that never move. Pages cost memory only once they are touched, so
// the value stack and the frame stack can reserve room for deep recursion up front.
#pragma once

#include <cstddef>

namespace squirrel::detail {

void* reserveZeroedMemory(std::size_t bytes);
void releaseReservedMemory(void* memory, std::size_t bytes);

} // namespace squirrel::detail
