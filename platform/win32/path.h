// Windows-form file names to host paths, for the file stand-ins.
//
// Rules: `\` and `/` both separate directories and repeated separators count as one; `.` and
// `..` are resolved by the text, as Windows does. The host's whole file system is drive Z:
// ("Z:\GFX" is /GFX, "Z:name" is relative to the current directory); no other drive letter
// exists; a name that starts with one separator starts at the root "/"; network names
// ("\\server\share") do not exist. A component that does not exist as written is matched
// without regard to case against its directory's entries, one component at a time (the first
// match in byte order wins when several differ only in case). Names are Windows-1252 and
// become UTF-8 on the host. Like Windows, trailing dots and spaces of a component are dropped,
// and the characters < > : " | ? * and control codes are refused.
#pragma once
#include <string>

#include "platform/win32/types.h"

struct HostPath {
    std::string path;    // host path (UTF-8); a relative name stays relative to the current dir
    std::string parent;  // host path of the directory that holds the last component
    std::string leaf;    // last component (Windows-1252) as found on the disk, else as written
    bool root = false;   // the name is a root ("Z:\", "\")
    bool trailing_separator = false;
    bool wildcard = false;  // the last component holds `*` or `?` (only when allowed)
};

// NO_ERROR, or the error a file call reports for this name: ERROR_PATH_NOT_FOUND (null, empty,
// a drive other than Z:), ERROR_BAD_NETPATH (network names), ERROR_INVALID_NAME (refused
// characters), ERROR_FILENAME_EXCED_RANGE (MAX_PATH characters or more).
DWORD HostPath_Resolve(const char* name, bool allow_wildcards, HostPath* out);
