// Small RIFF WAVE images made in code for the sound tests.
#pragma once
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

class WaveBuilder {
  public:
    WaveBuilder& Riff() {
        Tag("RIFF");
        Put32(0);  // filled in by Bytes()
        Tag("WAVE");
        return *this;
    }
    // A fmt chunk of `size` bytes (16 or 18) for PCM.
    WaveBuilder& Fmt(uint16_t channels, uint32_t rate, uint16_t bits, uint32_t size = 16) {
        Tag("fmt ");
        Put32(size);
        uint16_t block = static_cast<uint16_t>(channels * bits / 8);
        Put16(1);
        Put16(channels);
        Put32(rate);
        Put32(rate * block);
        Put16(block);
        Put16(bits);
        for (uint32_t i = 16; i < size; ++i) bytes_.push_back(0);
        return *this;
    }
    // A fmt chunk of 40 bytes for WAVE_FORMAT_EXTENSIBLE; the sub-format GUID starts with
    // `sub_format` (1 for PCM, 3 for floating point).
    WaveBuilder& Extensible(uint16_t channels, uint32_t rate, uint16_t bits,
                            uint16_t sub_format = 1) {
        Tag("fmt ");
        Put32(40);
        uint16_t block = static_cast<uint16_t>(channels * bits / 8);
        Put16(0xFFFE);
        Put16(channels);
        Put32(rate);
        Put32(rate * block);
        Put16(block);
        Put16(bits);
        Put16(22);
        Put16(bits);                       // valid bits per sample
        Put32(channels == 2 ? 0x3 : 0x4);  // front left and right, or centre
        Put16(sub_format);
        const uint8_t rest[14] = {0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80,
                                  0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};
        bytes_.insert(bytes_.end(), rest, rest + 14);
        return *this;
    }
    // A chunk; with `pad`, an odd-sized one is followed by the zero pad byte RIFF asks for.
    WaveBuilder& Chunk(const char* id, const std::string& contents, bool pad = false) {
        Tag(id);
        Put32(static_cast<uint32_t>(contents.size()));
        bytes_.insert(bytes_.end(), contents.begin(), contents.end());
        if (pad && contents.size() % 2) bytes_.push_back(0);
        return *this;
    }
    // A chunk header whose size says more than follows.
    WaveBuilder& ChunkHeader(const char* id, uint32_t size) {
        Tag(id);
        Put32(size);
        return *this;
    }
    std::vector<uint8_t> Bytes() const {
        std::vector<uint8_t> out = bytes_;
        if (out.size() >= 8) {
            uint32_t riff = static_cast<uint32_t>(out.size() - 8);
            std::memcpy(out.data() + 4, &riff, 4);
        }
        return out;
    }

  private:
    void Tag(const char* id) { bytes_.insert(bytes_.end(), id, id + 4); }
    void Put16(uint16_t v) {
        bytes_.push_back(static_cast<uint8_t>(v));
        bytes_.push_back(static_cast<uint8_t>(v >> 8));
    }
    void Put32(uint32_t v) {
        for (int i = 0; i < 4; ++i) bytes_.push_back(static_cast<uint8_t>(v >> (8 * i)));
    }
    std::vector<uint8_t> bytes_;
};
