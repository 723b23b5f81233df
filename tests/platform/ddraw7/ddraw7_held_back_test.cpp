// Blits and quads the DirectDraw object holds back and draws later: the pixels equal drawing
// each at once (opaque ones hiding what lies under them, what shows still drawn in order), and
// everything that reads or changes pixels sees the draws made before it.
#include <algorithm>
#include <cstring>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "platform/gdi/gdi.h"
#include "tests/platform/ddraw7/d3d7_fixture.h"

namespace {

constexpr uint32_t kRed = 0x00FF0000u;
constexpr uint32_t kGrey = 0x00405060u;

class HeldBackTest : public D3DTest {
  protected:
    // Colour-keyed source (black is the key) with holes in every fifth pixel.
    IDirectDrawSurface7* KeyedSheet(int w, int h, DWORD caps = DDSCAPS_OFFSCREENPLAIN) {
        IDirectDrawSurface7* s = Surface(w, h, caps);
        Fill(s, [](int x, int y) {
            return (x + y) % 5 == 0 ? 0u : 0x00010203u * static_cast<uint32_t>(1 + x + 3 * y);
        });
        DDCOLORKEY black{0, 0};
        EXPECT_EQ(s->SetColorKey(DDCKEY_SRCBLT, &black), DD_OK);
        return s;
    }
    IDirectDrawSurface7* Plain(int w, int h, uint32_t colour, DWORD caps = DDSCAPS_OFFSCREENPLAIN) {
        IDirectDrawSurface7* s = Surface(w, h, caps);
        Fill(s, [=](int, int) { return colour; });
        return s;
    }
    // The states the screen draws quads with: alpha from the vertex colour, black keyed out.
    void QuadAlphaStates(bool blend) {
        QuadStates();
        device_->SetRenderState(D3DRENDERSTATE_ALPHABLENDENABLE, blend ? TRUE : FALSE);
    }
    HRESULT At(int x, int y, int w, int h, uint32_t diffuse = 0xFFFFFFFFu) {
        return Quad(x - 0.5f, y - 0.5f, x + w - 0.5f, y + h - 0.5f, diffuse);
    }
    // A surface made by the fixture, released before its end.
    void Drop(IDirectDrawSurface7* s) {
        made_.erase(std::find(made_.begin(), made_.end(), s));
        s->Release();
    }
    HRESULT Blit(IDirectDrawSurface7* source, int x, int y, bool keyed) {
        return back_->BltFast(static_cast<DWORD>(x), static_cast<DWORD>(y), source, nullptr,
                              keyed ? DDBLTFAST_SRCCOLORKEY | DDBLTFAST_WAIT : DDBLTFAST_WAIT);
    }
};

// Overlapping blits and quads of every kind (opaque and keyed blits, a source the key wholly
// covers, opaque, keyed and translucent quads, a texture with its own alpha, quads off the
// target) with stretched quads between them that are drawn at once: held back and hidden
// where covered, the picture is byte for byte the one drawn draw by draw.
TEST_F(HeldBackTest, CoveredAndUncoveredPartsMatchDrawingEachAtOnce) {
    std::mt19937 random(20261208);
    IDirectDrawSurface7* background =
        Surface(700, 520, DDSCAPS_OFFSCREENPLAIN);  // wider than the target, like the game's
    Fill(background, [](int x, int y) { return static_cast<uint32_t>(x * 40503u + y * 7919u); });
    IDirectDrawSurface7* sheet = KeyedSheet(48, 40);
    IDirectDrawSurface7* all_key = Plain(16, 16, 0);
    DDCOLORKEY black{0, 0};
    all_key->SetColorKey(DDCKEY_SRCBLT, &black);
    IDirectDrawSurface7* stone = Texture(32, 32, [](int x, int y) {
        return 0x00100000u + static_cast<uint32_t>(x * 0x0301 + y * 0x010300);
    });
    stone->SetColorKey(DDCKEY_SRCBLT, &black);  // a key no texel has
    IDirectDrawSurface7* grass = KeyedSheet(32, 32, DDSCAPS_TEXTURE);
    DDPIXELFORMAT argb = Argb32();
    IDirectDrawSurface7* glass = Texture(
        24, 16,
        [](int x, int y) { return static_cast<uint32_t>((x * 9 + y) & 0xFF) << 24 | 0x3344; },
        &argb);

    struct Draw {
        int kind;  // 0 blit, 1 keyed blit, 2 blit of nothing, 3 stone, 4 grass, 5 glass, 6
                   // stretched
        int x, y;
        uint32_t diffuse;
    };
    const uint32_t diffuses[] = {0xFFFFFFFFu, 0xFFFFFFFFu, 0x80FFFFFFu, 0x3CFFFFFFu};
    std::vector<Draw> draws;
    for (int i = 0; i < 500; ++i) {
        Draw d{i % 97 == 50 ? 6 : static_cast<int>(random() % 6), 0, 0, diffuses[random() % 4]};
        if (d.kind <= 2) {
            d.x = static_cast<int>(random() % 592);
            d.y = static_cast<int>(random() % 440);
        } else {
            // Tile-like rows on a grid with an offset, partly off the target.
            d.x = static_cast<int>(random() % 22) * 32 - 13;
            d.y = static_cast<int>(random() % 17) * 32 - 7;
        }
        draws.push_back(d);
    }
    std::vector<uint8_t> pictures[2];
    uint64_t hidden = 0;
    for (int pass = 0; pass < 2; ++pass) {
        DDraw7Test_SetHoldBack(dd_, pass == 0);
        const uint64_t hidden_before = DDraw7Test_Counters(dd_).hidden_pixels;
        Fill(back_, [](int, int) { return kGrey; });
        RECT area{13, 11, 653, 491};
        ASSERT_EQ(back_->BltFast(0, 0, background, &area, DDBLTFAST_WAIT), DD_OK);
        ASSERT_EQ(device_->BeginScene(), D3D_OK);
        for (const Draw& d : draws) {
            if (d.kind < 3) {
                IDirectDrawSurface7* source = d.kind == 2 ? all_key : sheet;
                ASSERT_EQ(Blit(source, d.x, d.y, d.kind != 0), DD_OK);
                continue;
            }
            QuadAlphaStates(true);
            device_->SetTexture(0, d.kind == 4 ? grass : d.kind == 5 ? glass : stone);
            if (d.kind == 5) device_->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_MODULATE);
            if (d.kind == 6) {
                ASSERT_EQ(Quad(d.x - 0.5f, d.y - 0.5f, d.x + 70.5f, d.y + 50.5f, d.diffuse),
                          D3D_OK);
            } else {
                const int w = d.kind == 5 ? 24 : 32, h = d.kind == 5 ? 16 : 32;
                ASSERT_EQ(At(d.x, d.y, w, h, d.diffuse), D3D_OK);
            }
        }
        device_->EndScene();
        pictures[pass] = Bytes(back_);
        if (pass == 0) hidden = DDraw7Test_Counters(dd_).hidden_pixels - hidden_before;
    }
    size_t differing = 0;
    for (size_t i = 0; i < pictures[0].size(); ++i) differing += pictures[0][i] != pictures[1][i];
    EXPECT_EQ(differing, 0u);
    // Every pixel that a later opaque draw covers before the next stretched quad (drawn at
    // once, after all held) was left out, and no other: opaque are the blits without a key and
    // the stone at full opacity; the first draw is the background.
    std::vector<uint8_t> covered(640 * 480);
    uint64_t expected = 0;
    auto cover = [&](int x0, int y0, int w, int h, bool opaque) {
        for (int y = std::max(y0, 0); y < std::min(y0 + h, 480); ++y) {
            for (int x = std::max(x0, 0); x < std::min(x0 + w, 640); ++x) {
                expected += covered[y * 640 + x];
                if (opaque) covered[y * 640 + x] = 1;
            }
        }
    };
    for (size_t i = draws.size(); i-- > 0;) {
        const Draw& d = draws[i];
        if (d.kind == 6) {
            std::fill(covered.begin(), covered.end(), 0);
        } else if (d.kind <= 1) {
            cover(d.x, d.y, 48, 40, d.kind == 0);
        } else if (d.kind >= 3) {
            cover(d.x, d.y, d.kind == 5 ? 24 : 32, d.kind == 5 ? 16 : 32,
                  d.kind == 3 && d.diffuse == 0xFFFFFFFFu);
        }
    }
    cover(0, 0, 640, 480, true);
    EXPECT_EQ(hidden, expected);
    EXPECT_GT(expected, 20000u);
}

