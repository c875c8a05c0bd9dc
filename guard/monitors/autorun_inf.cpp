#include "guard/monitors/autorun_inf.h"

#include "guard/monitors/autorun_rules.h"

namespace zorvix {
namespace {

constexpr std::string_view kOpen = "open", kShell = "shell";

// How many bytes the UTF-8 sequence a lead byte starts takes.
size_t SequenceLength(unsigned char lead) { return lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2; }

// Where a piece may be cut for checking: before a sequence that the piece's end may have cut through.
size_t SafeCut(std::string_view s) {
  for (size_t back = 1; back <= 3 && back <= s.size(); ++back) {
    unsigned char b = static_cast<unsigned char>(s[s.size() - back]);
    if (b < 0x80) return s.size();
    if (b >= 0xC0) return back < SequenceLength(b) ? s.size() - back : s.size();
  }
  return s.size();
}

}  // namespace

void AutorunInfReader::Utf8Check::Add(std::string_view bytes) {
  if (!valid_) return;
  // First the sequence the last piece cut through, completed from these bytes.
  if (!tail_.empty()) {
    size_t need = SequenceLength(static_cast<unsigned char>(tail_[0]));
    while (tail_.size() < need && !bytes.empty()) {
      tail_ += bytes[0];
      bytes.remove_prefix(1);
    }
    if (tail_.size() < need) return;
    valid_ = common::IsValidUtf8(tail_);
    tail_.clear();
    if (!valid_) return;
  }
  size_t cut = SafeCut(bytes);
  valid_ = common::IsValidUtf8(bytes.substr(0, cut));
  tail_ = std::string(bytes.substr(cut));
}

bool AutorunInfReader::Utf8Check::Valid() const { return valid_ && common::IsValidUtf8(tail_); }

bool AutorunInfReader::Feed(std::string_view bytes) {
  if (done_) return false;
  if (format_) {
    Consume(bytes);
  } else {
    head_.append(bytes);
    if (head_.size() >= 3) Begin();
  }
  return !done_;
}

void AutorunInfReader::Finish() {
  if (done_) return;
  if (!format_) Begin();  // a file shorter than the longest mark
  if (done_) return;
  if (state_ == State::Taken) Take();  // the last line had no end
  done_ = true;
}

void AutorunInfReader::Begin() {
  format_ = common::DetectMark(head_);
  std::string rest = head_.substr(std::min(format_->markBytes, head_.size()));
  head_.clear();
  Consume(rest);
}

void AutorunInfReader::Consume(std::string_view bytes) {
  size_t used = Scan(bytes);
  // Without a mark the file is UTF-8 when everything read is valid UTF-8: the bytes up to the taken line's end.
  if (format_->markBytes == 0) utf8_.Add(bytes.substr(0, used));
  if (taking_) Take();
}

size_t AutorunInfReader::Scan(std::string_view bytes) {
  bool wide = format_->encoding == common::Encoding::Utf16Le || format_->encoding == common::Encoding::Utf16Be;
  if (!wide) {
    for (size_t i = 0; i < bytes.size(); ++i)
      if (Unit(static_cast<unsigned char>(bytes[i]), bytes.substr(i, 1))) return i + 1;
    return bytes.size();
  }
  bool bigEndian = format_->encoding == common::Encoding::Utf16Be;
  for (size_t i = 0; i < bytes.size(); ++i) {
    halfUnit_.push_back(bytes[i]);
    if (halfUnit_.size() < 2) continue;
    unsigned b0 = static_cast<unsigned char>(halfUnit_[0]), b1 = static_cast<unsigned char>(halfUnit_[1]);
    bool end = Unit(bigEndian ? (b0 << 8 | b1) : (b1 << 8 | b0), halfUnit_);
    halfUnit_.clear();
    if (end) return i + 1;
  }
  return bytes.size();
}

// A line counts when, after its leading blanks and tabs, it begins with "open" or "shell" in any case.
bool AutorunInfReader::Unit(unsigned unit, std::string_view raw) {
  if (unit == '\n') {
    if (state_ == State::Taken) return taking_ = true;
    state_ = State::LineStart;
    keyword_.clear();
    line_.clear();
    return false;
  }
  switch (state_) {
    case State::LineStart:
      if (unit == ' ' || unit == '\t') return false;
      state_ = State::Keyword;
      [[fallthrough]];
    case State::Keyword: {
      bool letter = (unit >= 'a' && unit <= 'z') || (unit >= 'A' && unit <= 'Z');
      keyword_ += letter ? char(unit | 0x20) : '\0';
      line_.append(raw);
      if (keyword_ == kOpen || keyword_ == kShell) {
        state_ = State::Taken;
      } else if (!kOpen.starts_with(keyword_) && !kShell.starts_with(keyword_)) {
        state_ = State::Skipped;
        line_.clear();
      }
      return false;
    }
    case State::Taken:
      if (line_.size() + raw.size() <= kMaxLineBytes) line_.append(raw);
      return false;
    case State::Skipped: return false;
  }
  return false;
}

void AutorunInfReader::Take() {
  common::TextFormat form{format_->encoding, 0};
  if (format_->markBytes == 0) form.encoding = utf8_.Valid() ? common::Encoding::Utf8 : common::Encoding::Ansi;
  std::wstring text;
  common::DecodeText(line_, form, cp_, text);
  command_ = AutorunCommand(text);
  taking_ = false;
  done_ = true;
}

}  // namespace zorvix
