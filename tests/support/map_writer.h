// Level map files for tests: a grid of cells with tileset names and raw bytes after them,
// written by the one map-file writer.
#pragma once
#include <string>
#include <vector>

#include "content/map_file_writer.h"

using TestCell = kavro_content::MapCellRecord;

class TestMap {
  public:
    TestMap(int w, int h, int l, int tile_size = 32)
        : shape_{tile_size, w, h, l}, cells_((w + 1) * (h + 1) * (l + 1)) {}

    TestCell& At(int x, int y, int layer) {
        return cells_[kavro_content::MapCellIndex(shape_, x, y, layer)];
    }
    // Fills a rectangle of one layer (inclusive bounds).
    void Fill(int x0, int y0, int x1, int y1, int layer, const TestCell& c) {
        for (int y = y0; y <= y1; ++y)
            for (int x = x0; x <= x1; ++x) At(x, y, layer) = c;
    }
    std::vector<std::string> tilesets;
    std::string info;  // raw bytes after the names
    std::string header = std::string(kavro_content::kMapFileHeader);

    std::string Bytes() const {
        std::string out;
        kavro_content::WriteMapFile(out, shape_, cells_, tilesets, info, header);
        return out;
    }

  private:
    kavro_content::MapFileShape shape_;
    std::vector<TestCell> cells_;
};
