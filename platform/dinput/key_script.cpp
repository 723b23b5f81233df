// Keyboard scripts: parsing the text, and the keys of each frame.
#include "platform/dinput/key_script.h"

#include <strings.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "platform/host/frame_numbers.h"

namespace {

struct KeyName {
    const char* name;
    uint8_t code;
};

const KeyName kNames[] = {
    {"Escape", 0x01}, {"Space", 0x39},  {"Up", 0xC8},       {"Down", 0xD0},    {"Left", 0xCB},
    {"Right", 0xCD},  {"Return", 0x1C}, {"LeftCtrl", 0x1D}, {"LeftAlt", 0x38}, {"LeftShift", 0x2A},
};

std::vector<std::string> Words(const std::string& line) {
    std::vector<std::string> out;
    size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t' || line[i] == '\r')) ++i;
        size_t start = i;
        while (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '\r') ++i;
        if (i > start) out.push_back(line.substr(start, i - start));
    }
    return out;
}

}  // namespace

int32_t KeyScript_CodeOf(const std::string& name) {
    for (const KeyName& k : kNames) {
        if (strcasecmp(k.name, name.c_str()) == 0) return k.code;
    }
    if (name.size() >= 3 && name.size() <= 4 && name[0] == '0' &&
        (name[1] == 'x' || name[1] == 'X')) {
        int32_t v = 0;
        for (size_t i = 2; i < name.size(); ++i) {
            char c = name[i];
            int d = (c >= '0' && c <= '9')   ? c - '0'
                    : (c >= 'a' && c <= 'f') ? c - 'a' + 10
                    : (c >= 'A' && c <= 'F') ? c - 'A' + 10
                                             : -1;
            if (d < 0) return -1;
            v = v * 16 + d;
        }
        return v == 0 ? -1 : v;  // no key has scan code 0
    }
    return -1;
}

std::string KeyScript_NameOf(uint8_t code) {
    for (const KeyName& k : kNames) {
        if (k.code == code) return k.name;
    }
    char text[8];
    std::snprintf(text, sizeof(text), "0x%02X", code);
    return text;
}

bool KeyScript::Parse(const std::string& text, std::string* error) {
    entries_.clear();
    next_ = 0;
    active_.clear();
    last_frame_ = 0;
    size_t pos = 0;
    uint32_t line_number = 0;
    auto fail = [&](const std::string& why) {
        if (error) *error = "line " + std::to_string(line_number) + ": " + why;
        entries_.clear();
        return false;
    };
    while (pos < text.size()) {
        size_t end = text.find('\n', pos);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(pos, end - pos);
        pos = end + 1;
        ++line_number;
        size_t hash = line.find('#');
        if (hash != std::string::npos) line.resize(hash);
        std::vector<std::string> words = Words(line);
        if (words.empty()) continue;
        KeyScriptEntry entry{};
        const std::string& frames = words[0];
        bool is_range = false;
        if (!Host_ParseFrameRange(frames, &entry.first, &entry.last, &is_range)) {
            if (!is_range) return fail("bad frame \"" + frames + "\" (frames count from 1)");
            return fail("bad frame range \"" + frames + "\" (expected A-B, frames from 1)");
        }
        if (entry.last < entry.first) {
            return fail("frame range \"" + frames + "\" runs backwards");
        }
        for (size_t i = 1; i < words.size(); ++i) {
            int32_t code = KeyScript_CodeOf(words[i]);
            if (code < 0) {
                return fail("unknown key \"" + words[i] +
                            "\" (use Escape, Space, Up, Down, Left, Right, Return, LeftCtrl, "
                            "LeftAlt, LeftShift or a scan code 0x01..0xFF)");
            }
            entry.keys.push_back(static_cast<uint8_t>(code));
        }
        entries_.push_back(std::move(entry));
    }
    std::stable_sort(
        entries_.begin(), entries_.end(),
        [](const KeyScriptEntry& a, const KeyScriptEntry& b) { return a.first < b.first; });
    return true;
}

void KeyScript::KeysAt(uint32_t frame, uint8_t keys[256]) {
    std::memset(keys, 0, 256);
    if (frame < last_frame_) {
        // Going back: start the walk over.
        next_ = 0;
        active_.clear();
    }
    last_frame_ = frame;
    while (next_ < entries_.size() && entries_[next_].first <= frame) active_.push_back(next_++);
    size_t kept = 0;
    for (size_t i : active_) {
        const KeyScriptEntry& e = entries_[i];
        if (e.last < frame) continue;  // over for good
        active_[kept++] = i;
        for (uint8_t code : e.keys) keys[code] = 0x80;
    }
    active_.resize(kept);
}
