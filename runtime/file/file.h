// File access: numbered files with a 4096-byte buffer each, binary value reads and writes,
// line reading, the size of a file by name and the file-name part of a path.
// A file is named by the number it was opened under, or by the dynamic number that an open
// under -1 returns. Operations on a number that names no file do nothing and return 0.
#pragma once
#include <cstdint>

// Creates the file table.
void File_Init();
// Closes every open file.
void File_End();

// Each returns 0 on failure; on success the dynamic number for -1, else 1.
// An existing file, read access; others may read too.
int32_t File_OpenRead(int32_t file, const char* name);
// Read and write access, created when missing; others may read.
int32_t File_Open(int32_t file, const char* name);
// Read and write access, created or emptied.
int32_t File_Create(int32_t file, const char* name);
// Writes what is pending, frees the buffer and closes.
void File_Close(int32_t file);

// Values are little-endian. A read cut short by the end of the file keeps the bytes that were
// there, with zeros above them; at the end every read gives 0.
int32_t File_ReadUnsignedByte(int32_t file);  // 0..255
int32_t File_ReadByte(int32_t file);          // -128..127
int32_t File_ReadWord(int32_t file);          // 16 bits, sign-extended
int32_t File_ReadLong(int32_t file);
float File_ReadFloat(int32_t file);
// Returns the bytes actually read.
int32_t File_ReadData(int32_t file, void* address, int32_t count);
// Reads one line into the temporary buffer at position p and leaves the position on its
// terminator; returns the text. A line ends at LF, CR, CR LF, a 0 byte or the end of the file,
// none of which is part of it. An unknown file gives the empty text.
char* File_ReadLine(int32_t file, int32_t p);

// Each returns the bytes taken.
int32_t File_WriteByte(int32_t file, int32_t value);
int32_t File_WriteWord(int32_t file, int32_t value);
int32_t File_WriteLong(int32_t file, int32_t value);
int32_t File_WriteText(int32_t file, const char* text);
// The text, then CR LF.
int32_t File_WriteLine(int32_t file, const char* text);

// The position seen through the buffer; -1 for an unknown file.
int64_t File_Position(int32_t file);
// Writes what is pending, then the file's size; -1 for an unknown file.
int64_t File_Length(int32_t file);

// The size of the file of that name; -1 when nothing of that name exists (or the name is
// longer than a path can be); -2 for a directory or a drive.
int64_t File_Size(const char* name);
// The last component of a path (after the last / or \), without the double quotes around it,
// written into the temporary buffer at position p; the position ends on the terminator.
char* Path_FilePart(const char* path, int32_t p);
// The current directory, in which bare file names are looked for ("/srv/games"), written into
// the temporary buffer at position p; the position ends on the terminator. The empty text when
// the host cannot tell.
char* Path_CurrentDirectory(int32_t p);
