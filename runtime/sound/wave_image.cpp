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

// WAVE_FORMAT_EXTENSIBLE: WAVEFORMATEX with cbSize 22, then the valid bits per sample, the
// channel mask and the sub-format, a GUID whose first two bytes are the plain format tag.
constexpr uint16_t kFormatExtensible = 0xFFFE;
constexpr uint32_t kExtensibleSize = 40;
constexpr uint16_t kExtensibleExtra = 22;
constexpr uint32_t kSubFormatOffset = 24;
constexpr uint8_t kPcmSubFormat[16] = {0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x10, 0x00,
                                       0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};

// PCM of 8 or 16 bits described as extensible is plain PCM to the device: the channel mask
// of a mono or stereo sound says nothing the channel count does not.
void PlainPcmFromExtensible(const uint8_t* fmt, uint32_t fmt_size, WAVEFORMATEX* format) {
    if (format->wFormatTag != kFormatExtensible || fmt_size < kExtensibleSize ||
        format->cbSize < kExtensibleExtra) {
        return;
    }
    if (std::memcmp(fmt + kSubFormatOffset, kPcmSubFormat, sizeof(kPcmSubFormat)) != 0) return;
    if (format->wBitsPerSample != 8 && format->wBitsPerSample != 16) return;
    format->wFormatTag = WAVE_FORMAT_PCM;
    format->cbSize = 0;
}

// Where the chunk after one of `size` bytes, whose contents end at `after`, begins. An odd-sized
// chunk is followed by a pad byte; some writers leave it out, so the byte is skipped only when
// it is 0, which no chunk id starts with.
uint64_t NextChunk(const uint8_t* p, uint64_t end, uint64_t after, uint32_t size) {
    return (size & 1) && after < end && p[after] == 0 ? after + 1 : after;
}

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
    PlainPcmFromExtensible(p + 20, fmt_size, &out->format);
    // Chunk after chunk until "data".
    uint64_t pos = NextChunk(p, end, 20 + uint64_t{fmt_size}, fmt_size);
    while (pos + 8 <= end) {
        uint32_t id = Read32(p + pos);
        uint32_t size = Read32(p + pos + 4);
        if (id == kData) {
            if (pos + 8 + size > end) return false;  // the size points past the image
            out->samples = p + pos + 8;
            out->bytes = size;
            return true;
        }
        pos = NextChunk(p, end, pos + 8 + uint64_t{size}, size);
    }
    return false;
}
