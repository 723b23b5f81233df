// The host's keyboard reads: a tap between two reads counts once, and game controllers (here a
// virtual one, plugged in during the run) hold the keys of the same moves.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "platform/host/events.h"
#include "platform/host/host.h"
#include "platform/host/input.h"
#include "platform/host/test_hooks.h"

namespace {

constexpr uint8_t kEscape = 0x01, kSpace = 0x39, kUp = 0xC8, kLeft = 0xCB, kRight = 0xCD,
                  kDown = 0xD0;

class HostInputTest : public ::testing::Test {
  protected:
    void SetUp() override {
        Host_Shutdown();  // no key left down by earlier tests
        setenv("KAVRO_HEADLESS", "1", 1);
        Host_ReloadSettings();
    }
    void TearDown() override { Host_Shutdown(); }
    static void Pump() {
        HostEvent e;
        while (Host_PollEvent(&e)) {
        }
    }
    // The keys down in one read, in code order.
    static std::vector<uint8_t> Read() {
        uint8_t keys[256];
        Host_KeyboardSnapshot(keys);
        std::vector<uint8_t> down;
        for (int i = 0; i < 256; ++i)
            if (keys[i]) down.push_back(static_cast<uint8_t>(i));
        return down;
    }
    int owner_ = 0;
};

TEST_F(HostInputTest, ATapBetweenTwoReadsIsSeenOnce) {
    using Keys = std::vector<uint8_t>;
    const struct {
        const char* events;  // d: Space down, u: Space up
        Keys first, second;
    } cases[] = {
        {"du", {kSpace}, {}},
        {"d", {kSpace}, {kSpace}},
        {"dudu", {kSpace}, {}},
        {"u", {}, {}},
    };
    for (const auto& c : cases) {
        for (const char* e = c.events; *e; ++e) Host_SimulateKey(&owner_, kSpace, *e == 'd');
        Pump();
        EXPECT_EQ(Read(), c.first) << c.events;
        EXPECT_EQ(Read(), c.second) << c.events;
        Host_SimulateKey(&owner_, kSpace, false);
        Pump();
        Read();
    }
}

TEST_F(HostInputTest, AControllerPluggedInDuringTheRunHoldsTheKeysOfItsMoves) {
    using Keys = std::vector<uint8_t>;
    EXPECT_EQ(Read(), Keys{});
    const int32_t pad = Host_AttachVirtualPad();
    ASSERT_GE(pad, 0);
    const struct {
        int32_t button;  // -1: the axis below instead
        int32_t axis;
        int16_t value;
        Keys keys;
    } cases[] = {
        {kPadSouth, 0, 0, {kSpace}}, {kPadEast, 0, 0, {kSpace}}, {kPadWest, 0, 0, {}},
        {kPadBack, 0, 0, {kEscape}}, {kPadStart, 0, 0, {}},      {kPadUp, 0, 0, {kUp}},
        {kPadDown, 0, 0, {kDown}},   {kPadLeft, 0, 0, {kLeft}},  {kPadRight, 0, 0, {kRight}},
        {-1, 0, -32768, {kLeft}},    {-1, 0, 32767, {kRight}},   {-1, 1, -32768, {kUp}},
        {-1, 1, 32767, {kDown}},     {-1, 0, 9000, {}},   // inside the dead zone
        {-1, 1, -9000, {}},          {-1, 2, 32767, {}},  // the right stick moves nothing
    };
    for (const auto& c : cases) {
        if (c.button >= 0)
            Host_SetVirtualPadButton(pad, c.button, true);
        else
            Host_SetVirtualPadAxis(pad, c.axis, c.value);
        EXPECT_EQ(Read(), c.keys) << c.button << " " << c.axis << " " << c.value;
        if (c.button >= 0)
            Host_SetVirtualPadButton(pad, c.button, false);
        else
            Host_SetVirtualPadAxis(pad, c.axis, 0);
        EXPECT_EQ(Read(), Keys{});
    }
    // Keyboard and controller combine.
    Host_SimulateKey(&owner_, kRight, true);
    Pump();
    Host_SetVirtualPadButton(pad, kPadSouth, true);
    EXPECT_EQ(Read(), (Keys{kSpace, kRight}));
    // Pulled out, it holds nothing.
    Host_DetachVirtualPad(pad);
    EXPECT_EQ(Read(), Keys{kRight});
}

}  // namespace
