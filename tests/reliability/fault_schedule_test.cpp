// The KAVRO_FAULTS schedule inside one process: parsing the list, beginning and ending each
// fault on the host's presents and message-pump passes, the window's focus going and coming
// back, and the software Direct3D 9 device following the losses the host schedules.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "platform/host/faults.h"
#include "platform/host/host.h"
#include "platform/win32/time.h"
#include "tests/platform/d3d9/device_fixture.h"
#include "tests/platform/win32/user32_fixture.h"

namespace {

// Sets KAVRO_FAULTS (and a trace file) for one test and takes them away after it.
class FaultSettings {
  public:
    explicit FaultSettings(const std::string& faults) {
        setenv("KAVRO_HEADLESS", "1", 1);
        setenv("KAVRO_FAULTS", faults.c_str(), 1);
        char name[] = "/tmp/kavro-fault-trace-XXXXXX";
        int fd = mkstemp(name);
        if (fd >= 0) close(fd);
        trace_ = name;
        setenv("KAVRO_TRACE", trace_.c_str(), 1);
        Host_ReloadSettings();
    }
    ~FaultSettings() {
        unsetenv("KAVRO_FAULTS");
        unsetenv("KAVRO_TRACE");
        Host_ReloadSettings();
        unlink(trace_.c_str());
    }
    std::vector<std::string> TraceLines() const {
        std::ifstream in(trace_);
        std::vector<std::string> lines;
        for (std::string line; std::getline(in, line);) lines.push_back(line);
        return lines;
    }

  private:
    std::string trace_;
};

TEST(FaultListTest, ReadsEveryForm) {
    std::vector<HostFault> faults;
    std::string error;
    ASSERT_TRUE(
        Host_ParseFaults(" lose-device@300, focus-loss@500-560,LOSE-DEVICE@7-9,"
                         "Focus-Loss@4,,",
                         &faults, &error))
        << error;
    ASSERT_EQ(faults.size(), 4u);
    EXPECT_EQ(faults[0].kind, HostFaultKind::kLoseDevice);
    EXPECT_EQ(faults[0].after_present, 300u);
    EXPECT_EQ(faults[0].passes, 0u);
    EXPECT_EQ(faults[1].kind, HostFaultKind::kFocusLoss);
    EXPECT_EQ(faults[1].after_present, 500u);
    EXPECT_EQ(faults[1].passes, 60u);
    EXPECT_EQ(faults[2].kind, HostFaultKind::kLoseDevice);
    EXPECT_EQ(faults[2].passes, 2u);
    EXPECT_EQ(faults[3].kind, HostFaultKind::kFocusLoss);
    EXPECT_EQ(faults[3].passes, 1u) << "a lone focus loss lasts one frame";
    EXPECT_TRUE(Host_ParseFaults("", &faults, &error));
    EXPECT_TRUE(faults.empty());
}

TEST(FaultListTest, RefusesMalformedEntriesByName) {
    const char* bad[] = {"lose-device",
                         "lose-device@",
                         "lose-device@0",
                         "focus-loss@5-5",
                         "focus-loss@9-3",
                         "focus-loss@-3",
                         "lose-device@1x",
                         "melt@4",
                         "lose-device@4294967296",
                         "focus-loss@3-4-5",
                         "@3",
                         "lose device@3"};
    for (const char* text : bad) {
        std::vector<HostFault> faults{HostFault{}};
        std::string error;
        EXPECT_FALSE(Host_ParseFaults(std::string("focus-loss@1,") + text, &faults, &error))
            << text;
        EXPECT_TRUE(faults.empty()) << text;
        EXPECT_NE(error.find(std::string("bad fault \"") + text + "\""), std::string::npos)
            << error;
    }
}

class FocusFaultTest : public User32Test {
  protected:
    void SetUp() override {
        User32Test::SetUp();
        window_ = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 64, 64, nullptr, nullptr,
                                  nullptr, nullptr);
        ASSERT_NE(window_, nullptr);
        SetForegroundWindow(window_);
        ASSERT_EQ(GetForegroundWindow(), window_);
    }
    // One pass of a message pump: everything waiting is dispatched.
    void Pump() {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    }
    HWND window_ = nullptr;
};

