#include "Non_dependant_windows.h"

#include "platform/ui/Dialog_service.h"
#include "platform/ui/Form.h"
#include "platform/vb/Error_trap.h"
#include "platform/vb/Vb_text.h"

#include <QWidget>

namespace Non_dependant {

bool IsLoaded(const std::string& form_name) {
    bool found = false;
    vb::Trap_With(
        true,
        [&] {
            for (const ui::Form* form : ui::Loaded_Forms())
                if (vb::UCase(form->Name()) == vb::UCase(form_name)) {
                    found = true;
                    return;
                }
        },
        [&](const VbError& e) {
            ui::MsgBox(e.Description() + " " + std::to_string(e.Number()) + " " + std::to_string(e.Line()) +
                       "IsLoaded error");
            found = false;
        });
    return found;
}

void Set_TopMost(QWidget* window) {
    if (!window) return;
    if (auto* form = dynamic_cast<ui::Form*>(window)) {
        form->Set_Top_Most(true);
        return;
    }
    const bool shown = window->isVisible();
    window->setWindowFlag(Qt::WindowStaysOnTopHint, true);
    if (shown) window->show();
}

void Remove_Close_Menu(QWidget* window) {
    if (!window) return;
    const bool shown = window->isVisible();
    window->setWindowFlag(Qt::WindowCloseButtonHint, false);
    if (shown) window->show();
}

}  // namespace Non_dependant

// ---- Picture boxes ----

#include "platform/ui/Picture_box.h"
#include "platform/vb/Vb_convert.h"
#include "platform/vb/Vb_text.h"

namespace Non_dependant {

void Clear_Picture(ui::Picture_box& box) {
    box.Cls();
    box.Picture(QImage());
    box.Refresh();
}

std::string Wrap_Text(std::string text, int32_t limit, const std::function<int32_t(const std::string&)>& width_of) {
    // With no width to fill, no part ever reaches the limit and nothing would be taken off the text.
    if (limit <= 0) return {};
    std::string output;
    while (!text.empty()) {
        const int32_t length = vb::Len(text);
        int32_t take = length;
        for (int32_t n = 1; n < length; ++n)
            if (width_of(vb::Left(text, n)) >= limit) {
                take = n;
                break;
            }
        if (take < length) {
            // A path breaks after a folder's name, a text between its words, rather than inside either.
            const std::string part = vb::Left(text, take);
            const size_t cut = part.find_last_of("/\\ ");
            if (cut != std::string::npos && cut > 0) take = vb::Len(part.substr(0, cut + 1));
        }
        output += vb::Left(text, take) + "\r\n";
        text = take < length ? vb::Mid(text, take + 1) : std::string();
    }
    return output;
}

void Print_Wrapped(ui::Picture_box& box, const std::string& text) {
    box.FontName("Ms Sans Serif");
    box.FontSize(8);
    box.FontBold(true);
    const int32_t limit = vb::CLng(box.ScaleWidth() * 0.9);
    Clear_Picture(box);
    if (limit <= 0) return;
    box.Print(Wrap_Text(text, limit, [&](const std::string& part) { return vb::CLng(box.TextWidth(part)); }));
}

}  // namespace Non_dependant
