// Files the frame benchmark reads: the probe's report and frame records, and the keyboard
// script of the route (only for its length).
#pragma once
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "bench/frame_record.h"

// "name value" lines; false when the file cannot be read or a line is malformed.
bool Bench_ReadReport(const std::string& path, std::map<std::string, int64_t>* values);
// Whole BenchFrameRecord structures; false when unreadable or cut inside a record.
bool Bench_ReadFrameLog(const std::string& path, std::vector<BenchFrameRecord>* frames);
// Writes the keyboard script of `laps` laps of the route in `lap_path` to `out_path`: the lap's
// entries again and again, each lap as long as the highest frame the lap names, and Escape in
// the frame after the last lap. Returns the frames of the whole script, or 0 (with a message
// in `error`) when the lap is unreadable, malformed or names no frame.
int64_t Bench_RepeatLap(const std::string& lap_path, int laps, const std::string& out_path,
                        std::string* error);
// Whether a trace file has the line "present 1": the program drew and presented a frame.
bool Bench_TracePresented(const std::string& path);
