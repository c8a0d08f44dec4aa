#pragma once
// The live preview. The camera picture and the course set-up come with live capture; until then the
// window says so.
#include "platform/ui/Form.h"

#include <cstdint>

class QLabel;

class Frm_fullscreen : public ui::Form {
public:
    static Frm_fullscreen& Instance() { return ui::Instance_Of<Frm_fullscreen>(); }
    Frm_fullscreen();

    // The preview takes its size from the display crop when it resizes; this call has no effect.
    void Set_Display_Crop(int16_t width, int16_t height) { (void)width, (void)height; }

    QLabel* Label_not_built;
};
