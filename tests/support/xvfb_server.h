// An Xvfb server on a free display, for the tests that show a real window, and the screen dump
// it keeps in its frame-buffer folder.
#pragma once
#include <sys/types.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

// An XWD screen dump as Xvfb keeps it (32 bits a pixel).
struct Screenshot {
    uint32_t width = 0, height = 0, bytes_per_line = 0;
    uint32_t red_mask = 0, green_mask = 0, blue_mask = 0;
    std::vector<uint8_t> data;
    size_t pixels = 0;  // offset of the pixels
    // False when the file cannot be read, is cut, or is not 32 bits a pixel with colour masks.
    bool Read(const std::filesystem::path& file);
    // 0xRRGGBB
    uint32_t Rgb(uint32_t x, uint32_t y) const;
};

// Xvfb with one 1024 x 768 screen of 24 bits, dumped to `fbdir`/Xvfb_screen0; ended with the
// object.
class XServer {
  public:
    explicit XServer(const std::filesystem::path& fbdir);
    ~XServer();
    XServer(const XServer&) = delete;
    XServer& operator=(const XServer&) = delete;

    // The display's number; empty when the server did not start.
    const std::string& Display() const { return display_; }
    static bool Installed();

  private:
    pid_t pid_ = -1;
    std::string display_;
};
