#pragma once
// Places a control at a position and size in twips within its container, as the windows were laid out.
#include "Screen.h"

#include <cstdint>

namespace ui {

template <class Control>
Control* Place(Control* control, int32_t left, int32_t top, int32_t width, int32_t height) {
    control->setGeometry(left / Twips_Per_Pixel_X(), top / Twips_Per_Pixel_Y(), width / Twips_Per_Pixel_X(),
                         height / Twips_Per_Pixel_Y());
    return control;
}

}  // namespace ui
