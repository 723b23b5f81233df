// A device context over plain test memory, and questions about its pixels: the colour at a
// point, and where (and how often) a colour appears.
#pragma once
#include <cstdint>
#include <vector>

#include "platform/gdi/gdi.h"

struct PixelBox {
    int left = 0, top = 0, right = 0, bottom = 0;  // right and bottom exclusive; empty: all 0
    bool operator==(const PixelBox&) const = default;
};

class TestSurface {
  public:
    TestSurface(int width, int height, GdiPixelFormat format = GdiPixelFormat::kX8R8G8B8,
                bool is_screen = false)
        : bytes_per_pixel_(
              (format == GdiPixelFormat::kX8R8G8B8 || format == GdiPixelFormat::kA8R8G8B8) ? 4 : 2),
          // Rows carry 8 spare bytes so that writes past a row's end would show.
          pitch_(width * bytes_per_pixel_ + 8),
          memory_(static_cast<size_t>(pitch_) * height / 4 + 1, 0) {
        surface_ = GdiSurface{memory_.data(), pitch_, width, height, format, is_screen};
        dc_ = Gdi_CreateSurfaceDC(surface_);
    }
    ~TestSurface() {
        if (dc_) Gdi_DeleteSurfaceDC(dc_);
    }
    TestSurface(const TestSurface&) = delete;
    TestSurface& operator=(const TestSurface&) = delete;

    HDC dc() const { return dc_; }
    const GdiSurface& surface() const { return surface_; }
    int width() const { return surface_.width; }
    int height() const { return surface_.height; }

    uint32_t Raw(int x, int y) const {
        const auto* row =
            reinterpret_cast<const uint8_t*>(memory_.data()) + static_cast<size_t>(y) * pitch_;
        if (bytes_per_pixel_ == 4) return reinterpret_cast<const uint32_t*>(row)[x];
        return reinterpret_cast<const uint16_t*>(row)[x];
    }
    void SetRaw(int x, int y, uint32_t v) {
        auto* row = reinterpret_cast<uint8_t*>(memory_.data()) + static_cast<size_t>(y) * pitch_;
        if (bytes_per_pixel_ == 4) {
            reinterpret_cast<uint32_t*>(row)[x] = v;
        } else {
            reinterpret_cast<uint16_t*>(row)[x] = static_cast<uint16_t>(v);
        }
    }
    // The spare bytes after every row are untouched.
    bool PaddingClean() const {
        for (int y = 0; y < height(); ++y) {
            const auto* row =
                reinterpret_cast<const uint8_t*>(memory_.data()) + static_cast<size_t>(y) * pitch_;
            for (int i = width() * bytes_per_pixel_; i < pitch_; ++i) {
                if (row[i]) return false;
            }
        }
        return true;
    }
    COLORREF At(int x, int y) const { return GetPixel(dc_, x, y); }
    void Fill(COLORREF c) {
        RECT all{0, 0, width(), height()};
        HBRUSH b = CreateSolidBrush(c);
        FillRect(dc_, &all, b);
        DeleteObject(b);
    }
    // The smallest box holding every pixel of colour c.
    PixelBox BoxOf(COLORREF c) const {
        PixelBox b{width(), height(), 0, 0};
        bool any = false;
        for (int y = 0; y < height(); ++y) {
            for (int x = 0; x < width(); ++x) {
                if (At(x, y) != c) continue;
                any = true;
                if (x < b.left) b.left = x;
                if (y < b.top) b.top = y;
                if (x + 1 > b.right) b.right = x + 1;
                if (y + 1 > b.bottom) b.bottom = y + 1;
            }
        }
        return any ? b : PixelBox{};
    }
    int Count(COLORREF c) const {
        int n = 0;
        for (int y = 0; y < height(); ++y) {
            for (int x = 0; x < width(); ++x) n += At(x, y) == c;
        }
        return n;
    }

  private:
    int bytes_per_pixel_;
    int pitch_;
    std::vector<uint32_t> memory_;
    GdiSurface surface_{};
    HDC dc_ = nullptr;
};

constexpr COLORREF kWhite = 0xFFFFFF;
constexpr COLORREF kBlack = 0x000000;
constexpr COLORREF kRed = 0x0000FF;
constexpr COLORREF kGreen = 0x00FF00;
constexpr COLORREF kBlue = 0xFF0000;
