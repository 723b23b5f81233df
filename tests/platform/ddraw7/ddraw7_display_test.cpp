// The DirectDraw 7 display: the library in the loader, exclusive mode and display modes, the
// flipping chain and its presents, surface loss by deactivation or a mode change and the
// restore, the scan line and the vertical blank.
#include <cstdlib>

#include "platform/host/host.h"
#include "platform/host/video.h"
#include "platform/win32/loader.h"
#include "platform/win32/messages.h"
#include "platform/win32/time.h"
#include "tests/platform/ddraw7/ddraw_fixture.h"

namespace {

TEST(DDrawLibraryTest, TheLoaderOffersDirectDrawCreateExUnlessMarkedMissing) {
    HMODULE library = LoadLibraryA("DDRAW.DLL");
    ASSERT_NE(library, nullptr);
    auto create = reinterpret_cast<HRESULT (*)(const GUID*, void**, REFIID, void*)>(
        GetProcAddress(library, "DirectDrawCreateEx"));
    ASSERT_NE(create, nullptr);
    void* dd = nullptr;
    // Only the IDirectDraw7 interface of the default driver is made.
    EXPECT_EQ(create(nullptr, &dd, IID_IDirectDrawSurface7, nullptr), DDERR_INVALIDPARAMS);
    EXPECT_EQ(dd, nullptr);
    ASSERT_EQ(create(nullptr, &dd, IID_IDirectDraw7, nullptr), DD_OK);
    void* d3d = nullptr;
    ASSERT_EQ(static_cast<IDirectDraw7*>(dd)->QueryInterface(IID_IDirect3D7, &d3d), DD_OK);
    // The Direct3D interface counts on the DirectDraw object.
    EXPECT_EQ(DDraw7Test_References(static_cast<IDirectDraw7*>(dd)), 2u);
    static_cast<IDirect3D7*>(d3d)->Release();
    EXPECT_EQ(DDraw7Test_References(static_cast<IDirectDraw7*>(dd)), 1u);
    setenv("KAVRO_MISSING", "d3dim700.dll", 1);
    Host_ReloadSettings();
    EXPECT_EQ(static_cast<IDirectDraw7*>(dd)->QueryInterface(IID_IDirect3D7, &d3d), E_NOINTERFACE);
    static_cast<IDirectDraw7*>(dd)->Release();
    FreeLibrary(library);
    setenv("KAVRO_MISSING", "DDraw.dll", 1);
    Host_ReloadSettings();
    EXPECT_EQ(LoadLibraryA("ddraw"), nullptr);
    unsetenv("KAVRO_MISSING");
    Host_ReloadSettings();
}

TEST_F(DDrawTest, DisplayModesNeedExclusiveModeAndAreTheOffersOnly) {
    EXPECT_EQ(dd_->SetDisplayMode(640, 480, 32, 0, 0), DDERR_NOEXCLUSIVEMODE);
    EXPECT_EQ(dd_->SetCooperativeLevel(window_, DDSCL_EXCLUSIVE), DDERR_INVALIDPARAMS);
    ASSERT_EQ(dd_->SetCooperativeLevel(window_, DDSCL_EXCLUSIVE | DDSCL_FULLSCREEN), DD_OK);
    EXPECT_EQ(dd_->SetDisplayMode(640, 480, 24, 0, 0), DDERR_INVALIDMODE);
    EXPECT_EQ(dd_->SetDisplayMode(641, 480, 32, 0, 0), DDERR_INVALIDMODE);
    EXPECT_EQ(dd_->SetDisplayMode(640, 480, 32, 1, 0), DDERR_INVALIDMODE);
    const DWORD rate = static_cast<DWORD>(Host_RefreshRate());
    ASSERT_EQ(dd_->SetDisplayMode(800, 600, 16, rate, 0), DD_OK);
    DDSURFACEDESC2 mode = Desc();
    ASSERT_EQ(dd_->GetDisplayMode(&mode), DD_OK);
    EXPECT_EQ(mode.dwWidth, 800u);
    EXPECT_EQ(mode.ddpfPixelFormat.dwRGBBitCount, 16u);
    DWORD hz = 0;
    ASSERT_EQ(dd_->GetMonitorFrequency(&hz), DD_OK);
    EXPECT_EQ(hz, rate);
    // One program holds the display at a time.
    void* other = nullptr;
    ASSERT_EQ(DirectDrawCreateEx(nullptr, &other, IID_IDirectDraw7, nullptr), DD_OK);
    auto* second = static_cast<IDirectDraw7*>(other);
    EXPECT_EQ(second->SetCooperativeLevel(window_, DDSCL_EXCLUSIVE | DDSCL_FULLSCREEN),
              DDERR_EXCLUSIVEMODEALREADYSET);
    ASSERT_EQ(dd_->SetCooperativeLevel(nullptr, DDSCL_NORMAL), DD_OK);
    EXPECT_EQ(second->SetCooperativeLevel(window_, DDSCL_EXCLUSIVE | DDSCL_FULLSCREEN), DD_OK);
    second->Release();
}

TEST_F(DDrawTest, FlipShowsTheBackBufferAndTradesTheirMemory) {
    Exclusive();
    Chain();
    DDSURFACEDESC2 d = Desc();
    ASSERT_EQ(back_->GetSurfaceDesc(&d), DD_OK);
    EXPECT_EQ(d.dwWidth, 640u);
    EXPECT_NE(d.ddsCaps.dwCaps & DDSCAPS_3DDEVICE, 0u);
    Fill(back_, [](int, int) { return 0x00112233u; });
    Fill(primary_, [](int, int) { return 0x00445566u; });
    // Not a flipping surface.
    EXPECT_EQ(back_->Flip(nullptr, DDFLIP_WAIT), DDERR_NOTFLIPPABLE);
    const uint32_t before = Host_PresentCount();
    ASSERT_EQ(primary_->Flip(nullptr, DDFLIP_WAIT | DDFLIP_NOVSYNC), DD_OK);
    EXPECT_EQ(Host_PresentCount(), before + 1);
    EXPECT_EQ(Raw(primary_, 10, 10), 0x00112233u);
    EXPECT_EQ(Raw(back_, 10, 10), 0x00445566u);
    // A held device context keeps the chain from flipping.
    HDC dc = nullptr;
    ASSERT_EQ(back_->GetDC(&dc), DD_OK);
    EXPECT_EQ(primary_->Flip(nullptr, DDFLIP_WAIT), DDERR_SURFACEBUSY);
    back_->ReleaseDC(dc);
    EXPECT_EQ(DDraw7Test_Counters(dd_).flips, 1u);
}

TEST_F(DDrawTest, FlipWithoutNoVsyncWaitsForTheBlank) {
    Exclusive();
    Chain();
    LARGE_INTEGER f{0}, a{0}, b{0};
    QueryPerformanceFrequency(&f);
    const double period = 1.0 / Host_RefreshRate();
    QueryPerformanceCounter(&a);
    for (int i = 0; i < 3; ++i) ASSERT_EQ(primary_->Flip(nullptr, DDFLIP_WAIT), DD_OK);
    QueryPerformanceCounter(&b);
    const double seconds = static_cast<double>(b.QuadPart - a.QuadPart) / f.QuadPart;
    // Three blanks follow each other one refresh apart (a loaded machine may miss one).
    EXPECT_GT(seconds, 1.9 * period);
    EXPECT_LT(seconds, 6.0 * period);
}

TEST_F(DDrawTest, TheScanLineRunsDownTheScreenAndThroughTheBlank) {
    Exclusive();
    bool saw_blank = false, saw_top = false, saw_bottom = false;
    LARGE_INTEGER f{0}, start{0}, now{0};
    QueryPerformanceFrequency(&f);
    QueryPerformanceCounter(&start);
    do {
        DWORD line = 0;
        HRESULT r = dd_->GetScanLine(&line);
        if (r == DDERR_VERTICALBLANKINPROGRESS) {
            saw_blank = true;
        } else {
            ASSERT_EQ(r, DD_OK);
            ASSERT_LT(line, 480u);
            saw_top |= line < 240;
            saw_bottom |= line >= 330;
        }
        QueryPerformanceCounter(&now);
        // A tenth of a second covers several refreshes; a loaded machine may need longer.
    } while (!(saw_blank && saw_top && saw_bottom) &&
             now.QuadPart - start.QuadPart < 2 * f.QuadPart);
    EXPECT_TRUE(saw_blank);
    EXPECT_TRUE(saw_top);
    EXPECT_TRUE(saw_bottom);
    // Right after the blank begins, the line is in the blank.
    ASSERT_EQ(dd_->WaitForVerticalBlank(DDWAITVB_BLOCKBEGIN, nullptr), DD_OK);
    DWORD line = 0;
    EXPECT_EQ(dd_->GetScanLine(&line), DDERR_VERTICALBLANKINPROGRESS);
}

TEST_F(DDrawTest, LostVideoMemoryRefusesWorkUntilRestored) {
    Exclusive();
    IDirectDrawSurface7* video = Surface(4, 4);
    IDirectDrawSurface7* system = Surface(4, 4, DDSCAPS_OFFSCREENPLAIN | DDSCAPS_SYSTEMMEMORY);
    Fill(video, [](int, int) { return 0x00C0FFEEu; });
    DDraw7Test_LoseSurfaces(dd_);
    EXPECT_EQ(video->IsLost(), DDERR_SURFACELOST);
    EXPECT_EQ(system->IsLost(), DD_OK);  // system memory is never lost
    DDSURFACEDESC2 d = Desc();
    HDC dc = nullptr;
    EXPECT_EQ(video->Lock(nullptr, &d, DDLOCK_WAIT, nullptr), DDERR_SURFACELOST);
    EXPECT_EQ(video->GetDC(&dc), DDERR_SURFACELOST);
    EXPECT_EQ(system->BltFast(0, 0, video, nullptr, DDBLTFAST_WAIT), DDERR_SURFACELOST);
    EXPECT_EQ(video->BltFast(0, 0, system, nullptr, DDBLTFAST_WAIT), DDERR_SURFACELOST);
    ASSERT_EQ(dd_->RestoreAllSurfaces(), DD_OK);
    EXPECT_EQ(video->IsLost(), DD_OK);
    EXPECT_EQ(DDraw7Test_Counters(dd_).restores, 1u);
    // Restored memory holds no promised pixels: a wiping display shows it.
    DDraw7Test_WipeOnRestore(dd_, true);
    DDraw7Test_LoseSurfaces(dd_);
    ASSERT_EQ(video->Restore(), DD_OK);
    EXPECT_NE(Raw(video, 0, 0), 0x00C0FFEEu);
}

TEST_F(DDrawTest, SurfacesOfAnotherModeCannotBeRestored) {
    Exclusive(32);
    IDirectDrawSurface7* s = Surface(4, 4);
    ASSERT_EQ(dd_->SetDisplayMode(640, 480, 16, 0, 0), DD_OK);
    EXPECT_EQ(s->IsLost(), DDERR_SURFACELOST);
    EXPECT_EQ(s->Restore(), DDERR_WRONGMODE);
    ASSERT_EQ(dd_->SetDisplayMode(640, 480, 32, 0, 0), DD_OK);
    EXPECT_EQ(s->Restore(), DD_OK);
}

// The program's procedure sees the deactivation while its surfaces still work.
HRESULT g_lost_during_deactivation = E_FAIL;
IDirectDrawSurface7* g_watched = nullptr;
LRESULT Watcher(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_ACTIVATE && LOWORD(wparam) == WA_INACTIVE && g_watched) {
        g_lost_during_deactivation = g_watched->IsLost();
    }
    return DefWindowProcA(window, message, wparam, lparam);
}

