// user32 keyboard accelerator tables: made from ACCEL entries, matched against key-down
// messages, turned into WM_COMMAND.
#include <cstring>
#include <vector>

#include "platform/win32/messages.h"
#include "platform/win32/window.h"
#include "platform/win32/window_record.h"

struct AcceleratorTable {
    std::vector<ACCEL> entries;
};

HACCEL CreateAcceleratorTableA(const ACCEL* entries, int count) {
    if (!entries || count <= 0) return nullptr;
    auto* table = new AcceleratorTable;
    table->entries.assign(entries, entries + count);
    return table;
}

BOOL DestroyAcceleratorTable(HACCEL table) {
    if (!table) return FALSE;
    delete table;
    return TRUE;
}

namespace {
bool Down(int vk) {
    return (GetKeyState(vk) & 0x8000) != 0;
}
}  // namespace

int TranslateAcceleratorA(HWND window, HACCEL table, const MSG* msg) {
    if (!table || !msg || !User32_Live(window)) return 0;
    if (msg->message != WM_KEYDOWN && msg->message != WM_SYSKEYDOWN) return 0;
    bool shift = Down(VK_SHIFT);
    bool control = Down(VK_CONTROL);
    bool alt = msg->message == WM_SYSKEYDOWN || Down(VK_MENU);
    for (const ACCEL& a : table->entries) {
        // Only virtual-key entries: character entries come from WM_CHAR, which is not
        // translated here.
        if (!(a.fVirt & FVIRTKEY) || a.key != msg->wParam) continue;
        if (((a.fVirt & FSHIFT) != 0) != shift) continue;
        if (((a.fVirt & FCONTROL) != 0) != control) continue;
        if (((a.fVirt & FALT) != 0) != alt) continue;
        SendMessageA(window, WM_COMMAND, MAKEWPARAM(a.cmd, 1), 0);
        return 1;
    }
    return 0;
}
