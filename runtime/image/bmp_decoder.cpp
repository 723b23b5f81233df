// The BMP decoder: uncompressed files of 1, 4, 8, 16, 24 and 32 bits, bit-field files of 16 and
// 32 bits, run-length files of 4 and 8 bits, stored bottom-up or top-down, decoded to 24-bit
// blue-green-red. A file the decoder cannot draw truly is refused by the Check, so a caller
// never takes an untouched buffer for a picture.
#include "runtime/image/bmp_layout.h"
#include "runtime/image/image_decoder.h"
#include "runtime/image/image_decoder_private.h"

namespace {

// The headers through the bits per pixel: what the Check reads before the layout.
constexpr int32_t kHeadersThroughBits = 30;

int32_t BmpCheck(ImageDecodeState* state) {
    const uint8_t* file = state->data;
    // Type "BM", both reserved fields 0; the headers must be there to be read at all.
    if (state->length < kHeadersThroughBits) return 0;
    if (file[0] != 0x42 || file[1] != 0x4D) return 0;
    if (ImageDecoder_Read16(file + 6) != 0 || ImageDecoder_Read16(file + 8) != 0) return 0;
    // A negative height stores the rows top-down. Empty or oversized pictures are refused, so
    // no caller sizes a buffer from a useless size.
    const int64_t width = static_cast<int32_t>(ImageDecoder_Read32(file + 18));
    const int64_t stored_height = BmpLayout_StoredHeight(file);
    const int64_t height = stored_height < 0 ? -stored_height : stored_height;
    if (!ImageDecoder_SizeAllowed(width, height)) return 0;
    BmpLayout layout;
    if (!BmpLayout_Read(file, state->length, width, height, &layout)) return 0;
    state->width = static_cast<int32_t>(width);
    state->height = static_cast<int32_t>(height);
    state->source_bits = layout.bits;
    state->depth = 24;
    state->bmp.file_header = file;
    return 1;
}

// Always top row first: the flags are not consulted.
int32_t BmpDecode(ImageDecodeState* state, uint8_t* buffer, int32_t pitch, int32_t) {
    const uint8_t* file = state->bmp.file_header;
    BmpLayout layout;
    if (!BmpLayout_Read(file, state->length, state->width, state->height, &layout)) return 0;
    if (layout.kind == BmpKind::kRle4 || layout.kind == BmpKind::kRle8) {
        return BmpDecode_RunLength(file, state->length, layout, state->width, state->height, buffer,
                                   pitch);
    }
    return BmpDecode_Rows(file, layout, state->width, state->height, buffer, pitch);
}

// The data belongs to the caller.
void BmpFree(ImageDecodeState*) {}

const ImageDecoderEntry kBmpDecoder = {&BmpCheck, &BmpDecode, &BmpFree};

}  // namespace

void ImageDecoder_UseBmp() {
    ImageDecoder_Register(&kBmpDecoder);
}
