// user32 message queues, one per thread: posting, peeking and waiting, the host's desktop
// events turned into window messages, and dispatching into window procedures.
#include "platform/win32/messages.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/host/events.h"
#include "platform/win32/process.h"
#include "platform/win32/time.h"
#include "platform/win32/window_record.h"

namespace {

struct ThreadQueue {
    DWORD thread = 0;
    std::mutex lock;
    std::condition_variable arrived;
    std::deque<MSG> messages;
    bool quit = false;
    int quit_code = 0;
};

struct MessageState {
    std::mutex lock;  // guards the list of queues; each queue has its own lock
    std::vector<std::unique_ptr<ThreadQueue>> queues;
};

MessageState& Messages() {
    static MessageState state;
    return state;
}

ThreadQueue& QueueOf(DWORD thread) {
    MessageState& st = Messages();
    std::lock_guard<std::mutex> guard(st.lock);
    for (auto& q : st.queues) {
        if (q->thread == thread) return *q;
    }
    st.queues.push_back(std::make_unique<ThreadQueue>());
    st.queues.back()->thread = thread;
    return *st.queues.back();
}

ThreadQueue& OwnQueue() {
    return QueueOf(GetCurrentThreadId());
}

void Post(ThreadQueue& q, HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    {
        std::lock_guard<std::mutex> guard(q.lock);
        q.messages.push_back(MSG{window, message, wparam, lparam, GetTickCount(), POINT{0, 0}});
    }
    q.arrived.notify_all();
}

bool InRange(UINT message, UINT first, UINT last) {
    if (first == 0 && last == 0) return true;
    return message >= first && message <= last;
}

bool Matches(const MSG& m, HWND filter, UINT first, UINT last) {
    if (filter == reinterpret_cast<HWND>(-1)) {
        if (m.hwnd) return false;
    } else if (filter && m.hwnd != filter && !IsChild(filter, m.hwnd)) {
        return false;
    }
    return InRange(m.message, first, last);
}

// A window of this thread that waits for WM_PAINT, or null.
HWND PaintPending(HWND filter) {
    DWORD thread = GetCurrentThreadId();
    for (auto& rec : User32().windows) {
        HWND w = rec.get();
        if (!w->alive || !w->needs_paint || w->thread != thread || !IsWindowVisible(w)) continue;
        if (filter && filter != reinterpret_cast<HWND>(-1) && w != filter && !IsChild(filter, w)) {
            continue;
        }
        return w;
    }
    return nullptr;
}

void PostKey(const HostEvent& e, HWND window) {
    UINT code = e.scan & 0x7F;
    if (e.scan & 0x80) code |= 0xE000;
    UINT vk = MapVirtualKeyA(code, MAPVK_VSC_TO_VK_EX);
    if (vk == 0) return;
    // Key messages name the side-neutral modifier; the scan code tells the side.
    if (vk == VK_LSHIFT || vk == VK_RSHIFT) vk = VK_SHIFT;
    if (vk == VK_LCONTROL || vk == VK_RCONTROL) vk = VK_CONTROL;
    if (vk == VK_LMENU || vk == VK_RMENU) vk = VK_MENU;
    bool down = e.kind == HostEventKind::kKeyDown;
    bool system = e.alt_down || vk == VK_MENU || vk == VK_F1 + 9;
    UINT message = down ? (system ? WM_SYSKEYDOWN : WM_KEYDOWN) : (system ? WM_SYSKEYUP : WM_KEYUP);
    // Repeat count 1, scan code, extended flag, context (Alt), previous state, transition.
    uint32_t lparam = 1u | (static_cast<uint32_t>(e.scan & 0x7F) << 16);
    if (e.scan & 0x80) lparam |= 1u << 24;
    if (e.alt_down) lparam |= 1u << 29;
    if (!down || e.repeat) lparam |= 1u << 30;
    if (!down) lparam |= 1u << 31;
    Post(QueueOf(window->thread), window, message, vk, static_cast<LPARAM>(lparam));
}

// Turns what happened on the desktop into messages. Activation is sent at once (as the system
// does during a peek); the close box and keys are posted.
void PumpHost() {
    HostEvent e;
    while (Host_PollEvent(&e)) {
        HWND window = static_cast<HWND>(e.owner);
        if (!User32_Live(window)) continue;
        switch (e.kind) {
            case HostEventKind::kFocusGained:
                User32_Activate(window);
                break;
            case HostEventKind::kFocusLost:
                User32_Deactivate(window);
                break;
            case HostEventKind::kClose:
                Post(QueueOf(window->thread), window, WM_SYSCOMMAND, SC_CLOSE, 0);
                break;
            case HostEventKind::kKeyDown:
            case HostEventKind::kKeyUp:
                PostKey(e, window);
                break;
        }
    }
}

bool HasInput(ThreadQueue& q) {
    {
        std::lock_guard<std::mutex> guard(q.lock);
        if (!q.messages.empty() || q.quit) return true;
    }
    return PaintPending(nullptr) != nullptr;
}

}  // namespace

