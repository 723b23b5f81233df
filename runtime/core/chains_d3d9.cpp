// The start-up and cleanup chains of the Direct3D 9 deliverable, in their fixed order.
// A library joins its chain when it exists; the order of the others stays.
//
// The DirectDraw 7 deliverable's chains (chains_ddraw7.cpp) order four entries differently,
// because its screen library depends on more: its Sprite_Init starts the keyboard itself, so
// the keyboard ends after the screen; and its quads are drawn from the sprites' own surfaces,
// which Sprite_End frees with the DirectDraw object, so the quads end first. Here a quad holds
// its own texture, and the keyboard and the screen do not depend on each other. The BMP decoder
// is registered at a different point of the start-up chain, which changes nothing: no routine
// between registers a decoder, so BMP is the first decoder in both.
#include <iterator>

#include "runtime/core/array.h"
#include "runtime/core/event.h"
#include "runtime/core/gadget.h"
#include "runtime/core/list.h"
#include "runtime/core/memory.h"
#include "runtime/core/program.h"
#include "runtime/core/requester.h"
#include "runtime/core/strings.h"
#include "runtime/core/system.h"
#include "runtime/core/window.h"
#include "runtime/file/file.h"
#include "runtime/image/image_decoder.h"
#include "runtime/imagelib/image_library.h"
#include "runtime/input/joystick.h"
#include "runtime/input/keyboard.h"
#include "runtime/screen/d3d9/screen.h"
#include "runtime/screen/d3d9/sprite3d.h"
#include "runtime/screen/drawing.h"
#include "runtime/sound/sound.h"

namespace {

const ChainRoutine kStartup[] = {
    {"String_Init", &String_Init},   {"ImageDecoder_Init", &ImageDecoder_Init},
    {"Image_Init", &Image_Init},     {"ImageTable_Init", &ImageTable_Init},
    {"Drawing_Init", &Drawing_Init}, {"Array_Init", &Array_Init},
    {"File_Init", &File_Init},       {"ImageDecoder_UseBmp", &ImageDecoder_UseBmp},
    {"List_Init", &List_Init},       {"Memory_Init", &Memory_Init},
    {"System_Init", &System_Init},   {"Gadget_Init", &Gadget_Init},
    {"Event_Init", &Event_Init},     {"Window_Init", &Window_Init},
};

const ChainRoutine kCleanup[] = {
    {"Window_End", &Window_End},         {"Gadget_End", &Gadget_End},
    {"Sound_End", &Sound_End},           {"Requester_End", &Requester_End},
    {"Memory_End", &Memory_End},         {"Keyboard_End", &Keyboard_End},
    {"Sprite_End", &Sprite_End},         {"Sprite3D_End", &Sprite3D_End},
    {"Joystick_End", &Joystick_End},     {"File_End", &File_End},
    {"ImageTable_End", &ImageTable_End}, {"Image_End", &Image_End},
};

}  // namespace

const RuntimeChains Runtime_Chains = {kStartup, static_cast<int>(std::size(kStartup)), kCleanup,
                                      static_cast<int>(std::size(kCleanup))};
