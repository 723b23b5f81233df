// Text of file names: Windows-1252 names against the host's UTF-8 names, compared the way
// Windows compares names (without regard to case), with the `*` and `?` wildcards.
#pragma once
#include <string>
#include <string_view>

// Every Windows-1252 byte has a code point (the five unassigned ones keep their C1 value), so
// the conversion is reversible.
std::string HostPath_Utf8FromCp1252(std::string_view text);
// False when the host name holds a character Windows-1252 cannot write (or is not UTF-8);
// such a name cannot be named by the program.
bool HostPath_Cp1252FromUtf8(std::string_view utf8, std::string* out);

// Lower case of a Windows-1252 letter (ASCII, the accented Latin-1 letters, Š Œ Ž Ÿ).
unsigned char HostPath_FoldCase(unsigned char c);
bool HostPath_EqualNoCase(std::string_view a, std::string_view b);
// `*` matches any run of characters, `?` one character; letters without regard to case.
bool HostPath_WildcardMatch(std::string_view pattern, std::string_view name);
