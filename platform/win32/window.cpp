// user32 windows: classes, creation and destruction, showing, state, properties, texts and the
// default window procedure.
#include "platform/win32/window.h"

#include <strings.h>

#include <cstring>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/host/video.h"
#include "platform/win32/process.h"
#include "platform/win32/window_record.h"

User32State& User32() {
    static User32State state = [] {
        User32State s;
        // The predefined class of plain child windows.
        WNDCLASSA wc{};
        wc.lpfnWndProc = &DefWindowProcA;
        wc.lpszClassName = "STATIC";
        s.classes.push_back({"STATIC", wc});
        return s;
    }();
    return state;
}

bool User32_Live(HWND w) {
    if (!w) return false;
    for (auto& rec : User32().windows) {
        if (rec.get() == w) return rec->alive;
    }
    return false;
}

namespace {

ClassRecord* FindClass(const char* name) {
    if (!name) return nullptr;
    for (auto& c : User32().classes) {
        if (strcasecmp(c.name.c_str(), name) == 0) return &c;
    }
    return nullptr;
}

bool TopLevel(HWND w) {
    return !(w->style & WS_CHILD);
}

LPARAM ClientSizeParam(HWND w) {
    RECT r{0, 0, 0, 0};
    GetClientRect(w, &r);
    return MAKELPARAM(static_cast<WORD>(r.right), static_cast<WORD>(r.bottom));
}

LPARAM ClientOriginParam(HWND w) {
    RECT frame = User32_FrameOf(w->style, w->ex_style);
    return MAKELPARAM(static_cast<WORD>(w->rect.left + frame.left),
                      static_cast<WORD>(w->rect.top + frame.top));
}

// The rectangle of a maximized top-level window: its client area covers the desktop.
RECT MaximizedRect(HWND w) {
    RECT frame = User32_FrameOf(w->style, w->ex_style);
    return RECT{-frame.left, -frame.top, GetSystemMetrics(SM_CXSCREEN) + frame.right,
                GetSystemMetrics(SM_CYSCREEN) + frame.bottom};
}

bool SameRect(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

}  // namespace

void User32_SyncHost(HWND w) {
    if (!User32_Live(w)) return;
    bool show = TopLevel(w) && (w->style & WS_VISIBLE) && !(w->style & WS_MINIMIZE);
    if (show) {
        RECT client{0, 0, 0, 0};
        GetClientRect(w, &client);
        // A popup without a caption is the full-screen picture; anything else is a window.
        bool fullscreen = (w->style & WS_POPUP) && (w->style & WS_CAPTION) != WS_CAPTION;
        w->host_shown =
            Host_ShowWindow(w, w->title.c_str(), client.right, client.bottom, fullscreen);
    } else if (w->host_shown) {
        Host_HideWindow(w);
        w->host_shown = false;
    }
}

WORD RegisterClassA(const WNDCLASSA* wc) {
    if (!wc || !wc->lpszClassName || !*wc->lpszClassName || FindClass(wc->lpszClassName)) return 0;
    User32().classes.push_back({wc->lpszClassName, *wc});
    User32().classes.back().wc.lpszClassName = nullptr;  // the record keeps its own copy
    User32().classes.back().wc.lpszMenuName = nullptr;
    return static_cast<WORD>(0xC000 + User32().classes.size());
}

BOOL UnregisterClassA(LPCSTR class_name, HINSTANCE) {
    auto& classes = User32().classes;
    for (size_t i = 0; i < classes.size(); ++i) {
        if (class_name && strcasecmp(classes[i].name.c_str(), class_name) == 0) {
            for (auto& w : User32().windows) {
                if (w->alive && strcasecmp(w->class_name.c_str(), class_name) == 0) return FALSE;
            }
            classes.erase(classes.begin() + static_cast<ptrdiff_t>(i));
            return TRUE;
        }
    }
    return FALSE;
}

HWND CreateWindowExA(DWORD ex_style, LPCSTR class_name, LPCSTR title, DWORD style, int x, int y,
                     int width, int height, HWND parent, HANDLE menu, HINSTANCE instance,
                     LPVOID param) {
    ClassRecord* cls = FindClass(class_name);
    if (!cls) return nullptr;
    if ((style & WS_CHILD) && !User32_Live(parent)) return nullptr;
    if (parent && !User32_Live(parent)) return nullptr;
    User32State& st = User32();
    if (!(style & WS_CHILD)) {
        if (x == CW_USEDEFAULT) {
            int step = 26 * (st.cascade++ % 8);
            x = y = step;
        }
        if (width == CW_USEDEFAULT) {
            width = GetSystemMetrics(SM_CXSCREEN) * 3 / 4;
            height = GetSystemMetrics(SM_CYSCREEN) * 3 / 4;
        }
    } else {
        if (x == CW_USEDEFAULT) x = y = 0;
        if (width == CW_USEDEFAULT) width = height = 0;
    }
    if (width < 0) width = 0;
    if (height < 0) height = 0;
    auto rec = std::make_unique<User32Window>();
    rec->class_name = cls->name;
    rec->title = title ? title : "";
    rec->proc = cls->wc.lpfnWndProc;
    rec->style = style & ~(WS_VISIBLE | WS_MINIMIZE | WS_MAXIMIZE);
    rec->ex_style = ex_style;
    rec->thread = GetCurrentThreadId();
    rec->parent = parent;
    rec->instance = instance;
    rec->menu = menu;
    rec->rect = RECT{x, y, x + width, y + height};
    rec->restore_rect = rec->rect;
    HWND w = rec.get();
    st.windows.push_back(std::move(rec));
    CREATESTRUCTA cs{param,
                     instance,
                     menu,
                     parent,
                     height,
                     width,
                     y,
                     x,
                     static_cast<LONG>(style),
                     w->title.c_str(),
                     class_name,
                     ex_style};
    if (SendMessageA(w, WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs)) == -1) {
        DestroyWindow(w);
        return nullptr;
    }
    if (!User32_Live(w)) return nullptr;
    SendMessageA(w, WM_SIZE, SIZE_RESTORED, ClientSizeParam(w));
    SendMessageA(w, WM_MOVE, 0, ClientOriginParam(w));
    if (!User32_Live(w)) return nullptr;
    if (style & WS_VISIBLE) {
        int command = (style & WS_MAXIMIZE)   ? SW_SHOWMAXIMIZED
                      : (style & WS_MINIMIZE) ? SW_SHOWMINIMIZED
                                              : SW_SHOW;
        ShowWindow(w, command);
    }
    return User32_Live(w) ? w : nullptr;
}

