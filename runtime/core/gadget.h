// The window library's gadget layer: the game creates no gadgets, so only its start-up and
// cleanup run.
#pragma once
#include <cstdint>

#include "platform/win32/types.h"

struct ObjectTable;

struct GadgetState {
    int32_t count;  // starts at 10
    int32_t reserved;
    HWND hidden_window;  // made on demand by gadgets that need one
    uint8_t work[40];
    uint8_t spare[24];
};

static_assert(sizeof(GadgetState) == 80);

void Gadget_Init();
void Gadget_End();
ObjectTable* Gadget_Table();
GadgetState* Gadget_State();
