// The image decoder registry: decoders tried in registration order turn an image file held in
// memory into plain pixels (24-bit blue-green-red or 32-bit blue-green-red-alpha) written into a
// caller's buffer. The BMP decoder is built in; PNG and JPEG join when the program asks.
#pragma once
#include <cstdint>

struct ImageDecodeState;

// One registered decoder.
struct ImageDecoderEntry {
    // Nonzero when the data is this decoder's format and its header could be read; it then
    // fills width, height, depth, source_bits and its own fields. Zero otherwise, with
    // everything it took already released.
    int32_t (*check)(ImageDecodeState* state);
    // Writes the pixels; nonzero on success.
    int32_t (*decode)(ImageDecodeState* state, uint8_t* buffer, int32_t pitch, int32_t flags);
    // Releases the decoder's own data.
    void (*free)(ImageDecodeState* state);
};

// Library structures the PNG and JPEG decoders keep; opaque to everyone else.
struct png_struct_def;
struct png_info_def;
struct jpeg_decompress_struct;
struct JpegErrorRecord;
struct JpegOutput;

// The one image that is open, from Check through Decode to Free. Zeroed by each open.
struct ImageDecodeState {
    const ImageDecoderEntry* decoder;  // the entry whose Check accepted the data
    const uint8_t* data;               // start of the image file in memory
    int32_t length;                    // bytes the caller vouches for at data
    int32_t from_memory;               // 1: the only source there is
    int32_t width;
    int32_t height;
    int32_t depth;        // bits per pixel of the decoded output: 24 or 32
    int32_t source_bits;  // the file's own bits per pixel (information only)
    // Decoder fields, private to the decoder that accepted the image.
    union {
        struct {
            const uint8_t* file_header;
        } bmp;
        struct {
            png_struct_def* png;
            png_info_def* info;
            const uint8_t* read_position;  // next byte to hand to the library
            int32_t color_type;            // after the transformations chosen in Check
            int32_t bit_depth;
            int32_t passes;  // 7 for an interlaced image, else 1
        } png;
        struct {
            jpeg_decompress_struct* decompressor;
            JpegErrorRecord* error_record;
            JpegOutput* output;
        } jpeg;
    };
};

// Number of decoders the registry can hold.
constexpr int32_t kImageDecoderSlots = 30;
// Flags bit of ImageDecoder_Decode: write the top row at the bottom of the buffer (PNG and JPEG).
constexpr int32_t kImageDecodeBottomUp = 2;
// Largest image any decoder accepts: each side at most 16384 pixels and at most 16 Mi pixels
// (64 MiB at depth 32), so width x 4 x (height + 1) always fits a signed 32-bit size.
constexpr int32_t kImageDecoderMaxSide = 16384;
constexpr int64_t kImageDecoderMaxPixels = int64_t{1} << 24;

// True when a picture of this size may be decoded: both sides positive and within the bounds.
bool ImageDecoder_SizeAllowed(int64_t width, int64_t height);

// Empties the registry and creates the state record; runs during library start-up.
void ImageDecoder_Init();
// Appends an entry; a full registry ignores it.
void ImageDecoder_Register(const ImageDecoderEntry* entry);
// Registers the BMP decoder (each call appends it again).
void ImageDecoder_UseBmp();
// Register the PNG and the JPEG decoder on the first call; later calls do nothing.
void ImageDecoder_UsePng();
void ImageDecoder_UseJpeg();

// 1 when a registered decoder recognised the `length` bytes at `data`, else 0. An image still
// open from before is closed first.
int32_t ImageDecoder_OpenMemory(const void* data, int32_t length);
// Size and output depth of the last image opened successfully.
int32_t ImageDecoder_Width();
int32_t ImageDecoder_Height();
int32_t ImageDecoder_Depth();
// Writes the open image's pixels: row r at buffer + r x pitch (reversed with
// kImageDecodeBottomUp), width x depth / 8 bytes per row; then closes the image. Returns the
// decoder's result, 0 when no image is open.
int32_t ImageDecoder_Decode(uint8_t* buffer, int32_t pitch, int32_t flags);
// Closes an image opened but not decoded.
void ImageDecoder_Close();

// The state record, for decoders and for reading source_bits.
ImageDecodeState* ImageDecoder_State();
