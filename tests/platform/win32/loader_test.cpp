#include "platform/win32/loader.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/host/host.h"
#include "platform/win32/shell.h"

namespace {

TEST(LoaderTest, LoadsByAnyCaseCountsReferencesAndFindsExports) {
    HMODULE a = LoadLibraryA("COMCTL32.DLL");
    HMODULE b = LoadLibraryA("comctl32");
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a, b);
    EXPECT_EQ(Loader_ReferenceCount("comctl32.dll"), 2);
    auto fn = reinterpret_cast<HRESULT (*)(DLLVERSIONINFO*)>(GetProcAddress(a, "DllGetVersion"));
    ASSERT_NE(fn, nullptr);
    DLLVERSIONINFO info{sizeof(DLLVERSIONINFO), 0, 0, 0, 0};
    EXPECT_EQ(fn(&info), S_OK);
    EXPECT_EQ(info.dwMajorVersion, 6u);
    EXPECT_EQ(GetProcAddress(a, "NoSuchExport"), nullptr);
    EXPECT_TRUE(FreeLibrary(a));
    EXPECT_TRUE(FreeLibrary(b));
    EXPECT_EQ(Loader_ReferenceCount("comctl32.dll"), 0);
    EXPECT_FALSE(FreeLibrary(a));
    EXPECT_EQ(LoadLibraryA("nosuch.dll"), nullptr);
    EXPECT_EQ(LoadLibraryA(nullptr), nullptr);
}

TEST(LoaderTest, MissingSettingHidesLibraries) {
    setenv("KAVRO_MISSING", "d3d9.dll, MSIMG32.DLL", 1);
    Host_ReloadSettings();
    EXPECT_TRUE(Host_IsMarkedMissing("msimg32.dll"));
    EXPECT_TRUE(Host_IsMarkedMissing("D3D9.dll"));
    EXPECT_FALSE(Host_IsMarkedMissing("dsound.dll"));
    EXPECT_EQ(LoadLibraryA("msimg32.dll"), nullptr);
    HMODULE ux = LoadLibraryA("uxtheme.dll");
    EXPECT_NE(ux, nullptr);
    FreeLibrary(ux);
    unsetenv("KAVRO_MISSING");
    Host_ReloadSettings();
    HMODULE m = LoadLibraryA("msimg32.dll");
    EXPECT_NE(m, nullptr);
    FreeLibrary(m);
}

}  // namespace
