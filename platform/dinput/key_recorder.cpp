// Recording keyboard scripts: runs of frames with the same keys down become one line each.
#include "platform/dinput/key_recorder.h"

#include <cerrno>
#include <cstring>

#include "platform/dinput/key_script.h"

KeyRecorder::~KeyRecorder() {
    Close();
}

bool KeyRecorder::Open(const std::string& path, std::string* error) {
    Close();
    file_ = std::fopen(path.c_str(), "w");
    if (!file_) {
        if (error) *error = std::strerror(errno);
        return false;
    }
    std::fputs("# Keyboard script recorded with KAVRO_RECORD: frame or range, then the keys.\n",
               file_);
    std::fflush(file_);
    return true;
}

std::string KeyRecorder::LineOf(uint32_t first, uint32_t last, const std::vector<uint8_t>& keys) {
    if (keys.empty()) return std::string();
    std::string line = std::to_string(first);
    if (last != first) {
        line += '-';
        line += std::to_string(last);
    }
    for (uint8_t code : keys) {
        line += ' ';
        line += KeyScript_NameOf(code);
    }
    return line;
}

void KeyRecorder::WriteRun() {
    if (!in_run_ || !file_) return;
    std::string line = LineOf(run_first_, run_last_, run_keys_);
    if (!line.empty()) {
        line += '\n';
        std::fputs(line.c_str(), file_);
        // A run ends the moment the keys change: keep what is known on disk.
        std::fflush(file_);
    }
    in_run_ = false;
}

void KeyRecorder::Add(uint32_t frame, const uint8_t keys[256]) {
    if (!file_) return;
    std::vector<uint8_t> down;
    for (int i = 1; i < 256; ++i) {
        if (keys[i] & 0x80) down.push_back(static_cast<uint8_t>(i));
    }
    if (in_run_ && frame == run_last_ + 1 && down == run_keys_) {
        run_last_ = frame;
        return;
    }
    WriteRun();
    run_first_ = run_last_ = frame;
    run_keys_ = std::move(down);
    in_run_ = true;
}

void KeyRecorder::Close() {
    WriteRun();
    if (file_) std::fclose(file_);
    file_ = nullptr;
}
