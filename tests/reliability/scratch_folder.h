// A temporary folder for one test, removed with everything in it when the test ends; and a copy
// of the game's run folder (Kavro.Map and GFX) in one, to damage without touching the build.
#pragma once
#include <filesystem>
#include <string>

class ScratchFolder {
  public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::filesystem::path& Path() const { return path_; }
    std::string File(const std::string& name) const { return (path_ / name).string(); }
    // Writes `bytes` to `name` inside the folder.
    void Write(const std::string& name, const std::string& bytes) const;

  private:
    std::filesystem::path path_;
};

// The run folder of the build: the shipped level and its tilesets.
std::filesystem::path RunFolder();
// Copies Kavro.Map and GFX of the run folder into `folder`.
void CopyLevel(const ScratchFolder& folder);
// The bytes of a file (empty when it cannot be read).
std::string ReadFileBytes(const std::filesystem::path& path);
