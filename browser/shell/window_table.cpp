#include "browser/shell/window_table.h"

#include <algorithm>
#include <cmath>

namespace corvane {

int WindowTable::NumberAt(int position) const {
  return position >= 0 && position < count_ ? positions_[position] : -1;
}

int WindowTable::PositionOf(int number) const {
  for (int i = 0; i < count_; ++i)
    if (positions_[i] == number) return i;
  return -1;
}

std::optional<int> WindowTable::AddLab() {
  if (Full()) return std::nullopt;
  int number = freeDepth_ > 0 ? free_[--freeDepth_] : count_;
  int at = active_ + 1;
  for (int i = count_; i > at; --i) positions_[i] = positions_[i - 1];
  positions_[at] = short(number);
  ++count_;
  active_ = short(at);
  return number;
}

void WindowTable::Free(int number) {
  if (freeDepth_ < kMaxWindows) free_[freeDepth_++] = short(number);
}

CloseResult WindowTable::CloseActive() {
  CloseResult r;
  if (count_ <= 0) return r;
  if (count_ == 1) {
    r.keptLast = true;
    r.neighbour = positions_[0];
    return r;
  }
  r.neighbour = active_ > 0 ? positions_[active_ - 1] : positions_[active_ + 1];
  r.closed = positions_[active_];
  Free(r.closed);
  for (int i = active_; i < count_ - 1; ++i) positions_[i] = positions_[i + 1];
  --count_;
  if (active_ > 0) --active_;
  return r;
}

std::optional<CloseResult> WindowTable::CloseNumber(int number) {
  int at = PositionOf(number);
  if (at < 0) return std::nullopt;
  if (at == active_ || count_ == 1) {
    short keep = active_;
    active_ = short(at);
    CloseResult r = CloseActive();
    if (r.keptLast) active_ = keep;
    return r;
  }
  CloseResult r;
  r.closed = number;
  Free(number);
  for (int i = at; i < count_ - 1; ++i) positions_[i] = positions_[i + 1];
  --count_;
  if (at < active_) --active_;
  r.neighbour = positions_[active_];
  return r;
}

std::vector<int> WindowTable::KeepOnly(int position) {
  std::vector<int> closed;
  if (position < 0 || position >= count_) return closed;
  for (int i = 0; i < count_; ++i)
    if (i != position) {
      closed.push_back(positions_[i]);
      Free(positions_[i]);
    }
  positions_[0] = positions_[position];
  count_ = 1;
  active_ = 0;
  return closed;
}

std::vector<int> WindowTable::CloseRight() {
  std::vector<int> closed;
  for (int i = active_ + 1; i < count_; ++i) {
    closed.push_back(positions_[i]);
    Free(positions_[i]);
  }
  if (active_ >= 0) count_ = short(active_ + 1);
  return closed;
}

std::vector<int> WindowTable::CloseLeft() {
  std::vector<int> closed;
  if (active_ <= 0) return closed;
  for (int i = 0; i < active_; ++i) {
    closed.push_back(positions_[i]);
    Free(positions_[i]);
  }
  for (int i = active_; i < count_; ++i) positions_[i - active_] = positions_[i];
  count_ = short(count_ - active_);
  active_ = 0;
  return closed;
}

void WindowTable::SetActive(int position) {
  if (position >= 0 && position < count_) active_ = short(position);
}

void WindowTable::StepActive(int delta) { SetActive(std::clamp(active_ + delta, 0, std::max(0, count_ - 1))); }

int TabPitch(int stripWidth, int count) {
  if (count <= 0) return 1850;
  // Halves go to the even neighbour, as the form's integer conversion rounds.
  double p = std::nearbyint(double(stripWidth - 1350) / count);
  return int(std::min(p, 1850.0));
}

std::vector<TabBox> LayoutTabs(const WindowTable& table, int stripWidth) {
  std::vector<TabBox> boxes;
  int p = TabPitch(stripWidth, table.count());
  boxes.reserve(table.count());
  for (int i = 0; i < table.count(); ++i)
    boxes.push_back({table.NumberAt(i), i * p + 50, std::max(0, p - 50), i == table.active()});
  return boxes;
}

}  // namespace corvane
