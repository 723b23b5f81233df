// Texture records of the sprites: their Direct3D textures and surfaces, the transparent colour
// turned into alpha, GDI access through a plain surface, and the kind-2 render surfaces that
// live in the device's default pool.
#include <cstring>

#include "platform/win32/heap.h"
#include "runtime/core/object_table.h"
#include "runtime/core/program.h"
#include "runtime/screen/d3d9/screen_state.h"
#include "runtime/screen/d3d9/sprite.h"

namespace {

// The transparent colour as each texture format stores it (compared without alpha).
uint32_t Key32(int32_t c) {
    uint32_t u = static_cast<uint32_t>(c);
    return ((u >> 16) | (u & 0xFF00) | (u << 16)) & 0xFFFFFF;
}
uint32_t Key16(int32_t c) {
    uint32_t u = static_cast<uint32_t>(c);
    return (((u & 0xF8) << 7) | ((u >> 6) & 0x3E0) | (u >> 19)) & 0x7FFF;
}

// One row of pixels with the key rule: the key colour gets alpha 0, everything else opaque. A
// key of -1 (never applied) makes every pixel opaque.
void KeyRow32(uint32_t* dst, const uint32_t* src, int32_t count, int32_t key) {
    if (key < 0) {
        for (int32_t i = 0; i < count; ++i) dst[i] = src[i] | 0xFF000000u;
        return;
    }
    uint32_t k = Key32(key);
    for (int32_t i = 0; i < count; ++i) {
        uint32_t p = src[i] & 0xFFFFFF;
        dst[i] = p == k ? p : (p | 0xFF000000u);
    }
}
void KeyRow16(uint16_t* dst, const uint16_t* src, int32_t count, int32_t key) {
    if (key < 0) {
        for (int32_t i = 0; i < count; ++i) dst[i] = static_cast<uint16_t>(src[i] | 0x8000);
        return;
    }
    uint32_t k = Key16(key);
    for (int32_t i = 0; i < count; ++i) {
        uint32_t p = src[i] & 0x7FFFu;
        dst[i] = static_cast<uint16_t>(p == k ? p : (p | 0x8000u));
    }
}

// Copies `from` into `to` row by row (both the texture's size), with or without the key rule.
bool CopyRows(TextureRecord* t, IDirect3DSurface9* from, IDirect3DSurface9* to, bool keyed) {
    D3DLOCKED_RECT src, dst;
    if (from->LockRect(&src, nullptr, D3DLOCK_READONLY) != D3D_OK) return false;
    if (to->LockRect(&dst, nullptr, 0) != D3D_OK) {
        from->UnlockRect();
        return false;
    }
    int32_t row_bytes = t->width * (t->kind == 2 ? 2 : 4);
    for (int32_t y = 0; y < t->height; ++y) {
        auto* d = static_cast<uint8_t*>(dst.pBits) + static_cast<int64_t>(y) * dst.Pitch;
        auto* s = static_cast<const uint8_t*>(src.pBits) + static_cast<int64_t>(y) * src.Pitch;
        if (!keyed) {
            std::memcpy(d, s, static_cast<size_t>(row_bytes));
        } else if (t->kind == 2) {
            KeyRow16(reinterpret_cast<uint16_t*>(d), reinterpret_cast<const uint16_t*>(s), t->width,
                     t->key);
        } else {
            KeyRow32(reinterpret_cast<uint32_t*>(d), reinterpret_cast<const uint32_t*>(s), t->width,
                     t->key);
        }
    }
    to->UnlockRect();
    from->UnlockRect();
    return true;
}

bool MakeRenderSurface(TextureRecord* t) {
    IDirect3DDevice9* device = Screen_State().device;
    if (!device) return false;
    return device->CreateRenderTarget(static_cast<UINT>(t->width), static_cast<UINT>(t->height),
                                      D3DFMT_X1R5G5B5, D3DMULTISAMPLE_NONE, 0, TRUE,
                                      &t->renderSurface, nullptr) == D3D_OK;
}

template <typename T>
void ReleaseInterface(T*& p) {
    if (p) p->Release();
    p = nullptr;
}

}  // namespace

