// A text built in the temporary buffer for one use: the buffer position is saved on creation,
// parts are appended, the finished text is handed to the operation that reads it, and the
// position is restored when the builder goes out of scope.
//
//   TempText line;
//   line.Add("SCORE ").Add(score);
//   Drawing_Text(x, y, line.Text());
#pragma once
#include <cstdint>

#include "runtime/core/strings.h"

class TempText {
  public:
    TempText() : start_(String_Globals().position) { String_SetPosition(start_); }
    ~TempText() { String_SetPosition(start_); }
    TempText(const TempText&) = delete;
    TempText& operator=(const TempText&) = delete;

    TempText& Add(const char* text) {
        String_Append(text);
        return *this;
    }
    TempText& Add(int64_t value) {
        String_FromQuad(value, String_Globals().position);
        return *this;
    }
    TempText& Add(int32_t value) {
        String_FromLong(value, String_Globals().position);
        return *this;
    }
    // Steps the position past the terminator, so that texts the reader builds land after this
    // one, and returns it. Valid until the buffer grows again.
    const char* Text() {
        if (!sealed_) {
            String_Reserve(1, String_Globals().position);
            sealed_ = true;
        }
        return String_Globals().base + start_;
    }
    // Stores the text into a string variable; the position returns to the start.
    void StoreInto(StringVariable* variable) {
        if (sealed_) String_GiveBack(1);
        sealed_ = false;
        String_Store(variable, start_);
    }
    int32_t Start() const { return start_; }

  private:
    int32_t start_;
    bool sealed_ = false;
};
