#pragma once
// The review window's two self-tests of its field time: the times by frame count and by capture time
// stamp agree, and every field follows the one before it by 20 ms. They step the review window through
// its fields by the functions of a Field_stepper, so they run on any window that offers them.
#include <cstdint>
#include <functional>

namespace Timing_self_tests {

struct Field_stepper {
    std::function<int32_t()> Minimum;
    std::function<int32_t()> Maximum;
    // Sets the slider to the value and shows that field.
    std::function<void(int32_t)> Show;
    std::function<int32_t()> Elapsed_By_Count;
    std::function<int32_t()> Elapsed_By_Stamps;
    // The field time of the field shown last.
    std::function<int32_t()> Field_Time;
};

// Every second slider value from the minimum: at the first field whose two times differ, "Timing
// mis-match!" (OK only) and the test ends. True when none differed.
bool Timing_Method_Analyze(const Field_stepper& window);
// From the minimum + 1 to the maximum: "Timing increment error!" (OK only) for every field that does not
// follow its predecessor by exactly 20 ms; the first is compared with the field shown at the start.
// Returns the number of messages.
int32_t Timing_Increment_analyze(const Field_stepper& window);

}  // namespace Timing_self_tests
