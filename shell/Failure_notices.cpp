#include "Failure_notices.h"

#include "platform/vb/Program_state.h"

#include <map>
#include <mutex>

namespace Failure_notices {

namespace {

// Logs are also written from the capture worker.
std::mutex guard;
std::map<std::string, int32_t> told;  // place: the error last told for it

[[maybe_unused]] const bool state_reset = vb::On_Program_Reset([] {
    std::lock_guard lock(guard);
    told.clear();
});

}  // namespace

bool First(const std::string& place, int32_t error) {
    std::lock_guard lock(guard);
    auto [at, inserted] = told.try_emplace(place, error);
    if (inserted) return true;
    if (at->second == error) return false;
    at->second = error;
    return true;
}

void Succeeded(const std::string& place) {
    std::lock_guard lock(guard);
    told.erase(place);
}

}  // namespace Failure_notices
