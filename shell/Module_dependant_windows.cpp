#include "Module_dependant_windows.h"

#include "platform/ui/Dialog_service.h"
#include "platform/ui/Picture_box.h"
#include "platform/vb/Error_trap.h"
#include "platform/vb/Vb_convert.h"

namespace Module_dependant {

int16_t Max_Font(ui::Picture_box& box, const std::string& text) {
    int16_t result = 0;
    vb::Trap_With(
        true,
        [&] {
            const int32_t width = vb::CLng(box.ScaleWidth()), height = vb::CLng(box.ScaleHeight());
            for (int16_t size = 110; size >= 8; size -= 2) {
                box.FontSize(size);
                box.FontName("Arial");
                if (vb::CLng(box.TextWidth(text)) < width && vb::CLng(box.TextHeight(text)) < height) {
                    result = size;
                    return;
                }
            }
            result = 8;
        },
        [&](const VbError& e) {
            ui::MsgBox("Max_Font error! " + std::to_string(e.Number()) + " " + e.Description());
            result = 0;
        });
    return result;
}

}  // namespace Module_dependant
