// What the decoders share with the registry but nobody else needs: registration lookups and
// little-endian reads of file fields.
#pragma once
#include <cstdint>

#include "runtime/image/image_decoder.h"

// True when the entry is already in the registry.
bool ImageDecoder_IsRegistered(const ImageDecoderEntry* entry);

inline uint16_t ImageDecoder_Read16(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}
inline uint32_t ImageDecoder_Read32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
           (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}
