// Starting and ending the screen and sprite library on DirectDraw 7: the sprite table, the
// shared window, the keyboard this backend needs, and the DirectDraw object from "DDRAW.DLL",
// shared with a count of its users.
#include "platform/win32/loader.h"
#include "runtime/input/keyboard.h"
#include "runtime/screen/ddraw7/screen_state.h"
#include "runtime/screen/ddraw7/sprite.h"
#include "runtime/screen/ddraw7/sprite3d.h"
#include "runtime/screen/screen.h"
#include "runtime/screen/shared_window.h"
#include "runtime/screen/sprite_table.h"

ScreenState& Screen_State() {
    static ScreenState state{};
    return state;
}

namespace {

using DirectDrawCreateExProc = HRESULT (*)(const GUID*, void**, REFIID, void*);

struct DirectDrawShare {
    IDirectDraw7* object;
    HMODULE library;
    int32_t users;
};

DirectDrawShare& Share() {
    static DirectDrawShare share{};
    return share;
}

// WM_ACTIVATE of the shared window: a windowed screen leaves activation to its parent. While
// the full-screen window is deactivated nothing is flipped or displayed.
void OnActivate(bool activated) {
    ScreenState& s = Screen_State();
    if (s.windowed) return;
    s.active = activated ? 1 : 0;
}

}  // namespace

IDirectDraw7* Screen_AcquireDirectDraw() {
    DirectDrawShare& d = Share();
    if (!d.object) {
        HMODULE library = LoadLibraryA("DDRAW.DLL");
        if (!library) return nullptr;
        auto create =
            reinterpret_cast<DirectDrawCreateExProc>(GetProcAddress(library, "DirectDrawCreateEx"));
        void* object = nullptr;
        if (!create || create(nullptr, &object, IID_IDirectDraw7, nullptr) != DD_OK || !object) {
            FreeLibrary(library);
            return nullptr;
        }
        d.object = static_cast<IDirectDraw7*>(object);
        d.library = library;
    }
    ++d.users;
    return d.object;
}

void Screen_ReleaseDirectDraw() {
    DirectDrawShare& d = Share();
    if (d.users <= 0 || --d.users > 0) return;
    d.object->Release();
    FreeLibrary(d.library);
    d = DirectDrawShare{};
}

int32_t Sprite_Init() {
    ScreenState& s = Screen_State();
    // A second start would count a second user of the DirectDraw object that no end releases.
    if (s.initialised) return 0;
    s.sprites = SpriteTable_Create<SpriteRecord>(&Sprite_Free);
    if (!s.sprites) return 0;
    if (!s.sharedWindow || !IsWindow(s.sharedWindow)) s.sharedWindow = SharedWindow_Create();
    if (!s.sharedWindow) return 0;
    SharedWindow_SetActivateHandler(&OnActivate);
    if (!Keyboard_Init()) return 0;
    s.directDraw = Screen_AcquireDirectDraw();
    if (!s.directDraw) return 0;
    s.initialised = 1;
    return 1;
}

void Sprite_End() {
    ScreenState& s = Screen_State();
    if (!s.initialised) return;
    Screen_Close();
    Sprite_FreeAll();
    // The table lives on the runtime heap, which ends with the program; the next start makes
    // another.
    s.sprites = nullptr;
    // The Direct3D object is an interface of the DirectDraw object and counts on it.
    Sprite3D_ReleaseDirect3D();
    Screen_ReleaseDirectDraw();
    s.directDraw = nullptr;
    s.initialised = 0;
}
