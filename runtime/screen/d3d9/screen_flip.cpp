// Screen_Flip: the message pump of the full-screen window, recovery from a lost device (wait up
// to 32 ms for it to become resettable, then reset and rebuild what the reset dropped), and the
// present.
#include "platform/win32/messages.h"
#include "platform/win32/time.h"
#include "runtime/screen/d3d9/screen.h"
#include "runtime/screen/d3d9/screen_state.h"
#include "runtime/screen/d3d9/sprite.h"

namespace {

constexpr DWORD kLostWaitMs = 32;

void PumpMessages() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

// Resets the device; false leaves the screen inactive.
bool ResetDevice(ScreenState& s) {
    Sprite_ReleaseDeviceResources();
    // The back buffer is let go too: a reset wants no references into the old swap chain.
    if (s.backBuffer) s.backBuffer->Release();
    s.backBuffer = nullptr;
    if (s.device->Reset(&s.presentParameters) != D3D_OK) return false;
    Sprite_RestoreDeviceResources();
    if (s.device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &s.backBuffer) != D3D_OK) {
        s.backBuffer = nullptr;
    }
    Screen_ForgetRenderStates();
    return true;
}

}  // namespace

int32_t Screen_Flip() {
    ScreenState& s = Screen_State();
    Screen_SetRenderTarget(-1);
    // A windowed screen leaves the messages to the caller's event loop.
    if (!s.windowed) PumpMessages();
    if (!s.active || !s.device) return 1;

    HRESULT r = s.device->TestCooperativeLevel();
    if (r == D3DERR_DRIVERINTERNALERROR) {
        s.active = 0;
        return 0;
    }
    if (r == D3DERR_DEVICELOST) {
        DWORD start = GetTickCount();
        do {
            Sleep(1);
            r = s.device->TestCooperativeLevel();
            if (r == D3DERR_DRIVERINTERNALERROR) {
                s.active = 0;
                return 0;
            }
            if (r == D3DERR_DEVICENOTRESET || r == D3D_OK) break;
        } while (GetTickCount() - start < kLostWaitMs);
        if (r == D3DERR_DEVICELOST) {
            s.active = 0;
            return 0;
        }
    }
    if (r == D3DERR_DEVICENOTRESET && !ResetDevice(s)) {
        s.active = 0;
        return 0;
    }
    Screen_EndScene();
    if (s.windowed) {
        RECT client{0, 0, 0, 0};
        GetClientRect(s.childWindow, &client);
        RECT source{0, 0, s.width, s.height};
        r = s.device->Present(&source, &client, nullptr, nullptr);
    } else {
        r = s.device->Present(nullptr, nullptr, nullptr, nullptr);
    }
    s.active = r == D3D_OK ? 1 : 0;
    return 1;
}
