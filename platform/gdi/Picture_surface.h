#pragma once
// What drawing code needs of a picture box: its device context and its inner size in its own
// units. The widget implements it, so data code paints into a box without linking any widget.
#include "Device_context.h"

namespace gdi {

class Picture_surface {
public:
    virtual ~Picture_surface() = default;
    virtual Device_context* hDC() = 0;
    virtual double ScaleWidth() const = 0;
    virtual double ScaleHeight() const = 0;
    // Shows what was drawn into the context now; a surface that shows it anyway does nothing.
    virtual void Refresh() {}
    // Clears the drawing to the background colour; a surface without one keeps its drawing.
    virtual void Cls() {}
};

}  // namespace gdi
