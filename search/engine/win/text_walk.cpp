#include "search/engine/win/text_walk.h"

#include "common/path.h"
#include "common/win/code_page.h"
#include "common/win/text_file.h"
#include "search/engine/search_state.h"
#include "search/engine/text_codec.h"
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
    if (!ReadWholeFile(path, bytes_, size) || !needle_.HeldBy(bytes_)) return;
    if (request_.replace && !Replace(path) && on_.notWritten) on_.notWritten(path);
    ++st.foundCount;
    if (on_.hit) on_.hit(path);
  }

 private:
  bool Replace(const std::wstring& path) {
    auto replaced = ReplaceExact(bytes_, request_.find, request_.replacement, common::ChineseCodePage());
    if (!replaced) return false;
    return replaced->count == 0 || common::WriteFileAtomically(path, replaced->bytes);
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

bool ReadWholeFile(const std::wstring& path, std::string& bytes, uint64_t) {
  return common::ReadFileInto(path, kWholeFileCap, bytes) == common::ReadStatus::kRead;
}

}  // namespace sercavo
