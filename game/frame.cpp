// One pass of the frame loop: keys, movement, drawing, probes and reactions, texts, flip.
#include <cmath>

#include "content/keys.h"
#include "content/sprites.h"
#include "game/game_state.h"
#include "game/map/map_engine.h"
#include "runtime/input/keyboard.h"
#include "runtime/screen/screen.h"
#include "runtime/screen/sprite.h"
#include "runtime/screen/sprite3d.h"

using namespace kavro_content;

namespace {

// The keys of one frame, all from one keyboard snapshot.
struct FrameKeys {
    bool right, left, space, up;
};

int32_t Rounded(float value) {
    return static_cast<int32_t>(std::nearbyint(value));
}

void CountFrame() {
    String_Assign(&Game().fps_text, Map_FrameRate());
}

// Escape ends the loop once this frame is complete.
FrameKeys ReadKeys() {
    Keyboard_Poll();
    if (Keyboard_IsDown(kKeyEscape)) Game().quit = 1;
    return FrameKeys{Keyboard_IsDown(kKeyRight) != 0, Keyboard_IsDown(kKeyLeft) != 0,
                     Keyboard_IsDown(kKeySpace) != 0, Keyboard_IsDown(kKeyUp) != 0};
}

// The frame group shown unless a walking step or a ladder changes it.
void ChooseFrameGroup() {
    GameVariables& g = Game();
    if (g.falling == 1) {
        g.frame_x = kPlayerFallX;
        g.anim_phase = 0.0f;
    } else {
        g.frame_x = kPlayerWalkX;
    }
    if (g.jumping == 1) {
        g.frame_x = kPlayerJumpX;
        g.anim_phase = 0.0f;
    }
}

// A walking step of 3 pixels to one side: direction +1 is right, -1 left.
void Walk(int32_t direction) {
    GameVariables& g = Game();
    const bool right = direction > 0;
    g.previous_view_x = g.view_x - direction;
    g.frame_row_y = right ? kPlayerFacingRightY : kPlayerFacingLeftY;
    g.frame_x = kPlayerWalkX;
    g.view_x = g.view_x + 3 * direction;
    if (g.jumping == 1) {
        g.frame_x = kPlayerJumpX;
        g.anim_phase = 0.0f;
    } else {
        g.frame_x = kPlayerFallX;
    }
    if (g.jumping == 0 && g.falling == 0) {
        g.frame_x = kPlayerWalkX;
        g.anim_phase = g.anim_phase + 0.2f;
        if (Number_Truncate(g.anim_phase) == kPlayerWalkFrames) g.anim_phase = 0.0f;
    }
    g.side_probe_dx = right ? 28 : 2;
}

// Both arrows held: a step right and one back left, so the player stands facing left.
void WalkByArrows(const FrameKeys& keys) {
    if (keys.right) Walk(+1);
    if (keys.left) Walk(-1);
}

// Only from standing, and only when the head probe of the previous frame saw nothing.
void StartJump(const FrameKeys& keys) {
    GameVariables& g = Game();
    if (keys.space && g.jumping == 0 && g.falling == 0 && g.head_attr == 0) {
        g.jumping = 1;
        g.velocity_y = g.jump_speed;
    }
}

// The background scrolls at 1/8.5416 of the map's speed; x divides by the double, y by the
// float nearest to it.
void DrawBackground() {
    const GameVariables& g = Game();
    const int32_t bx = static_cast<int32_t>(std::nearbyint(-(g.view_x / 8.5416)));
    const int32_t by = static_cast<int32_t>(
        std::nearbyint(-(static_cast<double>(g.view_y) / static_cast<double>(8.5416f))));
    Sprite_Display(kBackgroundSprite, bx, by);
}

// One pixel up when the previous frame's head probe was on a ladder.
void Climb(const FrameKeys& keys) {
    GameVariables& g = Game();
    if (keys.up && g.head_attr == kLadder) {
        g.saved_view_y = Rounded(g.view_y);
        g.view_y = g.view_y - 1.0f;
        g.velocity_y = 0.0f;
    }
}

// The view stays inside the map before it is drawn.
void ClampView() {
    GameVariables& g = Game();
    if (g.view_y > static_cast<float>(g.view_y_max)) g.view_y = static_cast<float>(g.view_y_max);
    if (g.view_y < 0.0f) g.view_y = 0.0f;
    if (g.view_x > g.view_x_max) g.view_x = g.view_x_max;
    if (g.view_x < 0) g.view_x = 0;
}

// Both map layers as textured quads, layer 1 over layer 0.
void DrawLevel() {
    const GameVariables& g = Game();
    Map_SetScreenOrigin(0, 0);
    Sprite3D_Start();
    Map_SetPosition(static_cast<float>(g.view_x), g.view_y);
    Map_DrawLayer(0, 20, 15);
    Map_DrawLayer(1, 20, 15);
    Sprite3D_Stop();
}

// The player, always at the screen's centre: the map scrolls under it.
void DrawPlayer() {
    const GameVariables& g = Game();
    Sprite_Clip(kPlayerSprite, g.frame_x + Number_Truncate(g.anim_phase) * kPlayerFrameWidth,
                g.frame_row_y, kPlayerFrameWidth, kPlayerFrameHeight);
    Sprite_DisplayTransparent(kPlayerSprite, 320, 240);
}

// The jump ends when the speed turns downwards.
void JumpStep() {
    GameVariables& g = Game();
    if (g.jumping != 1) return;
    g.saved_view_y = Rounded(g.view_y);
    g.view_y = g.view_y + g.velocity_y;
    g.velocity_y = g.velocity_y + g.gravity;
    if (g.velocity_y > 0.0f) {
        g.velocity_y = 0.0f;
        g.jumping = 0;
    }
}

// Anything but solid ground or a platform under the feet lets the player fall.
void FallStep() {
    GameVariables& g = Game();
    if (g.feet_attr != kSolid && g.feet_attr != kPlatform && g.jumping == 0) {
        g.falling = 1;
        g.view_y = g.view_y + g.velocity_y;
        g.velocity_y = g.velocity_y + g.gravity;
    }
}

// A deadly cell under the body puts the player back on the start marker.
bool Die() {
    if (Game().body_attr != kDeadly) return false;
    Game_LevelStart();
    return true;
}

// The player's screen x is a multiple of 32, so the first cell's offset is the player's column
// inside its own cell.
void FindSlopeColumn() {
    Game().slope_column = -Map_OffsetX();
}

// On a ladder the player never counts as falling.
void HoldOnLadder() {
    GameVariables& g = Game();
    if (g.body_attr == kLadder) g.falling = 0;
}

}  // namespace

bool Game_Frame() {
    CountFrame();
    const FrameKeys keys = ReadKeys();
    ChooseFrameGroup();
    WalkByArrows(keys);
    StartJump(keys);
    DrawBackground();
    Climb(keys);
    ClampView();
    DrawLevel();
    Map_UpdateObject(0);
    // The probes see the new view; a ladder sets the next frame's gravity and jump speed.
    Game_Probe();
    Game_LadderTouch();
    DrawPlayer();
    Game_Wall();
    Game_Landing();
    JumpStep();
    Game_HeadBump();
    Game_HeadBumpRelease();
    FallStep();
    Game_Bonus();
    // A death ends the pass here: no texts and no flip.
    if (Die()) return false;
    FindSlopeColumn();
    Game_DisplayTexts();
    HoldOnLadder();
    Game_Slopes();
    Screen_Flip();
    return true;
}
