// The map engine on the real runtime: a started program with a headless 640 x 480 screen (the
// engine cuts tilesets from the back buffer), run inside a fresh temporary directory that is
// the current directory, with helpers that write maps and tilesets and read the back buffer.
#pragma once
#include <stdlib.h>

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "game/map/map_engine.h"
#include "game/map/map_state.h"
#include "platform/win32/heap.h"
#include "runtime/core/program.h"
#include "runtime/image/image_decoder.h"
#include "runtime/screen/d3d9/screen_state.h"
#include "runtime/screen/screen.h"
#include "runtime/screen/sprite3d.h"
#include "tests/support/map_writer.h"
#include "tests/support/temp_working_folder.h"
#include "tests/support/tile_colours.h"

class MapEngineTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(folder_.Enter("kavro-map"));
        // The engine's block points into the heaps of the previous case: start it afresh.
        Map_State() = MapEngineState{};
        Program_Start();
        ImageDecoder_UsePng();
        ASSERT_EQ(Sprite_Init(), 1);
        ASSERT_EQ(Sprite3D_Init(), 1);
        ASSERT_EQ(Screen_Open(640, 480, 32, "map engine test", 0), 1);
        Map_Init();
    }
    void TearDown() override {
        Runtime_Shutdown();
        HeapDestroy(String_Globals().heap);
        String_Globals() = StringGlobals{};
        HeapDestroy(Program_Globals().runtime_heap);
        Program_Globals().runtime_heap = nullptr;
        Map_State() = MapEngineState{};
        folder_.Leave();
    }

    static void Make(const std::string& name, const std::string& bytes) {
        std::filesystem::path path(name);
        if (path.has_parent_path()) std::filesystem::create_directories(path.parent_path());
        std::ofstream(name, std::ios::binary) << bytes;
    }
    static void Make(const std::string& name, const Bytes& bytes) {
        Make(name, std::string(bytes.begin(), bytes.end()));
    }

    // The back buffer's colour at (x, y) as 0xRRGGBB.
    static uint32_t Rgb(int x, int y) {
        const SurfaceMemory& m = Screen_State().backBuffer->Memory();
        uint32_t v;
        std::memcpy(&v, m.bits + static_cast<size_t>(y) * m.pitch + 4 * x, 4);
        return v & 0xFFFFFF;
    }
    static void ClearScreen() {
        Screen_State().device->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF000000, 0, 0);
    }
    // Draws one layer between the quad bracket, as the game does.
    static int32_t Draw(int32_t layer, int32_t columns = 20, int32_t rows = 15) {
        Sprite3D_Start();
        int32_t drawn = Map_DrawLayer(layer, columns, rows);
        Sprite3D_Stop();
        return drawn;
    }
    // The engine's record of a cell, for fields no accessor returns.
    static const MapCell& Cell(int32_t x, int32_t y, int32_t layer) {
        const MapCell* c = Map_CellPointer(x, y, layer);
        EXPECT_NE(c, nullptr) << x << "," << y << "," << layer;
        static const MapCell kNone{};
        return c ? *c : kNone;
    }

  private:
    TempWorkingFolder folder_;
};