TEST_F(FocusFaultTest, FocusGoesAfterItsPresentAndComesBackAfterItsPasses) {
    FaultSettings settings("focus-loss@3-5");
    Host_FaultsAfterPresent(window_, 2);
    Pump();
    EXPECT_EQ(GetForegroundWindow(), window_);
    Host_FaultsAfterPresent(window_, 3);
    Pump();  // takes the loss; its first pass
    EXPECT_NE(GetForegroundWindow(), window_);
    Pump();  // second pass: over, the focus comes back with the next pass
    EXPECT_NE(GetForegroundWindow(), window_);
    Pump();
    EXPECT_EQ(GetForegroundWindow(), window_);
    // A present seen again does not start it twice.
    Host_FaultsAfterPresent(window_, 3);
    Pump();
    EXPECT_EQ(GetForegroundWindow(), window_);
    std::vector<std::string> lines = settings.TraceLines();
    EXPECT_EQ(lines,
              (std::vector<std::string>{"fault focus-loss begins", "fault focus-loss ends"}));
}

TEST_F(FocusFaultTest, DeviceLossLastsItsPasses) {
    FaultSettings settings("lose-device@7-9,lose-device@12");
    const uint32_t before = Host_DeviceLosses();
    EXPECT_FALSE(Host_DeviceLossLasting());
    Host_FaultsAfterPresent(window_, 7);
    EXPECT_EQ(Host_DeviceLosses(), before + 1);
    EXPECT_TRUE(Host_DeviceLossLasting());
    Pump();
    EXPECT_TRUE(Host_DeviceLossLasting());
    Pump();
    EXPECT_FALSE(Host_DeviceLossLasting());
    Host_FaultsAfterPresent(window_, 12);
    EXPECT_EQ(Host_DeviceLosses(), before + 2);
    EXPECT_FALSE(Host_DeviceLossLasting()) << "a loss without a span is over at once";
    EXPECT_EQ(GetForegroundWindow(), window_) << "a device loss alone keeps the focus";
}

class DeviceFaultTest : public DeviceTest {};

TEST_F(DeviceFaultTest, ShortLossBecomesResettableWithinAFlipsWait) {
    FaultSettings settings("lose-device@40");
    Open();
    ASSERT_EQ(device_->TestCooperativeLevel(), D3D_OK);
    Host_FaultsAfterPresent(window_, 40);
    EXPECT_EQ(device_->TestCooperativeLevel(), D3DERR_DEVICELOST);
    EXPECT_EQ(device_->BeginScene(), D3DERR_DEVICELOST) << "no scene while lost";
    Sleep(5);
    EXPECT_EQ(device_->TestCooperativeLevel(), D3DERR_DEVICENOTRESET);
    D3DPRESENT_PARAMETERS p = Parameters(640, 480, D3DFMT_X8R8G8B8, false);
    ASSERT_EQ(device_->Reset(&p), D3D_OK);
    EXPECT_EQ(device_->TestCooperativeLevel(), D3D_OK);
    EXPECT_EQ(device_->BeginScene(), D3D_OK);
    EXPECT_EQ(device_->EndScene(), D3D_OK);
}

TEST_F(DeviceFaultTest, LastingLossRefusesResetsUntilTheHostEndsIt) {
    FaultSettings settings("lose-device@50-52");
    Open();
    Host_FaultsAfterPresent(window_, 50);
    Sleep(40);
    EXPECT_EQ(device_->TestCooperativeLevel(), D3DERR_DEVICELOST) << "however long it waits";
    D3DPRESENT_PARAMETERS p = Parameters(640, 480, D3DFMT_X8R8G8B8, false);
    EXPECT_EQ(device_->Reset(&p), D3DERR_DEVICELOST);
    EXPECT_EQ(device_->Present(nullptr, nullptr, nullptr, nullptr), D3DERR_DEVICELOST);
    Host_FaultsPumpPass();
    EXPECT_EQ(device_->TestCooperativeLevel(), D3DERR_DEVICELOST);
    Host_FaultsPumpPass();
    // Over: resettable a moment after the device saw the loss begin.
    Sleep(5);
    EXPECT_EQ(device_->TestCooperativeLevel(), D3DERR_DEVICENOTRESET);
    EXPECT_EQ(device_->Reset(&p), D3D_OK);
    EXPECT_EQ(device_->TestCooperativeLevel(), D3D_OK);
}

TEST_F(DeviceFaultTest, DeviceMadeAfterALossIsNotLostByIt) {
    FaultSettings settings("lose-device@60");
    Host_FaultsAfterPresent(window_, 60);
    Open();
    EXPECT_EQ(device_->TestCooperativeLevel(), D3D_OK);
}

TEST_F(DeviceFaultTest, FailedDriverStaysFailedThroughAScheduledLoss) {
    FaultSettings settings("lose-device@70");
    Open();
    D3D9Test_FailDriver(device_);
    Host_FaultsAfterPresent(window_, 70);
    Sleep(5);
    EXPECT_EQ(device_->TestCooperativeLevel(), D3DERR_DRIVERINTERNALERROR);
}

}  // namespace
