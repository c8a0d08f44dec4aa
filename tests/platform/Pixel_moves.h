#pragma once
// Runs a check once for each way of moving pixels the processor has, the widest way restored after.
#include "platform/graphics/Graphics.h"

#include <gtest/gtest.h>

template <typename Check>
void For_Each_Way_Of_Moving(Check check) {
    using graphics::Pixel_moves;
    struct Restore {
        Pixel_moves limit = graphics::Limit_Moves(Pixel_moves::shuffle);
        ~Restore() { graphics::Limit_Moves(limit); }
    } restore;
    for (const Pixel_moves kind : {Pixel_moves::words, Pixel_moves::shuffle}) {
        graphics::Limit_Moves(kind);
        if (graphics::Widest_Moves() != kind) continue;  // not on this processor
        SCOPED_TRACE(kind == Pixel_moves::words ? "word by word" : "byte shuffles");
        check();
    }
}
