#include "search/extras/preview_rules.h"

#include <algorithm>
#include <cmath>

#include "common/text.h"

namespace sercavo {
namespace {

// The lists as they were always kept; the first word of each is not an extension.
constexpr wchar_t kMedia[] = L"find,mpg,avi,rm,rmvb,wmv;asf,mp3,mid,wma,wav,";
constexpr wchar_t kWeb[] = L"find,swf,txt,htm,ini,html,shtml,xml,";
constexpr wchar_t kDefault[] = L"find,flv,mov,";
constexpr wchar_t kPicture[] = L"find,bmp,jpg,jpeg,gif,exif,tiff,";

bool InList(std::wstring_view list, std::wstring_view ext) {
  bool first = true;
  size_t start = 0;
  while (start < list.size()) {
    size_t end = list.find_first_of(L",;", start);
    if (end == std::wstring_view::npos) end = list.size();
    if (!first && end > start && common::EqualsNoCase(list.substr(start, end - start), ext)) return true;
    first = false;
    start = end + 1;
  }
  return false;
}

std::wstring_view FileName(std::wstring_view path) {
  size_t slash = path.find_last_of(L"\\/");
  return slash == std::wstring_view::npos ? path : path.substr(slash + 1);
}

}  // namespace

Viewer ChooseViewer(std::wstring_view path) {
  std::wstring_view name = FileName(path);
  size_t dot = name.rfind(L'.');
  if (dot == std::wstring_view::npos) return Viewer::None;
  std::wstring_view ext = name.substr(dot + 1);
  if (ext.empty()) return Viewer::None;
  if (InList(kMedia, ext)) return Viewer::Media;
  if (InList(kWeb, ext)) {
    bool text =
        common::EqualsNoCase(ext, L"txt") || common::EqualsNoCase(ext, L"ini") || common::EqualsNoCase(ext, L"xml");
    return text ? Viewer::Text : Viewer::Web;
  }
  if (InList(kDefault, ext)) return Viewer::DefaultProgram;
  if (InList(kPicture, ext)) return Viewer::Picture;
  return Viewer::None;
}

std::wstring PreviewCaption(std::wstring_view path) { return L"窗口预览 - " + std::wstring(FileName(path)); }

Box FitPicture(int w, int h, int innerWidth, int innerHeight) {
  Box b{0, 0, w, h};
  if (w > 0 && h > 0) {
    double r = double(w) / h;
    if (innerWidth < w) {
      b.width = innerWidth;
      b.height = int(std::lround(innerWidth / r));
    }
    if (innerHeight < b.height) {
      b.height = innerHeight;
      b.width = int(std::lround(innerHeight * r));
    }
  }
  b.left = (innerWidth - b.width) / 2;
  b.top = (innerHeight - b.height) / 2;
  return b;
}

PixelSize DecodeSize(int w, int h, int boxWidth, int boxHeight, int64_t pixelCap) {
  if (w <= 0 || h <= 0) return {};
  Box fit = FitPicture(w, h, std::max(1, boxWidth), std::max(1, boxHeight));
  PixelSize s{std::max(1, fit.width), std::max(1, fit.height)};
  if (int64_t(s.width) * s.height > pixelCap && pixelCap > 0) {
    double k = std::sqrt(double(pixelCap) / (double(s.width) * s.height));
    s = {std::max(1, int(s.width * k)), std::max(1, int(s.height * k))};
  }
  return s;
}

}  // namespace sercavo
