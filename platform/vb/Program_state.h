#pragma once
// Program-wide state lives as long as the process. Each owner of such state registers here how it goes
// back to what a new process starts with, so that the program's start can run again in one process:
// the tests begin every case from that state.
#include <functional>

namespace vb {

// Keeps `reset` for every later Reset_Program_State; returns true so that it can initialise a
// namespace-scope constant next to the state it resets.
bool On_Program_Reset(std::function<void()> reset);
// Runs every registered reset, in the order they were registered.
void Reset_Program_State();

}  // namespace vb