BOOL DestroyWindow(HWND window) {
    if (!User32_Live(window) || window->destroying) return FALSE;
    window->destroying = true;
    if (User32().foreground == window) User32_Deactivate(window);
    SendMessageA(window, WM_DESTROY, 0, 0);
    // Child windows go with their parent.
    std::vector<HWND> children;
    for (auto& rec : User32().windows) {
        if (rec->alive && rec->parent == window && (rec->style & WS_CHILD)) {
            children.push_back(rec.get());
        }
    }
    for (HWND child : children) DestroyWindow(child);
    SendMessageA(window, WM_NCDESTROY, 0, 0);
    window->alive = false;
    window->props.clear();
    if (window->host_shown || TopLevel(window)) Host_DestroyWindow(window);
    User32State& st = User32();
    if (st.foreground == window) st.foreground = nullptr;
    if (st.focus == window) st.focus = nullptr;
    User32_DiscardMessages(window);
    auto& ws = st.windows;
    for (size_t i = 0; i < ws.size(); ++i) {
        if (ws[i].get() == window) {
            ws.erase(ws.begin() + static_cast<ptrdiff_t>(i));
            break;
        }
    }
    return TRUE;
}

BOOL IsWindow(HWND window) {
    return User32_Live(window) ? TRUE : FALSE;
}

