// A fresh folder under the system's temporary directory that is the working directory for one
// test case, so that relative names land in it; leaving restores the previous working directory
// and removes the folder with everything in it.
#pragma once
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <string>

class TempWorkingFolder {
  public:
    // From SetUp, under ASSERT_NO_FATAL_FAILURE: a folder that cannot be made fails the case.
    void Enter(const std::string& prefix) {
        previous_ = std::filesystem::current_path();
        std::string pattern = std::filesystem::temp_directory_path() / (prefix + "-XXXXXX");
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        path_ = pattern;
        std::filesystem::current_path(path_);
    }
    void Leave() {
        std::filesystem::current_path(previous_);
        std::filesystem::remove_all(path_);
    }
    const std::filesystem::path& Path() const { return path_; }

  private:
    std::filesystem::path previous_, path_;
};
