// The decoder registry: registration order, the table's size, one image at a time, and the
// start-up chain's BMP registration.
#include "runtime/image/image_decoder.h"

#include <gtest/gtest.h>

#include "platform/win32/heap.h"
#include "tests/support/image_builders.h"
#include "tests/support/runtime_fixture.h"

namespace {

// Test decoders that note which of them were asked, accept when told to and count frees.
struct Probe {
    int asked = 0;
    int freed = 0;
    bool accept = false;
};
Probe g_probes[40];

template <int N>
int32_t ProbeCheck(ImageDecodeState* state) {
    ++g_probes[N].asked;
    if (!g_probes[N].accept) return 0;
    state->width = N + 1;
    state->height = 2;
    state->depth = 24;
    return 1;
}
template <int N>
int32_t ProbeDecode(ImageDecodeState*, uint8_t* buffer, int32_t, int32_t) {
    buffer[0] = static_cast<uint8_t>(N);
    return 7;
}
template <int N>
void ProbeFree(ImageDecodeState*) {
    ++g_probes[N].freed;
}
template <int N>
constexpr ImageDecoderEntry kProbe = {&ProbeCheck<N>, &ProbeDecode<N>, &ProbeFree<N>};

template <int... N>
void RegisterProbes(std::integer_sequence<int, N...>) {
    (ImageDecoder_Register(&kProbe<N>), ...);
}

class RegistryTest : public RuntimeTest {
  protected:
    void SetUp() override {
        RuntimeTest::SetUp();
        for (Probe& p : g_probes) p = Probe{};
        ImageDecoder_Init();
    }
    void TearDown() override {
        ImageDecoder_Close();
        RuntimeTest::TearDown();
    }
};

Bytes SmallBmp() {
    return EncodeBmp(BmpImage{.width = 1, .height = 1, .bits = 24, .rows = {{1, 2, 3}}});
}

TEST_F(RegistryTest, EmptyRegistryRecognisesNothing) {
    Bytes file = SmallBmp();
    EXPECT_EQ(ImageDecoder_OpenMemory(file.data(), static_cast<int32_t>(file.size())), 0);
    EXPECT_EQ(ImageDecoder_Width(), 0);
    uint8_t buffer[4] = {};
    EXPECT_EQ(ImageDecoder_Decode(buffer, 4, 0), 0);
}

TEST_F(RegistryTest, FirstAcceptingDecoderInRegistrationOrderWins) {
    RegisterProbes(std::integer_sequence<int, 0, 1, 2>{});
    g_probes[1].accept = g_probes[2].accept = true;
    uint8_t data[1] = {};
    ASSERT_EQ(ImageDecoder_OpenMemory(data, 1), 1);
    EXPECT_EQ(g_probes[0].asked, 1);
    EXPECT_EQ(g_probes[1].asked, 1);
    EXPECT_EQ(g_probes[2].asked, 0);
    EXPECT_EQ(ImageDecoder_Width(), 2);
    EXPECT_EQ(ImageDecoder_Height(), 2);
    EXPECT_EQ(ImageDecoder_Depth(), 24);
    EXPECT_EQ(ImageDecoder_State()->data, data);
    EXPECT_EQ(ImageDecoder_State()->length, 1);
    EXPECT_EQ(ImageDecoder_State()->from_memory, 1);
    uint8_t buffer[8] = {};
    EXPECT_EQ(ImageDecoder_Decode(buffer, 4, 0), 7);  // the decoder's own result
    EXPECT_EQ(buffer[0], 1);
    EXPECT_EQ(g_probes[1].freed, 1);                  // decoding closes
    EXPECT_EQ(ImageDecoder_Decode(buffer, 4, 0), 0);  // nothing open any more
    EXPECT_EQ(ImageDecoder_Width(), 2);               // the size stays readable
}

TEST_F(RegistryTest, TableHoldsThirtyDecoders) {
    RegisterProbes(std::make_integer_sequence<int, 31>{});
    g_probes[29].accept = g_probes[30].accept = true;
    uint8_t data[1] = {};
    ASSERT_EQ(ImageDecoder_OpenMemory(data, 1), 1);
    EXPECT_EQ(ImageDecoder_Width(), 30);
    g_probes[29].accept = false;
    EXPECT_EQ(ImageDecoder_OpenMemory(data, 1), 0);
    EXPECT_EQ(g_probes[30].asked, 0);  // the 31st registration found no room
}

TEST_F(RegistryTest, PngAndJpegRegisterOnlyOnce) {
    ImageDecoder_UsePng();
    ImageDecoder_UseJpeg();
    ImageDecoder_UsePng();
    ImageDecoder_UseJpeg();
    // Two entries taken: 28 more fit, and the last of them is still asked.
    RegisterProbes(std::make_integer_sequence<int, 28>{});
    uint8_t data[1] = {};
    EXPECT_EQ(ImageDecoder_OpenMemory(data, 1), 0);
    EXPECT_EQ(g_probes[27].asked, 1);
}

TEST_F(RegistryTest, BmpRegisteredTwiceIsAskedTwiceWithTheSameResult) {
    ImageDecoder_UseBmp();
    ImageDecoder_UseBmp();
    RegisterProbes(std::make_integer_sequence<int, 28>{});
    Bytes file = SmallBmp();
    Decoded d = DecodeImage(file);
    ASSERT_EQ(d.result, 1);
    EXPECT_EQ(d.At(0, 0)[0], 1);
    EXPECT_EQ(d.At(0, 0)[2], 3);
    uint8_t other[1] = {};
    EXPECT_EQ(ImageDecoder_OpenMemory(other, 1), 0);
    EXPECT_EQ(g_probes[27].asked, 1);  // both BMP entries took a slot
}

TEST_F(RegistryTest, OpeningAgainClosesTheImageLeftOpen) {
    RegisterProbes(std::integer_sequence<int, 0>{});
    g_probes[0].accept = true;
    uint8_t data[1] = {};
    ASSERT_EQ(ImageDecoder_OpenMemory(data, 1), 1);
    ASSERT_EQ(ImageDecoder_OpenMemory(data, 1), 1);
    EXPECT_EQ(g_probes[0].freed, 1);
    ImageDecoder_Close();
    ImageDecoder_Close();
    EXPECT_EQ(g_probes[0].freed, 2);
}

TEST_F(RegistryTest, NullOrNegativeDataIsRefused) {
    RegisterProbes(std::integer_sequence<int, 0>{});
    ImageDecoder_UseBmp();
    ImageDecoder_UsePng();
    ImageDecoder_UseJpeg();
    EXPECT_EQ(ImageDecoder_OpenMemory(nullptr, 100), 0);
    Bytes file = SmallBmp();
    EXPECT_EQ(ImageDecoder_OpenMemory(file.data(), -1), 0);
    EXPECT_EQ(g_probes[0].asked, 1);  // asked with a length of 0
    EXPECT_EQ(ImageDecoder_State()->length, 0);
}

TEST_F(RegistryTest, LeftOpenPngAndJpegAreReleasedByTheNextOpen) {
    ImageDecoder_UsePng();
    ImageDecoder_UseJpeg();
    Bytes png = EncodePng(PngImage{.width = 1, .height = 1, .rows = {{1, 2, 3}}});
    Bytes jpeg = EncodeJpeg(JpegImage{.width = 1, .height = 1, .samples = {1, 2, 3}});
    // Under LeakSanitizer a structure left behind here fails the run.
    ASSERT_EQ(ImageDecoder_OpenMemory(png.data(), static_cast<int32_t>(png.size())), 1);
    ASSERT_EQ(ImageDecoder_OpenMemory(jpeg.data(), static_cast<int32_t>(jpeg.size())), 1);
    ASSERT_EQ(ImageDecoder_OpenMemory(png.data(), static_cast<int32_t>(png.size())), 1);
    ImageDecoder_Close();
    EXPECT_EQ(ImageDecoder_State()->png.png, nullptr);
}

TEST(ImageDecoderSizeTest, BoundsOfAllowedPictures) {
    EXPECT_TRUE(ImageDecoder_SizeAllowed(1, 1));
    EXPECT_TRUE(ImageDecoder_SizeAllowed(16384, 1024));
    EXPECT_TRUE(ImageDecoder_SizeAllowed(4096, 4096));
    EXPECT_FALSE(ImageDecoder_SizeAllowed(0, 5));
    EXPECT_FALSE(ImageDecoder_SizeAllowed(5, -1));
    EXPECT_FALSE(ImageDecoder_SizeAllowed(16385, 1));
    EXPECT_FALSE(ImageDecoder_SizeAllowed(4097, 4096));
    EXPECT_FALSE(ImageDecoder_SizeAllowed(int64_t{1} << 40, int64_t{1} << 40));
}

TEST(ImageDecoderStartupTest, StartupChainRegistersBmpOnly) {
    Program_Start();
    Bytes bmp = SmallBmp();
    Bytes png = EncodePng(PngImage{.width = 1, .height = 1, .rows = {{1, 2, 3}}});
    EXPECT_EQ(ImageDecoder_OpenMemory(bmp.data(), static_cast<int32_t>(bmp.size())), 1);
    EXPECT_EQ(ImageDecoder_OpenMemory(png.data(), static_cast<int32_t>(png.size())), 0);
    ImageDecoder_UsePng();
    EXPECT_EQ(ImageDecoder_OpenMemory(png.data(), static_cast<int32_t>(png.size())), 1);
    ImageDecoder_Close();
    Runtime_Shutdown();
    HeapDestroy(String_Globals().heap);
    String_Globals() = StringGlobals{};
    HeapDestroy(Program_Globals().runtime_heap);
    Program_Globals().runtime_heap = nullptr;
}

}  // namespace