// A held keyed blit of red at (10, 10), then something that reads or changes pixels: it must
// find the blit drawn (each reads the pixel the way it would).
class HeldBackReaderTest;
struct Reader {
    const char* name;
    std::function<uint32_t(HeldBackReaderTest&, IDirectDrawSurface7* red)> pixel;
};

void PrintTo(const Reader& reader, std::ostream* out) {
    *out << reader.name;
}

class HeldBackReaderTest : public HeldBackTest, public ::testing::WithParamInterface<Reader> {
  public:
    using HeldBackTest::back_;
    using HeldBackTest::dd_;
    using HeldBackTest::Drop;
    using HeldBackTest::Fill;
    using HeldBackTest::Plain;
    using HeldBackTest::primary_;
    using HeldBackTest::Raw;
};

TEST_P(HeldBackReaderTest, SeesTheDrawsMadeBeforeIt) {
    Fill(back_, [](int, int) { return kGrey; });
    // Red with one key texel, so that the blit keeps its key.
    IDirectDrawSurface7* red = Surface(8, 8);
    Fill(red, [](int x, int y) { return x + y == 0 ? 0u : kRed; });
    DDCOLORKEY black{0, 0};
    red->SetColorKey(DDCKEY_SRCBLT, &black);
    const uint64_t held = DDraw7Test_Counters(dd_).held_draws;
    ASSERT_EQ(Blit(red, 10, 10, true), DD_OK);
    ASSERT_EQ(DDraw7Test_Counters(dd_).held_draws, held + 1);
    EXPECT_EQ(GetParam().pixel(*this, red) & 0xFFFFFF, kRed);
}

