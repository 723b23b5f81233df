// The start-up and cleanup chains of the DirectDraw 7 deliverable, in their fixed order.
// A library joins its chain when it exists; the order of the others stays.
#include <iterator>

#include "runtime/core/gadget.h"
#include "runtime/core/program.h"
#include "runtime/core/requester.h"
#include "runtime/core/strings.h"
#include "runtime/core/system.h"
#include "runtime/imagelib/image_library.h"

namespace {

const ChainRoutine kStartup[] = {
    {"String_Init", &String_Init},
    {"Image_Init", &Image_Init},
    {"ImageTable_Init", &ImageTable_Init},
    {"System_Init", &System_Init},
    {"Gadget_Init", &Gadget_Init},
};

const ChainRoutine kCleanup[] = {
    {"Gadget_End", &Gadget_End},
    {"Requester_End", &Requester_End},
    {"ImageTable_End", &ImageTable_End},
    {"Image_End", &Image_End},
};

}  // namespace

const RuntimeChains Runtime_Chains = {kStartup, static_cast<int>(std::size(kStartup)), kCleanup,
                                      static_cast<int>(std::size(kCleanup))};
