// The browser's window table: which page windows exist (numbers 0..50), their tab order, the active
// position and the stack of free numbers. Pure bookkeeping; the frame applies the results to windows.
#pragma once
#include <array>
#include <optional>
#include <vector>

namespace corvane {

constexpr int kMaxWindows = 51;

// One tab's place on the strip, in twips.
struct TabBox {
  int number;
  int left;
  int width;
  bool active;
};

// What closing the active window did.
struct CloseResult {
  bool keptLast = false;  // the only window stays and shows a blank page
  int closed = -1;        // number of the window to destroy
  int neighbour = -1;     // number of the window that is active now
};

class WindowTable {
 public:
  int count() const { return count_; }
  int active() const { return active_; }
  int freeDepth() const { return freeDepth_; }
  // Window number at a tab position, or -1 outside 0..count-1.
  int NumberAt(int position) const;
  int ActiveNumber() const { return NumberAt(active_); }
  // Tab position of a window number, or -1 when no open window has it.
  int PositionOf(int number) const;
  bool Full() const { return count_ >= kMaxWindows; }
  // Numbers of the open windows in tab order.
  std::vector<int> Order() const { return {positions_.begin(), positions_.begin() + count_}; }

  // addlab: a new number right of the active tab, which becomes active. nullopt when the table is full.
  std::optional<int> AddLab();
  // delline: closes the active window, or keeps the only one.
  CloseResult CloseActive();
  // Closes the window with this number wherever it stands; the active window stays active unless it is
  // the one closed. nullopt when the number is not open.
  std::optional<CloseResult> CloseNumber(int number);
  // Keeps only the window at the given position (closeall keeps position 0); returns the numbers closed.
  std::vector<int> KeepOnly(int position);
  // Numbers right / left of the active tab, closed; the active window stays.
  std::vector<int> CloseRight();
  std::vector<int> CloseLeft();

  void SetActive(int position);
  // Moves the active position one step (not past either end).
  void StepActive(int delta);

 private:
  void Free(int number);
  std::array<short, kMaxWindows> positions_{};
  std::array<short, kMaxWindows> free_{};
  short count_ = 0;
  short active_ = -1;
  short freeDepth_ = 0;
};

// Tab pitch for the strip width W (twips): (W - 1350) / count rounded, at most 1850.
int TabPitch(int stripWidth, int count);
// pailie's boxes for every tab in order.
std::vector<TabBox> LayoutTabs(const WindowTable& table, int stripWidth);

}  // namespace corvane
