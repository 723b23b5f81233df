// user32 window geometry: system metrics, frames, window and client rectangles, moving and
// sizing.
#include <cstring>

#include "platform/host/video.h"
#include "platform/win32/window.h"
#include "platform/win32/window_record.h"

namespace {

constexpr int kSizeFrame = 4;
constexpr int kFixedFrame = 3;
constexpr int kBorder = 1;
constexpr int kCaption = 19;
constexpr int kSmallCaption = 16;
constexpr int kClientEdge = 2;

}  // namespace

int GetSystemMetrics(int index) {
    int32_t w = 0;
    int32_t h = 0;
    switch (index) {
        case SM_CXSCREEN:
            Host_DesktopSize(&w, nullptr);
            return w;
        case SM_CYSCREEN:
            Host_DesktopSize(nullptr, &h);
            return h;
        case SM_CXBORDER:
        case SM_CYBORDER:
            return kBorder;
        case SM_CXFIXEDFRAME:
        case SM_CYFIXEDFRAME:
            return kFixedFrame;
        case SM_CXSIZEFRAME:
        case SM_CYSIZEFRAME:
            return kSizeFrame;
        case SM_CYCAPTION:
            return kCaption;
        case SM_CYSMCAPTION:
            return kSmallCaption;
        default:
            return 0;
    }
}

RECT User32_FrameOf(DWORD style, DWORD ex_style) {
    int edge = 0;
    if (style & WS_THICKFRAME) {
        edge = kSizeFrame;
    } else if ((style & WS_DLGFRAME) || (ex_style & WS_EX_DLGMODALFRAME)) {
        edge = kFixedFrame;
    } else if (style & WS_BORDER) {
        edge = kBorder;
    }
    if (ex_style & WS_EX_CLIENTEDGE) edge += kClientEdge;
    int caption = 0;
    if ((style & WS_CAPTION) == WS_CAPTION) {
        caption = (ex_style & WS_EX_TOOLWINDOW) ? kSmallCaption : kCaption;
    }
    return RECT{edge, edge + caption, edge, edge};
}

BOOL AdjustWindowRectEx(RECT* rect, DWORD style, BOOL, DWORD ex_style) {
    if (!rect) return FALSE;
    RECT f = User32_FrameOf(style, ex_style);
    rect->left -= f.left;
    rect->top -= f.top;
    rect->right += f.right;
    rect->bottom += f.bottom;
    return TRUE;
}

BOOL GetWindowRect(HWND window, RECT* rect) {
    if (!User32_Live(window) || !rect) return FALSE;
    *rect = window->rect;
    // Child rectangles are kept in the parent's client coordinates.
    for (HWND w = window; (w->style & WS_CHILD) && User32_Live(w->parent); w = w->parent) {
        HWND p = w->parent;
        RECT f = User32_FrameOf(p->style, p->ex_style);
        LONG dx = p->rect.left + f.left;
        LONG dy = p->rect.top + f.top;
        rect->left += dx;
        rect->right += dx;
        rect->top += dy;
        rect->bottom += dy;
    }
    return TRUE;
}

BOOL GetClientRect(HWND window, RECT* rect) {
    if (!User32_Live(window) || !rect) return FALSE;
    RECT f = User32_FrameOf(window->style, window->ex_style);
    LONG w = window->rect.right - window->rect.left - f.left - f.right;
    LONG h = window->rect.bottom - window->rect.top - f.top - f.bottom;
    *rect = RECT{0, 0, w > 0 ? w : 0, h > 0 ? h : 0};
    return TRUE;
}

BOOL MoveWindow(HWND window, int x, int y, int width, int height, BOOL repaint) {
    return SetWindowPos(window, nullptr, x, y, width, height,
                        SWP_NOZORDER | SWP_NOACTIVATE | (repaint ? 0 : SWP_NOREDRAW));
}

BOOL SetWindowPos(HWND window, HWND, int x, int y, int width, int height, UINT flags) {
    if (!User32_Live(window)) return FALSE;
    RECT old = window->rect;
    RECT r = old;
    if (!(flags & SWP_NOMOVE)) {
        r.right = x + (old.right - old.left);
        r.bottom = y + (old.bottom - old.top);
        r.left = x;
        r.top = y;
    }
    if (!(flags & SWP_NOSIZE)) {
        r.right = r.left + (width > 0 ? width : 0);
        r.bottom = r.top + (height > 0 ? height : 0);
    }
    window->rect = r;
    if (!(window->style & (WS_MINIMIZE | WS_MAXIMIZE))) window->restore_rect = r;
    bool moved = r.left != old.left || r.top != old.top;
    bool sized = (r.right - r.left) != (old.right - old.left) ||
                 (r.bottom - r.top) != (old.bottom - old.top);
    if (sized) {
        RECT c{0, 0, 0, 0};
        GetClientRect(window, &c);
        SendMessageA(window, WM_SIZE, SIZE_RESTORED,
                     MAKELPARAM(static_cast<WORD>(c.right), static_cast<WORD>(c.bottom)));
        if (!(flags & SWP_NOREDRAW) && User32_Live(window)) {
            InvalidateRect(window, nullptr, TRUE);
        }
    }
    if (moved && User32_Live(window)) {
        RECT f = User32_FrameOf(window->style, window->ex_style);
        SendMessageA(
            window, WM_MOVE, 0,
            MAKELPARAM(static_cast<WORD>(r.left + f.left), static_cast<WORD>(r.top + f.top)));
    }
    if (!User32_Live(window)) return TRUE;
    if (flags & SWP_SHOWWINDOW) {
        ShowWindow(window, (flags & SWP_NOACTIVATE) ? SW_SHOWNA : SW_SHOW);
    } else if (flags & SWP_HIDEWINDOW) {
        ShowWindow(window, SW_HIDE);
    } else if (sized && window->host_shown) {
        User32_SyncHost(window);
    }
    return TRUE;
}

BOOL SystemParametersInfoA(UINT action, UINT, void* value, UINT) {
    if (action == SPI_GETDRAGFULLWINDOWS && value) {
        *static_cast<BOOL*>(value) = FALSE;
        return TRUE;
    }
    return FALSE;
}
