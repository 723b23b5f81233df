// The start-up and cleanup chains of the DirectDraw 7 deliverable, in their fixed order; how
// and why they differ from the Direct3D 9 deliverable's is told in chains_d3d9.cpp.
// A library joins its chain when it exists; the order of the others stays.
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
#include "runtime/screen/drawing.h"
#include "runtime/screen/screen.h"
#include "runtime/screen/sprite3d.h"
#include "runtime/sound/sound.h"

namespace {

const ChainRoutine kStartup[] = {
    {"String_Init", &String_Init},
    {"ImageDecoder_Init", &ImageDecoder_Init},
    {"ImageDecoder_UseBmp", &ImageDecoder_UseBmp},
    {"Image_Init", &Image_Init},
    {"ImageTable_Init", &ImageTable_Init},
    {"Drawing_Init", &Drawing_Init},
    {"Array_Init", &Array_Init},
    {"File_Init", &File_Init},
    {"List_Init", &List_Init},
    {"Memory_Init", &Memory_Init},
    {"System_Init", &System_Init},
    {"Gadget_Init", &Gadget_Init},
    {"Event_Init", &Event_Init},
    {"Window_Init", &Window_Init},
};

const ChainRoutine kCleanup[] = {
    {"Window_End", &Window_End},
    {"Gadget_End", &Gadget_End},
    {"Sound_End", &Sound_End},
    {"Requester_End", &Requester_End},
    {"Memory_End", &Memory_End},
    {"Joystick_End", &Joystick_End},
    {"File_End", &File_End},
    {"Sprite3D_End", &Sprite3D_End},
    {"ImageTable_End", &ImageTable_End},
    {"Image_End", &Image_End},
    {"Sprite_End", &Sprite_End},
    {"Keyboard_End", &Keyboard_End},
};

}  // namespace

const RuntimeChains Runtime_Chains = {kStartup, static_cast<int>(std::size(kStartup)), kCleanup,
                                      static_cast<int>(std::size(kCleanup))};
