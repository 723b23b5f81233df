// Writing and reading the level map file format.
#include "tools/level/map_file.h"

#include <cstring>

namespace kavro_level {

namespace {

// Reading refuses grids larger than this many cells: far beyond any level, small enough to
// allocate.
constexpr int64_t kMaxCells = 16 * 1024 * 1024;

class Reader {
  public:
    explicit Reader(const std::vector<uint8_t>& bytes) : bytes_(bytes) {}
    uint8_t U8() {
        Need(1);
        return bytes_[at_++];
    }
    int16_t I16() {
        Need(2);
        uint16_t v = bytes_[at_] | bytes_[at_ + 1] << 8;
        at_ += 2;
        return static_cast<int16_t>(v);
    }
    float F32() {
        Need(4);
        uint32_t v = bytes_[at_] | bytes_[at_ + 1] << 8 | bytes_[at_ + 2] << 16 |
                     static_cast<uint32_t>(bytes_[at_ + 3]) << 24;
        at_ += 4;
        float f;
        std::memcpy(&f, &v, 4);
        return f;
    }
    bool AtEnd() const { return at_ >= bytes_.size(); }
    // A line ending in CR, LF or CR LF; the last line may end at the end of the file.
    std::string Line() {
        std::string line;
        while (at_ < bytes_.size() && bytes_[at_] != '\r' && bytes_[at_] != '\n')
            line += static_cast<char>(bytes_[at_++]);
        if (at_ < bytes_.size() && bytes_[at_] == '\r') ++at_;
        if (at_ < bytes_.size() && bytes_[at_] == '\n') ++at_;
        return line;
    }
    void Need(size_t n) const {
        if (bytes_.size() - at_ < n) throw MapFileError("map file ends early");
    }

  private:
    const std::vector<uint8_t>& bytes_;
    size_t at_ = 0;
};

}  // namespace

Map::Map(int tile_size, int last_column, int last_row, int last_layer)
    : tile_size_(tile_size),
      last_column_(last_column),
      last_row_(last_row),
      last_layer_(last_layer) {
    if (tile_size <= 0 || last_column < 0 || last_row < 0 || last_layer < 0)
        throw MapFileError("map size out of range");
    int64_t cells = int64_t{last_column + 1} * (last_row + 1) * (last_layer + 1);
    if (cells > kMaxCells) throw MapFileError("map too large");
    cells_.resize(static_cast<size_t>(cells));
}

const Cell& Map::At(int x, int y, int layer) const {
    static const Cell kOutside{};
    if (!Inside(x, y, layer)) return kOutside;
    return cells_[(static_cast<size_t>(layer) * (last_row_ + 1) + y) * (last_column_ + 1) + x];
}

Cell& Map::At(int x, int y, int layer) {
    if (!Inside(x, y, layer)) throw std::out_of_range("cell outside the map");
    return cells_[(static_cast<size_t>(layer) * (last_row_ + 1) + y) * (last_column_ + 1) + x];
}

std::vector<uint8_t> WriteMapFile(const Map& map) {
    if (map.tile_size() > 32767 || map.last_column() > 32767 || map.last_row() > 32767 ||
        map.last_layer() > 127)
        throw MapFileError("map size does not fit the file format");
    if (map.tilesets.empty() || map.tilesets.size() > 32768)
        throw MapFileError("a map names 1 to 32768 tilesets");
    std::string tail;
    auto check_line = [](const std::string& line) {
        if (line.find_first_of("\r\n") != std::string::npos)
            throw MapFileError("a map text line holds a line break");
    };
    for (const std::string& name : map.tilesets) check_line(name);
    for (const std::string& line : map.info_lines) {
        check_line(line);
        tail += line + "\r\n";
    }
    std::vector<uint8_t> out;
    kavro_content::WriteMapFile(out,
                                kavro_content::MapFileShape{map.tile_size(), map.last_column(),
                                                            map.last_row(), map.last_layer()},
                                map.cells(), map.tilesets, tail);
    return out;
}

Map ReadMapFile(const std::vector<uint8_t>& file) {
    Reader in(file);
    std::string header;
    for (int i = 0; i < 7; ++i) header += static_cast<char>(in.U8());
    if (header.compare(0, 3, "LVD") != 0 || header.compare(4, 2, "20") != 0)
        throw MapFileError("not a level map file (header " + header + ")");
    int tile = in.I16(), w = in.I16(), h = in.I16(), l = static_cast<int8_t>(in.U8());
    if (tile <= 0 || w < 0 || h < 0 || l < 0) throw MapFileError("map size out of range");
    int64_t cells = int64_t{w + 1} * (h + 1) * (l + 1);
    in.Need(static_cast<size_t>(cells) * kavro_content::kMapCellRecordBytes + 2);
    Map map(tile, w, h, l);
    for (int layer = 0; layer <= l; ++layer)
        for (int y = 0; y <= h; ++y)
            for (int x = 0; x <= w; ++x) {
                Cell& c = map.At(x, y, layer);
                c.tile = in.I16();
                c.alpha = in.I16();
                c.attribute = in.I16();
                c.animated = static_cast<int8_t>(in.U8());
                c.first_frame = in.I16();
                c.last_frame = in.I16();
                c.anim_speed = in.F32();
            }
    int names = in.I16();
    if (names < 0) throw MapFileError("negative tileset count");
    for (int i = 0; i <= names; ++i) {
        if (in.AtEnd()) throw MapFileError("map file ends early");
        map.tilesets.push_back(in.Line());
    }
    while (!in.AtEnd()) map.info_lines.push_back(in.Line());
    return map;
}

}  // namespace kavro_level
