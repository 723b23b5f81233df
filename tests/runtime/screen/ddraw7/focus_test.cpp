// Losing and regaining the display on kavro-dx7: deactivation copies the sprites' pixels and
// makes the screen inactive (no flips, no displays); the flip after the activation finds the
// surfaces lost and restores them from the copies. Tab or Alt released saves once too, and a
// loss without warning is restored in the flip.
#include "platform/host/test_hooks.h"
#include "platform/host/video.h"
#include "platform/win32/messages.h"
#include "runtime/screen/drawing.h"
#include "tests/runtime/screen/ddraw7/screen_fixture.h"

namespace {

uint32_t Marked(int x, int y) {
    return 0x010000u * static_cast<uint32_t>(x + 1) + 0x0100u * static_cast<uint32_t>(y + 1) + 7;
}

class Dx7FocusTest : public Dx7Test {
  protected:
    void SetUp() override {
        Dx7Test::SetUp();
        Open();
        ASSERT_NE(Make(1, Bmp24(24, 16, Marked)), 0);
        ASSERT_NE(Make(2, Bmp24(4, 4, Marked), kSpriteTextureMode), 0);
        ASSERT_NE(Sprite3D_Create(2, 2), 0);
        dd_ = S().directDraw;
    }
    void ExpectSpritesIntact() {
        for (int y = 0; y < 16; ++y) {
            for (int x = 0; x < 24; ++x)
                ASSERT_EQ(Raw(SurfaceOf(1), x, y) & 0xFFFFFF, Marked(x, y));
        }
        EXPECT_EQ(Raw(SurfaceOf(2), 3, 3) & 0xFFFFFF, Marked(3, 3));
    }
    IDirectDraw7* dd_ = nullptr;
};

TEST_F(Dx7FocusTest, DeactivationStopsTheScreenAndActivationRestoresTheSavedPixels) {
    // The display gives restored memory back overwritten, so only the copies can bring the
    // pixels back.
    DDraw7Test_WipeOnRestore(dd_, true);
    HWND window = S().window;
    const uint32_t presents = Host_PresentCount();
    Host_SimulateFocus(window, false);
    EXPECT_EQ(Screen_Flip(), 1);  // the pump delivers the deactivation first
    EXPECT_EQ(S().active, 0);
    EXPECT_EQ(S().pixelsSaved, 1);
    ASSERT_NE(Sprite_Record(1)->savedPixels, nullptr);
    ASSERT_NE(Sprite_Record(2)->savedPixels, nullptr);
    EXPECT_EQ(SurfaceOf(1)->IsLost(), DDERR_SURFACELOST);
    EXPECT_EQ(Back()->IsLost(), DDERR_SURFACELOST);
    // Inactive: no flips, no displays, no quads, no texts.
    const uint64_t blits = DDraw7Test_Counters(dd_).blt_fasts;
    Sprite_Display(1, 0, 0);
    Sprite_DisplayTransparent(1, 0, 0);
    EXPECT_EQ(DDraw7Test_Counters(dd_).blt_fasts, blits);
    EXPECT_EQ(Sprite3D_Start(), 0);
    EXPECT_EQ(Screen_Output(), nullptr);
    EXPECT_EQ(Screen_Flip(), 1);
    EXPECT_EQ(Host_PresentCount(), presents);
    // Back: the first flip finds the surfaces lost and restores them, the next one shows.
    Host_SimulateFocus(window, true);
    EXPECT_EQ(Screen_Flip(), 1);
    EXPECT_EQ(S().active, 1);
    EXPECT_EQ(Host_PresentCount(), presents);
    EXPECT_EQ(SurfaceOf(1)->IsLost(), DD_OK);
    EXPECT_EQ(Back()->IsLost(), DD_OK);
    EXPECT_EQ(Raw(Back(), 0, 0), 0xA5A5A5A5u);  // the display's memory came back overwritten
    ExpectSpritesIntact();                      // the sprites came back from their copies
    EXPECT_EQ(Sprite_Record(1)->savedPixels, nullptr);
    EXPECT_EQ(S().pixelsSaved, 0);
    Sprite_Display(1, 0, 0);
    EXPECT_EQ(Rgb(5, 5), Marked(5, 5));
    ASSERT_EQ(Sprite3D_Start(), 1);
    Sprite3D_Display(2, 100, 100, 255);
    Sprite3D_Stop();
    EXPECT_EQ(Rgb(103, 103), Marked(3, 3));
    EXPECT_EQ(Screen_Flip(), 1);
    EXPECT_EQ(Host_PresentCount(), presents + 1);
}

TEST_F(Dx7FocusTest, ADeactivationSavesOnlyOnceUntilTheCopiesAreUsed) {
    HWND window = S().window;
    Host_SimulateFocus(window, false);
    Screen_Flip();
    uint8_t* copy = Sprite_Record(1)->savedPixels;
    ASSERT_NE(copy, nullptr);
    SendMessageA(window, WM_ACTIVATE, WA_INACTIVE, 0);
    EXPECT_EQ(Sprite_Record(1)->savedPixels, copy);
    Host_SimulateFocus(window, true);
    Screen_Flip();
    EXPECT_EQ(Sprite_Record(1)->savedPixels, nullptr);
}

TEST_F(Dx7FocusTest, ReleasingTabOrAltSavesOnceAndAKeptDisplayDropsTheCopies) {
    HWND window = S().window;
    SendMessageA(window, WM_KEYUP, 'A', 0);
    EXPECT_EQ(S().pixelsSaved, 0);
    SendMessageA(window, WM_SYSKEYUP, VK_MENU, 0);
    EXPECT_EQ(S().pixelsSaved, 1);
    uint8_t* copy = Sprite_Record(1)->savedPixels;
    ASSERT_NE(copy, nullptr);
    int32_t pitch = 0;
    std::memcpy(&pitch, copy, 4);
    EXPECT_GE(pitch, 24 * 4);
    SendMessageA(window, WM_KEYUP, VK_TAB, 0);
    EXPECT_EQ(Sprite_Record(1)->savedPixels, copy);
    // No switch came: the flip shows the surfaces kept, and the copies would only go stale.
    const uint32_t presents = Host_PresentCount();
    EXPECT_EQ(Screen_Flip(), 1);
    EXPECT_EQ(Host_PresentCount(), presents + 1);
    EXPECT_EQ(Sprite_Record(1)->savedPixels, nullptr);
    EXPECT_EQ(S().pixelsSaved, 0);
}

TEST_F(Dx7FocusTest, ALossWithoutWarningIsRestoredInTheNextFlip) {
    DDraw7Test_LoseSurfaces(dd_);
    const uint32_t presents = Host_PresentCount();
    EXPECT_EQ(Screen_Flip(), 1);
    EXPECT_EQ(Host_PresentCount(), presents);  // the frame is lost; the surfaces are back
    EXPECT_EQ(SurfaceOf(1)->IsLost(), DD_OK);
    EXPECT_EQ(DDraw7Test_Counters(dd_).restores, 4u);  // primary, back buffer, two sprites
    EXPECT_EQ(Screen_Flip(), 1);
    EXPECT_EQ(Host_PresentCount(), presents + 1);
}

}  // namespace
