#include "runtime/imagelib/image_library.h"

#include "platform/win32/loader.h"
#include "platform/win32/process.h"
#include "platform/win32/shell.h"
#include "runtime/core/object_table.h"

namespace {

struct ImageLibrary {
    HMODULE msimg32;
    FARPROC alpha_blend;
    bool themed;
    ObjectTable* table;
};
ImageLibrary g_images;

// Themes need NT 5.1 or later, comctl32 6 and an application the theme engine calls themed.
bool ThemeActive() {
    OSVERSIONINFOA version{};
    version.dwOSVersionInfoSize = sizeof(version);
    if (!GetVersionExA(&version)) return false;
    if (version.dwPlatformId != VER_PLATFORM_WIN32_NT) return false;
    if (version.dwMajorVersion < 5 ||
        (version.dwMajorVersion == 5 && version.dwMinorVersion == 0)) {
        return false;
    }
    bool themed = false;
    HMODULE comctl = LoadLibraryA("COMCTL32.DLL");
    if (comctl) {
        auto get_version =
            reinterpret_cast<HRESULT (*)(DLLVERSIONINFO*)>(GetProcAddress(comctl, "DllGetVersion"));
        DLLVERSIONINFO info{};
        info.cbSize = sizeof(info);
        if (get_version && get_version(&info) == S_OK && info.dwMajorVersion >= 6) {
            HMODULE uxtheme = LoadLibraryA("uxtheme.dll");
            if (uxtheme) {
                auto is_themed =
                    reinterpret_cast<BOOL (*)()>(GetProcAddress(uxtheme, "IsAppThemed"));
                themed = is_themed && is_themed();
                FreeLibrary(uxtheme);
            }
        }
        FreeLibrary(comctl);
    }
    return themed;
}

void FreeImage(int32_t number) {
    auto* image = static_cast<ImageRecord*>(ObjectTable_Get(g_images.table, number));
    if (!image) return;
    DeleteObject(image->handle);
    ObjectTable_Release(g_images.table, number);
}

}  // namespace

void Image_Init() {
    g_images.msimg32 = LoadLibraryA("msimg32.dll");
    g_images.alpha_blend =
        g_images.msimg32 ? GetProcAddress(g_images.msimg32, "AlphaBlend") : nullptr;
    g_images.themed = ThemeActive();
}

void Image_End() {
    if (g_images.msimg32) FreeLibrary(g_images.msimg32);
    g_images.msimg32 = nullptr;
    g_images.alpha_blend = nullptr;
}

void ImageTable_Init() {
    g_images.table = ObjectTable_Create(sizeof(ImageRecord), 16, &FreeImage);
}

void ImageTable_End() {
    ObjectTable_FreeAll(g_images.table);
}

ObjectTable* Image_Table() {
    return g_images.table;
}
bool Image_Themed() {
    return g_images.themed;
}
bool Image_HasAlphaBlend() {
    return g_images.alpha_blend != nullptr;
}
