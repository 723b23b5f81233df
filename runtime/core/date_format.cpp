// Date_Format: a mask with date tokens written into the temporary buffer.
#include <cstring>

#include "platform/win32/heap.h"
#include "runtime/core/date.h"
#include "runtime/core/date_parts.h"
#include "runtime/core/program.h"
#include "runtime/core/strings.h"

namespace {

constexpr int32_t kReserveStep = 4096;
// Masks up to this length are copied to the stack, so the per-frame "%ss" costs no heap call.
constexpr size_t kShortMask = 256;

// The output grows in the temporary buffer, which may move; the text is kept by offset.
class Output {
  public:
    explicit Output(int32_t p) : p_(p), reserved_(kReserveStep) { String_Reserve(reserved_, p_); }
    void Room() {
        // Whenever fewer than 5 reserved bytes remain, 4096 more.
        if (reserved_ - length_ < 5) {
            String_Reserve(kReserveStep, p_ + reserved_);
            reserved_ += kReserveStep;
        }
    }
    void Put(char c) { String_Globals().base[p_ + length_++] = c; }
    void TwoDigits(int32_t v) {
        Put(static_cast<char>('0' + v / 10 % 10));
        Put(static_cast<char>('0' + v % 10));
    }
    char* Finish() {
        String_Globals().base[p_ + length_] = 0;
        String_GiveBack(reserved_ - length_);
        return String_Globals().base + p_;
    }

  private:
    int32_t p_;
    int32_t reserved_;
    int32_t length_ = 0;
};

bool TokenAt(const char* s, const char* token) {
    for (; *token; ++s, ++token) {
        char c = *s;
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
        if (c != *token) return false;
    }
    return true;
}

}  // namespace

char* Date_Format(const char* mask, int32_t date, int32_t p) {
    // The mask may lie in the temporary buffer, which the output moves and overwrites.
    size_t length = mask ? std::strlen(mask) : 0;
    char stack_copy[kShortMask];
    char* copy = stack_copy;
    if (length >= kShortMask) {
        copy = static_cast<char*>(HeapAlloc(Runtime_Heap(), 0, length + 1));
        if (!copy) length = 0;
    }
    if (!copy) copy = stack_copy;
    if (length) std::memcpy(copy, mask, length);
    copy[length] = 0;

    DateParts parts;
    Date_Parts(date, &parts);
    // The year as four digits; "0000" when the date cannot be converted.
    char year[4];
    for (int i = 3, v = parts.year; i >= 0; --i, v /= 10) year[i] = static_cast<char>('0' + v % 10);

    Output out(p);
    for (const char* s = copy; *s;) {
        out.Room();
        if (*s != '%') {
            out.Put(*s++);
            continue;
        }
        const char* token = s + 1;
        if (TokenAt(token, "yyyy")) {
            for (char c : year) out.Put(c);
            s = token + 4;
        } else if (TokenAt(token, "yy")) {
            out.Put(year[2]);
            out.Put(year[3]);
            s = token + 2;
        } else if (TokenAt(token, "mm")) {
            out.TwoDigits(parts.month);
            s = token + 2;
        } else if (TokenAt(token, "dd")) {
            out.TwoDigits(parts.day);
            s = token + 2;
        } else if (TokenAt(token, "hh")) {
            out.TwoDigits(parts.hour);
            s = token + 2;
        } else if (TokenAt(token, "ii")) {
            out.TwoDigits(parts.minute);
            s = token + 2;
        } else if (TokenAt(token, "ss")) {
            out.TwoDigits(parts.second);
            s = token + 2;
        } else {
            out.Put('%');
            s = token;
        }
    }
    char* text = out.Finish();
    if (copy != stack_copy) HeapFree(Runtime_Heap(), 0, copy);
    return text;
}
