// Keyboard scripts: per-frame key states written as text, one entry per line ("30 Right Space",
// "1-60 Right"; "#" starts a comment). Frames count the keyboard's successful reads from 1.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

struct KeyScriptEntry {
    uint32_t first;
    uint32_t last;              // inclusive
    std::vector<uint8_t> keys;  // scan codes held down in these frames
};

class KeyScript {
  public:
    // Parses the whole text. On a malformed line returns false with `error` naming the line
    // number and the fault; the script is then empty.
    bool Parse(const std::string& text, std::string* error);
    // The keys down in `frame` (from 1): 0x80 for each key named by an entry covering it.
    // Frames are usually asked in rising order; that is the fast path.
    void KeysAt(uint32_t frame, uint8_t keys[256]);
    const std::vector<KeyScriptEntry>& entries() const { return entries_; }

  private:
    std::vector<KeyScriptEntry> entries_;  // sorted by first frame
    size_t next_ = 0;                      // first entry not yet started
    std::vector<size_t> active_;           // started entries that may still cover frames
    uint32_t last_frame_ = 0;
};

// The scan code of a key name of the scripts (Escape, Space, Up, Down, Left, Right, Return,
// LeftCtrl, LeftAlt, LeftShift, or 0xNN), or -1.
int32_t KeyScript_CodeOf(const std::string& name);
// The name a script writes for a scan code.
std::string KeyScript_NameOf(uint8_t code);
