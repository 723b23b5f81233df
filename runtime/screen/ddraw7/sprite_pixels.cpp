// Sprite pixels across a loss of the display: each sprite's surface copied to a heap block
// through a system-memory surface (which is never lost) when the screen loses the focus, and
// copied back into the restored surface when the display returns.
#include <cstring>

#include "platform/win32/heap.h"
#include "runtime/core/object_table.h"
#include "runtime/core/program.h"
#include "runtime/screen/ddraw7/screen_state.h"
#include "runtime/screen/ddraw7/sprite.h"

namespace {

constexpr DWORD kSystemMemoryPlain = DDSCAPS_OFFSCREENPLAIN | DDSCAPS_SYSTEMMEMORY;  // 0x840

// The heap copy of one surface: a 4-byte pitch, then pitch x height bytes; null when the surface
// cannot be read.
uint8_t* CopyOut(IDirectDraw7* dd, IDirectDrawSurface7* surface, int32_t width, int32_t height) {
    DDSURFACEDESC2 desc{};
    desc.dwSize = sizeof(desc);
    desc.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT | DDSD_PIXELFORMAT;
    desc.dwWidth = static_cast<DWORD>(width);
    desc.dwHeight = static_cast<DWORD>(height);
    desc.ddsCaps.dwCaps = kSystemMemoryPlain;
    // In the sprite's own format, so sprites that keep an alpha channel copy exactly too.
    if (surface->GetPixelFormat(&desc.ddpfPixelFormat) != DD_OK) return nullptr;
    IDirectDrawSurface7* temporary = nullptr;
    if (dd->CreateSurface(&desc, &temporary, nullptr) != DD_OK) return nullptr;
    uint8_t* copy = nullptr;
    DDSURFACEDESC2 locked{};
    locked.dwSize = sizeof(locked);
    if (temporary->Blt(nullptr, surface, nullptr, DDBLT_WAIT, nullptr) == DD_OK &&
        temporary->Lock(nullptr, &locked, DDLOCK_WAIT, nullptr) == DD_OK) {
        const size_t bytes = static_cast<size_t>(locked.lPitch) * static_cast<size_t>(height);
        copy = static_cast<uint8_t*>(HeapAlloc(Runtime_Heap(), 0, 4 + bytes));
        if (copy) {
            const int32_t pitch = locked.lPitch;
            std::memcpy(copy, &pitch, 4);
            std::memcpy(copy + 4, locked.lpSurface, bytes);
        }
        temporary->Unlock(nullptr);
    }
    temporary->Release();
    return copy;
}

// Copies a heap copy back; false when the surface cannot be locked yet.
bool CopyIn(IDirectDrawSurface7* surface, const uint8_t* copy, int32_t height) {
    DDSURFACEDESC2 locked{};
    locked.dwSize = sizeof(locked);
    if (surface->Lock(nullptr, &locked, DDLOCK_WAIT, nullptr) != DD_OK) return false;
    int32_t pitch = 0;
    std::memcpy(&pitch, copy, 4);
    // Rows of the saved pitch, but never more than the surface's own rows hold.
    const int32_t row_bytes = pitch < locked.lPitch ? pitch : locked.lPitch;
    const int32_t rows = height < static_cast<int32_t>(locked.dwHeight)
                             ? height
                             : static_cast<int32_t>(locked.dwHeight);
    auto* bits = static_cast<uint8_t*>(locked.lpSurface);
    for (int32_t y = 0; y < rows && row_bytes > 0; ++y) {
        std::memcpy(bits + static_cast<int64_t>(y) * locked.lPitch,
                    copy + 4 + static_cast<int64_t>(y) * pitch, static_cast<size_t>(row_bytes));
    }
    surface->Unlock(nullptr);
    return true;
}

}  // namespace

void Sprite_SavePixels() {
    ScreenState& s = Screen_State();
    if (!s.sprites || !s.directDraw) return;
    ObjectTable_First(s.sprites);
    int32_t number = 0;
    while (auto* sprite = static_cast<SpriteRecord*>(ObjectTable_Next(s.sprites, &number))) {
        IDirectDrawSurface7* surface = Sprite_Surface(sprite);
        if (!surface || sprite->savedPixels) continue;
        sprite->savedPixels =
            CopyOut(s.directDraw, surface, sprite->imageWidth, sprite->imageHeight);
    }
}

void Sprite_RestorePixels() {
    ScreenState& s = Screen_State();
    if (!s.sprites) return;
    ObjectTable_First(s.sprites);
    int32_t number = 0;
    while (auto* sprite = static_cast<SpriteRecord*>(ObjectTable_Next(s.sprites, &number))) {
        IDirectDrawSurface7* surface = Sprite_Surface(sprite);
        if (!surface) continue;
        if (surface->IsLost() == DDERR_SURFACELOST) surface->Restore();
        // A copy that cannot go back yet is kept for the next restore.
        if (sprite->savedPixels && CopyIn(surface, sprite->savedPixels, sprite->imageHeight)) {
            HeapFree(Runtime_Heap(), 0, sprite->savedPixels);
            sprite->savedPixels = nullptr;
        }
    }
}

void Sprite_DropSavedPixels() {
    ScreenState& s = Screen_State();
    if (!s.sprites) return;
    ObjectTable_First(s.sprites);
    int32_t number = 0;
    while (auto* sprite = static_cast<SpriteRecord*>(ObjectTable_Next(s.sprites, &number))) {
        if (!sprite->savedPixels) continue;
        HeapFree(Runtime_Heap(), 0, sprite->savedPixels);
        sprite->savedPixels = nullptr;
    }
}