BOOL ShowWindow(HWND window, int command) {
    if (!User32_Live(window)) return FALSE;
    BOOL was = (window->style & WS_VISIBLE) ? TRUE : FALSE;
    if (command == SW_HIDE) {
        if (!was) return FALSE;
        window->style &= ~WS_VISIBLE;
        SendMessageA(window, WM_SHOWWINDOW, FALSE, 0);
        if (User32().foreground == window) User32_Deactivate(window);
        User32_SyncHost(window);
        return was;
    }
    bool top = TopLevel(window);
    bool minimize = command == SW_SHOWMINIMIZED || command == SW_MINIMIZE;
    bool maximize = command == SW_SHOWMAXIMIZED;
    bool restore = command == SW_SHOWNORMAL || command == SW_RESTORE;
    bool activate =
        top && command != SW_SHOWNA && command != SW_SHOWNOACTIVATE && command != SW_MINIMIZE;
    if (!was) {
        window->style |= WS_VISIBLE;
        SendMessageA(window, WM_SHOWWINDOW, TRUE, 0);
        if (!User32_Live(window)) return was;
        window->needs_paint = true;
        window->needs_erase = true;
    }
    bool normal = !(window->style & (WS_MINIMIZE | WS_MAXIMIZE));
    if (minimize && !(window->style & WS_MINIMIZE)) {
        if (normal) window->restore_rect = window->rect;
        window->style = (window->style | WS_MINIMIZE) & ~WS_MAXIMIZE;
        SendMessageA(window, WM_SIZE, SIZE_MINIMIZED, 0);
    } else if (maximize && !(window->style & WS_MAXIMIZE)) {
        if (normal) window->restore_rect = window->rect;
        window->style = (window->style | WS_MAXIMIZE) & ~WS_MINIMIZE;
        // A captionless popup shown maximized is the full-screen picture: it keeps its size,
        // as the display takes the picture's mode; other top-level windows fill the desktop.
        bool picture = (window->style & WS_POPUP) && (window->style & WS_CAPTION) != WS_CAPTION;
        if (top && !picture) window->rect = MaximizedRect(window);
        SendMessageA(window, WM_SIZE, SIZE_MAXIMIZED, ClientSizeParam(window));
    } else if (restore && (window->style & (WS_MINIMIZE | WS_MAXIMIZE))) {
        window->style &= ~(WS_MINIMIZE | WS_MAXIMIZE);
        bool moved = !SameRect(window->rect, window->restore_rect);
        window->rect = window->restore_rect;
        SendMessageA(window, WM_SIZE, SIZE_RESTORED, ClientSizeParam(window));
        if (moved) SendMessageA(window, WM_MOVE, 0, ClientOriginParam(window));
    }
    if (!User32_Live(window)) return was;
    if (activate) {
        User32_Activate(window);
    } else if (command == SW_MINIMIZE && User32().foreground == window) {
        User32_Deactivate(window);
    }
    User32_SyncHost(window);
    return was;
}

BOOL IsWindowVisible(HWND window) {
    if (!User32_Live(window)) return FALSE;
    // Visible only when every parent is visible too.
    for (HWND w = window; w; w = (w->style & WS_CHILD) ? w->parent : nullptr) {
        if (!(w->style & WS_VISIBLE)) return FALSE;
    }
    return TRUE;
}

BOOL IsIconic(HWND window) {
    return User32_Live(window) && (window->style & WS_MINIMIZE) ? TRUE : FALSE;
}

BOOL IsZoomed(HWND window) {
    return User32_Live(window) && (window->style & WS_MAXIMIZE) ? TRUE : FALSE;
}

BOOL IsWindowEnabled(HWND window) {
    return User32_Live(window) && !(window->style & WS_DISABLED) ? TRUE : FALSE;
}

