// The KAVRO_TRACE file: one line per presented frame, drawn text or message box.
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "platform/host/host.h"
#include "platform/host/host_state.h"

bool Host_TraceEnabled() {
    return !Host_Settings().trace_file.empty();
}

void Host_Trace(const char* line, size_t length) {
    HostStateBlock& st = HostState();
    if (!Host_TraceEnabled()) return;
    if (!st.trace) Host_OpenTrace();
    std::fwrite(line, 1, length, st.trace);
    std::fputc('\n', st.trace);
    // Tests read the trace of a process that may end at any moment.
    std::fflush(st.trace);
}

void Host_OpenTrace() {
    HostStateBlock& st = HostState();
    const std::string& path = Host_Settings().trace_file;
    if (st.trace || path.empty()) return;
    st.trace = std::fopen(path.c_str(), "ab");
    if (!st.trace) {
        Host_SettingError("KAVRO_TRACE: cannot open " + path + ": " + std::strerror(errno));
    }
}

void Host_CloseTrace() {
    HostStateBlock& st = HostState();
    if (st.trace) std::fclose(st.trace);
    st.trace = nullptr;
}
