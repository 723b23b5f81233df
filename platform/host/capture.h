// Frame capture (KAVRO_CAPTURE, KAVRO_CAPTURE_FRAMES): which presents are written, and where.
#pragma once
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "platform/host/video.h"

// Parses a frame list such as "1,100-120" into inclusive ranges. An empty text gives no ranges
// (every frame). Returns false with the offending entry named in `error`.
bool Host_ParseFrameList(const std::string& text,
                         std::vector<std::pair<uint32_t, uint32_t>>* ranges, std::string* error);
// "DIR/frame-NNNNNN.png" for present `number`.
std::string Host_CaptureFileName(const std::string& dir, uint32_t number);
// Writes present `number` when the settings ask for it. A capture that cannot be written ends
// the run with a clear message.
void Host_CaptureFrame(uint32_t number, const HostFrame& frame);
