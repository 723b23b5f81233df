// Layout of the two tilesets: families are placed in order, row by row; a family may ask for a
// fixed first number (the start marker must be tile 253), the gap before it stays blank.
#include "tools/art/tile_catalogue.h"

#include <array>
#include <stdexcept>
#include <vector>

namespace kavro_art {

namespace {

struct FamilySpec {
    std::string_view name;
    TileKind kind;
    int count;
    int stamp_width;
    int tileset;
    int32_t fixed_first;  // -1: next free number
};

constexpr std::array<Tileset, 2> kTilesets = {{
    {"kavro_world.png", 640, 320, 0},
    {"kavro_items.png", 640, 192, 200},
}};

constexpr FamilySpec kSpecs[] = {
    // World: ground, rock, cave walls, platforms, ladders, slopes, hazards, water, scenery.
    {"grass", TileKind::kAutotile, 16, 0, 0, -1},
    {"stone", TileKind::kAutotile, 16, 0, 0, -1},
    {"cave", TileKind::kAutotile, 16, 0, 0, -1},
    {"brick", TileKind::kAutotile, 16, 0, 0, -1},
    {"plank", TileKind::kAutotile, 16, 0, 0, -1},
    {"grass-rise", TileKind::kSingle, 1, 0, 0, -1},
    {"grass-fall", TileKind::kSingle, 1, 0, 0, -1},
    {"stone-rise", TileKind::kSingle, 1, 0, 0, -1},
    {"stone-fall", TileKind::kSingle, 1, 0, 0, -1},
    {"ladder", TileKind::kSingle, 1, 0, 0, -1},
    {"ladder-top", TileKind::kSingle, 1, 0, 0, -1},
    {"ladder-cave", TileKind::kSingle, 1, 0, 0, -1},
    {"spikes", TileKind::kSingle, 1, 0, 0, -1},
    {"spikes-down", TileKind::kSingle, 1, 0, 0, -1},
    {"lava-top", TileKind::kAnimation, 4, 0, 0, -1},
    {"lava", TileKind::kAnimation, 4, 0, 0, -1},
    {"water-top", TileKind::kAnimation, 4, 0, 0, -1},
    {"water", TileKind::kSingle, 1, 0, 0, -1},
    {"torch", TileKind::kAnimation, 4, 0, 0, -1},
    {"goal-flag", TileKind::kAnimation, 4, 0, 0, -1},
    {"goal-pole", TileKind::kSingle, 1, 0, 0, -1},
    {"tuft", TileKind::kVariants, 3, 0, 0, -1},
    {"flower", TileKind::kVariants, 3, 0, 0, -1},
    {"bush", TileKind::kStamp, 2, 2, 0, -1},
    {"rock", TileKind::kSingle, 1, 0, 0, -1},
    {"mushroom", TileKind::kVariants, 2, 0, 0, -1},
    {"sign", TileKind::kSingle, 1, 0, 0, -1},
    {"fence", TileKind::kSingle, 1, 0, 0, -1},
    {"crystal", TileKind::kVariants, 3, 0, 0, -1},
    {"stalactite", TileKind::kVariants, 2, 0, 0, -1},
    {"vine", TileKind::kVariants, 2, 0, 0, -1},
    {"bones", TileKind::kVariants, 2, 0, 0, -1},
    {"light", TileKind::kSingle, 1, 0, 0, -1},
    {"tree", TileKind::kStamp, 12, 3, 0, -1},
    {"window", TileKind::kSingle, 1, 0, 0, -1},
    {"banner", TileKind::kSingle, 1, 0, 0, -1},
    // Items: the bonuses of layer 1, and the start marker at its fixed number.
    {"coin", TileKind::kAnimation, 6, 0, 1, -1},
    {"gem-red", TileKind::kAnimation, 6, 0, 1, -1},
    {"gem-blue", TileKind::kAnimation, 6, 0, 1, -1},
    {"gem-green", TileKind::kAnimation, 6, 0, 1, -1},
    {"start", TileKind::kSingle, 1, 0, 1, kStartMarkerTile},
};

struct Layout {
    std::vector<TileFamily> families;
};

Layout MakeLayout() {
    Layout layout;
    std::array<int32_t, kTilesets.size()> next{};
    for (size_t i = 0; i < kTilesets.size(); ++i) next[i] = kTilesets[i].first_tile;
    for (const FamilySpec& spec : kSpecs) {
        const Tileset& set = kTilesets[spec.tileset];
        int32_t first = next[spec.tileset];
        if (spec.fixed_first >= 0) {
            if (spec.fixed_first < first) throw std::logic_error("tile family placed too late");
            first = spec.fixed_first;
        }
        if (first + spec.count > set.first_tile + set.tile_count())
            throw std::logic_error("tileset full");
        layout.families.push_back(
            {spec.name, spec.kind, spec.count, spec.stamp_width, spec.tileset, first});
        next[spec.tileset] = first + spec.count;
    }
    return layout;
}

const Layout& TheLayout() {
    static const Layout layout = MakeLayout();
    return layout;
}

static_assert(kTilesets[1].first_tile ==
              kTilesets[0].width / kTileSize * (kTilesets[0].height / kTileSize));

}  // namespace

std::span<const Tileset> Tilesets() {
    return kTilesets;
}

std::span<const TileFamily> TileFamilies() {
    return TheLayout().families;
}

const TileFamily* FindTileFamily(std::string_view name) {
    for (const TileFamily& f : TileFamilies())
        if (f.name == name) return &f;
    return nullptr;
}

int32_t TotalTileCount() {
    const Tileset& last = kTilesets.back();
    return last.first_tile + last.tile_count();
}

}  // namespace kavro_art