BOOL EnableWindow(HWND window, BOOL enable) {
    if (!User32_Live(window)) return FALSE;
    BOOL was_disabled = (window->style & WS_DISABLED) ? TRUE : FALSE;
    if (enable)
        window->style &= ~WS_DISABLED;
    else
        window->style |= WS_DISABLED;
    if (was_disabled == (enable ? TRUE : FALSE)) SendMessageA(window, WM_ENABLE, enable, 0);
    return was_disabled;
}

HWND GetParent(HWND window) {
    if (!User32_Live(window)) return nullptr;
    return User32_Live(window->parent) ? window->parent : nullptr;
}

HWND GetAncestor(HWND window, UINT flags) {
    if (!User32_Live(window)) return nullptr;
    if (flags == GA_PARENT) return (window->style & WS_CHILD) ? GetParent(window) : nullptr;
    if (flags != GA_ROOT) return nullptr;
    HWND w = window;
    while ((w->style & WS_CHILD) && User32_Live(w->parent)) w = w->parent;
    return w;
}

BOOL IsChild(HWND parent, HWND window) {
    if (!User32_Live(parent) || !User32_Live(window)) return FALSE;
    for (HWND w = window; (w->style & WS_CHILD) && User32_Live(w->parent); w = w->parent) {
        if (w->parent == parent) return TRUE;
    }
    return FALSE;
}

DWORD GetWindowThreadProcessId(HWND window, DWORD* process_id) {
    if (!User32_Live(window)) return 0;
    if (process_id) *process_id = GetCurrentProcessId();
    return window->thread;
}

BOOL EnumWindows(WNDENUMPROC callback, LPARAM param) {
    if (!callback) return FALSE;
    // Copy first: the callback may create or destroy windows.
    std::vector<HWND> tops;
    for (auto it = User32().windows.rbegin(); it != User32().windows.rend(); ++it) {
        if ((*it)->alive && !((*it)->style & WS_CHILD)) tops.push_back(it->get());
    }
    for (HWND w : tops) {
        if (User32_Live(w) && !callback(w, param)) break;
    }
    return TRUE;
}

BOOL EnumChildWindows(HWND parent, WNDENUMPROC callback, LPARAM param) {
    if (!callback || !User32_Live(parent)) return FALSE;
    std::vector<HWND> children;
    for (auto& rec : User32().windows) {
        if (rec->alive && (rec->style & WS_CHILD) && IsChild(parent, rec.get())) {
            children.push_back(rec.get());
        }
    }
    for (HWND w : children) {
        if (User32_Live(w) && !callback(w, param)) break;
    }
    return TRUE;
}

LRESULT SendMessageA(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (!User32_Live(window)) return 0;
    if (window->proc) return window->proc(window, message, wparam, lparam);
    return DefWindowProcA(window, message, wparam, lparam);
}

LRESULT CallWindowProcA(WNDPROC proc, HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (!proc) return 0;
    return proc(window, message, wparam, lparam);
}

LRESULT DefWindowProcA(HWND window, UINT message, WPARAM wparam, LPARAM) {
    if (!User32_Live(window)) return 0;
    switch (message) {
        case WM_CLOSE:
            DestroyWindow(window);
            return 0;
        case WM_SYSCOMMAND:
            switch (wparam & 0xFFF0) {
                case SC_CLOSE:
                    SendMessageA(window, WM_CLOSE, 0, 0);
                    break;
                case SC_MINIMIZE:
                    ShowWindow(window, SW_MINIMIZE);
                    break;
                case SC_MAXIMIZE:
                    ShowWindow(window, SW_MAXIMIZE);
                    break;
                case SC_RESTORE:
                    ShowWindow(window, SW_RESTORE);
                    break;
                default:
                    break;
            }
            return 0;
        case WM_PAINT: {
            PAINTSTRUCT ps;
            BeginPaint(window, &ps);
            EndPaint(window, &ps);
            return 0;
        }
        case WM_ERASEBKGND:
            // There are no window pixels to erase; report the background as handled when the
            // class names a brush, as the real procedure does after filling with it.
            for (auto& c : User32().classes) {
                if (strcasecmp(c.name.c_str(), window->class_name.c_str()) == 0) {
                    return c.wc.hbrBackground ? 1 : 0;
                }
            }
            return 0;
        default:
            return 0;
    }
}