TextureRecord* TextureRecord_Create(int32_t width, int32_t height, int32_t depth, int32_t mode) {
    IDirect3DDevice9* device = Screen_State().device;
    // A texture belongs to the device that draws it: without an open screen there is none.
    if (!device) return nullptr;
    auto* t = static_cast<TextureRecord*>(
        HeapAlloc(Runtime_Heap(), HEAP_ZERO_MEMORY, sizeof(TextureRecord)));
    if (!t) return nullptr;
    t->kind = depth > 16 ? 3 : 2;
    t->width = width;
    t->height = height;
    t->textureMode = (mode & kSpriteTextureMode) ? 1 : 0;
    t->key = -1;
    t->holders = 1;
    D3DFORMAT format = t->kind == 2 ? D3DFMT_A1R5G5B5 : D3DFMT_A8R8G8B8;
    bool made = device->CreateTexture(static_cast<UINT>(width), static_cast<UINT>(height), 1, 0,
                                      format, D3DPOOL_MANAGED, &t->d3dTexture, nullptr) == D3D_OK;
    if (made && t->kind == 2) made = MakeRenderSurface(t);
    if (made) made = t->d3dTexture->GetSurfaceLevel(0, &t->levelSurface) == D3D_OK;
    if (!made) {
        ReleaseInterface(t->renderSurface);
        ReleaseInterface(t->d3dTexture);
        HeapFree(Runtime_Heap(), 0, t);
        return nullptr;
    }
    return t;
}

void TextureRecord_Hold(TextureRecord* texture) {
    if (texture) ++texture->holders;
}

// What only the sprite uses goes with the sprite: the GDI surface and the render surface.
void TextureRecord_DropSpriteParts(TextureRecord* t) {
    Sprite_ReleaseDC(t);
    ReleaseInterface(t->gdiSurface);
    ReleaseInterface(t->renderSurface);
}

void TextureRecord_Release(TextureRecord* t) {
    if (!t || --t->holders > 0) return;
    TextureRecord_DropSpriteParts(t);
    ReleaseInterface(t->levelSurface);
    ReleaseInterface(t->d3dTexture);
    HeapFree(Runtime_Heap(), 0, t);
}

void Sprite_SetTransparentColor(TextureRecord* t, int32_t colour) {
    if (!t || colour == t->key) return;
    D3DLOCKED_RECT locked;
    if (t->d3dTexture->LockRect(0, &locked, nullptr, 0) != D3D_OK) return;
    for (int32_t y = 0; y < t->height; ++y) {
        auto* row = static_cast<uint8_t*>(locked.pBits) + static_cast<int64_t>(y) * locked.Pitch;
        if (t->kind == 2) {
            auto* p = reinterpret_cast<uint16_t*>(row);
            KeyRow16(p, p, t->width, colour);
        } else {
            auto* p = reinterpret_cast<uint32_t*>(row);
            KeyRow32(p, p, t->width, colour);
        }
    }
    t->key = colour;
    t->d3dTexture->UnlockRect(0);
}

HDC Sprite_GetDC(TextureRecord* t) {
    if (!t) return nullptr;
    if (t->dc) return t->dc;
    IDirect3DDevice9* device = Screen_State().device;
    if (!t->gdiSurface) {
        D3DFORMAT format = t->kind == 2 ? D3DFMT_X1R5G5B5 : D3DFMT_X8R8G8B8;
        if (!device || device->CreateOffscreenPlainSurface(
                           static_cast<UINT>(t->width), static_cast<UINT>(t->height), format,
                           D3DPOOL_SYSTEMMEM, &t->gdiSurface, nullptr) != D3D_OK) {
            t->gdiSurface = nullptr;
            return nullptr;
        }
    }
    if (!CopyRows(t, t->levelSurface, t->gdiSurface, false)) return nullptr;
    HDC dc = nullptr;
    if (t->gdiSurface->GetDC(&dc) != D3D_OK) return nullptr;
    t->dc = dc;
    return dc;
}

void Sprite_ReleaseDC(TextureRecord* t) {
    if (!t || !t->dc) return;
    t->gdiSurface->ReleaseDC(t->dc);
    t->dc = nullptr;
    CopyRows(t, t->gdiSurface, t->levelSurface, true);
}

void Sprite_CopyBackRendered(TextureRecord* t) {
    if (t && t->kind == 2 && t->renderSurface) CopyRows(t, t->renderSurface, t->levelSurface, true);
}

// The texture's pixels into the render surface, so drawing into the sprite draws over them.
void Sprite_PrimeRenderSurface(TextureRecord* t) {
    if (t && t->kind == 2 && t->renderSurface)
        CopyRows(t, t->levelSurface, t->renderSurface, false);
}

void Sprite_ReleaseDeviceResources() {
    ObjectTable* table = Screen_State().sprites;
    if (!table) return;
    ObjectTable_First(table);
    int32_t number = 0;
    while (auto* sprite = static_cast<SpriteRecord*>(ObjectTable_Next(table, &number))) {
        ReleaseInterface(sprite->texture->renderSurface);
    }
}

void Sprite_RestoreDeviceResources() {
    ObjectTable* table = Screen_State().sprites;
    if (!table) return;
    ObjectTable_First(table);
    int32_t number = 0;
    while (auto* sprite = static_cast<SpriteRecord*>(ObjectTable_Next(table, &number))) {
        TextureRecord* t = sprite->texture;
        if (t->kind == 2 && !t->renderSurface && MakeRenderSurface(t)) {
            Sprite_PrimeRenderSurface(t);
        }
    }
}
