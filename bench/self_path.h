// Where the benchmark programs find what they measure: beside themselves, at the places the
// build put them relative to the benchmark's own file, so a build that is copied or moved
// measures its own programs and not those of the tree it was built in.
#pragma once
#include <string>

// `relative` taken from the directory of the running program (/proc/self/exe); `relative`
// itself when that cannot be read.
std::string Bench_BesideSelf(const std::string& relative);
