// Reading a RIFF WAVE image in memory: the fmt chunk at its fixed place, then a walk from chunk
// to chunk to the data chunk, never past the length handed in.
#include <cstring>

#include "runtime/sound/sound.h"

namespace {

uint32_t Read32(const uint8_t* p) {
    return uint32_t{p[0]} | (uint32_t{p[1]} << 8) | (uint32_t{p[2]} << 16) | (uint32_t{p[3]} << 24);
}

constexpr uint32_t kRiff = 0x46464952;  // "RIFF"
constexpr uint32_t kFmt = 0x20746D66;   // "fmt "
constexpr uint32_t kData = 0x61746164;  // "data"
// The part of WAVEFORMATEX every fmt chunk has (the cbSize word may be missing).
constexpr uint32_t kPcmFormatSize = 16;

}  // namespace

bool Sound_ParseWave(const void* data, int32_t length, WaveImage* out) {
    if (!data || length < 20 || !out) return false;
    const uint8_t* p = static_cast<const uint8_t*>(data);
    const uint64_t end = static_cast<uint64_t>(length);
    // Bytes 0-3 "RIFF", 12-15 "fmt ", 16-19 its size; the form type is not examined.
    if (Read32(p) != kRiff || Read32(p + 12) != kFmt) return false;
    uint32_t fmt_size = Read32(p + 16);
    if (fmt_size < kPcmFormatSize || 20 + uint64_t{fmt_size} > end) return false;
    std::memset(&out->format, 0, sizeof(out->format));
    std::memcpy(&out->format, p + 20,
                fmt_size < sizeof(WAVEFORMATEX) ? fmt_size : sizeof(WAVEFORMATEX));
    // Chunk after chunk by size + 8 (no pad byte for odd sizes), until "data".
    uint64_t pos = 20 + uint64_t{fmt_size};
    while (pos + 8 <= end) {
        uint32_t id = Read32(p + pos);
        uint32_t size = Read32(p + pos + 4);
        if (id == kData) {
            if (pos + 8 + size > end) return false;  // the size points past the image
            out->samples = p + pos + 8;
            out->bytes = size;
            return true;
        }
        pos += uint64_t{size} + 8;
    }
    return false;
}
