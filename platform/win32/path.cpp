// Resolution of Windows-form file names to host paths: drive rule, separators, and the
// case-insensitive walk for names that do not exist as written.
#include "platform/win32/path.h"

#include <dirent.h>
#include <sys/stat.h>

#include <string_view>
#include <vector>

#include "platform/win32/file.h"
#include "platform/win32/file_error.h"
#include "platform/win32/path_text.h"

namespace {

bool IsSeparator(char c) {
    return c == '\\' || c == '/';
}

bool Exists(const std::string& host) {
    struct stat st;
    return lstat(host.c_str(), &st) == 0;
}

std::string Append(const std::string& directory, const std::string& name) {
    if (directory.empty()) return name;
    if (directory.back() == '/') return directory + name;
    return directory + "/" + name;
}

// Checks one component and drops its trailing dots and spaces. Returns NO_ERROR or the error.
DWORD CleanComponent(std::string* part, bool last, bool allow_wildcards, bool* wildcard) {
    for (unsigned char c : *part) {
        if (c < 32 || c == '<' || c == '>' || c == ':' || c == '"' || c == '|') {
            return ERROR_INVALID_NAME;
        }
        if (c == '*' || c == '?') {
            if (!last || !allow_wildcards) return ERROR_INVALID_NAME;
            *wildcard = true;
        }
    }
    if (*part == "." || *part == ".." || *wildcard) return NO_ERROR;
    while (!part->empty() && (part->back() == '.' || part->back() == ' ')) part->pop_back();
    return part->empty() ? ERROR_INVALID_NAME : NO_ERROR;
}

// The entry of `directory` that equals `name` without regard to case: its host name and its
// Windows-1252 name. Several candidates: the smallest host name, so the choice is stable.
bool FindNoCase(const std::string& directory, const std::string& name, std::string* host,
                std::string* cp1252) {
    DIR* dir = opendir(directory.empty() ? "." : directory.c_str());
    if (!dir) return false;
    bool found = false;
    std::string converted;
    while (dirent* entry = readdir(dir)) {
        std::string_view entry_name(entry->d_name);
        if (entry_name == "." || entry_name == "..") continue;
        if (!HostPath_Cp1252FromUtf8(entry_name, &converted)) continue;
        if (!HostPath_EqualNoCase(converted, name)) continue;
        if (!found || entry_name < *host) {
            *host = entry_name;
            *cp1252 = converted;
            found = true;
        }
    }
    closedir(dir);
    return found;
}

}  // namespace

DWORD HostPath_Resolve(const char* name, bool allow_wildcards, HostPath* out) {
    *out = HostPath{};
    if (!name || !*name) return ERROR_PATH_NOT_FOUND;
    std::string_view text(name);
    if (text.size() >= MAX_PATH) return ERROR_FILENAME_EXCED_RANGE;

    // Drive and root.
    bool absolute = false;
    unsigned char first = static_cast<unsigned char>(text[0]);
    if (text.size() >= 2 && text[1] == ':' &&
        ((first >= 'A' && first <= 'Z') || (first >= 'a' && first <= 'z'))) {
        if ((first | 0x20) != 'z') return ERROR_PATH_NOT_FOUND;
        text.remove_prefix(2);
        absolute = !text.empty() && IsSeparator(text[0]);
    } else if (text.size() >= 2 && IsSeparator(text[0]) && IsSeparator(text[1])) {
        return ERROR_BAD_NETPATH;
    } else {
        absolute = IsSeparator(text[0]);
    }
    out->trailing_separator = !text.empty() && IsSeparator(text.back());

    // Components, checked, then `.` and `..` resolved by the text.
    std::vector<std::string> raw;
    for (size_t i = 0; i < text.size();) {
        while (i < text.size() && IsSeparator(text[i])) ++i;
        size_t start = i;
        while (i < text.size() && !IsSeparator(text[i])) ++i;
        if (i > start) raw.emplace_back(text.substr(start, i - start));
    }
    std::vector<std::string> parts;
    for (size_t k = 0; k < raw.size(); ++k) {
        bool wildcard = false;
        DWORD error = CleanComponent(&raw[k], k + 1 == raw.size(), allow_wildcards, &wildcard);
        if (error != NO_ERROR) return error;
        out->wildcard = wildcard;
        if (raw[k] == ".") continue;
        if (raw[k] == "..") {
            if (!parts.empty() && parts.back() != "..")
                parts.pop_back();
            else if (!absolute)
                parts.push_back("..");
            continue;
        }
        parts.push_back(raw[k]);
    }
    if (parts.empty() || parts.back() == "..") out->wildcard = false;

    const std::string start = absolute ? "/" : "";
    if (parts.empty()) {
        out->root = absolute;
        out->path = absolute ? "/" : ".";
        out->parent = out->path;
        return NO_ERROR;
    }

    // The name as written, when it exists, costs one look-up.
    std::string written = start;
    for (const std::string& part : parts) written = Append(written, HostPath_Utf8FromCp1252(part));
    size_t last = parts.size() - 1;
    if (!out->wildcard && Exists(written)) {
        out->path = written;
        out->leaf = parts[last];
        std::string parent = start;
        for (size_t k = 0; k < last; ++k)
            parent = Append(parent, HostPath_Utf8FromCp1252(parts[k]));
        out->parent = parent.empty() ? "." : parent;
        return NO_ERROR;
    }

    // Otherwise one component at a time; below a missing one the rest stays as written.
    std::string current = start;
    bool missing = false;
    for (size_t k = 0; k < parts.size(); ++k) {
        if (k == last) out->parent = current.empty() ? "." : current;
        std::string as_written = HostPath_Utf8FromCp1252(parts[k]);
        std::string candidate = Append(current, as_written);
        std::string host, cp1252;
        if (missing || parts[k] == ".." || (k == last && out->wildcard) || Exists(candidate)) {
            current = candidate;
            if (k == last) out->leaf = parts[k];
        } else if (FindNoCase(current, parts[k], &host, &cp1252)) {
            current = Append(current, host);
            if (k == last) out->leaf = cp1252;
        } else {
            missing = true;
            current = candidate;
            if (k == last) out->leaf = parts[k];
        }
    }
    out->path = current;
    return NO_ERROR;
}
