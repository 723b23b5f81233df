// Writing a presented frame as an 8-bit RGB PNG file (frame capture).
#pragma once
#include <string>

#include "platform/host/video.h"

// Returns false with a reason in `error` when the file cannot be written.
bool Host_WritePng(const std::string& path, const HostFrame& frame, std::string* error);
// One row of the frame as 8-bit R, G, B triples (3 * width bytes).
void Host_RowToRgb(const HostFrame& frame, int32_t y, unsigned char* out);
