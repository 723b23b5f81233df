// Encoders and decoders of the picture files the asset tools write and read back: 24-bit
// bottom-up BMP, RGB PNG (libpng) and baseline JFIF JPEG with an EXIF block (libjpeg).
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "tools/art/canvas.h"

namespace kavro_formats {

using Bytes = std::vector<uint8_t>;

// 24-bit BMP, rows bottom-up and padded to 4 bytes, followed by trailing_bytes zero bytes
// that the file size in the header includes.
Bytes EncodeBmp24(const kavro_art::Canvas& picture, int trailing_bytes);
// Reads a 24-bit bottom-up BMP; throws std::runtime_error on anything else or on a file that
// is shorter than its header says.
kavro_art::Canvas DecodeBmp24(const Bytes& file);

// 8-bit RGB PNG without alpha, not interlaced.
Bytes EncodePng(const kavro_art::Canvas& picture);
// 8-bit RGBA PNG, not interlaced; `rgba` holds width x height pixels, top row first.
Bytes EncodePngRgba(int width, int height, const std::vector<uint8_t>& rgba);
// Any PNG that libpng reads, expanded to 8-bit RGB; alpha is dropped.
kavro_art::Canvas DecodePng(const Bytes& file);

// Baseline sequential JFIF JPEG with the given APP1 payload (which starts "Exif\0\0").
Bytes EncodeJpeg(const kavro_art::Canvas& picture, int quality, const Bytes& app1_exif);
kavro_art::Canvas DecodeJpeg(const Bytes& file);

// A small EXIF block: IFD0 (orientation, resolution, software, picture date) and an Exif
// sub-IFD with the version, colour space and pixel size.
Bytes MakeExifBlock(int width, int height, const std::string& software, const std::string& date);

Bytes ReadFileBytes(const std::string& path);
// Writes (replaces) the whole file.
void WriteFileBytes(const std::string& path, const Bytes& bytes);

}  // namespace kavro_formats
