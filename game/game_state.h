// The game's variables. They live in the program's global block, which Program_Start zeroes,
// so every variable starts as 0, 0.0 or the empty string.
#pragma once
#include <cstdint>

#include "content/attributes.h"
#include "runtime/core/program.h"
#include "runtime/core/strings.h"

struct GameVariables {
    StringVariable backend_name;
    StringVariable window_title;
    StringVariable fps_text;
    StringVariable fps_shown;
    int32_t* slope_rise;  // array variables of 33 elements
    int32_t* slope_fall;

    int32_t player_screen_x, player_screen_y;
    int32_t view_x;
    float view_y;
    int32_t view_x_max, view_y_max;
    int32_t previous_view_x;
    int32_t saved_view_y;
    int32_t jumping, falling;
    float velocity_y;
    float gravity;
    float jump_speed;
    float anim_phase;
    int32_t frame_x, frame_row_y;
    int32_t side_probe_dx;
    int32_t quit;
    int32_t score;
    int32_t slope_base;
    int32_t slope_column;
    int32_t tile_row;
    int32_t start_column, start_row;
    int32_t head_attr, body_attr, bonus_attr, feet_attr, side_attr;
    int32_t head_bumped;
};

inline GameVariables& Game() {
    return Program_Variables<GameVariables>();
}

// Start-up up to the first frame; ends the program itself on a fatal start-up error.
void Game_StartUp(const char* backend_name);
// Puts the player on the start marker with a score of 0.
void Game_LevelStart();
// One pass of the frame loop; false when a level restart cut it short (no texts, no flip).
bool Game_Frame();
// The collision steps of a frame, in the frame's order.
void Game_Probe();
void Game_LadderTouch();
void Game_Wall();
void Game_Landing();
void Game_HeadBump();
void Game_HeadBumpRelease();
void Game_Bonus();
void Game_Slopes();
// The seven display lines.
void Game_DisplayTexts();
