// The JPEG decoder over libjpeg: a memory source of its own that hands out exactly the caller's
// bytes (then a fake end-of-image marker), and rows converted to 24-bit blue-green-red.
// libjpeg's errors jump back here and fail the Check or the Decode.
#include <csetjmp>
#include <cstdio>

#include "platform/win32/heap.h"
#include "runtime/core/program.h"
#include "runtime/image/image_decoder.h"
#include "runtime/image/image_decoder_private.h"

// After the platform types: the library's headers define TRUE and FALSE as macros.
#include <jpeglib.h>
// The message codes depend on the library version that jpeglib.h sets.
#include <jerror.h>

// The library's error manager followed by the place its errors jump back to.
struct JpegErrorRecord {
    jpeg_error_mgr manager;
    jmp_buf jump;
};

// Row conversion state, in the decompressor's image pool.
struct JpegOutput {
    JSAMPARRAY samples;         // one row of samples
    JDIMENSION samples_height;  // 1
    uint8_t* destination;       // where the next converted scanline goes
    void (*convert)(const JpegOutput* output, const JSAMPLE* in, uint8_t* out);
    JDIMENSION width;       // pixels per row
    JDIMENSION data_width;  // width x output components
    JDIMENSION row_width;   // data_width rounded up to a multiple of 4
};

