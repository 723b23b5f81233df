// A clean user32 for each test: no windows, empty queues, no key down, headless host.
#pragma once
#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "platform/host/host.h"
#include "platform/win32/messages.h"
#include "platform/win32/window.h"
#include "platform/win32/window_record.h"

class User32Test : public ::testing::Test {
  protected:
    void SetUp() override {
        setenv("KAVRO_HEADLESS", "1", 1);
        Host_ReloadSettings();
        Clear();
    }
    void TearDown() override { Clear(); }

  public:
    // Destroys every window and empties the queues; other fixtures use it too.
    static void Clear() {
        std::vector<HWND> windows;
        for (auto& rec : User32().windows) windows.push_back(rec.get());
        for (HWND w : windows) DestroyWindow(w);
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        }
        User32_ResetMessages();
        User32().foreground = nullptr;
        User32().focus = nullptr;
    }
};
