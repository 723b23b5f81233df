// The host's picture side: placement of the scaled picture, frame capture files and lists,
// the present trace, refresh pacing and windows kept headless.
#include <png.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "platform/host/capture.h"
#include "platform/host/host.h"
#include "platform/host/png_writer.h"
#include "platform/host/video.h"

namespace {

class HostVideoTest : public ::testing::Test {
  protected:
    void SetUp() override {
        setenv("KAVRO_HEADLESS", "1", 1);
        for (const char* name : {"KAVRO_CAPTURE", "KAVRO_CAPTURE_FRAMES", "KAVRO_TRACE",
                                 "KAVRO_VSYNC", "KAVRO_WINDOWED"}) {
            unsetenv(name);
        }
        Host_ReloadSettings();
        char pattern[] = "/tmp/kavro-host-XXXXXX";
        dir_ = mkdtemp(pattern);
    }
    void TearDown() override {
        for (const char* name :
             {"KAVRO_CAPTURE", "KAVRO_CAPTURE_FRAMES", "KAVRO_TRACE", "KAVRO_VSYNC"}) {
            unsetenv(name);
        }
        Host_ReloadSettings();
        std::string cmd = "rm -rf '" + dir_ + "'";
        ASSERT_EQ(std::system(cmd.c_str()), 0);
    }
    std::string dir_;
};

struct Rgb {
    int r, g, b;
    bool operator==(const Rgb& o) const { return r == o.r && g == o.g && b == o.b; }
};

// Reads a PNG back (8-bit RGB as written by the capture).
bool ReadPng(const std::string& path, int* w, int* h, std::vector<Rgb>* pixels) {
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return false;
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, &info, nullptr);
        std::fclose(f);
        return false;
    }
    png_init_io(png, f);
    png_read_info(png, info);
    *w = static_cast<int>(png_get_image_width(png, info));
    *h = static_cast<int>(png_get_image_height(png, info));
    EXPECT_EQ(png_get_color_type(png, info), PNG_COLOR_TYPE_RGB);
    std::vector<unsigned char> row(static_cast<size_t>(*w) * 3);
    pixels->clear();
    for (int y = 0; y < *h; ++y) {
        png_read_row(png, row.data(), nullptr);
        for (int x = 0; x < *w; ++x)
            pixels->push_back({row[x * 3], row[x * 3 + 1], row[x * 3 + 2]});
    }
    png_destroy_read_struct(&png, &info, nullptr);
    std::fclose(f);
    return true;
}

bool Exists(const std::string& path) {
    return access(path.c_str(), F_OK) == 0;
}

TEST(HostFitTest, WholeFactorWhereItFits) {
    HostRect r = Host_FitPicture(1920, 1080, 640, 480);
    EXPECT_EQ(r.width, 1280);
    EXPECT_EQ(r.height, 960);
    EXPECT_EQ(r.x, 320);
    EXPECT_EQ(r.y, 60);
    r = Host_FitPicture(1024, 768, 640, 480);
    EXPECT_EQ(r.width, 640);
    EXPECT_EQ(r.height, 480);
    EXPECT_EQ(r.x, 192);
    EXPECT_EQ(r.y, 144);
    r = Host_FitPicture(640, 480, 640, 480);
    EXPECT_EQ(r.x, 0);
    EXPECT_EQ(r.width, 640);
}

TEST(HostFitTest, SmallerAreaScalesDownWithTheAspectKept) {
    HostRect r = Host_FitPicture(600, 400, 640, 480);
    EXPECT_EQ(r.height, 400);
    EXPECT_EQ(r.width, 533);
    EXPECT_EQ(r.x, 33);
    EXPECT_EQ(r.y, 0);
    r = Host_FitPicture(320, 1000, 640, 480);
    EXPECT_EQ(r.width, 320);
    EXPECT_EQ(r.height, 240);
    EXPECT_EQ(r.y, 380);
}

TEST(HostFitTest, DegenerateSizesGiveNothing) {
    HostRect r = Host_FitPicture(0, 480, 640, 480);
    EXPECT_EQ(r.width, 0);
    r = Host_FitPicture(640, 480, 0, 0);
    EXPECT_EQ(r.height, 0);
}

TEST(HostCaptureTest, FrameListParsesSinglesAndRanges) {
    std::vector<std::pair<uint32_t, uint32_t>> ranges;
    std::string error;
    ASSERT_TRUE(Host_ParseFrameList("1,100-120", &ranges, &error));
    ASSERT_EQ(ranges.size(), 2u);
    EXPECT_EQ(ranges[0], std::make_pair(1u, 1u));
    EXPECT_EQ(ranges[1], std::make_pair(100u, 120u));
    ASSERT_TRUE(Host_ParseFrameList(" 7 , 8 - 9 ", &ranges, &error));
    EXPECT_EQ(ranges[1], std::make_pair(8u, 9u));
    ASSERT_TRUE(Host_ParseFrameList("", &ranges, &error));
    EXPECT_TRUE(ranges.empty());
}

