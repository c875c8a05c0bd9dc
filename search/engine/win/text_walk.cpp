#include "search/engine/win/text_walk.h"

#include <map>
#include <memory>
#include <optional>

#include "common/path.h"
#include "common/text.h"
#include "common/win/code_page.h"
#include "common/win/text_file.h"
#include "search/engine/rich_text.h"
#include "search/engine/search_state.h"
#include "search/engine/text_needle.h"
#include "search/engine/win/folder_walk.h"

namespace sercavo {
namespace {

// The system's code pages by number, for the bytes of rich text; the text search's own for 936.
const common::CodePage* SystemCodePage(int number) {
  static std::map<int, std::unique_ptr<common::SystemCodePage>> pages;
  if (number == 936) return &common::ChineseCodePage();
  if (number <= 0 || number > 65535 || !IsValidCodePage(UINT(number))) return nullptr;
  auto& page = pages[number];
  if (!page) page = std::make_unique<common::SystemCodePage>(UINT(number));
  return page.get();
}

bool Inside(const std::wstring& path, const std::wstring& folder) {
  return !folder.empty() && common::StartsWithNoCase(path, common::WithTrailingSlash(folder));
}

class TextWalk {
 public:
  TextWalk(const std::wstring& root, const TextRequest& request, const TextEvents& on)
      : request_(request), on_(on), needle_(request.find, common::ChineseCodePage()) {
    common::FileIdentity where = common::IdentifyFile(root);
    if (where.ok) rootFinal_ = where.finalPath;
  }

  void File(const std::wstring& folder, const WIN32_FIND_DATAW& e) {
    SearchState& st = State();
    ++st.scannedCount;
    uint64_t size = (uint64_t(e.nFileSizeHigh) << 32) | e.nFileSizeLow;
    if (!TypeMatches(request_.types, e.cFileName) || !SizeAllowed(size, request_.sizeLimit)) return;
    // An empty file holds no text; nor does a device or a pipe, which tell no size.
    if (size == 0) return;
    std::wstring path = folder + e.cFileName;
    if (on_.reading) on_.reading(path, size);
    if (!Holds(path, size)) return;
    if (request_.replace)
      if (auto why = Replace(path, size); why && on_.notReplaced) on_.notReplaced(path, *why);
    ++st.foundCount;
    if (on_.hit) on_.hit(path);
  }

 private:
  // At most what the box allows, should the file have grown since it was listed; a large file a piece at
  // a time. Rich text is searched in what it shows.
  bool Holds(const std::wstring& path, uint64_t size) {
    uint64_t cap = uint64_t(request_.sizeLimit) - 1;
    shown_.reset();
    bool rich = common::EqualsNoCase(common::ExtensionOf(path), L"rtf");
    if (size > kPieceBytes && !rich) {
      bytes_.clear();
      auto read = [&](uint64_t at, std::string& piece) {
        return common::ReadFileRange(path, at, kPieceBytes, piece) == common::ReadStatus::kRead;
      };
      return HeldInPieces(needle_, std::min(size, cap), read);
    }
    if (common::ReadFileInto(path, std::min<uint64_t>(cap, common::kLargeFileCap), bytes_) != common::ReadStatus::kRead)
      return false;
    if (!IsRichText(path, bytes_)) return needle_.HeldBy(bytes_);
    shown_ = ReadRichText(bytes_, SystemCodePage);
    return needle_.HeldByText(shown_->text);
  }

  // The text as read, every exact occurrence replaced, written back in the file's own form: the other
  // characters keep their bytes. nullopt when it was replaced (or nothing needed replacing).
  std::optional<NotReplaced> Replace(const std::wstring& path, uint64_t size) {
    if (bytes_.empty() && (size > common::kLargeFileCap ||
                           common::ReadFileInto(path, common::kLargeFileCap, bytes_) != common::ReadStatus::kRead))
      return NotReplaced::kNotWhole;
    if (shown_) {
      RichReplaced r = ReplaceInRichText(bytes_, *shown_, request_.find, request_.replacement, SystemCodePage);
      if (r.acrossMarkup) return NotReplaced::kAcrossMarkup;
      return r.count == 0 ? std::nullopt : WriteBack(path, r.bytes);
    }
    const common::CodePage& cp = common::ChineseCodePage();
    common::TextFile file = common::TextFileOf(bytes_, cp);
    if (!file.exact) return NotReplaced::kNotWhole;
    size_t count = 0;
    std::wstring text = ReplaceExact(file.text, request_.find, request_.replacement, count);
    if (count == 0) return std::nullopt;
    std::optional<std::string> bytes = common::EncodeExactly(text, file.format, cp);
    if (!bytes) return NotReplaced::kNotHeld;
    return WriteBack(path, *bytes);
  }

  // A file reached through a link or known by several names is written in place, so that the link and
  // the other names go on showing the same file; a link's target only inside the searched folder.
  std::optional<NotReplaced> WriteBack(const std::wstring& path, std::string_view bytes) {
    common::FileIdentity id = common::IdentifyFile(path);
    if (!id.ok) return NotReplaced::kNotWritten;
    if (!id.shared())
      return common::WriteFileAtomically(path, bytes) ? std::nullopt : std::optional(NotReplaced::kNotWritten);
    if (!Inside(id.finalPath, rootFinal_)) return NotReplaced::kLinkOutside;
    return common::WriteFileInPlace(path, bytes) ? std::nullopt : std::optional(NotReplaced::kNotWritten);
  }

  const TextRequest& request_;
  const TextEvents& on_;
  TextNeedle needle_;
  std::string bytes_;
  std::optional<RichText> shown_;
  std::wstring rootFinal_;
};

}  // namespace

bool WalkTextFolder(const std::wstring& folder, const TextRequest& request, const TextEvents& on) {
  TextWalk walk(folder, request, on);
  WalkHandlers handlers;
  handlers.file = [&](const std::wstring& f, const WIN32_FIND_DATAW& e) { walk.File(f, e); };
  handlers.pump = on.pump;
  handlers.stopRequested = on.stopRequested;
  return WalkFolder(folder, handlers);
}

}  // namespace sercavo
