#pragma once

#include <string>

namespace installer {

// The arguments of CreateFontW that this program varies; everything not listed is 0/default.
struct FontSpec {
  int height = 0;
  int width = 0;
  int weight = 400;
  bool italic = false;
  bool underline = false;
  bool strikeOut = false;
  int charSet = 0;  // 0 ANSI, 134 GB2312, 204 RUSSIAN
  std::wstring face;

  friend bool operator==(const FontSpec& a, const FontSpec& b) {
    return a.height == b.height && a.width == b.width && a.weight == b.weight &&
           a.italic == b.italic && a.underline == b.underline && a.strikeOut == b.strikeOut &&
           a.charSet == b.charSet && a.face == b.face;
  }
};

}  // namespace installer
