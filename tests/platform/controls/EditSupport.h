#pragma once
// What the edit and memo tests share: typing and pressing keys at a field as the form hands
// them over (key down, then the character), the pixels of its text area, and a field focused
// on a stand-in form.

#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "platform/controls/Edit.h"
#include "platform/core/Text.h"
#include "tests/platform/controls/ControlsSupport.h"

namespace zelvar::test {

// Types UTF-8 text one code point at a time, as the text-input message delivers it.
inline void Type(TControl& c, std::string_view text) {
  for (size_t i = 0; i < text.size();) {
    TUtf8Char ch = DecodeUtf8Char(text, i);
    char32_t key = ch.Code;
    c.KeyPress(key);
    i += ch.Length;
  }
}

// A key down; Backspace also brings its character, as the form sends it.
inline void Press(TControl& c, uint16_t key, TShiftState shift = {}) {
  uint16_t k = key;
  c.KeyDown(k, shift);
  if (k == VK_BACK) {
    char32_t ch = '\b';
    c.KeyPress(ch);
  }
}

// The same key several times.
inline void PressTimes(TControl& c, uint16_t key, int times, TShiftState shift = {}) {
  for (int i = 0; i < times; ++i) Press(c, key, shift);
}

// The pixels of a field's text area, to compare two pictures of it.
inline std::vector<TColor> TextPixels(TShot& shot, const TCustomEdit& field) {
  std::vector<TColor> pixels;
  TRect r = field.TextRect();
  for (int32_t y = r.Top; y < r.Bottom; ++y)
    for (int32_t x = r.Left; x < r.Right; ++x) pixels.push_back(shot(x, y));
  return pixels;
}

// A field of class T on its own form, holding the focus.
template <class T>
struct TFocusedField {
  std::unique_ptr<TStdTestForm> Form{New<TStdTestForm>(nullptr)};
  T* Field = Make<T>(Form.get(), 10, 10);
  TFocusedField() { Field->SetFocus(); }
  T& operator*() { return *Field; }
  T* operator->() { return Field; }
};

}  // namespace zelvar::test
