// Frames captured by KAVRO_CAPTURE, read back as RGB pixels and compared with another capture.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

struct CapturedFrame {
    int32_t width = 0;
    int32_t height = 0;
    std::vector<uint8_t> rgb;  // 3 bytes a pixel, top row first
};

// False when the file is missing or not a PNG this reader understands (8-bit RGB or RGBA).
bool ReadCapture(const std::string& path, CapturedFrame* frame);
// The capture file of present `number` in `folder`: folder/frame-NNNNNN.png.
std::string CapturePath(const std::string& folder, uint32_t number);
// Pixels that differ between two frames of one size, outside the frame-rate text (its value
// depends on the clock, not on the game). -1 when the sizes differ.
int64_t DifferingPixels(const CapturedFrame& a, const CapturedFrame& b);
