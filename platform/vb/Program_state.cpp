#include "Program_state.h"

#include <vector>

namespace vb {

namespace {
std::vector<std::function<void()>>& Resets() {
    static std::vector<std::function<void()>> resets;
    return resets;
}
}  // namespace

bool On_Program_Reset(std::function<void()> reset) {
    Resets().push_back(std::move(reset));
    return true;
}

void Reset_Program_State() {
    for (const std::function<void()>& reset : Resets()) reset();
}

}  // namespace vb
