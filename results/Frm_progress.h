#pragma once
// A small borderless window with a caption text and a percent bar; the caller places and shows it.
#include "platform/ui/Form.h"

#include <cstdint>
#include <string>

class QLineEdit;
class QProgressBar;

class Frm_progress : public ui::Form {
public:
    static Frm_progress& Instance() { return ui::Instance_Of<Frm_progress>(); }
    Frm_progress();

    // Shows the text and repaints at once.
    void Set_Caption(const std::string& text);
    // 0 to 100; any other value changes nothing.
    void Set_Percent(int16_t percent);

    QLineEdit* Text_caption;
    QProgressBar* ProgressBar1;

protected:
    void Form_Load() override;
    void Form_Resize() override;
};
