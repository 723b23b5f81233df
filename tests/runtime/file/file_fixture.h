// A runtime with the file library started, run inside a fresh temporary directory that is the
// current directory for the test, with helpers to make and read files there.
#pragma once
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "runtime/core/strings.h"
#include "runtime/file/file.h"
#include "tests/support/runtime_fixture.h"
#include "tests/support/temp_working_folder.h"

class FileTest : public RuntimeTest {
  protected:
    void SetUp() override {
        RuntimeTest::SetUp();
        ASSERT_NO_FATAL_FAILURE(folder_.Enter("kavro-file"));
        directory_ = folder_.Path();
        File_Init();
    }
    void TearDown() override {
        File_End();
        folder_.Leave();
        RuntimeTest::TearDown();
    }

    static void Make(const std::string& name, const std::string& bytes) {
        std::filesystem::path path(name);
        if (path.has_parent_path()) std::filesystem::create_directories(path.parent_path());
        std::ofstream(name, std::ios::binary) << bytes;
    }
    static std::string Contents(const std::string& name) {
        std::ifstream in(name, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    // One line read at the current temporary position, consumed so the position returns.
    static std::string Line(int32_t file) {
        int32_t p = String_Globals().position;
        char* text = File_ReadLine(file, p);
        std::string line = text;
        EXPECT_EQ(String_Globals().position, p + static_cast<int32_t>(line.size()));
        String_SetPosition(p);
        return line;
    }

    std::filesystem::path directory_;

  private:
    TempWorkingFolder folder_;
};
