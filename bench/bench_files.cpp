// Readers of the frame benchmark's files.
#include "bench/bench_files.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

bool Bench_ReadReport(const std::string& path, std::map<std::string, int64_t>* values) {
    std::ifstream in(path);
    if (!in) return false;
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        std::string name;
        long long value = 0;
        if (!(fields >> name >> value)) return false;
        (*values)[name] = value;
    }
    return true;
}

bool Bench_ReadFrameLog(const std::string& path, std::vector<BenchFrameRecord>* frames) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (bytes.size() % sizeof(BenchFrameRecord) != 0) return false;
    frames->resize(bytes.size() / sizeof(BenchFrameRecord));
    if (!bytes.empty()) std::memcpy(frames->data(), bytes.data(), bytes.size());
    for (BenchFrameRecord& f : *frames) {
        if (f.text_count < 0 || f.text_count > kBenchTextLines) return false;
    }
    return true;
}

int64_t Bench_RepeatLap(const std::string& lap_path, int laps, const std::string& out_path,
                        std::string* error) {
    struct Entry {
        int64_t first, last;
        std::string keys;
    };
    std::ifstream in(lap_path);
    if (!in) {
        *error = "cannot read " + lap_path;
        return 0;
    }
    std::vector<Entry> entries;
    int64_t length = 0;
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        size_t hash = line.find('#');
        if (hash != std::string::npos) line.resize(hash);
        std::istringstream fields(line);
        std::string range;
        if (!(fields >> range)) continue;
        Entry e;
        std::getline(fields, e.keys);
        while (!e.keys.empty() &&
               (e.keys.back() == ' ' || e.keys.back() == '\t' || e.keys.back() == '\r'))
            e.keys.pop_back();
        size_t dash = range.find('-');
        char* stop = nullptr;
        e.first = std::strtoll(range.c_str(), &stop, 10);
        bool ok =
            stop != range.c_str() && (dash == std::string::npos ? *stop == '\0' : *stop == '-');
        e.last = e.first;
        if (ok && dash != std::string::npos) {
            const char* end = range.c_str() + dash + 1;
            e.last = std::strtoll(end, &stop, 10);
            ok = stop != end && *stop == '\0';
        }
        if (!ok || e.first < 1 || e.last < e.first || e.last > 1000000) {
            *error = lap_path + " line " + std::to_string(number) + ": not a frame or range";
            return 0;
        }
        length = std::max(length, e.last);
        entries.push_back(e);
    }
    if (length == 0) {
        *error = lap_path + " names no frame";
        return 0;
    }
    std::ofstream out(out_path);
    for (int lap = 0; lap < laps; ++lap) {
        const int64_t base = static_cast<int64_t>(lap) * length;
        for (const Entry& e : entries)
            out << (base + e.first) << '-' << (base + e.last) << e.keys << '\n';
    }
    const int64_t frames = static_cast<int64_t>(laps) * length + 1;
    out << frames << " Escape\n";
    if (!out) {
        *error = "cannot write " + out_path;
        return 0;
    }
    return frames;
}

bool Bench_TracePresented(const std::string& path) {
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) {
        if (line == "present 1") return true;
    }
    return false;
}
