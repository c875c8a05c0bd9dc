#include "guard/process/process_rows.h"

#include <algorithm>

#include "common/text.h"
#include "guard/process/process_rules.h"

namespace zorvix {

ProcessRows::ProcessRows(TextOrder order) : order_(std::move(order)) {}

int ProcessRows::Find(uint32_t pid) const {
  for (size_t i = 0; i < rows_.size(); ++i)
    if (rows_[i].pid == pid) return int(i);
  return -1;
}

const ProcessRow* ProcessRows::Row(uint32_t pid) const {
  int i = Find(pid);
  return i < 0 ? nullptr : &rows_[i];
}

ProcessRow* ProcessRows::Row(uint32_t pid) {
  int i = Find(pid);
  return i < 0 ? nullptr : &rows_[i];
}

int ProcessRows::FindPath(std::wstring_view path) const {
  for (size_t i = 0; i < rows_.size(); ++i)
    if (common::EqualsNoCase(rows_[i].path, path)) return int(i);
  return -1;
}

void ProcessRows::Add(ProcessRow row) { rows_.push_back(std::move(row)); }

bool ProcessRows::Remove(uint32_t pid) {
  return RemoveIf([pid](const ProcessRow& r) { return r.pid == pid; }) > 0;
}

size_t ProcessRows::RemoveIf(const std::function<bool(const ProcessRow&)>& test) {
  return std::erase_if(rows_, test);
}

std::wstring ProcessRows::Text(size_t i, int column) const {
  const ProcessRow& r = rows_[i];
  switch (column) {
    case kColName: return r.name;
    case kColPid: return std::to_wstring(r.pid);
    case kColMemory: return MemoryText(r.workingSet);
    case kColOwner: return r.owner;
    case kColTrust: return r.trusted ? kTrustedMark : kUntrustedMark;
    case kColPriority: return PriorityText(r.priorityClass);
    case kColPath: return r.path;
    case kColRemark: return r.remark;
  }
  return L"";
}

void ProcessRows::SortBy(int column, bool ascending) {
  sortColumn_ = column;
  ascending_ = ascending;
  Resort();
}

void ProcessRows::HeaderClick(int column) { SortBy(column, column == sortColumn_ ? !ascending_ : true); }

void ProcessRows::Resort() {
  if (sortColumn_ < 0) return;
  // Each row's text is made once, not at every comparison.
  std::vector<std::pair<std::wstring, ProcessRow>> keyed;
  keyed.reserve(rows_.size());
  for (size_t i = 0; i < rows_.size(); ++i) keyed.emplace_back(Text(i, sortColumn_), std::move(rows_[i]));
  std::stable_sort(keyed.begin(), keyed.end(), [this](const auto& a, const auto& b) {
    int r = order_(a.first, b.first);
    return ascending_ ? r < 0 : r > 0;
  });
  for (size_t i = 0; i < rows_.size(); ++i) rows_[i] = std::move(keyed[i].second);
}

int ProcessRows::Selected() const {
  for (size_t i = 0; i < rows_.size(); ++i)
    if (rows_[i].selected) return int(i);
  return -1;
}

void ProcessRows::Select(int index) {
  for (size_t i = 0; i < rows_.size(); ++i) rows_[i].selected = rows_[i].focused = int(i) == index;
}

}  // namespace zorvix
