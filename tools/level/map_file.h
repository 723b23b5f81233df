// The level map file the game's map engine reads ("LVD[20]"): the grid of cell records, the
// tileset names and the info text, little-endian without padding.
#pragma once
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "content/attributes.h"
#include "content/map_file_writer.h"

namespace kavro_level {

using Cell = kavro_content::MapCellRecord;

using kavro_content::kBonus;
using kavro_content::kDeadly;
using kavro_content::kEmpty;
using kavro_content::kFallingSlope;
using kavro_content::kLadder;
using kavro_content::kPlatform;
using kavro_content::kRisingSlope;
using kavro_content::kSolid;

// A map of (last_column + 1) x (last_row + 1) x (last_layer + 1) cells.
class Map {
  public:
    Map(int tile_size, int last_column, int last_row, int last_layer);

    int tile_size() const { return tile_size_; }
    int last_column() const { return last_column_; }
    int last_row() const { return last_row_; }
    int last_layer() const { return last_layer_; }
    bool Inside(int x, int y, int layer) const {
        return x >= 0 && y >= 0 && layer >= 0 && x <= last_column_ && y <= last_row_ &&
               layer <= last_layer_;
    }
    // Outside the grid: an empty cell (reads) or std::out_of_range (writes).
    const Cell& At(int x, int y, int layer) const;
    Cell& At(int x, int y, int layer);
    // Every cell in the file's order.
    const std::vector<Cell>& cells() const { return cells_; }

    std::vector<std::string> tilesets;
    std::vector<std::string> info_lines;

  private:
    int tile_size_, last_column_, last_row_, last_layer_;
    std::vector<Cell> cells_;
};

struct MapFileError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

std::vector<uint8_t> WriteMapFile(const Map& map);
// Reads a file written in the same format; throws MapFileError for a wrong header, sizes out
// of the format's range, or a file that ends early.
Map ReadMapFile(const std::vector<uint8_t>& file);

}  // namespace kavro_level
