// KAVRO_RECORD: writes the snapshots the keyboard returns as a keyboard script, runs of equal
// frames as ranges, so that replaying the file with KAVRO_KEYS gives the same snapshots.
#pragma once
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

class KeyRecorder {
  public:
    ~KeyRecorder();
    // Opens (truncates) the file; false with the reason in `error` when it cannot be written.
    bool Open(const std::string& path, std::string* error);
    bool IsOpen() const { return file_ != nullptr; }
    // The snapshot of frame `frame` (from 1, rising).
    void Add(uint32_t frame, const uint8_t keys[256]);
    // Writes the run still open and closes the file.
    void Close();
    // The script line of a run: "12 Right Space", "1-60 Right"; empty for a run with no key.
    static std::string LineOf(uint32_t first, uint32_t last, const std::vector<uint8_t>& keys);

  private:
    void WriteRun();
    std::FILE* file_ = nullptr;
    uint32_t run_first_ = 0;
    uint32_t run_last_ = 0;
    std::vector<uint8_t> run_keys_;
    bool in_run_ = false;
};
