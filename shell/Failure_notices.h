#pragma once
// A failure that would repeat with every write to the same place (a full or read-only folder, a log
// that cannot be opened) is told once per place and error; a success there ends the silence.
#include <cstdint>
#include <string>

namespace Failure_notices {

// True when `error` at `place` is not the one last told for it: the caller tells it now.
bool First(const std::string& place, int32_t error);
// The place works again: its next failure is told.
void Succeeded(const std::string& place);

}  // namespace Failure_notices
