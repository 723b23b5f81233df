// Frame and present numbers of the settings, read one way everywhere.
#include "platform/host/frame_numbers.h"

bool Host_ParseFrameNumber(std::string_view text, uint32_t* out) {
    // Ten digits hold every 32-bit number; more cannot be one.
    if (text.empty() || text.size() > 10) return false;
    uint64_t value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
        value = value * 10 + static_cast<uint64_t>(c - '0');
    }
    if (value == 0 || value > 0xFFFFFFFFu) return false;
    *out = static_cast<uint32_t>(value);
    return true;
}

bool Host_ParseFrameRange(std::string_view text, uint32_t* first, uint32_t* last, bool* is_range) {
    size_t dash = text.find('-');
    if (is_range) *is_range = dash != std::string_view::npos;
    if (dash == std::string_view::npos) {
        if (!Host_ParseFrameNumber(text, first)) return false;
        *last = *first;
        return true;
    }
    return Host_ParseFrameNumber(text.substr(0, dash), first) &&
           Host_ParseFrameNumber(text.substr(dash + 1), last);
}
