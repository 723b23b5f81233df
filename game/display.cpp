// The seven display lines drawn over the scene every frame that ends in a flip.
#include "game/game_state.h"
#include "runtime/core/temp_text.h"
#include "runtime/screen/drawing.h"
#include "runtime/screen/screen.h"

namespace {

void Line(int32_t x, int32_t y, const char* label, int64_t value) {
    TempText text;
    text.Add(label).Add(value);
    Drawing_Text(x, y, text.Text());
}

}  // namespace

void Game_DisplayTexts() {
    GameVariables& g = Game();
    Drawing_Start(Screen_Output());
    // The frame rate shown changes only when the counter reports a new second.
    if (!String_Equal(g.fps_text, g.fps_shown) && String_Len(g.fps_text) != 0) {
        String_Assign(&g.fps_shown, g.fps_text);
    }
    {
        TempText top;
        top.Add(g.backend_name).Add(" - FPS: ").Add(g.fps_shown);
        Drawing_Text(500, 1, top.Text());
    }
    Line(10, 10, "SCORE ", g.score);
    Line(10, 30, "1 Bonus  ", g.body_attr);
    Line(10, 50, "2 drunter", g.feet_attr);
    Line(10, 70, "2 Kopf   ", g.head_attr);
    Line(10, 100, "--> ", g.slope_base);
    Line(10, 130, "--> ", g.tile_row);
    Drawing_Stop();
}
