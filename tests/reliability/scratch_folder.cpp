// Scratch folders under /tmp for the reliability tests, and copies of the shipped level.
#include "tests/reliability/scratch_folder.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

ScratchFolder::ScratchFolder() {
    char name[] = "/tmp/kavro-reliability-XXXXXX";
    if (mkdtemp(name)) path_ = name;
    EXPECT_FALSE(path_.empty()) << "no scratch folder";
}

ScratchFolder::~ScratchFolder() {
    if (path_.empty()) return;
    // A test may have made parts unreadable; give them back first so that all of it goes.
    std::error_code ignored;
    for (auto it = fs::recursive_directory_iterator(path_, ignored);
         it != fs::recursive_directory_iterator(); it.increment(ignored)) {
        chmod(it->path().c_str(), 0700);
    }
    chmod(path_.c_str(), 0700);
    fs::remove_all(path_, ignored);
}

void ScratchFolder::Write(const std::string& name, const std::string& bytes) const {
    std::ofstream out(path_ / name, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    EXPECT_TRUE(out.good()) << "cannot write " << name;
}

fs::path RunFolder() {
    return fs::path(KAVRO_RUN_FOLDER);
}

void CopyLevel(const ScratchFolder& folder) {
    fs::copy_file(RunFolder() / "Kavro.Map", folder.Path() / "Kavro.Map");
    fs::copy(RunFolder() / "GFX", folder.Path() / "GFX", fs::copy_options::recursive);
}

std::string ReadFileBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}
