// One pass of the frame loop: keys, movement, drawing, probes and reactions, texts, flip.
#include <cmath>

#include "game/game_state.h"
#include "game/map/map_engine.h"
#include "runtime/input/keyboard.h"
#include "runtime/screen/screen.h"
#include "runtime/screen/sprite.h"
#include "runtime/screen/sprite3d.h"

namespace {

constexpr int32_t kKeyEscape = 1;
constexpr int32_t kKeySpace = 57;
constexpr int32_t kKeyUp = 200;
constexpr int32_t kKeyLeft = 203;
constexpr int32_t kKeyRight = 205;

// A walking step of 3 pixels to one side: direction +1 is right, -1 left.
void Walk(int32_t direction) {
    GameVariables& g = Game();
    const bool right = direction > 0;
    g.previous_view_x = g.view_x - direction;
    g.frame_row_y = right ? 0 : 32;
    g.frame_x = 0;
    g.view_x = g.view_x + 3 * direction;
    if (g.jumping == 1) {
        g.frame_x = 90;
        g.anim_phase = 0.0f;
    } else {
        g.frame_x = 119;
    }
    if (g.jumping == 0 && g.falling == 0) {
        g.frame_x = 0;
        g.anim_phase = g.anim_phase + 0.2f;
        if (Number_Truncate(g.anim_phase) == 3) g.anim_phase = 0.0f;
    }
    g.side_probe_dx = right ? 28 : 2;
}

int32_t Rounded(float value) {
    return static_cast<int32_t>(std::nearbyint(value));
}

}  // namespace

bool Game_Frame() {
    GameVariables& g = Game();
    String_Assign(&g.fps_text, Map_FrameRate());
    // One keyboard snapshot serves every key test of the frame.
    Keyboard_Poll();
    if (Keyboard_IsDown(kKeyEscape)) g.quit = 1;
    // The frame group shown unless a walking step or a ladder changes it.
    if (g.falling == 1) {
        g.frame_x = 119;
        g.anim_phase = 0.0f;
    } else {
        g.frame_x = 0;
    }
    if (g.jumping == 1) {
        g.frame_x = 90;
        g.anim_phase = 0.0f;
    }
    // Both arrows held: a step right and one back left, so the player stands facing left.
    if (Keyboard_IsDown(kKeyRight)) Walk(+1);
    if (Keyboard_IsDown(kKeyLeft)) Walk(-1);
    // The head probe of the previous frame must see nothing.
    if (Keyboard_IsDown(kKeySpace) && g.jumping == 0 && g.falling == 0 && g.head_attr == 0) {
        g.jumping = 1;
        g.velocity_y = g.jump_speed;
    }
    // The background scrolls at 1/8.5416 of the map's speed.
    const int32_t bx = static_cast<int32_t>(std::nearbyint(-(g.view_x / 8.5416)));
    const int32_t by = static_cast<int32_t>(
        std::nearbyint(-(static_cast<double>(g.view_y) / static_cast<double>(8.5416f))));
    Sprite_Display(0, bx, by);
    // Climbing needs the previous frame's head probe on a ladder.
    if (Keyboard_IsDown(kKeyUp) && g.head_attr == kLadder) {
        g.saved_view_y = Rounded(g.view_y);
        g.view_y = g.view_y - 1.0f;
        g.velocity_y = 0.0f;
    }
    // The view stays inside the map before it is drawn.
    if (g.view_y > static_cast<float>(g.view_y_max)) g.view_y = static_cast<float>(g.view_y_max);
    if (g.view_y < 0.0f) g.view_y = 0.0f;
    if (g.view_x > g.view_x_max) g.view_x = g.view_x_max;
    if (g.view_x < 0) g.view_x = 0;
    // Both map layers as textured quads, layer 1 over layer 0.
    Map_SetScreenOrigin(0, 0);
    Sprite3D_Start();
    Map_SetPosition(static_cast<float>(g.view_x), g.view_y);
    Map_DrawLayer(0, 20, 15);
    Map_DrawLayer(1, 20, 15);
    Sprite3D_Stop();
    Map_UpdateObject(0);
    // The probes see the new view; a ladder sets the next frame's gravity and jump speed.
    Game_Probe();
    Game_LadderTouch();
    // The player, always at the screen's centre: the map scrolls under it.
    Sprite_Clip(100, g.frame_x + Number_Truncate(g.anim_phase) * 28, g.frame_row_y, 28, 32);
    Sprite_DisplayTransparent(100, 320, 240);
    Game_Wall();
    Game_Landing();
    // Jump step: the jump ends when the speed turns downwards.
    if (g.jumping == 1) {
        g.saved_view_y = Rounded(g.view_y);
        g.view_y = g.view_y + g.velocity_y;
        g.velocity_y = g.velocity_y + g.gravity;
        if (g.velocity_y > 0.0f) {
            g.velocity_y = 0.0f;
            g.jumping = 0;
        }
    }
    Game_HeadBump();
    Game_HeadBumpRelease();
    // Fall step: anything but solid ground or a platform under the feet lets the player fall.
    if (g.feet_attr != kSolid && g.feet_attr != kPlatform && g.jumping == 0) {
        g.falling = 1;
        g.view_y = g.view_y + g.velocity_y;
        g.velocity_y = g.velocity_y + g.gravity;
    }
    Game_Bonus();
    // A deadly cell restarts the level; the rest of this frame does not run.
    if (g.body_attr == kDeadly) {
        Game_LevelStart();
        return false;
    }
    // The player's screen x is a multiple of 32.
    g.slope_column = -Map_OffsetX();
    Game_DisplayTexts();
    // On a ladder the player never counts as falling.
    if (g.body_attr == kLadder) g.falling = 0;
    Game_Slopes();
    Screen_Flip();
    return true;
}
