// Every cell behaves as its tiles look. Layer 0's tile shows what the cell's attribute does;
// layer 1 draws bonuses, which its own attribute collects, and scenery, which goes over
// anything; any other look in layer 1 promises what layer 0's attribute does in that cell.
#include <algorithm>
#include <iterator>
#include <string>

#include "tools/art/tile_catalogue.h"
#include "tools/level/level_rules.h"

namespace kavro_level {

namespace {

using kavro_art::TileLook;

// The looks that keep the promise of an attribute. Codes the game ignores act as empty.
bool Keeps(TileLook look, int16_t attribute) {
    switch (attribute) {
        case kSolid:
            return look == TileLook::kGround;
        case kPlatform:
            // Ground that carries from above: the top of a falling slope must be a platform.
            return look == TileLook::kPlatform || look == TileLook::kGround;
        case kDeadly:
            return look == TileLook::kHazard;
        case kBonus:
            return look == TileLook::kBonus;
        case kLadder:
            return look == TileLook::kLadder;
        case kRisingSlope:
            return look == TileLook::kRisingSlope;
        case kFallingSlope:
            return look == TileLook::kFallingSlope;
        default:
            return look == TileLook::kNothing || look == TileLook::kDecoration ||
                   look == TileLook::kBackground;
    }
}

// Indexed by TileLook.
constexpr const char* kLookText[] = {
    "open air",
    "solid ground or a wall",
    "a platform",
    "a hazard",
    "a ladder",
    "a slope rising to the right",
    "a slope falling to the right",
    "a bonus",
    "scenery to walk past",
    "a back wall to walk in front of",
};

static_assert(std::size(kLookText) == static_cast<size_t>(TileLook::kBackground) + 1);

// Indexed by attribute; the codes the game ignores let the player through.
constexpr const char* kDoesText[] = {
    "lets the player through", "stops the player",   "is a platform",
    "kills the player",        "is a bonus",         "is a ladder",
    "is a rising slope",       "is a falling slope",
};

std::string DoesText(int16_t attribute) {
    return attribute >= 0 && attribute < static_cast<int16_t>(std::size(kDoesText))
               ? kDoesText[attribute]
               : kDoesText[0];
}

}  // namespace

void CheckTileLooks(const Map& map, std::vector<Finding>& found) {
    for (int layer = 0; layer <= std::min(map.last_layer(), 1); ++layer)
        for (int y = 0; y <= map.last_row(); ++y)
            for (int x = 0; x <= map.last_column(); ++x) {
                const Cell& cell = map.At(x, y, layer);
                const TileLook look = kavro_art::LookOfTile(cell.tile);
                int16_t does = map.At(x, y, 0).attribute;
                if (layer == 1) {
                    const bool item = look == TileLook::kBonus || cell.attribute == kBonus;
                    if (!item && (look == TileLook::kNothing || look == TileLook::kDecoration ||
                                  look == TileLook::kBackground))
                        continue;
                    if (item) does = cell.attribute;
                }
                if (Keeps(look, does)) continue;
                const std::string does_text =
                    look == TileLook::kBonus ? "cannot be collected" : DoesText(does);
                found.push_back({x, y, layer,
                                 std::string("the tile looks like ") +
                                     kLookText[static_cast<int>(look)] + ", but the cell " +
                                     does_text + " (attribute " + std::to_string(does) + ")"});
            }
}

}  // namespace kavro_level
