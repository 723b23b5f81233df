#include "tests/support/xvfb_server.h"

#include <fcntl.h>
#include <unistd.h>

#include <fstream>

#include "tests/support/child_process.h"

namespace {

constexpr const char* kXvfb = "/usr/bin/Xvfb";

}  // namespace

bool Screenshot::Read(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    data.assign(std::istreambuf_iterator<char>(in), {});
    if (data.size() < 100) return false;
    auto field = [&](int i) {
        const uint8_t* p = data.data() + 4 * i;
        return (uint32_t{p[0]} << 24) | (uint32_t{p[1]} << 16) | (uint32_t{p[2]} << 8) | p[3];
    };
    width = field(4);
    height = field(5);
    bytes_per_line = field(12);
    red_mask = field(14);
    green_mask = field(15);
    blue_mask = field(16);
    pixels = field(0) + 12u * field(19);
    return field(11) == 32 && red_mask && green_mask && blue_mask &&
           pixels + size_t{bytes_per_line} * height <= data.size();
}

uint32_t Screenshot::Rgb(uint32_t x, uint32_t y) const {
    const uint8_t* p = data.data() + pixels + size_t{y} * bytes_per_line + 4 * x;
    const uint32_t v =
        p[0] | (uint32_t{p[1]} << 8) | (uint32_t{p[2]} << 16) | (uint32_t{p[3]} << 24);
    auto channel = [&](uint32_t mask) { return (v & mask) >> __builtin_ctz(mask); };
    return (channel(red_mask) << 16) | (channel(green_mask) << 8) | channel(blue_mask);
}

XServer::XServer(const std::filesystem::path& fbdir) {
    // Xvfb picks a free display and writes its number to the pipe; only the writing end passes
    // to it, so the read ends when it has written or died.
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) return;
    fcntl(fds[1], F_SETFD, 0);
    ChildOptions options;
    options.program = kXvfb;
    options.arguments = {"-displayfd", std::to_string(fds[1]), "-screen",   "0",  "1024x768x24",
                         "-fbdir",     fbdir.string(),         "-nolisten", "tcp"};
    pid_ = StartChild(options);
    close(fds[1]);
    char c;
    while (pid_ > 0 && read(fds[0], &c, 1) == 1 && c != '\n') display_ += c;
    close(fds[0]);
}

XServer::~XServer() {
    EndChild(pid_);
}

bool XServer::Installed() {
    return access(kXvfb, X_OK) == 0;
}
