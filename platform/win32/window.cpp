#include "platform/win32/window.h"

#include <strings.h>

#include <cstring>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/win32/process.h"

struct WindowRecord {
    std::string class_name;
    std::string title;
    WNDPROC proc = nullptr;
    DWORD style = 0;
    DWORD thread = 0;
    HWND parent = nullptr;
    bool alive = true;
    std::vector<std::pair<std::string, HANDLE>> props;
};

namespace {

struct ClassRecord {
    std::string name;
    WNDCLASSA wc;
};

struct User32State {
    std::vector<ClassRecord> classes;
    std::vector<std::unique_ptr<WindowRecord>> windows;  // oldest first
    HWND foreground = nullptr;
};

User32State& State() {
    static User32State state;
    return state;
}

ClassRecord* FindClass(const char* name) {
    if (!name) return nullptr;
    for (auto& c : State().classes) {
        if (strcasecmp(c.name.c_str(), name) == 0) return &c;
    }
    return nullptr;
}

bool Live(HWND w) {
    if (!w) return false;
    for (auto& rec : State().windows) {
        if (rec.get() == w) return rec->alive;
    }
    return false;
}

}  // namespace

WORD RegisterClassA(const WNDCLASSA* wc) {
    if (!wc || !wc->lpszClassName || !*wc->lpszClassName || FindClass(wc->lpszClassName)) return 0;
    State().classes.push_back({wc->lpszClassName, *wc});
    return static_cast<WORD>(0xC000 + State().classes.size());
}

BOOL UnregisterClassA(LPCSTR class_name, HINSTANCE) {
    auto& classes = State().classes;
    for (size_t i = 0; i < classes.size(); ++i) {
        if (class_name && strcasecmp(classes[i].name.c_str(), class_name) == 0) {
            for (auto& w : State().windows) {
                if (w->alive && strcasecmp(w->class_name.c_str(), class_name) == 0) return FALSE;
            }
            classes.erase(classes.begin() + i);
            return TRUE;
        }
    }
    return FALSE;
}

HWND CreateWindowExA(DWORD, LPCSTR class_name, LPCSTR title, DWORD style, int, int, int, int,
                     HWND parent, HANDLE, HINSTANCE, LPVOID) {
    ClassRecord* cls = FindClass(class_name);
    if (!cls) return nullptr;
    auto rec = std::make_unique<WindowRecord>();
    rec->class_name = cls->name;
    rec->title = title ? title : "";
    rec->proc = cls->wc.lpfnWndProc;
    rec->style = style;
    rec->thread = GetCurrentThreadId();
    rec->parent = parent;
    HWND w = rec.get();
    State().windows.push_back(std::move(rec));
    if ((style & WS_VISIBLE) && !(style & WS_CHILD)) State().foreground = w;
    return w;
}

BOOL DestroyWindow(HWND window) {
    if (!Live(window)) return FALSE;
    SendMessageA(window, WM_DESTROY, 0, 0);
    // Child windows go with their parent.
    std::vector<HWND> children;
    for (auto& rec : State().windows) {
        if (rec->alive && rec->parent == window) children.push_back(rec.get());
    }
    for (HWND child : children) DestroyWindow(child);
    window->alive = false;
    window->props.clear();
    if (State().foreground == window) State().foreground = nullptr;
    auto& ws = State().windows;
    for (size_t i = 0; i < ws.size(); ++i) {
        if (ws[i].get() == window) {
            ws.erase(ws.begin() + i);
            break;
        }
    }
    return TRUE;
}

BOOL IsWindow(HWND window) { return Live(window) ? TRUE : FALSE; }

BOOL ShowWindow(HWND window, int command) {
    if (!Live(window)) return FALSE;
    BOOL was = (window->style & WS_VISIBLE) ? TRUE : FALSE;
    if (command == SW_HIDE) {
        window->style &= ~WS_VISIBLE;
    } else {
        window->style |= WS_VISIBLE;
        if (!(window->style & WS_CHILD)) State().foreground = window;
    }
    return was;
}

BOOL IsWindowVisible(HWND window) {
    return Live(window) && (window->style & WS_VISIBLE) ? TRUE : FALSE;
}

BOOL IsWindowEnabled(HWND window) {
    return Live(window) && !(window->style & WS_DISABLED) ? TRUE : FALSE;
}

BOOL EnableWindow(HWND window, BOOL enable) {
    if (!Live(window)) return FALSE;
    BOOL was_disabled = (window->style & WS_DISABLED) ? TRUE : FALSE;
    if (enable) window->style &= ~WS_DISABLED;
    else window->style |= WS_DISABLED;
    if (was_disabled == (enable ? TRUE : FALSE)) SendMessageA(window, WM_ENABLE, enable, 0);
    return was_disabled;
}

HWND GetForegroundWindow() { return Live(State().foreground) ? State().foreground : nullptr; }

BOOL SetForegroundWindow(HWND window) {
    if (!Live(window)) return FALSE;
    State().foreground = window;
    return TRUE;
}

DWORD GetWindowThreadProcessId(HWND window, DWORD* process_id) {
    if (!Live(window)) return 0;
    if (process_id) *process_id = GetCurrentProcessId();
    return window->thread;
}

BOOL EnumWindows(WNDENUMPROC callback, LPARAM param) {
    if (!callback) return FALSE;
    // Copy first: the callback may create or destroy windows.
    std::vector<HWND> tops;
    for (auto it = State().windows.rbegin(); it != State().windows.rend(); ++it) {
        if ((*it)->alive && !((*it)->style & WS_CHILD)) tops.push_back(it->get());
    }
    for (HWND w : tops) {
        if (Live(w) && !callback(w, param)) break;
    }
    return TRUE;
}

LRESULT SendMessageA(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (!Live(window)) return 0;
    if (window->proc) return window->proc(window, message, wparam, lparam);
    return DefWindowProcA(window, message, wparam, lparam);
}

LRESULT DefWindowProcA(HWND window, UINT message, WPARAM, LPARAM) {
    if (message == WM_CLOSE) DestroyWindow(window);
    return 0;
}

BOOL SetPropA(HWND window, LPCSTR name, HANDLE data) {
    if (!Live(window) || !name) return FALSE;
    for (auto& p : window->props) {
        if (strcasecmp(p.first.c_str(), name) == 0) {
            p.second = data;
            return TRUE;
        }
    }
    window->props.emplace_back(name, data);
    return TRUE;
}

HANDLE GetPropA(HWND window, LPCSTR name) {
    if (!Live(window) || !name) return nullptr;
    for (auto& p : window->props) {
        if (strcasecmp(p.first.c_str(), name) == 0) return p.second;
    }
    return nullptr;
}

HANDLE RemovePropA(HWND window, LPCSTR name) {
    if (!Live(window) || !name) return nullptr;
    auto& props = window->props;
    for (size_t i = 0; i < props.size(); ++i) {
        if (strcasecmp(props[i].first.c_str(), name) == 0) {
            HANDLE h = props[i].second;
            props.erase(props.begin() + i);
            return h;
        }
    }
    return nullptr;
}

int GetWindowTextA(HWND window, char* buffer, int size) {
    if (!Live(window) || !buffer || size <= 0) return 0;
    size_t n = window->title.size();
    if (n > static_cast<size_t>(size - 1)) n = static_cast<size_t>(size - 1);
    std::memcpy(buffer, window->title.data(), n);
    buffer[n] = 0;
    return static_cast<int>(n);
}
