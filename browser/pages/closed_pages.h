// The closed-page list: the last 15 pages the user closed, newest first, for reopening.
#pragma once
#include <array>
#include <string>

namespace corvane {

constexpr int kClosedPages = 15;

struct ClosedPage {
  std::wstring caption;
  std::wstring url;
};

class ClosedPages {
 public:
  // Entry n = 1..15.
  const ClosedPage& Entry(int n) const { return entries_[n - 1]; }
  void SetEntry(int n, ClosedPage page) { entries_[n - 1] = std::move(page); }
  int Count() const { return count_; }
  void SetCount(int count) { count_ = count; }

  // A closed page with a non-empty caption goes in front (caption cut to 40 characters); the oldest falls
  // out. False when the caption is empty and nothing changed.
  bool Remember(const std::wstring& caption, const std::wstring& url);
  // Takes entry n out (later entries move up, entry 15 becomes empty) and returns its address.
  std::wstring Reopen(int n);
  // Entry number of a menu key "ur1".."ur15", or 0.
  static int KeyNumber(const std::wstring& key);

 private:
  std::array<ClosedPage, kClosedPages> entries_;
  int count_ = 0;
};

}  // namespace corvane
