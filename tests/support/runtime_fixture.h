// A runtime heap and string buffer for tests of single libraries, torn down after each case.
#pragma once
#include <gtest/gtest.h>

#include "platform/win32/heap.h"
#include "runtime/core/program.h"
#include "runtime/core/strings.h"

class RuntimeTest : public ::testing::Test {
  protected:
    void SetUp() override {
        Program_Globals().runtime_heap = HeapCreate(0, 4096, 0);
        String_Init();
    }
    void TearDown() override {
        HeapDestroy(String_Globals().heap);
        String_Globals() = StringGlobals{};
        HeapDestroy(Program_Globals().runtime_heap);
        Program_Globals().runtime_heap = nullptr;
    }
};