BOOL SetPropA(HWND window, LPCSTR name, HANDLE data) {
    if (!User32_Live(window) || !name) return FALSE;
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
    if (!User32_Live(window) || !name) return nullptr;
    for (auto& p : window->props) {
        if (strcasecmp(p.first.c_str(), name) == 0) return p.second;
    }
    return nullptr;
}

HANDLE RemovePropA(HWND window, LPCSTR name) {
    if (!User32_Live(window) || !name) return nullptr;
    auto& props = window->props;
    for (size_t i = 0; i < props.size(); ++i) {
        if (strcasecmp(props[i].first.c_str(), name) == 0) {
            HANDLE h = props[i].second;
            props.erase(props.begin() + static_cast<ptrdiff_t>(i));
            return h;
        }
    }
    return nullptr;
}

namespace {
int CopyOut(const std::string& text, char* buffer, int size) {
    if (!buffer || size <= 0) return 0;
    size_t n = text.size();
    if (n > static_cast<size_t>(size - 1)) n = static_cast<size_t>(size - 1);
    std::memcpy(buffer, text.data(), n);
    buffer[n] = 0;
    return static_cast<int>(n);
}
}  // namespace

int GetWindowTextA(HWND window, char* buffer, int size) {
    if (!User32_Live(window)) return 0;
    return CopyOut(window->title, buffer, size);
}

BOOL SetWindowTextA(HWND window, LPCSTR text) {
    if (!User32_Live(window)) return FALSE;
    window->title = text ? text : "";
    if (window->host_shown) User32_SyncHost(window);
    return TRUE;
}

int GetClassNameA(HWND window, char* buffer, int size) {
    if (!User32_Live(window)) return 0;
    return CopyOut(window->class_name, buffer, size);
}

LONG_PTR SetWindowLongPtrA(HWND window, int index, LONG_PTR value) {
    if (!User32_Live(window)) return 0;
    LONG_PTR old = GetWindowLongPtrA(window, index);
    switch (index) {
        case GWLP_WNDPROC:
            window->proc = reinterpret_cast<WNDPROC>(value);
            break;
        case GWLP_HINSTANCE:
            window->instance = reinterpret_cast<HINSTANCE>(value);
            break;
        case GWLP_ID:
            window->menu = reinterpret_cast<HANDLE>(value);
            break;
        case GWL_STYLE:
            window->style = static_cast<DWORD>(value);
            User32_SyncHost(window);
            break;
        case GWL_EXSTYLE:
            window->ex_style = static_cast<DWORD>(value);
            break;
        case GWLP_USERDATA:
            window->user_data = value;
            break;
        default:
            return 0;
    }
    return old;
}

LONG_PTR GetWindowLongPtrA(HWND window, int index) {
    if (!User32_Live(window)) return 0;
    switch (index) {
        case GWLP_WNDPROC:
            return reinterpret_cast<LONG_PTR>(window->proc);
        case GWLP_HINSTANCE:
            return reinterpret_cast<LONG_PTR>(window->instance);
        case GWLP_ID:
            return reinterpret_cast<LONG_PTR>(window->menu);
        case GWL_STYLE:
            return static_cast<LONG_PTR>(window->style);
        case GWL_EXSTYLE:
            return static_cast<LONG_PTR>(window->ex_style);
        case GWLP_USERDATA:
            return window->user_data;
        default:
            return 0;
    }
}
