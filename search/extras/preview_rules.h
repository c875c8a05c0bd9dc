// Rules of the preview window: which viewer shows a file, its caption and the fitting of a picture.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

namespace sercavo {

enum class Viewer { None, Media, Web, Text, DefaultProgram, Picture };

// The viewer of a file by its extension, matched against whole entries of the viewer lists, letter case
// ignored. Text files are shown as text, not run as pages.
Viewer ChooseViewer(std::wstring_view path);
// "窗口预览 - " + the file name.
std::wstring PreviewCaption(std::wstring_view path);

struct Box {
  int left = 0, top = 0, width = 0, height = 0;
  bool operator==(const Box&) const = default;
};
// A picture of natural size w x h in an inner area: narrowed to the width, then lowered to the height,
// keeping its proportions, never enlarged; then centred.
Box FitPicture(int w, int h, int innerWidth, int innerHeight);

// The size a picture of natural size w x h is decoded at to fill a box of boxWidth x boxHeight: never
// larger than the box nor the picture (keeping its proportions), and at most pixelCap pixels. At least
// 1 x 1 for a picture that has pixels.
struct PixelSize {
  int width = 0, height = 0;
  bool operator==(const PixelSize&) const = default;
};
PixelSize DecodeSize(int w, int h, int boxWidth, int boxHeight, int64_t pixelCap);

}  // namespace sercavo
