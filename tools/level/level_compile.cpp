// Compiling the parsed level into a map: legend keys resolved through the tile catalogue,
// autotile variants chosen from the neighbours, stamps placed, and the level checked for what
// the game relies on (two layers, 32-pixel tiles, a grid of at least 21 x 16 cells, the
// catalogue's tilesets, one start marker, bonuses in layer 1 only).
#include <set>

#include "tools/art/canvas.h"
#include "tools/art/tile_catalogue.h"
#include "tools/level/level_text.h"

namespace kavro_level {

namespace {

using kavro_art::TileFamily;
using kavro_art::TileKind;

enum class Mode { kNone, kFixed, kAutotile, kAnimated, kVariants };

struct Resolved {
    Mode mode = Mode::kNone;
    int32_t tile = -1;  // fixed tile, or the first of the family
    int count = 1;
    std::string group;
    std::set<std::string> joins;  // groups this autotile joins, its own included
    const LegendKey* key = nullptr;
};

constexpr int kGameTileSize = 32;
constexpr int kMinColumns = 21, kMinRows = 16;

std::string FilePart(const std::string& path) {
    size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

class Compiler {
  public:
    explicit Compiler(const LevelSource& s) : s_(s) {}

    Map Run() {
        CheckTilesets();
        for (const auto& [c, key] : s_.keys) resolved_[c] = Resolve(c, key);
        CheckGrid();
        const int w = static_cast<int>(s_.layers[0].rows[0].size()) - 1;
        const int h = static_cast<int>(s_.layers[0].rows.size()) - 1;
        Map map(s_.tile_size, w, h, 1);
        for (const std::string& t : s_.tilesets) map.tilesets.push_back(t);
        map.info_lines = s_.info_lines;
        for (int layer = 0; layer <= 1; ++layer)
            for (int y = 0; y <= h; ++y)
                for (int x = 0; x <= w; ++x) FillCell(map, x, y, layer);
        for (const Stamp& stamp : s_.stamps) Place(map, stamp);
        CheckCells(map);
        return map;
    }

  private:
    [[noreturn]] void Fail(int line, const std::string& message) const {
        throw LevelError(s_.file, line, message);
    }

    void CheckTilesets() const {
        auto expected = kavro_art::Tilesets();
        if (s_.tilesets.size() != expected.size())
            Fail(s_.tileset_lines.empty() ? 1 : s_.tileset_lines.back(),
                 "the level needs the " + std::to_string(expected.size()) +
                     " tilesets of the tile catalogue, in order; it names " +
                     std::to_string(s_.tilesets.size()));
        for (size_t i = 0; i < expected.size(); ++i)
            if (FilePart(s_.tilesets[i]) != expected[i].file_name)
                Fail(s_.tileset_lines[i], "tileset " + std::to_string(i + 1) + " must be " +
                                              std::string(expected[i].file_name) +
                                              " (tile numbers follow the catalogue's order)");
        if (s_.tile_size != kGameTileSize)
            Fail(s_.tile_size_line, "the game draws 32-pixel tiles; tile-size must be 32");
    }

    Resolved Resolve(char c, const LegendKey& key) const {
        Resolved r;
        r.key = &key;
        const std::string& spec = key.tile_spec;
        auto fail = [&](const std::string& m) {
            Fail(key.line, std::string("key '") + c + "': " + m);
        };
        if (spec == "none") {
            r.mode = Mode::kNone;
        } else if (spec.find_first_not_of("0123456789") == std::string::npos) {
            long n = spec.size() <= 6 ? std::stol(spec) : -1;
            if (n < 0 || n >= kavro_art::TotalTileCount())
                fail("tile " + spec + " is not in the tilesets (0 to " +
                     std::to_string(kavro_art::TotalTileCount() - 1) + ")");
            r.mode = Mode::kFixed;
            r.tile = static_cast<int32_t>(n);
        } else {
            size_t colon = spec.find(':');
            std::string name = spec.substr(0, colon);
            const TileFamily* family = kavro_art::FindTileFamily(name);
            if (!family) fail("no tile family \"" + name + "\"");
            r.group = name;
            if (colon != std::string::npos) {
                std::string index = spec.substr(colon + 1);
                if (index.empty() || index.size() > 4 ||
                    index.find_first_not_of("0123456789") != std::string::npos ||
                    std::stoi(index) >= family->count)
                    fail("\"" + name + "\" has tiles 0 to " + std::to_string(family->count - 1));
                r.mode = Mode::kFixed;
                r.tile = family->first + std::stoi(index);
            } else {
                r.tile = family->first;
                r.count = family->count;
                switch (family->kind) {
                    case TileKind::kSingle:
                        r.mode = Mode::kFixed;
                        break;
                    case TileKind::kAutotile:
                        r.mode = Mode::kAutotile;
                        break;
                    case TileKind::kAnimation:
                        r.mode = Mode::kAnimated;
                        break;
                    case TileKind::kVariants:
                        r.mode = Mode::kVariants;
                        break;
                    case TileKind::kStamp:
                        fail("\"" + name +
                             "\" is a stamp: place it with \"stamp\", or name one tile as " + name +
                             ":N");
                }
            }
        }
        if (key.speed && r.mode != Mode::kAnimated) fail("speed is for animated families only");
        if (!key.speed && r.mode == Mode::kAnimated) fail("an animated family needs speed=");
        if (!key.joins.empty() && r.mode != Mode::kAutotile)
            fail("join is for autotile families only");
        if (!key.group.empty()) r.group = key.group;
        if (r.mode == Mode::kNone && !key.group.empty()) fail("an empty cell joins no group");
        r.joins.insert(r.group);
        r.joins.insert(key.joins.begin(), key.joins.end());
        return r;
    }

    void CheckGrid() const {
        if (s_.layers.size() != 2)
            Fail(s_.layers.empty() ? 1 : s_.layers.back().line,
                 "the game draws layers 0 and 1: the level needs exactly two layers");
        const size_t width = s_.layers[0].rows[0].size(), height = s_.layers[0].rows.size();
        for (const LayerRows& layer : s_.layers) {
            if (layer.rows.size() != height)
                Fail(layer.line, "layer has " + std::to_string(layer.rows.size()) +
                                     " rows, layer 0 has " + std::to_string(height));
            for (size_t y = 0; y < layer.rows.size(); ++y)
                if (layer.rows[y].size() != width)
                    Fail(layer.row_lines[y], "row is " + std::to_string(layer.rows[y].size()) +
                                                 " cells wide, the first row " +
                                                 std::to_string(width));
        }
        if (width < kMinColumns || height < kMinRows)
            Fail(s_.layers[0].line,
                 "the game needs at least 21 columns and 16 rows; the level has " +
                     std::to_string(width) + " x " + std::to_string(height));
        if (width > 32768 || height > 32768) Fail(s_.layers[0].line, "the level is too large");
        for (size_t l = 0; l < s_.layers.size(); ++l)
            for (size_t y = 0; y < height; ++y)
                for (size_t x = 0; x < width; ++x) {
                    char c = s_.layers[l].rows[y][x];
                    if (!resolved_.count(c))
                        Fail(s_.layers[l].row_lines[y],
                             std::string("no key '") + c + "' (column " + std::to_string(x) + ")");
                }
    }

    const Resolved& At(int x, int y, int layer) const {
        return resolved_.at(s_.layers[layer].rows[y][x]);
    }

    bool Joins(const Resolved& self, int x, int y, int layer) const {
        const LayerRows& rows = s_.layers[layer];
        // Beyond the map's edge the ground goes on.
        if (y < 0 || x < 0 || y >= static_cast<int>(rows.rows.size()) ||
            x >= static_cast<int>(rows.rows[0].size()))
            return true;
        const Resolved& other = At(x, y, layer);
        return other.mode != Mode::kNone && self.joins.count(other.group) > 0;
    }

    void FillCell(Map& map, int x, int y, int layer) const {
        const Resolved& r = At(x, y, layer);
        Cell& cell = map.At(x, y, layer);
        cell.attribute = r.key->attribute;
        cell.alpha = r.key->alpha;
        switch (r.mode) {
            case Mode::kNone:
                cell.tile = -1;
                break;
            case Mode::kFixed:
                cell.tile = static_cast<int16_t>(r.tile);
                break;
            case Mode::kVariants:
                cell.tile = static_cast<int16_t>(r.tile + kavro_art::Hash(x, y, 5) % r.count);
                break;
            case Mode::kAutotile: {
                int mask = (Joins(r, x, y - 1, layer) ? kavro_art::kJoinUp : 0) |
                           (Joins(r, x + 1, y, layer) ? kavro_art::kJoinRight : 0) |
                           (Joins(r, x, y + 1, layer) ? kavro_art::kJoinDown : 0) |
                           (Joins(r, x - 1, y, layer) ? kavro_art::kJoinLeft : 0);
                cell.tile = static_cast<int16_t>(r.tile + mask);
                break;
            }
            case Mode::kAnimated:
                cell.tile = static_cast<int16_t>(r.tile);
                cell.animated = 1;
                cell.first_frame = static_cast<int16_t>(r.tile);
                cell.last_frame = static_cast<int16_t>(r.tile + r.count - 1);
                cell.anim_speed = *r.key->speed;
                break;
        }
    }

    void Place(Map& map, const Stamp& stamp) const {
        const TileFamily* family = kavro_art::FindTileFamily(stamp.family);
        if (!family || family->kind != TileKind::kStamp)
            Fail(stamp.line, "\"" + stamp.family + "\" is not a stamp family");
        const int w = family->stamp_width, h = family->count / family->stamp_width;
        if (stamp.layer > map.last_layer() || stamp.column + w - 1 > map.last_column() ||
            stamp.row + h - 1 > map.last_row())
            Fail(stamp.line, "stamp does not fit inside the map");
        for (int j = 0; j < h; ++j)
            for (int i = 0; i < w; ++i) {
                Cell& cell = map.At(stamp.column + i, stamp.row + j, stamp.layer);
                if (cell.tile != -1 || cell.attribute != 0)
                    Fail(stamp.line, "stamp covers a cell that is not empty (column " +
                                         std::to_string(stamp.column + i) + ", row " +
                                         std::to_string(stamp.row + j) + ")");
                cell = Cell{};
                cell.tile = static_cast<int16_t>(family->first + j * w + i);
            }
    }

    void CheckCells(const Map& map) const {
        const int32_t marker = kavro_art::kStartMarkerTile;
        int markers = 0;
        for (int layer = 0; layer <= 1; ++layer)
            for (int y = 0; y <= map.last_row(); ++y)
                for (int x = 0; x <= map.last_column(); ++x) {
                    const Cell& c = map.At(x, y, layer);
                    const int line = RowLine(s_, layer, y);
                    const std::string where = " (column " + std::to_string(x) + ")";
                    if (layer == 0 && c.tile == marker) {
                        if (c.animated) Fail(line, "the start marker must not be animated" + where);
                        if (++markers > 1)
                            Fail(line, "a second start marker (tile 253) in layer 0" + where);
                    }
                    if (layer == 0 && c.animated && c.first_frame <= marker &&
                        marker <= c.last_frame)
                        Fail(line,
                             "an animation through tile 253 would move the start marker" + where);
                    if (layer == 0 && c.attribute == kBonus)
                        Fail(line, "bonuses are read in layer 1, not layer 0" + where);
                    if (layer == 1 && c.attribute != kEmpty && c.attribute != kBonus)
                        Fail(line, "layer 1 holds only bonuses and scenery (attribute " +
                                       std::to_string(c.attribute) + " has no effect there)" +
                                       where);
                }
        if (markers == 0) Fail(s_.layers[0].line, "layer 0 has no start marker (tile 253)");
    }

    const LevelSource& s_;
    std::map<char, Resolved> resolved_;
};

}  // namespace

Map CompileLevel(const LevelSource& source) {
    return Compiler(source).Run();
}

}  // namespace kavro_level
