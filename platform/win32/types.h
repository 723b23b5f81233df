// Basic types and constants of the Windows interfaces the runtime is written against.
#pragma once
#include <cstddef>
#include <cstdint>

using BYTE = uint8_t;
using WORD = uint16_t;
using DWORD = uint32_t;
using LONG = int32_t;
using UINT = uint32_t;
using BOOL = int32_t;
using HRESULT = int32_t;
using LONG_PTR = intptr_t;
using UINT_PTR = uintptr_t;
using WPARAM = uintptr_t;
using LPARAM = intptr_t;
using LRESULT = intptr_t;
using SIZE_T = size_t;
using LPVOID = void*;
using LPCSTR = const char*;
using HANDLE = void*;

struct HeapRecord;
using HHEAP = HeapRecord*;
struct ModuleRecord;
using HMODULE = ModuleRecord*;
using HINSTANCE = HMODULE;
// user32's own window record (the runtime's window library has a WindowRecord of its own).
struct User32Window;
using HWND = User32Window*;
using FARPROC = void (*)();

// Rectangles of every interface: right and bottom edges are exclusive.
struct RECT {
    LONG left;
    LONG top;
    LONG right;
    LONG bottom;
};
struct SIZE {
    LONG cx;
    LONG cy;
};

constexpr BOOL TRUE = 1;
constexpr BOOL FALSE = 0;
constexpr HRESULT S_OK = 0;
constexpr HRESULT S_FALSE = 1;
constexpr HRESULT E_FAIL = static_cast<HRESULT>(0x80004005u);

// Heap flags.
constexpr DWORD HEAP_ZERO_MEMORY = 0x00000008;

// Message box flags and results.
constexpr UINT MB_OK = 0x00000000;
constexpr UINT MB_ICONERROR = 0x00000010;
constexpr int IDOK = 1;
