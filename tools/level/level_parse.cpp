// Parsing the level text into its directives, legend, layer rows, stamps and info text.
#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <sstream>

#include "tools/level/level_text.h"

namespace kavro_level {

namespace {

std::vector<std::string> Words(const std::string& line) {
    std::istringstream in(line);
    std::vector<std::string> words;
    for (std::string w; in >> w;) words.push_back(w);
    return words;
}

bool ParseInt(const std::string& s, long lo, long hi, long& out) {
    if (s.empty()) return false;
    char* end = nullptr;
    errno = 0;
    long v = std::strtol(s.c_str(), &end, 10);
    if (errno != 0 || *end != '\0' || v < lo || v > hi) return false;
    out = v;
    return true;
}

bool ParseAttribute(const std::string& s, int16_t& out) {
    static const char* kNames[] = {"empty", "solid",  "platform", "deadly",
                                   "bonus", "ladder", "rise",     "fall"};
    for (int i = 0; i < 8; ++i)
        if (s == kNames[i]) {
            out = static_cast<int16_t>(i);
            return true;
        }
    long v;
    if (!ParseInt(s, 0, 32767, v)) return false;
    out = static_cast<int16_t>(v);
    return true;
}

bool Printable(const std::string& s) {
    for (unsigned char c : s)
        if (c < 32 || c == 127) return false;
    return true;
}

class Parser {
  public:
    Parser(const std::string& file, const std::string& text) {
        source_.file = file;
        Split(text);
    }

    LevelSource Run() {
        bool have_header = false;
        while (next_ < lines_.size()) {
            const int number = static_cast<int>(next_) + 1;
            const std::string line = lines_[next_++];
            std::vector<std::string> w = Words(line);
            if (w.empty() || w[0][0] == '#') continue;
            if (!have_header) {
                if (w.size() != 2 || w[0] != "kavro-level" || w[1] != "1")
                    Fail(number, "the level must begin with \"kavro-level 1\"");
                have_header = true;
                continue;
            }
            if (w[0] == "tile-size")
                TileSize(number, w);
            else if (w[0] == "tileset")
                Tileset(number, line);
            else if (w[0] == "key")
                Key(number, line, w);
            else if (w[0] == "layer")
                Layer(number, w);
            else if (w[0] == "stamp")
                StampLine(number, w);
            else if (w[0] == "info" && w.size() == 1)
                Info(number);
            else
                Fail(number, "unknown directive \"" + w[0] + "\"");
        }
        if (!have_header) Fail(1, "the level must begin with \"kavro-level 1\"");
        return std::move(source_);
    }

  private:
    [[noreturn]] void Fail(int line, const std::string& message) {
        throw LevelError(source_.file, line, message);
    }

    void Split(const std::string& text) {
        std::string line;
        for (size_t i = 0; i < text.size(); ++i) {
            if (text[i] == '\n') {
                if (!line.empty() && line.back() == '\r') line.pop_back();
                lines_.push_back(line);
                line.clear();
            } else {
                line += text[i];
            }
        }
        if (!line.empty()) {
            if (line.back() == '\r') line.pop_back();
            lines_.push_back(line);
        }
    }

    void TileSize(int number, const std::vector<std::string>& w) {
        long v;
        if (w.size() != 2 || !ParseInt(w[1], 1, 32767, v))
            Fail(number, "tile-size wants one number");
        source_.tile_size = static_cast<int>(v);
        source_.tile_size_line = number;
    }

    void Tileset(int number, const std::string& line) {
        std::string name = line.substr(line.find("tileset") + 7);
        size_t a = name.find_first_not_of(" \t"), b = name.find_last_not_of(" \t");
        if (a == std::string::npos) Fail(number, "tileset wants a file name");
        name = name.substr(a, b - a + 1);
        if (!Printable(name)) Fail(number, "tileset name holds control characters");
        source_.tilesets.push_back(name);
        source_.tileset_lines.push_back(number);
    }