TEST_F(DDrawTest, DeactivatingTheExclusiveWindowLosesVideoMemoryAfterItsProcedure) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = &Watcher;
    wc.lpszClassName = "KavroDDrawFocusTest";
    RegisterClassA(&wc);
    HWND window = CreateWindowExA(0, "KavroDDrawFocusTest", "", WS_POPUP, 0, 0, 640, 480, nullptr,
                                  nullptr, nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    ShowWindow(window, SW_SHOW);
    ASSERT_EQ(dd_->SetCooperativeLevel(window, DDSCL_EXCLUSIVE | DDSCL_FULLSCREEN), DD_OK);
    ASSERT_EQ(dd_->SetDisplayMode(640, 480, 32, 0, 0), DD_OK);
    g_watched = Surface(4, 4);
    SendMessageA(window, WM_ACTIVATE, WA_INACTIVE, 0);
    EXPECT_EQ(g_lost_during_deactivation, DD_OK);
    EXPECT_EQ(g_watched->IsLost(), DDERR_SURFACELOST);
    // Back in normal mode the window's own procedure is in place again.
    ASSERT_EQ(dd_->SetCooperativeLevel(nullptr, DDSCL_NORMAL), DD_OK);
    EXPECT_EQ(GetWindowLongPtrA(window, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(&Watcher));
    ASSERT_EQ(g_watched->Restore(), DDERR_WRONGMODE);  // the desktop's mode now
    g_watched = nullptr;
    DestroyWindow(window);
}

TEST_F(DDrawTest, SurfacesOutlivingTheirDirectDrawObjectAreDeadButSafe) {
    Exclusive();
    IDirectDrawSurface7* s = Surface(4, 4);
    s->AddRef();
    // Release the object for good: the fixture's reference and this one.
    IDirectDraw7* dd = dd_;
    for (IDirectDrawSurface7* m : made_) m->Release();
    made_.clear();
    void* made = nullptr;
    ASSERT_EQ(DirectDrawCreateEx(nullptr, &made, IID_IDirectDraw7, nullptr), DD_OK);
    dd_ = static_cast<IDirectDraw7*>(made);
    dd->Release();
    DDSURFACEDESC2 d = Desc();
    EXPECT_EQ(s->Lock(nullptr, &d, DDLOCK_WAIT, nullptr), DDERR_INVALIDOBJECT);
    EXPECT_EQ(s->IsLost(), DDERR_INVALIDOBJECT);
    EXPECT_EQ(s->Release(), 0u);
}

}  // namespace
