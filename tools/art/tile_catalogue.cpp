// Layout of the two tilesets: families are placed in order, row by row; a family may ask for a
// fixed first number (the start marker must be tile 253), the gap before it stays blank.
#include "tools/art/tile_catalogue.h"

#include <array>
#include <stdexcept>
#include <vector>

namespace kavro_art {

namespace {

// Marks a family whose open-above variants look like the rest of it.
constexpr TileLook kSameLook = TileLook::kNothing;

struct FamilySpec {
    std::string_view name;
    TileKind kind;
    int count;
    int stamp_width;
    int tileset;
    int32_t fixed_first;  // -1: next free number
    TileLook look;
    TileLook look_open_above = kSameLook;
};

constexpr std::array<Tileset, 2> kTilesets = {{
    {"kavro_world.png", 640, 320, 0},
    {"kavro_items.png", 640, 192, 200},
}};

using enum TileKind;
using enum TileLook;

constexpr FamilySpec kSpecs[] = {
    // World: ground, rock, cave walls and shafts, platforms, ladders, slopes, hazards, water,
    // scenery.
    {"grass", kAutotile, 16, 0, 0, -1, kGround},
    {"stone", kAutotile, 16, 0, 0, -1, kGround},
    {"cave", kAutotile, 16, 0, 0, -1, kBackground, kGround},
    {"shaft", kAutotile, 16, 0, 0, -1, kBackground},
    {"brick", kAutotile, 16, 0, 0, -1, kGround},
    {"plank", kAutotile, 16, 0, 0, -1, kPlatform},
    {"plank-cave", kAutotile, 16, 0, 0, -1, kPlatform},
    {"grass-rise", kSingle, 1, 0, 0, -1, kRisingSlope},
    {"grass-fall", kSingle, 1, 0, 0, -1, kFallingSlope},
    {"stone-rise", kSingle, 1, 0, 0, -1, kRisingSlope},
    {"stone-fall", kSingle, 1, 0, 0, -1, kFallingSlope},
    {"ladder", kSingle, 1, 0, 0, -1, kLadder},
    {"ladder-top", kSingle, 1, 0, 0, -1, kLadder},
    {"ladder-cave", kSingle, 1, 0, 0, -1, kLadder},
    {"spikes", kSingle, 1, 0, 0, -1, kHazard},
    {"spikes-down", kSingle, 1, 0, 0, -1, kHazard},
    {"lava-top", kAnimation, 4, 0, 0, -1, kHazard},
    {"lava", kAnimation, 4, 0, 0, -1, kHazard},
    {"water-top", kAnimation, 4, 0, 0, -1, kDecoration},
    {"water", kSingle, 1, 0, 0, -1, kDecoration},
    {"torch", kAnimation, 4, 0, 0, -1, kDecoration},
    {"tuft", kVariants, 3, 0, 0, -1, kDecoration},
    {"flower", kVariants, 3, 0, 0, -1, kDecoration},
    {"bush", kStamp, 2, 2, 0, -1, kDecoration},
    {"rock", kSingle, 1, 0, 0, -1, kDecoration},
    {"mushroom", kVariants, 2, 0, 0, -1, kDecoration},
    {"sign", kSingle, 1, 0, 0, -1, kDecoration},
    {"sign-back", kSingle, 1, 0, 0, -1, kDecoration},
    {"fence", kSingle, 1, 0, 0, -1, kDecoration},
    {"crystal", kVariants, 3, 0, 0, -1, kDecoration},
    {"stalactite", kVariants, 2, 0, 0, -1, kDecoration},
    {"vine", kVariants, 2, 0, 0, -1, kDecoration},
    {"bones", kVariants, 2, 0, 0, -1, kDecoration},
    {"light", kSingle, 1, 0, 0, -1, kDecoration},
    {"tree", kStamp, 12, 3, 0, -1, kDecoration},
    {"window", kSingle, 1, 0, 0, -1, kDecoration},
    {"banner", kSingle, 1, 0, 0, -1, kDecoration},
    // Items: the bonuses of layer 1, and the start marker at its fixed number.
    {"coin", kAnimation, 6, 0, 1, -1, kBonus},
    {"gem-red", kAnimation, 6, 0, 1, -1, kBonus},
    {"gem-blue", kAnimation, 6, 0, 1, -1, kBonus},
    {"gem-green", kAnimation, 6, 0, 1, -1, kBonus},
    {"start", kSingle, 1, 0, 1, kStartMarkerTile, kDecoration},
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
        const TileLook open_above =
            spec.look_open_above == kSameLook ? spec.look : spec.look_open_above;
        layout.families.push_back({spec.name, spec.kind, spec.count, spec.stamp_width, spec.tileset,
                                   first, spec.look, open_above});
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

TileLook LookOfTile(int32_t tile) {
    for (const TileFamily& f : TileFamilies()) {
        if (tile < f.first || tile >= f.first + f.count) continue;
        const bool open_above = f.kind == TileKind::kAutotile && !((tile - f.first) & kJoinUp);
        return open_above ? f.look_open_above : f.look;
    }
    return TileLook::kNothing;
}

int32_t TotalTileCount() {
    const Tileset& last = kTilesets.back();
    return last.first_tile + last.tile_count();
}

}  // namespace kavro_art
