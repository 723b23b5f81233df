// Frame capture: parsing the frame list, making the directory, writing the chosen presents.
#include "platform/host/capture.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "platform/host/frame_numbers.h"
#include "platform/host/host.h"
#include "platform/host/host_state.h"
#include "platform/host/png_writer.h"

namespace {

std::string Trim(const std::string& s) {
    size_t a = s.find_first_not_of(" \t");
    if (a == std::string::npos) return std::string();
    size_t b = s.find_last_not_of(" \t");
    return s.substr(a, b - a + 1);
}

bool Wanted(const HostStateBlock& st, uint32_t number) {
    if (st.capture_ranges.empty()) return true;
    for (const auto& r : st.capture_ranges) {
        if (number >= r.first && number <= r.second) return true;
    }
    return false;
}

// mkdir -p: every missing component of `dir`.
bool MakeDirectories(const std::string& dir, std::string* error) {
    std::string part;
    for (size_t i = 0; i <= dir.size(); ++i) {
        if (i == dir.size() || dir[i] == '/') {
            if (!part.empty() && part != "/") {
                if (mkdir(part.c_str(), 0777) != 0 && errno != EEXIST) {
                    *error = part + ": " + std::strerror(errno);
                    return false;
                }
            }
        }
        if (i < dir.size()) part += dir[i];
    }
    struct stat info;
    if (stat(dir.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) {
        *error = dir + ": not a directory";
        return false;
    }
    return true;
}

}  // namespace

bool Host_ParseFrameList(const std::string& text,
                         std::vector<std::pair<uint32_t, uint32_t>>* ranges, std::string* error) {
    ranges->clear();
    if (Trim(text).empty()) return true;
    size_t start = 0;
    while (start <= text.size()) {
        size_t comma = text.find(',', start);
        if (comma == std::string::npos) comma = text.size();
        std::string entry = Trim(text.substr(start, comma - start));
        size_t dash = entry.find('-');
        uint32_t first = 0;
        uint32_t last = 0;
        bool ok = false;
        if (dash == std::string::npos) {
            ok = Host_ParseFrameNumber(entry, &first);
            last = first;
        } else {
            ok = Host_ParseFrameNumber(Trim(entry.substr(0, dash)), &first) &&
                 Host_ParseFrameNumber(Trim(entry.substr(dash + 1)), &last) && first <= last;
        }
        if (!ok) {
            if (error) {
                *error = "bad entry \"" + entry +
                         "\" (expected a frame N or a range A-B, frames counted from 1)";
            }
            ranges->clear();
            return false;
        }
        ranges->emplace_back(first, last);
        start = comma + 1;
    }
    return true;
}

std::string Host_CaptureFileName(const std::string& dir, uint32_t number) {
    char name[32];
    std::snprintf(name, sizeof(name), "frame-%06u.png", number);
    if (dir.empty() || dir.back() == '/') return dir + name;
    return dir + "/" + name;
}

void Host_CaptureFrame(uint32_t number, const HostFrame& frame) {
    HostStateBlock& st = HostState();
    const HostSettings& settings = Host_Settings();
    if (settings.capture_dir.empty()) return;
    if (!st.capture_parsed) {
        std::string error;
        if (!Host_ParseFrameList(settings.capture_frames, &st.capture_ranges, &error)) {
            Host_SettingError("KAVRO_CAPTURE_FRAMES: " + error);
        }
        st.capture_parsed = true;
    }
    if (!Wanted(st, number)) return;
    std::string error;
    if (!st.capture_dir_made) {
        if (!MakeDirectories(settings.capture_dir, &error)) {
            Host_SettingError("KAVRO_CAPTURE: cannot make the directory " + error);
        }
        st.capture_dir_made = true;
    }
    std::string path = Host_CaptureFileName(settings.capture_dir, number);
    if (!Host_WritePng(path, frame, &error)) {
        Host_SettingError("KAVRO_CAPTURE: cannot write " + path + ": " + error);
    }
}
