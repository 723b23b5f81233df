// Fuzz target: PNG files through ImageDecoder_OpenMemory and ImageDecoder_Decode. Mutations
// nearly always break a chunk's checksum, on which libpng stops at once; the target repairs
// the checksums first so that the fuzzer reaches the header fields and the pixel data.
#include <zlib.h>

#include <cstddef>
#include <cstdint>
#include <vector>

#include "runtime/image/image_decoder.h"
#include "tests/fuzz/image_fuzz.h"

namespace {

uint32_t ReadBigEndian(const uint8_t* p) {
    return (uint32_t{p[0]} << 24) | (uint32_t{p[1]} << 16) | (uint32_t{p[2]} << 8) | p[3];
}

// Walks the chunks after the signature and rewrites each whole chunk's checksum.
void RepairChecksums(std::vector<uint8_t>& file) {
    size_t at = 8;
    while (at + 12 <= file.size()) {
        uint32_t length = ReadBigEndian(&file[at]);
        if (length > file.size() - at - 12) break;
        uLong crc = crc32(0, &file[at + 4], static_cast<uInt>(length + 4));
        uint8_t* out = &file[at + 8 + length];
        for (int i = 0; i < 4; ++i) out[i] = static_cast<uint8_t>(crc >> (24 - 8 * i));
        at += 12 + length;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<uint8_t> file(data, data + size);
    RepairChecksums(file);
    return FuzzImageDecoder(file.data(), file.size(), &ImageDecoder_UsePng);
}
