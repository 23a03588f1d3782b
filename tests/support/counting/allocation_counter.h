// Counts the heap allocations made through operator new, for the tests and
// tools that check what a frame allocates. Linking allocation_counter.cpp into
// an executable replaces the global operator new and delete there (with
// malloc and free); counting is off until StartCounting.
#pragma once

#include <string>

namespace allocation_counter {

// Counts from now on, from zero.
void StartCounting();
// Stops counting and returns the number of allocations since StartCounting.
long StopCounting();
// The call stacks of the first few allocations counted since StartCounting,
// one frame a line (for failure messages).
std::string FirstStacks();

}  // namespace allocation_counter
