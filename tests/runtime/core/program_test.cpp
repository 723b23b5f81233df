#include "runtime/core/program.h"

#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/win32/heap.h"
#include "platform/win32/shell.h"
#include "runtime/core/gadget.h"
#include "runtime/core/object_table.h"
#include "runtime/core/strings.h"

namespace {

std::vector<std::string> Names(const ChainRoutine* chain, int count) {
    std::vector<std::string> out;
    for (int i = 0; i < count; ++i) out.emplace_back(chain[i].name);
    return out;
}

TEST(ProgramTest, ChainsRunInTheirFixedOrder) {
    EXPECT_EQ(Names(Runtime_Chains.startup, Runtime_Chains.startup_count),
              (std::vector<std::string>{
                  "String_Init", "ImageDecoder_Init", "Image_Init", "ImageTable_Init",
                  "Drawing_Init", "Array_Init", "File_Init", "ImageDecoder_UseBmp", "List_Init",
                  "Memory_Init", "System_Init", "Gadget_Init", "Event_Init", "Window_Init"}));
    EXPECT_EQ(
        Names(Runtime_Chains.cleanup, Runtime_Chains.cleanup_count),
        (std::vector<std::string>{"Window_End", "Gadget_End", "Sound_End", "Requester_End",
                                  "Memory_End", "Keyboard_End", "Sprite_End", "Sprite3D_End",
                                  "Joystick_End", "File_End", "ImageTable_End", "Image_End"}));
}

TEST(ProgramTest, StartZeroesTheGlobalsAndSetsUpEveryLibrary) {
    std::memset(Program_Globals().program, 0xAB, sizeof(GlobalBlock::program));
    Program_Start();
    const GlobalBlock& g = Program_Globals();
    EXPECT_NE(g.runtime_heap, nullptr);
    EXPECT_NE(g.module_handle, nullptr);
    for (unsigned char b : g.program) ASSERT_EQ(b, 0);
    EXPECT_EQ(String_Globals().capacity, 16);
    EXPECT_EQ(String_Globals().position, 0);
    ASSERT_NE(Gadget_Table(), nullptr);
    EXPECT_EQ(Gadget_Table()->capacity, 50);
    EXPECT_EQ(Gadget_State()->count, 10);
    EXPECT_EQ(CommonControls_Registered(), 0x0B48u);
    Runtime_Shutdown();
    HeapDestroy(String_Globals().heap);
    HeapDestroy(Program_Globals().runtime_heap);
}

TEST(ProgramDeathTest, FirstStatementIsTheEnd) {
    EXPECT_EXIT(
        {
            Program_Start();
            Program_End();
        },
        ::testing::ExitedWithCode(0), "");
}

}  // namespace