uint32_t Locked(IDirectDrawSurface7* s, int x, int y) {
    DDSURFACEDESC2 d{};
    d.dwSize = sizeof(d);
    if (s->Lock(nullptr, &d, DDLOCK_WAIT, nullptr) != DD_OK) return 0;
    uint32_t v = 0;
    std::memcpy(&v, static_cast<uint8_t*>(d.lpSurface) + y * d.lPitch + x * 4, 4);
    s->Unlock(nullptr);
    return v;
}

const Reader kReaders[] = {
    {"a lock", [](HeldBackReaderTest& t, IDirectDrawSurface7*) { return Locked(t.back_, 12, 12); }},
    {"a device context",
     [](HeldBackReaderTest& t, IDirectDrawSurface7*) {
         HDC dc = nullptr;
         if (t.back_->GetDC(&dc) != DD_OK) return 0u;
         const COLORREF c = GetPixel(dc, 12, 12);  // red in the low byte
         t.back_->ReleaseDC(dc);
         return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
     }},
    {"a blit from the target",
     [](HeldBackReaderTest& t, IDirectDrawSurface7*) {
         IDirectDrawSurface7* copy = t.Plain(4, 4, 0);
         RECT area{10, 10, 14, 14};
         copy->BltFast(0, 0, t.back_, &area, DDBLTFAST_WAIT);
         return Locked(copy, 2, 2);
     }},
    {"a stretching blit from the target",
     [](HeldBackReaderTest& t, IDirectDrawSurface7*) {
         IDirectDrawSurface7* copy = t.Plain(8, 8, 0);
         RECT area{10, 10, 14, 14};
         copy->Blt(nullptr, t.back_, &area, DDBLT_WAIT, nullptr);
         return Locked(copy, 5, 5);
     }},
    {"a flip",
     [](HeldBackReaderTest& t, IDirectDrawSurface7*) {
         t.primary_->Flip(nullptr, DDFLIP_WAIT | DDFLIP_NOVSYNC);
         return Locked(t.primary_, 12, 12);
     }},
    {"a new key of the source",
     [](HeldBackReaderTest& t, IDirectDrawSurface7* red) {
         DDCOLORKEY key{kRed, kRed};
         red->SetColorKey(DDCKEY_SRCBLT, &key);
         return Locked(t.back_, 12, 12);
     }},
    {"a write into the source",
     [](HeldBackReaderTest& t, IDirectDrawSurface7* red) {
         t.Fill(red, [](int, int) { return 0x0000FF00u; });
         return Locked(t.back_, 12, 12);
     }},
    {"the source released",
     [](HeldBackReaderTest& t, IDirectDrawSurface7* red) {
         t.Drop(red);
         return t.Raw(t.back_, 12, 12);
     }},
};

INSTANTIATE_TEST_SUITE_P(Readers, HeldBackReaderTest, ::testing::ValuesIn(kReaders),
                         [](const auto& info) {
                             std::string name = info.param.name;
                             std::replace(name.begin(), name.end(), ' ', '_');
                             return name;
                         });

TEST_F(HeldBackTest, HeldDrawsAreInTheMemoryALossGivesBack) {
    IDirectDrawSurface7* red = Plain(8, 8, kRed);
    Fill(back_, [](int, int) { return kGrey; });
    ASSERT_EQ(Blit(red, 10, 10, false), DD_OK);
    DDraw7Test_LoseSurfaces(dd_);
    // Lost: nothing more is drawn, and the one held was drawn before the loss.
    EXPECT_EQ(Blit(red, 30, 30, false), DDERR_SURFACELOST);
    ASSERT_EQ(dd_->RestoreAllSurfaces(), DD_OK);
    EXPECT_EQ(Raw(back_, 12, 12), kRed);
    EXPECT_EQ(Raw(back_, 32, 32), kGrey);
    // Restored memory that is overwritten shows the overwriting, not a late draw.
    ASSERT_EQ(Blit(red, 50, 50, false), DD_OK);
    DDraw7Test_WipeOnRestore(dd_, true);
    DDraw7Test_LoseSurfaces(dd_);
    ASSERT_EQ(dd_->RestoreAllSurfaces(), DD_OK);
    EXPECT_EQ(Raw(back_, 52, 52), 0xA5A5A5A5u);
}

}  // namespace