    void Key(int number, const std::string& line, const std::vector<std::string>& w) {
        // The key character is the first non-blank after "key"; it may be '#'.
        size_t at = line.find("key") + 3;
        while (at < line.size() && (line[at] == ' ' || line[at] == '\t')) ++at;
        if (at >= line.size() ||
            (at + 1 < line.size() && line[at + 1] != ' ' && line[at + 1] != '\t'))
            Fail(number, "key wants a single character and a tile");
        char c = line[at];
        if (static_cast<unsigned char>(c) < 33 || static_cast<unsigned char>(c) > 126)
            Fail(number, "a key is one printable character other than blank");
        if (source_.keys.count(c))
            Fail(number, std::string("key '") + c + "' is defined twice (first on line " +
                             std::to_string(source_.keys[c].line) + ")");
        if (w.size() < 3) Fail(number, std::string("key '") + c + "' wants a tile");
        LegendKey key;
        key.line = number;
        key.tile_spec = w[2];
        for (size_t i = 3; i < w.size(); ++i) {
            size_t eq = w[i].find('=');
            if (eq == std::string::npos) Fail(number, "expected NAME=VALUE, got \"" + w[i] + "\"");
            std::string name = w[i].substr(0, eq), value = w[i].substr(eq + 1);
            long v;
            if (name == "attr") {
                if (!ParseAttribute(value, key.attribute))
                    Fail(number, "unknown attribute \"" + value + "\"");
            } else if (name == "alpha") {
                if (!ParseInt(value, 0, 255, v)) Fail(number, "alpha must be 0 to 255");
                key.alpha = static_cast<int16_t>(v);
            } else if (name == "speed") {
                char* end = nullptr;
                float f = std::strtof(value.c_str(), &end);
                if (value.empty() || *end != '\0' || !std::isfinite(f) || f <= 0.0f || f > 8.0f)
                    Fail(number, "speed must be a number above 0 and at most 8");
                key.speed = f;
            } else if (name == "group") {
                if (value.empty()) Fail(number, "group wants a name");
                key.group = value;
            } else if (name == "join") {
                std::istringstream list(value);
                for (std::string g; std::getline(list, g, ',');) {
                    if (g.empty()) Fail(number, "join wants names separated by commas");
                    key.joins.push_back(g);
                }
            } else {
                Fail(number, "unknown key setting \"" + name + "\"");
            }
        }
        source_.keys[c] = key;
    }

    void Layer(int number, const std::vector<std::string>& w) {
        long layer;
        if (w.size() != 2 || !ParseInt(w[1], 0, 127, layer))
            Fail(number, "layer wants a number 0 to 127");
        if (layer != static_cast<long>(source_.layers.size()))
            Fail(number, "layers must come in order, starting at 0: expected layer " +
                             std::to_string(source_.layers.size()));
        LayerRows rows;
        rows.line = number;
        for (;;) {
            if (next_ >= lines_.size()) Fail(number, "layer block has no \"end\"");
            const int row_number = static_cast<int>(next_) + 1;
            const std::string& row = lines_[next_++];
            if (row == "end") break;
            if (row.empty()) Fail(row_number, "empty row inside a layer block");
            rows.rows.push_back(row);
            rows.row_lines.push_back(row_number);
        }
        if (rows.rows.empty()) Fail(number, "layer block has no rows");
        source_.layers.push_back(rows);
    }

    void StampLine(int number, const std::vector<std::string>& w) {
        long layer, column, row;
        if (w.size() != 5 || !ParseInt(w[2], 0, 127, layer) || !ParseInt(w[3], 0, 32767, column) ||
            !ParseInt(w[4], 0, 32767, row))
            Fail(number, "stamp wants FAMILY LAYER COLUMN ROW");
        source_.stamps.push_back({number, w[1], static_cast<int>(layer), static_cast<int>(column),
                                  static_cast<int>(row)});
    }

    void Info(int number) {
        for (;;) {
            if (next_ >= lines_.size()) Fail(number, "info block has no \"end\"");
            const int line_number = static_cast<int>(next_) + 1;
            const std::string& line = lines_[next_++];
            if (line == "end") break;
            for (unsigned char c : line)
                if (c < 32 && c != '\t') Fail(line_number, "info text holds control characters");
            source_.info_lines.push_back(line);
        }
    }

    LevelSource source_;
    std::vector<std::string> lines_;
    size_t next_ = 0;
};

}  // namespace

LevelError::LevelError(const std::string& f, int l, const std::string& message)
    : std::runtime_error(f + ":" + std::to_string(l) + ": " + message), file(f), line(l) {}

LevelSource ParseLevelText(const std::string& file_name, const std::string& text) {
    return Parser(file_name, text).Run();
}

int RowLine(const LevelSource& source, int layer, int y) {
    if (layer < 0 || layer >= static_cast<int>(source.layers.size())) return 0;
    const LayerRows& rows = source.layers[layer];
    if (y < 0 || y >= static_cast<int>(rows.row_lines.size())) return rows.line;
    return rows.row_lines[y];
}

}  // namespace kavro_level
