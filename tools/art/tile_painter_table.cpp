// The name -> painter table of the tile families.
#include <utility>

#include "tools/art/tile_painters.h"

namespace kavro_art {

TilePainter FindTilePainter(std::string_view family) {
    static const std::pair<std::string_view, TilePainter> kTable[] = {
        {"grass", PaintGrass},
        {"stone", PaintStone},
        {"cave", PaintCave},
        {"shaft", PaintShaft},
        {"brick", PaintBrick},
        {"plank", PaintPlank},
        {"plank-cave", PaintPlankCave},
        {"grass-rise", PaintGrassRise},
        {"grass-fall", PaintGrassFall},
        {"stone-rise", PaintStoneRise},
        {"stone-fall", PaintStoneFall},
        {"ladder", PaintLadder},
        {"ladder-top", PaintLadderTop},
        {"ladder-cave", PaintLadderCave},
        {"spikes", PaintSpikes},
        {"spikes-down", PaintSpikesDown},
        {"lava-top", PaintLavaTop},
        {"lava", PaintLava},
        {"water-top", PaintWaterTop},
        {"water", PaintWater},
        {"torch", PaintTorch},
        {"tuft", PaintTuft},
        {"flower", PaintFlower},
        {"bush", PaintBush},
        {"rock", PaintRock},
        {"mushroom", PaintMushroom},
        {"sign", PaintSign},
        {"sign-back", PaintSignBack},
        {"fence", PaintFence},
        {"crystal", PaintCrystal},
        {"stalactite", PaintStalactite},
        {"vine", PaintVine},
        {"bones", PaintBones},
        {"light", PaintLight},
        {"tree", PaintTree},
        {"window", PaintWindow},
        {"banner", PaintBanner},
        {"coin", PaintCoin},
        {"gem-red", PaintGemRed},
        {"gem-blue", PaintGemBlue},
        {"gem-green", PaintGemGreen},
        {"start", PaintStart},
    };
    for (const auto& [name, painter] : kTable)
        if (name == family) return painter;
    return nullptr;
}

}  // namespace kavro_art
