// A runtime with a headless host and a clean user32 for the input tests; keyboard scripts are
// written to temporary files.
#pragma once
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "platform/host/host.h"
#include "platform/win32/process.h"
#include "platform/win32/window.h"
#include "runtime/input/joystick.h"
#include "runtime/input/keyboard.h"
#include "runtime/screen/shared_window.h"
#include "tests/platform/win32/user32_fixture.h"
#include "tests/support/runtime_fixture.h"

class InputTest : public RuntimeTest {
  protected:
    void SetUp() override {
        setenv("KAVRO_HEADLESS", "1", 1);
        for (const char* name : {"KAVRO_KEYS", "KAVRO_RECORD", "KAVRO_MISSING"}) unsetenv(name);
        Host_ReloadSettings();
        User32Test::Clear();
        RuntimeTest::SetUp();
        Program_Globals().module_handle = GetModuleHandleA(nullptr);
    }
    void TearDown() override {
        Keyboard_End();
        Joystick_End();
        User32Test::Clear();
        for (const char* name : {"KAVRO_KEYS", "KAVRO_RECORD", "KAVRO_MISSING"}) unsetenv(name);
        Host_ReloadSettings();
        if (!script_path_.empty()) std::remove(script_path_.c_str());
        RuntimeTest::TearDown();
    }
    // Writes a keyboard script and points KAVRO_KEYS at it.
    void UseScript(const std::string& text) {
        script_path_ = TempPath("kavro-input-test.keys");
        std::ofstream(script_path_) << text;
        setenv("KAVRO_KEYS", script_path_.c_str(), 1);
        Host_ReloadSettings();
    }
    // What an open full-screen screen does to the shared window: shown, in the foreground.
    HWND OpenScreenWindow() {
        HWND window = SharedWindow_Create();
        MoveWindow(window, 0, 0, 640, 480, TRUE);
        ShowWindow(window, SW_SHOWMAXIMIZED);
        return window;
    }
    // A file name of this process only: CTest runs cases of this program side by side.
    static std::string TempPath(const char* name) {
        return ::testing::TempDir() + std::to_string(getpid()) + "-" + name;
    }
    std::string script_path_;
};
