// The KAVRO_TRACE file: one line per presented frame, drawn text or message box.
#include <cstdio>

#include "platform/host/host.h"
#include "platform/host/host_state.h"

bool Host_TraceEnabled() {
    return !Host_Settings().trace_file.empty();
}

void Host_Trace(const char* line, size_t length) {
    HostStateBlock& st = HostState();
    if (!Host_TraceEnabled() || st.trace_failed) return;
    if (!st.trace) {
        st.trace = std::fopen(Host_Settings().trace_file.c_str(), "ab");
        if (!st.trace) {
            st.trace_failed = true;
            std::fprintf(stderr, "kavro: cannot open trace file %s\n",
                         Host_Settings().trace_file.c_str());
            return;
        }
    }
    std::fwrite(line, 1, length, st.trace);
    std::fputc('\n', st.trace);
    // Tests read the trace of a process that may end at any moment.
    std::fflush(st.trace);
}

void Host_CloseTrace() {
    HostStateBlock& st = HostState();
    if (st.trace) std::fclose(st.trace);
    st.trace = nullptr;
    st.trace_failed = false;
}
