#include "browser/files/win/browser_files.h"

namespace corvane {

EditedFile ReadForEditing(const std::wstring& path, uint64_t maxBytes, bool holdsNulBlocks) {
  EditedFile r{common::ReadTextFile(path, maxBytes)};
  switch (r.file.status) {
    case common::ReadStatus::kMissing: break;
    case common::ReadStatus::kUnreadable: r.block = EditBlock::kUnreadable; break;
    case common::ReadStatus::kTooLarge: r.block = EditBlock::kTooLarge; break;
    case common::ReadStatus::kRead:
      if (!r.file.exact)
        r.block = EditBlock::kNotExact;
      else if (holdsNulBlocks && r.file.text.find(L'\0') != std::wstring::npos)
        r.block = EditBlock::kHoldsNul;
      break;
  }
  return r;
}

common::TextWrite WriteWholeText(const std::wstring& path, std::wstring_view text) {
  common::TextWrite w = common::WriteTextFile(path, text);
  if (w.status == common::WriteStatus::kNotHeld) w = common::WriteTextFile(path, text, {common::Encoding::Utf8, 3});
  return w;
}

}  // namespace corvane
