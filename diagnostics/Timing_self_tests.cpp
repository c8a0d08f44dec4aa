#include "Timing_self_tests.h"

#include "platform/ui/Dialog_service.h"

namespace Timing_self_tests {

bool Timing_Method_Analyze(const Field_stepper& window) {
    const int32_t last = window.Maximum();
    for (int32_t v = window.Minimum(); v <= last; v += 2) {
        window.Show(v);
        if (window.Elapsed_By_Count() != window.Elapsed_By_Stamps()) {
            ui::MsgBox("Timing mis-match!", ui::vbOKOnly);
            return false;
        }
    }
    return true;
}

int32_t Timing_Increment_analyze(const Field_stepper& window) {
    int32_t errors = 0;
    int32_t a = window.Field_Time();
    const int32_t last = window.Maximum();
    for (int32_t v = window.Minimum() + 1; v <= last; ++v) {
        window.Show(v);
        const int32_t b = window.Field_Time();
        if (b - a != 20) {
            ui::MsgBox("Timing increment error!", ui::vbOKOnly);
            ++errors;
        }
        a = b;
    }
    return errors;
}

}  // namespace Timing_self_tests
