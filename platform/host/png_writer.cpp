// Frame capture files: the picture converted to 8-bit RGB and written with libpng.
#include "platform/host/png_writer.h"

#include <png.h>

#include <cerrno>
#include <csetjmp>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

inline unsigned char Expand5(uint32_t v) {
    return static_cast<unsigned char>((v << 3) | (v >> 2));
}
inline unsigned char Expand6(uint32_t v) {
    return static_cast<unsigned char>((v << 2) | (v >> 4));
}

struct PngErrorContext {
    std::jmp_buf jump;
    char message[200];
};

void OnPngError(png_structp png, png_const_charp message) {
    auto* ctx = static_cast<PngErrorContext*>(png_get_error_ptr(png));
    std::snprintf(ctx->message, sizeof(ctx->message), "%s", message);
    std::longjmp(ctx->jump, 1);
}

void OnPngWarning(png_structp, png_const_charp) {}

}  // namespace

void Host_RowToRgb(const HostFrame& frame, int32_t y, unsigned char* out) {
    const unsigned char* row =
        static_cast<const unsigned char*>(frame.pixels) + static_cast<ptrdiff_t>(y) * frame.pitch;
    switch (frame.format) {
        case HostPixelFormat::kX8R8G8B8:
        case HostPixelFormat::kA8R8G8B8:
            for (int32_t x = 0; x < frame.width; ++x) {
                // Memory order blue, green, red, then the unused or alpha byte.
                out[0] = row[2];
                out[1] = row[1];
                out[2] = row[0];
                row += 4;
                out += 3;
            }
            break;
        case HostPixelFormat::kR5G6B5:
            for (int32_t x = 0; x < frame.width; ++x) {
                uint32_t p = uint32_t{row[0]} | (uint32_t{row[1]} << 8);
                out[0] = Expand5(p >> 11);
                out[1] = Expand6((p >> 5) & 63);
                out[2] = Expand5(p & 31);
                row += 2;
                out += 3;
            }
            break;
        case HostPixelFormat::kX1R5G5B5:
        case HostPixelFormat::kA1R5G5B5:
            for (int32_t x = 0; x < frame.width; ++x) {
                uint32_t p = uint32_t{row[0]} | (uint32_t{row[1]} << 8);
                out[0] = Expand5((p >> 10) & 31);
                out[1] = Expand5((p >> 5) & 31);
                out[2] = Expand5(p & 31);
                row += 2;
                out += 3;
            }
            break;
    }
}

bool Host_WritePng(const std::string& path, const HostFrame& frame, std::string* error) {
    if (!frame.pixels || frame.width <= 0 || frame.height <= 0) {
        if (error) *error = "empty frame";
        return false;
    }
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) {
        if (error) *error = std::strerror(errno);
        return false;
    }
    PngErrorContext ctx{};
    png_structp png =
        png_create_write_struct(PNG_LIBPNG_VER_STRING, &ctx, &OnPngError, &OnPngWarning);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!png || !info) {
        png_destroy_write_struct(&png, nullptr);
        std::fclose(file);
        if (error) *error = "out of memory";
        return false;
    }
    // Declared before setjmp so the jump back leaves it in a defined state.
    std::vector<unsigned char> row(static_cast<size_t>(frame.width) * 3);
    if (setjmp(ctx.jump)) {
        png_destroy_write_struct(&png, &info);
        std::fclose(file);
        if (error) *error = ctx.message;
        return false;
    }
    png_init_io(png, file);
    // Captures are written while the program runs: favour speed over size.
    png_set_compression_level(png, 1);
    png_set_filter(png, 0, PNG_FILTER_SUB);
    png_set_IHDR(png, info, static_cast<png_uint_32>(frame.width),
                 static_cast<png_uint_32>(frame.height), 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int32_t y = 0; y < frame.height; ++y) {
        Host_RowToRgb(frame, y, row.data());
        png_write_row(png, row.data());
    }
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    if (std::fclose(file) != 0) {
        if (error) *error = std::strerror(errno);
        return false;
    }
    return true;
}
