// The screen demo as a real process: headless with frame capture (the PNG it writes holds the
// frame), and on a real X display under Xvfb with SDL's x11 driver (a screenshot of the display
// shows the picture in its window).
#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "runtime/image/image_decoder.h"
#include "tests/runtime/screen/d3d9/screen_demo_picture.h"
#include "tests/support/child_process.h"
#include "tests/support/runtime_fixture.h"
#include "tests/support/xvfb_server.h"

namespace {

namespace fs = std::filesystem;

std::vector<uint8_t> ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)), {});
}

const int32_t kSamples[][2] = {{10, 10},   {45, 105},  {160, 131}, {168, 100}, {405, 110},
                               {500, 50},  {101, 301}, {130, 330}, {163, 363}, {500, 400},
                               {319, 239}, {320, 240}, {639, 479}, {0, 479}};

class ScreenDemoTest : public RuntimeTest {
  protected:
    fs::path Scratch(const char* name) {
        fs::path dir = fs::path(::testing::TempDir()) / name;
        fs::remove_all(dir);
        fs::create_directories(dir);
        return dir;
    }
    // A run of the demo with these arguments and settings.
    static ChildOptions Demo(std::vector<std::string> arguments,
                             std::vector<std::pair<std::string, std::string>> settings,
                             double time_limit_seconds) {
        ChildOptions demo;
        demo.program = KAVRO_SCREEN_DEMO;
        demo.arguments = std::move(arguments);
        demo.settings = std::move(settings);
        demo.time_limit_seconds = time_limit_seconds;
        return demo;
    }
};

TEST_F(ScreenDemoTest, HeadlessRunCapturesThePresentedFrames) {
    fs::path dir = Scratch("kavro_screen_demo_capture");
    const ChildResult run =
        RunChild(Demo({"3"}, {{"KAVRO_HEADLESS", "1"}, {"KAVRO_CAPTURE", dir.string()}}, 60));
    ASSERT_TRUE(run.started);
    ASSERT_EQ(run.exit_code, 0);
    EXPECT_TRUE(fs::exists(dir / "frame-000001.png"));
    EXPECT_FALSE(fs::exists(dir / "frame-000004.png"));
    std::vector<uint8_t> png = ReadFile(dir / "frame-000003.png");
    ASSERT_FALSE(png.empty());
    ImageDecoder_Init();
    ImageDecoder_UsePng();
    ASSERT_EQ(ImageDecoder_OpenMemory(png.data(), static_cast<int32_t>(png.size())), 1);
    ASSERT_EQ(ImageDecoder_Width(), 640);
    ASSERT_EQ(ImageDecoder_Height(), 480);
    int32_t bytes = ImageDecoder_Depth() / 8;
    std::vector<uint8_t> pixels(static_cast<size_t>(640 * bytes) * 481);
    ASSERT_NE(ImageDecoder_Decode(pixels.data(), 640 * bytes, 0), 0);
    for (const auto& s : kSamples) {
        const uint8_t* p = pixels.data() + (s[1] * 640 + s[0]) * bytes;
        uint32_t rgb = (uint32_t{p[2]} << 16) | (uint32_t{p[1]} << 8) | p[0];
        EXPECT_EQ(rgb, DemoExpected(s[0], s[1])) << s[0] << "," << s[1];
    }
}

// The desktop window of KAVRO_WINDOWED: the picture at its own size, centred on the display.
// (Full screen relies on the window manager that a desktop has and a bare Xvfb has not.)
TEST_F(ScreenDemoTest, RealWindowUnderXvfbShowsThePicture) {
    if (!XServer::Installed()) GTEST_SKIP() << "Xvfb is not installed";
    fs::path dir = Scratch("kavro_screen_demo_xvfb");
    XServer server(dir);
    if (server.Display().empty()) GTEST_SKIP() << "Xvfb did not start";
    fs::path ready = dir / "ready";
    ChildOptions demo = Demo({"5", ready.string(), "1500"},
                             // The X and D-Bus client libraries keep allocations to the end,
                             // which a sanitizer build would report; the headless run checks
                             // our own leaks.
                             {{"DISPLAY", ":" + server.Display()},
                              {"KAVRO_WINDOWED", "1"},
                              {"ASAN_OPTIONS", "detect_leaks=0"}},
                             30);
    Screenshot shot;
    bool parsed = false;
    demo.while_running = [&](pid_t) {
        auto end = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        while (!fs::exists(ready) && std::chrono::steady_clock::now() < end) {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        // Let a few more presents reach the display, then take the screenshot.
        std::this_thread::sleep_for(std::chrono::milliseconds(400));
        parsed = shot.Read(dir / "Xvfb_screen0");
    };
    const ChildResult run = RunChild(demo);
    ASSERT_TRUE(run.started);
    ASSERT_TRUE(fs::exists(ready));
    EXPECT_EQ(run.exit_code, 0);
    ASSERT_TRUE(parsed);
    ASSERT_EQ(shot.width, 1024u);
    ASSERT_EQ(shot.height, 768u);
    // A 640 x 480 window centred on the 1024 x 768 display, the rest of the display black.
    const uint32_t left = (1024 - 640) / 2, top = (768 - 480) / 2;
    for (const auto& s : kSamples) {
        EXPECT_EQ(shot.Rgb(left + s[0], top + s[1]), DemoExpected(s[0], s[1]))
            << s[0] << "," << s[1];
    }
    EXPECT_EQ(shot.Rgb(5, 5), 0u);
    EXPECT_EQ(shot.Rgb(left - 1, top + 10), 0u);
    EXPECT_EQ(shot.Rgb(1020, 760), 0u);
}

}  // namespace
