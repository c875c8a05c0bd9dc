// The rows of the process table: what is known of each listed process, their order and their
// selection. The list control asks for the texts as it draws; nothing is read back from it.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace zorvix {

enum Column { kColName, kColPid, kColMemory, kColOwner, kColTrust, kColPriority, kColPath, kColRemark, kColumnCount };

// A listed process: its identity (PID and start time), its program and what the columns show of it.
struct ProcessRow {
  uint32_t pid = 0;
  uint64_t started = 0;
  std::wstring name;
  std::wstring path;  // empty when the process could not be opened
  uint64_t workingSet = 0;
  unsigned long priorityClass = 0;  // 0: not known
  bool trusted = false;
  std::wstring owner, remark;
  bool selected = false, focused = false;
};

// The order of two texts as the list's header sorts them (the platform's, ignoring case).
using TextOrder = std::function<int(const std::wstring& a, const std::wstring& b)>;

class ProcessRows {
 public:
  explicit ProcessRows(TextOrder order);
  size_t size() const { return rows_.size(); }
  // Rows in the order shown.
  const ProcessRow& operator[](size_t i) const { return rows_[i]; }
  ProcessRow& operator[](size_t i) { return rows_[i]; }
  // Index of the row of a PID, or -1.
  int Find(uint32_t pid) const;
  const ProcessRow* Row(uint32_t pid) const;
  ProcessRow* Row(uint32_t pid);
  // Index of the first row (in the order shown) whose path equals path ignoring case, or -1.
  int FindPath(std::wstring_view path) const;

  // A new row goes last, until the next sort.
  void Add(ProcessRow row);
  // Removes the row of a PID; false when there was none.
  bool Remove(uint32_t pid);
  // Removes every row the test picks; how many went.
  size_t RemoveIf(const std::function<bool(const ProcessRow&)>& test);

  // A column's text as the list shows it.
  std::wstring Text(size_t i, int column) const;

  // Sorting by the texts of a column: a header click on the sort column flips the order, on another
  // column sorts ascending by that one. Rows keep their place as their texts change until the next sort.
  void SortBy(int column, bool ascending);
  void HeaderClick(int column);
  void Resort();
  int sortColumn() const { return sortColumn_; }
  bool sortAscending() const { return ascending_; }

  // Index of the first selected row, or -1.
  int Selected() const;
  // Selects one row (none for -1), which takes the focus.
  void Select(int index);

 private:
  TextOrder order_;
  std::vector<ProcessRow> rows_;
  int sortColumn_ = -1;
  bool ascending_ = true;
};

}  // namespace zorvix
