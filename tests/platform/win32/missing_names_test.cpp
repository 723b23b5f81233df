// KAVRO_MISSING accepts exactly the libraries the program can load (and Direct3D 7 inside
// DirectDraw); any other name ends the run naming the ones it knows.
#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/host/host.h"
#include "platform/win32/loader.h"

namespace {

TEST(MissingNamesTest, EveryLoadableLibraryIsAKnownName) {
    size_t count = 0;
    const ModuleEntry* modules = Loader_Modules(&count);
    ASSERT_GT(count, 0u);
    for (size_t i = 0; i < count; ++i) EXPECT_TRUE(Host_IsKnownLibrary(modules[i].name));
    EXPECT_TRUE(Host_IsKnownLibrary("D3DIM700.DLL"));
    EXPECT_FALSE(Host_IsKnownLibrary("d3d9"));
    EXPECT_FALSE(Host_IsKnownLibrary("foo.dll"));
}

TEST(MissingNamesTest, AnUnknownNameEndsTheRun) {
    setenv("KAVRO_MISSING", "dsound.dll, d3d8.dll", 1);
    EXPECT_EXIT(Host_ReloadSettings(), ::testing::ExitedWithCode(2),
                "KAVRO_MISSING: unknown library \"d3d8.dll\"; known: d3d9.dll, ");
    unsetenv("KAVRO_MISSING");
}

}  // namespace
