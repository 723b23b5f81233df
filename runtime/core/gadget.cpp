#include "runtime/core/gadget.h"

#include "platform/gdi/gdi.h"
#include "platform/win32/shell.h"
#include "platform/win32/sync.h"
#include "platform/win32/window.h"
#include "runtime/core/library_state.h"
#include "runtime/core/object_table.h"

namespace {

struct GadgetRecord {
    HWND control;
    uint8_t rest[24];
};
static_assert(sizeof(GadgetRecord) == 32);

struct GadgetLibrary {
    CRITICAL_SECTION lock;
    HGDIOBJ font;
    ObjectTable* table;
    GadgetState* state;
};
GadgetLibrary g_gadgets;

void FreeGadget(int32_t number) {
    auto* g = static_cast<GadgetRecord*>(ObjectTable_Get(g_gadgets.table, number));
    if (!g) return;
    DestroyWindow(g->control);
    ObjectTable_Release(g_gadgets.table, number);
}

void InitState(void* block) {
    static_cast<GadgetState*>(block)->count = 10;
}

}  // namespace

void Gadget_Init() {
    InitializeCriticalSection(&g_gadgets.lock);
    g_gadgets.font = GetStockObject(DEFAULT_GUI_FONT);
    g_gadgets.table = ObjectTable_Create(sizeof(GadgetRecord), 50, &FreeGadget);
    g_gadgets.state =
        static_cast<GadgetState*>(LibraryState_Create(sizeof(GadgetState), &InitState, nullptr));
    INITCOMMONCONTROLSEX icc{sizeof(INITCOMMONCONTROLSEX),
                             ICC_TAB_CLASSES | ICC_HOTKEY_CLASS | ICC_DATE_CLASSES |
                                 ICC_USEREX_CLASSES | ICC_INTERNET_CLASSES};
    InitCommonControlsEx(&icc);
}

void Gadget_End() {
    GadgetState* state = static_cast<GadgetState*>(LibraryState_Get(g_gadgets.state));
    if (state && state->hidden_window) {
        DestroyWindow(state->hidden_window);
        state->hidden_window = nullptr;
    }
}

ObjectTable* Gadget_Table() {
    return g_gadgets.table;
}
GadgetState* Gadget_State() {
    return g_gadgets.state;
}
