#include "runtime/core/requester.h"

#include "platform/win32/heap.h"
#include "platform/win32/message_box.h"
#include "platform/win32/process.h"
#include "platform/win32/window.h"
#include "runtime/core/linked_block.h"
#include "runtime/core/program.h"

namespace {

// A window disabled while the box is up.
struct DisabledWindow {
    HWND window;
    DWORD thread;
};

// The requester library's state: file and colour dialogs (which the game never opens) keep a
// pending handle and a work block here.
struct RequesterState {
    HANDLE pending;
    void* work;
};
RequesterState g_requester;

struct EnumContext {
    LinkedBlockHeader** list;
    DWORD thread;
    HWND foreground;
};

BOOL DisableOne(HWND window, LPARAM param) {
    auto* ctx = reinterpret_cast<EnumContext*>(param);
    if (GetWindowThreadProcessId(window, nullptr) != ctx->thread) return TRUE;
    if (!IsWindowVisible(window) || !IsWindowEnabled(window) || window == ctx->foreground) {
        return TRUE;
    }
    EnableWindow(window, FALSE);
    auto* entry = static_cast<DisabledWindow*>(
        LinkedBlock_Add(ctx->list, sizeof(LinkedBlockHeader) + sizeof(DisabledWindow)));
    if (entry) *entry = DisabledWindow{window, ctx->thread};
    return TRUE;
}

}  // namespace

int32_t Requester_Message(const char* caption, const char* text, int32_t flags) {
    LinkedBlockHeader* disabled = nullptr;
    DWORD thread = GetCurrentThreadId();
    HWND foreground = GetForegroundWindow();
    // Disable this thread's other visible, enabled windows.
    EnumContext ctx{&disabled, thread, foreground};
    EnumWindows(&DisableOne, reinterpret_cast<LPARAM>(&ctx));
    // Owner: the foreground window if it is ours.
    DWORD process = 0;
    HWND owner = nullptr;
    if (foreground) {
        GetWindowThreadProcessId(foreground, &process);
        if (process == GetCurrentProcessId()) owner = foreground;
    }
    int result = MessageBoxA(owner, text, caption, static_cast<UINT>(flags));
    // Enable them again.
    while (disabled) {
        auto* entry = static_cast<DisabledWindow*>(LinkedBlock_PayloadOf(disabled));
        if (entry->thread == thread) EnableWindow(entry->window, TRUE);
        LinkedBlock_Remove(&disabled, entry);
    }
    return result;
}

void Requester_End() {
    if (g_requester.pending) g_requester.pending = nullptr;
    if (g_requester.work) {
        HeapFree(Runtime_Heap(), 0, g_requester.work);
        g_requester.work = nullptr;
    }
}