TEST(HostCaptureTest, FrameListRefusesBadEntriesByName) {
    std::vector<std::pair<uint32_t, uint32_t>> ranges;
    for (const char* bad : {"0", "3-2", "x", "1,,2", "5-", "-5", "99999999999", "1;2"}) {
        std::string error;
        EXPECT_FALSE(Host_ParseFrameList(bad, &ranges, &error)) << bad;
        EXPECT_NE(error.find("bad entry"), std::string::npos) << bad;
        EXPECT_TRUE(ranges.empty());
    }
    std::string error;
    Host_ParseFrameList("1,abc", &ranges, &error);
    EXPECT_NE(error.find("\"abc\""), std::string::npos);
}

TEST(HostCaptureTest, FileNamesHaveSixDigits) {
    EXPECT_EQ(Host_CaptureFileName("out", 1), "out/frame-000001.png");
    EXPECT_EQ(Host_CaptureFileName("out/", 123456), "out/frame-123456.png");
}

TEST(HostCaptureTest, RowsConvertFromEveryFormat) {
    const uint32_t x8[2] = {0x00FF8040u, 0xAA010203u};
    unsigned char out[6];
    Host_RowToRgb(HostFrame{x8, 2, 1, 8, HostPixelFormat::kX8R8G8B8}, 0, out);
    EXPECT_EQ(out[0], 0xFF);
    EXPECT_EQ(out[1], 0x80);
    EXPECT_EQ(out[2], 0x40);
    EXPECT_EQ(out[3], 0x01);  // the X byte is ignored
    EXPECT_EQ(out[5], 0x03);
    const uint16_t r565[2] = {0xF800, 0x07E0};
    Host_RowToRgb(HostFrame{r565, 2, 1, 4, HostPixelFormat::kR5G6B5}, 0, out);
    EXPECT_EQ(out[0], 255);
    EXPECT_EQ(out[1], 0);
    EXPECT_EQ(out[4], 255);
    const uint16_t x555[2] = {0x7C00, 0x8010};  // red; blue 16 with the top bit set
    Host_RowToRgb(HostFrame{x555, 2, 1, 4, HostPixelFormat::kX1R5G5B5}, 0, out);
    EXPECT_EQ(out[0], 255);
    EXPECT_EQ(out[3], 0);
    EXPECT_EQ(out[5], (16 << 3) | (16 >> 2));
}

TEST_F(HostVideoTest, CaptureWritesTheListedPresentsAsPng) {
    std::string capture = dir_ + "/frames/sub";
    setenv("KAVRO_CAPTURE", capture.c_str(), 1);
    uint32_t first = Host_PresentCount() + 1;
    std::string list = std::to_string(first) + "," + std::to_string(first + 2);
    setenv("KAVRO_CAPTURE_FRAMES", list.c_str(), 1);
    Host_ReloadSettings();
    // 3 x 2 picture with a pitch wider than its rows.
    uint32_t pixels[2][4] = {{0x00FF0000, 0x0000FF00, 0x000000FF, 0xDEADBEEF},
                             {0x00FFFFFF, 0x00000000, 0x00123456, 0xDEADBEEF}};
    HostFrame frame{pixels, 3, 2, 16, HostPixelFormat::kX8R8G8B8};
    int owner = 0;
    for (int i = 0; i < 3; ++i) Host_Present(&owner, frame);
    EXPECT_TRUE(Exists(Host_CaptureFileName(capture, first)));
    EXPECT_FALSE(Exists(Host_CaptureFileName(capture, first + 1)));
    ASSERT_TRUE(Exists(Host_CaptureFileName(capture, first + 2)));
    int w = 0;
    int h = 0;
    std::vector<Rgb> got;
    ASSERT_TRUE(ReadPng(Host_CaptureFileName(capture, first + 2), &w, &h, &got));
    EXPECT_EQ(w, 3);
    EXPECT_EQ(h, 2);
    std::vector<Rgb> want = {{255, 0, 0},     {0, 255, 0}, {0, 0, 255},
                             {255, 255, 255}, {0, 0, 0},   {0x12, 0x34, 0x56}};
    EXPECT_EQ(got, want);
}

TEST_F(HostVideoTest, TraceHasOnePresentLinePerPresent) {
    std::string trace = dir_ + "/trace.txt";
    setenv("KAVRO_TRACE", trace.c_str(), 1);
    Host_ReloadSettings();
    uint32_t before = Host_PresentCount();
    uint16_t pixel = 0;
    int owner = 0;
    Host_Present(&owner, HostFrame{&pixel, 1, 1, 2, HostPixelFormat::kR5G6B5});
    Host_Present(&owner, HostFrame{&pixel, 1, 1, 2, HostPixelFormat::kR5G6B5});
    EXPECT_EQ(Host_PresentCount(), before + 2);
    std::ifstream in(trace);
    std::stringstream text;
    text << in.rdbuf();
    EXPECT_EQ(text.str(), "present " + std::to_string(before + 1) + "\npresent " +
                              std::to_string(before + 2) + "\n");
}

