#pragma once
// A window's picture kept as the drawings that make it (layers) rather than as pixels, so that the
// window's paint can draw it once, straight into the screen's lines. Whoever reads or draws on the
// window's bitmap gets the layers drawn into it first (its context settles them), so every reader sees
// the pixels the screen shows. A layer reads what it draws from until it is settled or dropped: whoever
// made it settles it before changing that.
#include "Rows_target.h"

#include <functional>
#include <vector>

namespace gdi {

class Deferral {
public:
    using Layer = std::function<void(const Rows_target&)>;

    bool Pending() const { return !layers_.empty(); }
    // A layer that draws every pixel of the surface: what was drawn or deferred before is covered.
    void Cover(Layer layer);
    // A layer over those deferred already.
    void Over(Layer layer);
    // Draws the layers onto the lines, in order, and keeps them.
    void Draw(const Rows_target& target) const;
    // Draws the layers into the window's bitmap and forgets them.
    void Settle();
    // Forgets the layers unread: the bitmap keeps what was drawn into it before.
    void Drop() { layers_.clear(); }

private:
    friend class Device_context;
    Bitmap* surface_ = nullptr;  // the window's bitmap, while its context lives
    std::vector<Layer> layers_;
};

}  // namespace gdi