namespace {

constexpr JOCTET kFakeEnd[2] = {0xFF, JPEG_EOI};

// The program's memory source: the caller's bytes all at once, then fake end markers.
struct MemorySource {
    jpeg_source_mgr pub;
    const JOCTET* data;
    size_t remaining;
    JOCTET fake_end[2];
};

void InitSource(j_decompress_ptr) {}
void TermSource(j_decompress_ptr) {}

boolean FillInputBuffer(j_decompress_ptr cinfo) {
    auto* source = reinterpret_cast<MemorySource*>(cinfo->src);
    if (source->remaining > 0) {
        source->pub.next_input_byte = source->data;
        source->pub.bytes_in_buffer = source->remaining;
        source->data += source->remaining;
        source->remaining = 0;
        return TRUE;
    }
    WARNMS(cinfo, JWRN_JPEG_EOF);
    source->fake_end[0] = kFakeEnd[0];
    source->fake_end[1] = kFakeEnd[1];
    source->pub.next_input_byte = source->fake_end;
    source->pub.bytes_in_buffer = 2;
    return TRUE;
}

void SkipInputData(j_decompress_ptr cinfo, long count) {
    if (count <= 0) return;
    jpeg_source_mgr* source = cinfo->src;
    while (count > static_cast<long>(source->bytes_in_buffer)) {
        count -= static_cast<long>(source->bytes_in_buffer);
        FillInputBuffer(cinfo);
    }
    source->next_input_byte += count;
    source->bytes_in_buffer -= static_cast<size_t>(count);
}

void InstallMemorySource(j_decompress_ptr cinfo, const uint8_t* data, int32_t length) {
    auto* source = static_cast<MemorySource*>((*cinfo->mem->alloc_small)(
        reinterpret_cast<j_common_ptr>(cinfo), JPOOL_PERMANENT, sizeof(MemorySource)));
    source->pub.init_source = &InitSource;
    source->pub.fill_input_buffer = &FillInputBuffer;
    source->pub.skip_input_data = &SkipInputData;
    source->pub.resync_to_restart = &jpeg_resync_to_restart;
    source->pub.term_source = &TermSource;
    source->pub.next_input_byte = nullptr;
    source->pub.bytes_in_buffer = 0;
    source->data = data;
    source->remaining = static_cast<size_t>(length);
    cinfo->src = &source->pub;
}

// The library's message goes out as usual; then control returns to the decoder layer.
void JumpBack(j_common_ptr cinfo) {
    (*cinfo->err->output_message)(cinfo);
    longjmp(reinterpret_cast<JpegErrorRecord*>(cinfo->err)->jump, 1);
}

// Samples arrive red, green, blue.
void ConvertRgb(const JpegOutput* output, const JSAMPLE* in, uint8_t* out) {
    for (JDIMENSION x = 0; x < output->width; ++x) {
        out[0] = in[2];
        out[1] = in[1];
        out[2] = in[0];
        in += 3;
        out += 3;
    }
}

void JpegFree(ImageDecodeState* state) {
    if (state->jpeg.decompressor) {
        jpeg_destroy_decompress(state->jpeg.decompressor);
        HeapFree(Runtime_Heap(), 0, state->jpeg.decompressor);
    }
    if (state->jpeg.error_record) HeapFree(Runtime_Heap(), 0, state->jpeg.error_record);
    state->jpeg.decompressor = nullptr;
    state->jpeg.error_record = nullptr;
    state->jpeg.output = nullptr;
}

// Nothing in this function may need a destructor: libjpeg's errors longjmp across it.
int32_t JpegCheck(ImageDecodeState* state) {
    // The start-of-image marker first: other data is refused before anything is taken.
    if (state->length < 2 || state->data[0] != 0xFF || state->data[1] != 0xD8) return 0;
    // Zeroed, so that a decompressor the library never set up is safe to destroy.
    state->jpeg.decompressor = static_cast<jpeg_decompress_struct*>(
        HeapAlloc(Runtime_Heap(), HEAP_ZERO_MEMORY, sizeof(jpeg_decompress_struct)));
    state->jpeg.error_record = static_cast<JpegErrorRecord*>(
        HeapAlloc(Runtime_Heap(), HEAP_ZERO_MEMORY, sizeof(JpegErrorRecord)));
    if (!state->jpeg.decompressor || !state->jpeg.error_record) {
        JpegFree(state);
        return 0;
    }
    j_decompress_ptr cinfo = state->jpeg.decompressor;
    JpegErrorRecord* errors = state->jpeg.error_record;
    // The library's errors jump back here instead of ending the program.
    cinfo->err = jpeg_std_error(&errors->manager);
    errors->manager.error_exit = &JumpBack;
    errors->manager.trace_level = -1;
    if (setjmp(errors->jump)) {
        JpegFree(state);
        return 0;
    }
    jpeg_create_decompress(cinfo);
    errors->manager.addon_message_table = nullptr;
    errors->manager.first_addon_message = 1000;
    errors->manager.last_addon_message = 1018;
    errors->manager.trace_level = 0;
    InstallMemorySource(cinfo, state->data, state->length);
    // Oversized pictures are refused before the library allocates for them.
    if (jpeg_read_header(cinfo, TRUE) != JPEG_HEADER_OK ||
        !ImageDecoder_SizeAllowed(cinfo->image_width, cinfo->image_height)) {
        JpegFree(state);
        return 0;
    }
    // Grey pictures come out as three equal samples.
    cinfo->dct_method = JDCT_ISLOW;
    if (cinfo->jpeg_color_space == JCS_GRAYSCALE) cinfo->out_color_space = JCS_RGB;
    // One row of samples at a time, converted into the caller's row.
    auto* output = static_cast<JpegOutput*>((*cinfo->mem->alloc_small)(
        reinterpret_cast<j_common_ptr>(cinfo), JPOOL_IMAGE, sizeof(JpegOutput)));
    state->jpeg.output = output;
    jpeg_calc_output_dimensions(cinfo);
    // CMYK and YCCK pictures come out with four samples per pixel, which no conversion here
    // turns into colours: they are refused rather than drawn as noise.
    if (cinfo->output_components != 3) {
        JpegFree(state);
        return 0;
    }
    output->width = cinfo->output_width;
    output->data_width = cinfo->output_width * static_cast<JDIMENSION>(cinfo->output_components);
    output->row_width = (output->data_width + 3) & ~JDIMENSION{3};
    output->samples_height = 1;
    output->samples = (*cinfo->mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(cinfo),
                                                  JPOOL_IMAGE, output->row_width, 1);
    output->convert = &ConvertRgb;
    jpeg_start_decompress(cinfo);
    state->width = static_cast<int32_t>(cinfo->output_width);
    state->height = static_cast<int32_t>(cinfo->output_height);
    state->source_bits = cinfo->output_components * 8;
    state->depth = 24;
    return 1;
}

int32_t JpegDecode(ImageDecodeState* state, uint8_t* buffer, int32_t pitch, int32_t flags) {
    j_decompress_ptr cinfo = state->jpeg.decompressor;
    JpegOutput* output = state->jpeg.output;
    if (setjmp(state->jpeg.error_record->jump)) return 0;
    const int64_t height = state->height;
    const bool bottom_up = (flags & kImageDecodeBottomUp) != 0;
    for (int64_t row = 0; row < height; ++row) {
        output->destination = buffer + (bottom_up ? height - 1 - row : row) * pitch;
        // Our source never suspends; a row that does not come is a broken decompressor.
        if (jpeg_read_scanlines(cinfo, output->samples, output->samples_height) != 1) return 0;
        output->convert(output, output->samples[0], output->destination);
    }
    jpeg_finish_decompress(cinfo);
    return 1;
}

const ImageDecoderEntry kJpegDecoder = {&JpegCheck, &JpegDecode, &JpegFree};

}  // namespace

void ImageDecoder_UseJpeg() {
    if (!ImageDecoder_IsRegistered(&kJpegDecoder)) ImageDecoder_Register(&kJpegDecoder);
}