TEST_F(HostVideoTest, VsyncPacesToSixtyHertzOnAverage) {
    setenv("KAVRO_VSYNC", "1", 1);
    Host_ReloadSettings();
    EXPECT_EQ(Host_RefreshRate(), 60);
    uint32_t pixel = 0;
    int owner = 0;
    HostFrame frame{&pixel, 1, 1, 4, HostPixelFormat::kX8R8G8B8};
    Host_Present(&owner, frame);  // lines up with the refresh grid
    auto start = std::chrono::steady_clock::now();
    const int kFrames = 45;
    for (int i = 0; i < kFrames; ++i) Host_Present(&owner, frame);
    double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    double rate = kFrames / seconds;
    // Never faster than the display (16 ms sleeps would give 62.5). A loaded machine may wake
    // late and miss a refresh, as a real display would drop to the next one, so the lower bound
    // only catches gross faults; the grid itself is checked exactly below.
    EXPECT_LT(rate, 60.4);
    EXPECT_GT(rate, 40.0);
}

TEST(HostPacingTest, RefreshesFallOnAnExactGrid) {
    int64_t tick = 0;
    const int64_t base = 5'000'000'000;
    EXPECT_EQ(Host_NextRefresh(base, base, 60, &tick), base + 16'666'666);
    EXPECT_EQ(tick, 1);
    EXPECT_EQ(Host_NextRefresh(base, base + 16'666'666, 60, &tick), base + 33'333'333);
    EXPECT_EQ(tick, 2);
    // Sixty refreshes take one second exactly, not 60 x 16 or 60 x 17 ms.
    EXPECT_EQ(Host_NextRefresh(base, base + 999'999'999, 60, &tick), base + 1'000'000'000);
    EXPECT_EQ(tick, 60);
    // A late frame waits for the next refresh after it, not for the one it missed.
    EXPECT_EQ(Host_NextRefresh(base, base + 40'000'000, 60, &tick), base + 50'000'000);
    EXPECT_EQ(tick, 3);
    EXPECT_EQ(Host_NextRefresh(base, base + 3'600'000'000'000, 60, &tick),
              base + 3'600'016'666'666);
    EXPECT_EQ(Host_NextRefresh(base, base, 75, nullptr), base + 13'333'333);
    EXPECT_EQ(Host_NextRefresh(base, base - 5, 0, nullptr), base + 16'666'666);
}

TEST_F(HostVideoTest, WithoutVsyncPresentsDoNotWait) {
    uint32_t pixel = 0;
    int owner = 0;
    HostFrame frame{&pixel, 1, 1, 4, HostPixelFormat::kX8R8G8B8};
    auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < 100; ++i) Host_Present(&owner, frame);
    double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_LT(seconds, 0.5);
}

TEST_F(HostVideoTest, HeadlessWindowsKeepTheirSizeOnly) {
    int owner = 0;
    int32_t w = 0;
    int32_t h = 0;
    EXPECT_FALSE(Host_WindowShown(&owner, &w, &h));
    ASSERT_TRUE(Host_ShowWindow(&owner, "Xolm - DX 9 Jump\xB4n Run", 640, 480, true));
    ASSERT_TRUE(Host_WindowShown(&owner, &w, &h));
    EXPECT_EQ(w, 640);
    EXPECT_EQ(h, 480);
    Host_HideWindow(&owner);
    EXPECT_FALSE(Host_WindowShown(&owner, &w, &h));
    Host_DestroyWindow(&owner);
    EXPECT_FALSE(Host_ShowWindow(&owner, "x", 0, 480, true));
    int32_t dw = 0;
    int32_t dh = 0;
    Host_DesktopSize(&dw, &dh);
    EXPECT_GT(dw, 0);
    EXPECT_GT(dh, 0);
}

TEST_F(HostVideoTest, MalformedFrameListEndsTheRunNamingTheEntry) {
    std::string capture = dir_ + "/c";
    setenv("KAVRO_CAPTURE", capture.c_str(), 1);
    setenv("KAVRO_CAPTURE_FRAMES", "1,7-x", 1);
    Host_ReloadSettings();
    uint32_t pixel = 0;
    int owner = 0;
    EXPECT_EXIT(Host_Present(&owner, HostFrame{&pixel, 1, 1, 4, HostPixelFormat::kX8R8G8B8}),
                ::testing::ExitedWithCode(2), "KAVRO_CAPTURE_FRAMES: bad entry \"7-x\"");
}

TEST_F(HostVideoTest, UnwritableCaptureDirectoryEndsTheRun) {
    std::string blocker = dir_ + "/file";
    std::ofstream(blocker) << "x";
    std::string capture = blocker + "/frames";
    setenv("KAVRO_CAPTURE", capture.c_str(), 1);
    Host_ReloadSettings();
    uint32_t pixel = 0;
    int owner = 0;
    EXPECT_EXIT(Host_Present(&owner, HostFrame{&pixel, 1, 1, 4, HostPixelFormat::kX8R8G8B8}),
                ::testing::ExitedWithCode(2), "KAVRO_CAPTURE: cannot make the directory");
}

}  // namespace
