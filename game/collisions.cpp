// Collisions: five probes of map cells around the player and the reactions to their codes.
#include <cmath>

#include "content/sprites.h"
#include "game/game_state.h"
#include "game/map/map_engine.h"

using namespace kavro_content;

namespace {

int32_t Probe(int32_t x, int32_t y, int32_t layer) {
    Map_CellAt(x, y, layer);
    return Map_LastAttribute();
}

int32_t Rounded(float value) {
    return static_cast<int32_t>(std::nearbyint(value));
}

bool IsSlope(int32_t code) {
    return code == kRisingSlope || code == kFallingSlope;
}

}  // namespace

void Game_Probe() {
    GameVariables& g = Game();
    g.head_attr = Probe(336, 240, 0);
    g.body_attr = Probe(336, 256, 0);
    g.bonus_attr = Probe(336, 256, 1);
    g.feet_attr = Probe(336, 272, 0);
    g.side_attr = Probe(320 + g.side_probe_dx, 256, 0);
}

void Game_LadderTouch() {
    GameVariables& g = Game();
    if (g.body_attr == kLadder) {
        g.saved_view_y = Rounded(g.view_y);
        g.gravity = 0.04f;
        g.jump_speed = -8.0f;
        g.jumping = 0;
        g.falling = 0;
        g.frame_x = kPlayerClimbX;
        g.anim_phase = 0.0f;
        if (g.velocity_y > 1.0f) g.velocity_y = 1.0f;
    } else {
        g.gravity = 0.4f;
        g.jump_speed = -10.0f;
    }
}

void Game_Wall() {
    GameVariables& g = Game();
    if (g.side_attr == kSolid) g.view_x = g.previous_view_x;
}

void Game_Landing() {
    GameVariables& g = Game();
    if ((g.feet_attr == kSolid || g.feet_attr == kPlatform) && g.jumping == 0) {
        g.velocity_y = 0.0f;
        g.falling = 0;
        // Snapped so that the feet rest 2 pixels inside the ground row.
        if (g.body_attr != kLadder) {
            g.tile_row = Rounded(g.view_y / 32.0f);
            g.view_y = static_cast<float>(g.tile_row * 32) - 14.0f;
        }
    }
}

void Game_HeadBump() {
    GameVariables& g = Game();
    if (g.head_attr == kSolid && g.head_bumped == 0) {
        g.view_y = static_cast<float>(g.saved_view_y);
        g.velocity_y = 0.0f;
        g.jumping = 0;
        g.falling = 1;
        g.head_bumped = 1;
    }
}

void Game_HeadBumpRelease() {
    GameVariables& g = Game();
    if (g.head_bumped == 1 && g.head_attr != kSolid) g.head_bumped = 0;
}

void Game_Bonus() {
    GameVariables& g = Game();
    if (g.bonus_attr != kBonus) return;
    // The cell the body probe found in layer 1, from the cell's centre.
    const int32_t px = 320 - Map_OffsetX();
    const int32_t py = 240 - Map_OffsetY();
    const int32_t column = Map_FirstColumn() + Number_Truncate((px + 16.0) / 32.0);
    const int32_t row = Map_FirstRow() + Number_Truncate((py + 16.0) / 32.0);
    // The item disappears and cannot be collected again.
    Map_SetCellTile(column, row, 1, -1);
    Map_SetCellAttribute(column, row, 1, 0);
    Map_SetCellAnimated(column, row, 1, 0);
    g.score = g.score + 100;
}

void Game_Slopes() {
    GameVariables& g = Game();
    if (!IsSlope(g.body_attr) && !IsSlope(g.feet_attr)) {
        g.slope_base = -1;
        return;
    }
    // The reference height is fixed at the first touch of a slope.
    if (g.slope_base == -1 && IsSlope(g.body_attr)) {
        g.tile_row = Rounded(g.view_y / 32.0f);
        g.slope_base = g.tile_row * 32 - 16;
    }
    if (g.slope_base == -1 && IsSlope(g.feet_attr)) {
        g.tile_row = Rounded(g.view_y / 32.0f);
        g.slope_base = g.tile_row * 32 + 16;
    }
    // A falling slope wins when both occur.
    const int32_t column = g.slope_column < 0 ? 0 : (g.slope_column > 32 ? 32 : g.slope_column);
    if (g.body_attr == kRisingSlope || g.feet_attr == kRisingSlope) {
        g.view_y = static_cast<float>(g.slope_base - g.slope_rise[column]);
    }
    if (g.body_attr == kFallingSlope || g.feet_attr == kFallingSlope) {
        g.view_y = static_cast<float>(g.slope_base - g.slope_fall[column]);
    }
}
