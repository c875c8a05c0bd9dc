// The browser's own text files on the suite's layer: a file read for an editor (its text and form, and
// whether saving over it would keep every byte the editor did not change), and the writer of the files
// the browser makes whose texts may come from any page.
#pragma once
#include <cstdint>
#include <string>

#include "browser/files/edit_messages.h"
#include "common/win/text_file.h"

namespace corvane {

struct EditedFile {
  common::TextFile file;
  EditBlock block = EditBlock::kNone;  // kNone: the editor may save over it
};

// holdsNulBlocks: the editor shows the text in a control that ends it at a NUL.
EditedFile ReadForEditing(const std::wstring& path, uint64_t maxBytes, bool holdsNulBlocks);

// In the code page when it holds the whole text, else in UTF-8 with its mark, so nothing is lost.
common::TextWrite WriteWholeText(const std::wstring& path, std::wstring_view text);

}  // namespace corvane
