// Moving objects: each active entry is animated, drawn where it stands, then moved along its
// patrol between two limits.
#include "game/map/map_state.h"
#include "runtime/core/strings.h"
#include "runtime/screen/sprite.h"

MapObject* Map_Object(int32_t index) {
    MapEngineState& m = Map_State();
    if (!m.objects || index < 0 || index >= kMapObjectCount) return nullptr;
    return &m.objects[index];
}

int32_t Map_UpdateObject(int32_t index) {
    MapEngineState& m = Map_State();
    MapObject* o = Map_Object(index);
    if (!o || o->active != 1) return 0;
    // The object's screen position; the screen origin is not added.
    const int32_t sx = o->x - m.first_column * m.tile_size + m.offset_x;
    const int32_t sy = o->y - m.first_row * m.tile_size + m.offset_y;
    o->anim_position = o->anim_position + o->anim_speed;
    if (o->anim_position > static_cast<float>(o->last_frame)) o->anim_position = 0.0f;
    // Frame 0 of the sheet row for its direction; no frame for a direction other than 0 or 1.
    int32_t base = 0;
    if (o->direction == 1)
        base = o->right_frame_x;
    else if (o->direction == 0)
        base = o->left_frame_x;
    // Drawn where it stands, before it moves.
    Sprite_Clip(o->sprite, base + Number_Truncate(o->anim_position) * o->frame_width, 0,
                o->frame_width, o->frame_height);
    Sprite_DisplayTransparent(o->sprite, sx, sy);
    o->screen_x = sx;
    o->screen_y = sy;
    // At the right limit it turns and steps back in the same update.
    if (o->direction == 1) {
        o->x = o->x + o->speed;
        if (o->x > o->right_limit) o->direction = 0;
    }
    if (o->direction == 0) {
        o->x = o->x - o->speed;
        if (o->x < o->left_limit) o->direction = 1;
    }
    return 0;
}
