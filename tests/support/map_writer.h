// Writes level map files for tests: the header, cell records, tileset names and info text,
// in the little-endian layout the map engine reads.
#pragma once
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

struct TestCell {
    int16_t tile = -1;
    int16_t alpha = 255;
    int16_t attribute = 0;
    int8_t animated = 0;
    int16_t first_frame = 0;
    int16_t last_frame = 0;
    float anim_speed = 0.0f;
};

class TestMap {
  public:
    TestMap(int w, int h, int l, int tile_size = 32)
        : w_(w), h_(h), l_(l), t_(tile_size), cells_((w + 1) * (h + 1) * (l + 1)) {}

    TestCell& At(int x, int y, int layer) { return cells_[(layer * (h_ + 1) + y) * (w_ + 1) + x]; }
    // Fills a rectangle of one layer (inclusive bounds).
    void Fill(int x0, int y0, int x1, int y1, int layer, const TestCell& c) {
        for (int y = y0; y <= y1; ++y)
            for (int x = x0; x <= x1; ++x) At(x, y, layer) = c;
    }
    std::vector<std::string> tilesets;
    std::string info;  // raw bytes after the names
    std::string header = "LVD[20]";

    std::string Bytes() const {
        std::string out = header.substr(0, 7);
        Put16(out, t_);
        Put16(out, w_);
        Put16(out, h_);
        out += static_cast<char>(l_);
        for (int layer = 0; layer <= l_; ++layer)
            for (int y = 0; y <= h_; ++y)
                for (int x = 0; x <= w_; ++x) {
                    const TestCell& c = cells_[(layer * (h_ + 1) + y) * (w_ + 1) + x];
                    Put16(out, c.tile);
                    Put16(out, c.alpha);
                    Put16(out, c.attribute);
                    out += static_cast<char>(c.animated);
                    Put16(out, c.first_frame);
                    Put16(out, c.last_frame);
                    char f[4];
                    std::memcpy(f, &c.anim_speed, 4);
                    out.append(f, 4);
                }
        Put16(out, static_cast<int>(tilesets.size()) - 1);
        for (const std::string& name : tilesets) out += name + "\r\n";
        out += info;
        return out;
    }

  private:
    static void Put16(std::string& out, int v) {
        out += static_cast<char>(v & 0xFF);
        out += static_cast<char>((v >> 8) & 0xFF);
    }
    int w_, h_, l_, t_;
    std::vector<TestCell> cells_;
};
