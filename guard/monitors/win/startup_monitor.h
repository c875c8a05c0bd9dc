// The start-up registry monitor: reads the start-up locations into its queue when a new process appeared
// or a watched key changed, and asks about one value at a time.
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "guard/monitors/startup_monitor.h"

namespace zorvix {

// Change notifications of the watched keys (each root in its views). A key missing now is looked for again
// at each check, so that one created later is watched too.
class KeyWatch {
 public:
  explicit KeyWatch(const std::vector<WatchedLocation>& locations);
  ~KeyWatch();
  KeyWatch(const KeyWatch&) = delete;
  KeyWatch& operator=(const KeyWatch&) = delete;
  // True when a watched key changed, or a missing one appeared, since the last check.
  bool Changed();

 private:
  struct Entry {
    RegRoot root;
    std::wstring key;
    RegView view;
    HKEY h = nullptr;
    HANDLE event = nullptr;
  };
  bool Arm(Entry& e);
  std::vector<Entry> entries_;
};

class StartupMonitor {
 public:
  struct Hooks {
    std::function<bool(const std::wstring& program)> isTrusted;
    std::function<std::wstring()> allowList;  // the registry allow list
    // Opens the ask dialog in registry mode about one value.
    std::function<void(const StartupItem& item, const std::wstring& program)> ask;
  };
  explicit StartupMonitor(std::vector<WatchedLocation> locations = WatchedLocations());
  void SetHooks(Hooks hooks) { hooks_ = std::move(hooks); }

  // The snapshot: the queue becomes every value of the watched locations.
  void readregstart();
  // The asker, once a tick: asks about the last queued value that is not skipped, unless an ask window is
  // open. Skipped values are dropped.
  void AskStep();
  // True when a watched key changed since the last call.
  bool KeysChanged() { return watch_.Changed(); }
  StartupQueue& queue() { return queue_; }
  const std::vector<WatchedLocation>& locations() const { return locations_; }

 private:
  std::vector<WatchedLocation> locations_;
  KeyWatch watch_;
  StartupQueue queue_;
  Hooks hooks_;
};

}  // namespace zorvix
