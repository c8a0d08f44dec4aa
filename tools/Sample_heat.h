#pragma once
// A heat to look at before the capture console records heats: boats in three lanes crossing the goal
// line, written through the store as the console writes a heat.
#include <cstdint>
#include <string>

namespace Sample_heat {

struct Layout {
    int32_t width = 440;  // the start-up window's default crop
    int32_t height = 1080;
    int32_t frames = 125;  // five seconds at 25 frames a second
    std::string heat_id = "K1 Men 500 m Final A";
};

// Lane 1 crosses at frame 60, lane 2 at frame 66, lane 3 at frame 57.
inline constexpr int32_t Crossing_Frame[3] = {60, 66, 57};
// Where the goal line and the boats' bows are drawn across the picture.
inline int32_t Goal_X(const Layout& layout) { return layout.width / 2; }

// Writes the heat to `path` (replacing a file of that name); raises the store's error when it cannot.
void Write(const std::string& path, const Layout& layout = {});

}  // namespace Sample_heat
