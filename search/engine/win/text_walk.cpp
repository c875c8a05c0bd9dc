#include "search/engine/win/text_walk.h"

#include "common/path.h"
#include "common/win/code_page.h"
#include "common/win/text_file.h"
#include "search/engine/search_state.h"
#include "search/engine/text_needle.h"
#include "search/engine/text_search_rules.h"
#include "search/engine/win/folder_walk.h"

namespace sercavo {
namespace {

class TextWalk {
 public:
  TextWalk(const TextRequest& request, const TextEvents& on)
      : request_(request), on_(on), needle_(request.find, common::ChineseCodePage()) {}

  void File(const std::wstring& folder, const WIN32_FIND_DATAW& e) {
    SearchState& st = State();
    ++st.scannedCount;
    uint64_t size = (uint64_t(e.nFileSizeHigh) << 32) | e.nFileSizeLow;
    if (!TypeMatches(request_.types, e.cFileName) || !SizeAllowed(size, request_.sizeLimit)) return;
    std::wstring path = folder + e.cFileName;
    if (on_.reading) on_.reading(path, size);
    // No more than the box allows, should the file have grown since it was listed.
    if (common::ReadFileInto(path, size_t(request_.sizeLimit) - 1, bytes_) != common::ReadStatus::kRead ||
        !needle_.HeldBy(bytes_))
      return;
    if (request_.replace && !Replace(path) && on_.notWritten) on_.notWritten(path);
    ++st.foundCount;
    if (on_.hit) on_.hit(path);
  }

 private:
  // The text as read, every exact occurrence replaced, written back in the file's own form: the other
  // characters keep their bytes. A file that would not read back as it is stays as it is.
  bool Replace(const std::wstring& path) {
    const common::CodePage& cp = common::ChineseCodePage();
    common::TextFile file = common::TextFileOf(bytes_, cp);
    if (!file.exact) return false;
    size_t count = 0;
    std::wstring text = ReplaceExact(file.text, request_.find, request_.replacement, count);
    return count == 0 || common::WriteTextFile(path, text, file.format, cp).ok();
  }

  const TextRequest& request_;
  const TextEvents& on_;
  TextNeedle needle_;
  std::string bytes_;
};

}  // namespace

bool WalkTextFolder(const std::wstring& folder, const TextRequest& request, const TextEvents& on) {
  TextWalk walk(request, on);
  WalkHandlers handlers;
  handlers.file = [&](const std::wstring& f, const WIN32_FIND_DATAW& e) { walk.File(f, e); };
  handlers.pump = on.pump;
  handlers.stopRequested = on.stopRequested;
  return WalkFolder(folder, handlers);
}

}  // namespace sercavo
