// The game's icon: the player's jumping frame over a patch of grass under the sky, on a rounded
// tile with transparent corners, at each size a desktop's icon theme asks for.
#pragma once
#include <cstdint>
#include <vector>

namespace kavro_art {

struct IconPicture {
    int size = 0;
    std::vector<uint8_t> rgba;  // size x size pixels, red, green, blue, alpha, top row first
};

// Sizes from 16 to 1024; the figure is drawn at a whole scale so its pixels stay square, and at
// sizes too small for the whole figure, head and shoulders.
IconPicture PaintIcon(int size);

}  // namespace kavro_art
