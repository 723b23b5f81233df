// Paths relative to the running benchmark program.
#include "bench/self_path.h"

#include <unistd.h>

#include <climits>

std::string Bench_BesideSelf(const std::string& relative) {
    char self[PATH_MAX];
    const ssize_t length = readlink("/proc/self/exe", self, sizeof(self) - 1);
    if (length <= 0) return relative;
    std::string path(self, static_cast<size_t>(length));
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos) return relative;
    return path.substr(0, slash + 1) + relative;
}
