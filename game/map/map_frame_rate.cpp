// The frame counter: counts calls per second of the local clock.
#include "game/map/map_state.h"
#include "runtime/core/date.h"
#include "runtime/core/strings.h"

namespace {

int32_t CurrentSecond() {
    StringGlobals& g = String_Globals();
    int32_t p0 = g.position;
    int32_t second = static_cast<int32_t>(String_Val(Date_Format("%ss", Date_Now(), p0)));
    String_SetPosition(p0);
    return second;
}

}  // namespace

const char* Map_FrameRate() {
    MapEngineState& m = Map_State();
    StringGlobals& g = String_Globals();
    int32_t p0 = g.position;
    // The second of the local clock; a new one reports the frames counted in the last.
    int32_t s = CurrentSecond();
    if (s == m.last_second) {
        ++m.frames;
    } else {
        String_FromQuad(m.frames, p0);
        m.frames = 0;
    }
    // The text lives in the engine's variable; storing reuses its block every frame.
    String_Store(&m.frame_rate_text, p0);
    // The second is read anew, not taken from above.
    m.last_second = CurrentSecond();
    return m.frame_rate_text;
}
