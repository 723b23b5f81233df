// Starting and ending the screen and sprite library: the sprite table, the shared window, the
// Direct3D 9 object from "d3d9.dll".
#include "platform/win32/loader.h"
#include "runtime/screen/d3d9/screen.h"
#include "runtime/screen/d3d9/screen_state.h"
#include "runtime/screen/d3d9/sprite.h"
#include "runtime/screen/shared_window.h"
#include "runtime/screen/sprite_table.h"

ScreenState& Screen_State() {
    static ScreenState state{};
    return state;
}

namespace {

using Direct3DCreate9Proc = IDirect3D9* (*)(UINT);

// WM_ACTIVATE of the shared window: a windowed screen leaves activation to its parent.
void OnActivate(bool activated) {
    ScreenState& s = Screen_State();
    if (s.windowed) return;
    s.active = activated ? 1 : 0;
}

}  // namespace

int32_t Sprite_Init() {
    ScreenState& s = Screen_State();
    // Checked before the table is made: a second start must not orphan the sprites of the
    // first.
    if (s.initialised) return 0;
    s.sprites = SpriteTable_Create<SpriteRecord>(&Sprite_Free);
    if (!s.sprites) return 0;
    if (!s.sharedWindow || !IsWindow(s.sharedWindow)) s.sharedWindow = SharedWindow_Create();
    if (!s.sharedWindow) return 0;
    SharedWindow_SetActivateHandler(&OnActivate);

    HMODULE library = LoadLibraryA("d3d9.dll");
    if (!library) return 0;
    auto create = reinterpret_cast<Direct3DCreate9Proc>(GetProcAddress(library, "Direct3DCreate9"));
    IDirect3D9* direct3d = create ? create(D3D_SDK_VERSION) : nullptr;
    if (!direct3d) {
        FreeLibrary(library);
        return 0;
    }
    UINT modes = direct3d->GetAdapterModeCount(D3DADAPTER_DEFAULT, D3DFMT_X1R5G5B5) +
                 direct3d->GetAdapterModeCount(D3DADAPTER_DEFAULT, D3DFMT_R5G6B5) +
                 direct3d->GetAdapterModeCount(D3DADAPTER_DEFAULT, D3DFMT_X8R8G8B8);
    if (modes == 0) {
        direct3d->Release();
        FreeLibrary(library);
        return 0;
    }
    s.direct3d = direct3d;
    s.library = library;
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
    s.direct3d->Release();
    s.direct3d = nullptr;
    FreeLibrary(s.library);
    s.library = nullptr;
    s.initialised = 0;
}