BOOL PeekMessageA(MSG* msg, HWND window, UINT first, UINT last, UINT remove) {
    if (!msg) return FALSE;
    PumpHost();
    ThreadQueue& q = OwnQueue();
    bool found = false;
    {
        std::lock_guard<std::mutex> guard(q.lock);
        for (auto it = q.messages.begin(); it != q.messages.end(); ++it) {
            if (Matches(*it, window, first, last)) {
                *msg = *it;
                if (remove & PM_REMOVE) q.messages.erase(it);
                found = true;
                break;
            }
        }
        if (!found && q.quit && InRange(WM_QUIT, first, last)) {
            *msg = MSG{nullptr, WM_QUIT,        static_cast<WPARAM>(q.quit_code),
                       0,       GetTickCount(), POINT{0, 0}};
            if (remove & PM_REMOVE) q.quit = false;
            return TRUE;
        }
    }
    if (found) {
        if (remove & PM_REMOVE) User32_TrackKey(*msg);
        return TRUE;
    }
    // WM_PAINT is not queued: it comes while a window needs painting and nothing else waits.
    if (InRange(WM_PAINT, first, last)) {
        if (HWND w = PaintPending(window)) {
            *msg = MSG{w, WM_PAINT, 0, 0, GetTickCount(), POINT{0, 0}};
            return TRUE;
        }
    }
    return FALSE;
}

BOOL GetMessageA(MSG* msg, HWND window, UINT first, UINT last) {
    if (!msg) return FALSE;
    for (;;) {
        if (PeekMessageA(msg, window, first, last, PM_REMOVE)) {
            return msg->message == WM_QUIT ? FALSE : TRUE;
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, INFINITE, QS_ALLINPUT);
    }
}

LRESULT DispatchMessageA(const MSG* msg) {
    if (!msg || !msg->hwnd || !User32_Live(msg->hwnd)) return 0;
    HWND window = msg->hwnd;
    LRESULT result = SendMessageA(window, msg->message, msg->wParam, msg->lParam);
    // A procedure that leaves WM_PAINT unvalidated would get it again at every peek and keep a
    // pump from ever emptying; the update is taken as done.
    if (msg->message == WM_PAINT && User32_Live(window) && window->needs_paint) {
        ValidateRect(window, nullptr);
    }
    return result;
}

BOOL TranslateMessage(const MSG* msg) {
    if (!msg) return FALSE;
    bool down = msg->message == WM_KEYDOWN || msg->message == WM_SYSKEYDOWN;
    bool key = down || msg->message == WM_KEYUP || msg->message == WM_SYSKEYUP;
    if (!key) return FALSE;
    if (!down) return TRUE;
    int vk = static_cast<int>(msg->wParam);
    bool shift = (GetKeyState(VK_SHIFT) & 0x8000) != 0;
    int ch = 0;
    if (vk >= 'A' && vk <= 'Z')
        ch = shift ? vk : vk - 'A' + 'a';
    else if (vk >= '0' && vk <= '9' && !shift)
        ch = vk;
    else if (vk == VK_SPACE)
        ch = ' ';
    else if (vk == VK_RETURN)
        ch = '\r';
    else if (vk == VK_ESCAPE)
        ch = 0x1B;
    else if (vk == VK_BACK)
        ch = 0x08;
    else if (vk == VK_TAB)
        ch = 0x09;
    if (ch) {
        UINT message = msg->message == WM_SYSKEYDOWN ? WM_SYSCHAR : WM_CHAR;
        PostMessageA(msg->hwnd, message, static_cast<WPARAM>(ch), msg->lParam);
    }
    return TRUE;
}

BOOL PostMessageA(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (window && !User32_Live(window)) return FALSE;
    DWORD thread = window ? window->thread : GetCurrentThreadId();
    Post(QueueOf(thread), window, message, wparam, lparam);
    return TRUE;
}

void PostQuitMessage(int code) {
    ThreadQueue& q = OwnQueue();
    {
        std::lock_guard<std::mutex> guard(q.lock);
        q.quit = true;
        q.quit_code = code;
    }
    q.arrived.notify_all();
}

DWORD MsgWaitForMultipleObjects(DWORD count, const HANDLE* handles, BOOL, DWORD milliseconds,
                                DWORD) {
    // No kernel objects exist that could be waited for.
    if (count > 0 || handles) return WAIT_FAILED;
    using Clock = std::chrono::steady_clock;
    const bool forever = milliseconds == INFINITE;
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(milliseconds);
    ThreadQueue& q = OwnQueue();
    for (;;) {
        PumpHost();
        if (HasInput(q)) return WAIT_OBJECT_0 + count;
        Clock::time_point now = Clock::now();
        if (!forever && now >= deadline) return WAIT_TIMEOUT;
        auto remaining = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - now);
        if (Host_HasEventSource()) {
            // Desktop events wake the SDL wait; posts from other threads are seen within a
            // slice.
            int64_t slice = forever ? 10 : std::min<int64_t>(10, remaining.count() + 1);
            Host_WaitEvent(static_cast<uint32_t>(slice));
        } else {
            std::unique_lock<std::mutex> guard(q.lock);
            auto ready = [&q] { return !q.messages.empty() || q.quit; };
            if (forever)
                q.arrived.wait(guard, ready);
            else
                q.arrived.wait_until(guard, deadline, ready);
        }
    }
}

void User32_DiscardMessages(HWND window) {
    MessageState& st = Messages();
    std::lock_guard<std::mutex> guard(st.lock);
    for (auto& q : st.queues) {
        std::lock_guard<std::mutex> qg(q->lock);
        q->messages.erase(std::remove_if(q->messages.begin(), q->messages.end(),
                                         [window](const MSG& m) { return m.hwnd == window; }),
                          q->messages.end());
    }
}

void User32_ResetMessages() {
    MessageState& st = Messages();
    {
        std::lock_guard<std::mutex> guard(st.lock);
        for (auto& q : st.queues) {
            std::lock_guard<std::mutex> qg(q->lock);
            q->messages.clear();
            q->quit = false;
        }
    }
    std::memset(User32().key_states, 0, sizeof(User32().key_states));
}
