// Game start-up: library checks with their messages, the window title, slope tables, screen,
// sprites from the embedded images, the map engine and the level; and the level start.
#include "content/sprites.h"
#include "content/tiles.h"
#include "embedded_images.h"
#include "game/game_state.h"
#include "game/map/map_engine.h"
#include "runtime/core/array.h"
#include "runtime/core/requester.h"
#include "runtime/core/temp_text.h"
#include "runtime/file/file.h"
#include "runtime/image/image_decoder.h"
#include "runtime/input/joystick.h"
#include "runtime/input/keyboard.h"
#include "runtime/screen/screen.h"
#include "runtime/screen/sprite.h"
#include "runtime/screen/sprite3d.h"
#include "runtime/sound/sound.h"

using namespace kavro_content;

namespace {

constexpr int32_t kTypeMainInts = 21;
constexpr int32_t kMessageError = 16;
const char kMapName[] = "Kavro.Map";

// Shows a start-up error with the title as the caption's prefix, then ends the program.
[[noreturn]] void Fail(const char* caption_suffix, const char* text) {
    TempText caption;
    caption.Add(Game().window_title).Add(caption_suffix);
    Requester_Message(caption.Text(), text, kMessageError);
    Program_End();
}

void FillSlopeTables() {
    GameVariables& g = Game();
    Array_Create(4, 33, kTypeMainInts, nullptr, &g.slope_rise);
    Array_Create(4, 33, kTypeMainInts, nullptr, &g.slope_fall);
    int32_t v = 1;
    for (int32_t i = 16; i <= 31; ++i, ++v) {
        g.slope_rise[i] = v;
        g.slope_fall[i] = 32 - v;
    }
    for (int32_t i = 0; i <= 15; ++i, ++v) {
        g.slope_rise[i] = v;
        g.slope_fall[i] = 32 - v;
    }
}

void FillCreature() {
    MapObject* o = Map_Object(0);
    o->sprite = kCreatureSprite;
    o->x = 400;
    o->y = 1025;
    o->anim_position = 0.0f;
    o->right_frame_x = kCreatureRightX;
    o->left_frame_x = kCreatureLeftX;
    o->anim_speed = 0.2f;
    o->last_frame = 3;
    o->speed = 1;
    o->right_limit = 570;
    o->left_limit = 320;
    o->direction = 1;
    // The creature is shown: active, with 32 x 32 frames from its sheet.
    o->active = 1;
    o->frame_width = kCreatureFrameSize;
    o->frame_height = kCreatureFrameSize;
}

// The frame loop reads cells around the player and scrolls up to W - 20 columns and H - 15
// rows, so a map it can play has 32-pixel tiles and at least 21 x 16 cells.
void LoadMapOrFail() {
    int32_t result = Map_Load(kMapName);
    const char* problem = nullptr;
    if (result == 0)
        problem = " was not found in ";
    else if (result == -1)
        problem = " is not a level map.";
    else if (result == -2 || result == -3)
        problem = " has a map version this game cannot read.";
    else if (result == kMapRefused)
        problem = " describes a grid this game cannot hold.";
    else if (Map_TileSize() != 32)
        problem = " does not use 32-pixel tiles.";
    else if (Map_LastColumn() < 20 || Map_LastRow() < 15)
        problem = " is smaller than one screen (21 x 16 cells).";
    if (!problem) return;
    TempText text;
    text.Add("The level map ").Add(kMapName).Add(problem);
    // Started from another folder, the player needs to know where the map was looked for.
    if (result == 0) {
        if (!*Path_CurrentDirectory(String_Globals().position)) text.Add("the current directory");
        text.Add(".");
    }
    Fail(" - Map Error", text.Text());
}

// A start whose cell under the player's centre is deadly restarts the level in every frame:
// nothing would ever be shown and no key read (keys arrive with the flip's message pump), so
// the game could not even be quit. Such a map is refused like an unusable one.
void RefuseDeadlyStart() {
    const GameVariables& g = Game();
    Map_FindTiles(kStartMarkerTile, 0);
    // The view of the level start, clamped as the frame loop clamps it.
    int32_t x = (Map_FoundX(0) - 10) * 32, y = (Map_FoundY(0) - 8) * 32;
    x = x > g.view_x_max ? g.view_x_max : x;
    x = x < 0 ? 0 : x;
    y = y > g.view_y_max ? g.view_y_max : y;
    y = y < 0 ? 0 : y;
    // The body probe's cell.
    if (Map_CellAttribute((x + 336) / 32, (y + 256) / 32, 0) != kDeadly) return;
    TempText text;
    text.Add("The level map ").Add(kMapName).Add(" puts the start on a deadly cell.");
    Fail(" - Map Error", text.Text());
}

// The backend's name, and the window title that also begins every start-up message's caption.
void NameTheGame(const char* backend_name) {
    GameVariables& g = Game();
    String_Assign(&g.backend_name, backend_name);
    TempText title;
    title.Add("Xolm - ").Add(g.backend_name).Add(" Jump\xB4n Run");
    title.StoreInto(&g.window_title);
}

// Sprites, 3D, keyboard and sound must start; the joystick is only counted.
void StartLibrariesOrFail() {
    if (!Sprite_Init()) Fail(" - DirectX Error", "You need at least DirectX 7 To run this game");
    if (!Sprite3D_Init()) Fail(" - 3D Hardware Error", "You need a 3D Card to run this game");
    // Without DirectInput nothing can end the game (Escape is read through it), so a missing
    // keyboard is reported like a missing screen instead of starting a game nobody can quit.
    if (!Keyboard_Init()) Fail(" - DirectX Error", "You need at least DirectX 7 To run this game");
    if (!Sound_Init()) {
        Fail(" - Sound Error", "Uhh no Sound Card or any other Programm block the Soundpipes");
    }
    Joystick_Init();
}

// The background picture needs the JPEG decoder; BMP is always there.
void UseDecoders() {
    ImageDecoder_UsePng();
    ImageDecoder_UseJpeg();
}

void PlacePlayerOnScreen() {
    GameVariables& g = Game();
    g.view_y = 0.0f;
    g.player_screen_x = 320;
    g.player_screen_y = 240;
    g.jumping = 0;
}

// Start-up clips; the frame loop clips the player anew every frame.
void CreateSprites() {
    Sprite_CreateFromMemory(kPlayerSprite, kPlayerSheet, static_cast<int32_t>(kPlayerSheetSize));
    Sprite_Clip(kPlayerSprite, 0, 0, 30, 32);
    Sprite_CreateFromMemory(kBackgroundSprite, kBackground, static_cast<int32_t>(kBackgroundSize));
    Sprite_CreateFromMemory(kCreatureSprite, kCreatureSheet,
                            static_cast<int32_t>(kCreatureSheetSize));
    Sprite_Clip(kCreatureSprite, 0, 0, 33, 32);
}

void StartMapEngine() {
    Map_Init();
    Map_SetGraphicsPath("GFX\\");
    FillCreature();
}

// The view scrolls until the last screen's worth of columns and rows.
void SetScrollLimits() {
    GameVariables& g = Game();
    const int32_t t = Map_TileSize();
    const int32_t columns = 640 / t;
    const int32_t rows = 480 / t;
    g.view_x_max = Map_PixelWidth() - columns * t;
    g.view_y_max = Map_PixelHeight() - rows * t;
}

}  // namespace

void Game_StartUp(const char* backend_name) {
    NameTheGame(backend_name);
    StartLibrariesOrFail();
    FillSlopeTables();
    Screen_Open(640, 480, 32, Game().window_title, 0);
    UseDecoders();
    PlacePlayerOnScreen();
    CreateSprites();
    StartMapEngine();
    LoadMapOrFail();
    SetScrollLimits();
    RefuseDeadlyStart();
    Game_LevelStart();
}

void Game_LevelStart() {
    GameVariables& g = Game();
    // The first marker in row-by-row order.
    Map_FindTiles(kStartMarkerTile, 0);
    g.start_column = Map_FoundX(0);
    g.start_row = Map_FoundY(0);
    // The marker's column comes under the player (screen x 320 is 10 columns in); 8 rows up puts
    // the player half a row above the marker's row, from where it falls onto the ground.
    g.view_x = (g.start_column - 10) * 32;
    g.view_y = (static_cast<float>(g.start_row) - 8.0f) * 32.0f;
    g.anim_phase = 0.0f;
    g.score = 0;
    g.gravity = 0.4f;
    g.jump_speed = -10.0f;
    g.slope_base = -1;
}
