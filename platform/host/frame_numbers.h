// Frame and present numbers as the settings write them (keyboard scripts, capture lists, fault
// lists): decimal digits only, counted from 1, at most 2^32 - 1.
#pragma once
#include <cstdint>
#include <string_view>

// One number. Blanks, signs and zero are refused.
bool Host_ParseFrameNumber(std::string_view text, uint32_t* out);

// "N" (first = last = N) or "A-B", each side one number as above. The order of A and B is the
// caller's rule; `is_range` tells the two forms apart.
bool Host_ParseFrameRange(std::string_view text, uint32_t* first, uint32_t* last,
                          bool* is_range = nullptr);
