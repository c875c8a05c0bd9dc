#include "guard/monitors/win/startup_monitor.h"

#include "common/text.h"
#include "common/win/registry.h"
#include "common/win/system.h"
#include "guard/monitors/win/run_values.h"
#include "guard/process/process_rules.h"
#include "guard/guard_state.h"

namespace zorvix {

KeyWatch::KeyWatch(const std::vector<WatchedLocation>& locations) {
  for (const WatchedLocation& w : locations)
    for (RegView view : ViewsOf(w.root)) entries_.push_back({w.root, w.key, view});
  for (Entry& e : entries_) Arm(e);
}

KeyWatch::~KeyWatch() {
  for (Entry& e : entries_) {
    if (e.h) RegCloseKey(e.h);
    if (e.event) CloseHandle(e.event);
  }
}

bool KeyWatch::Arm(Entry& e) {
  if (!e.h) {
    REGSAM view = e.view == RegView::Wow32 ? KEY_WOW64_32KEY : KEY_WOW64_64KEY;
    if (RegOpenKeyExW(common::RootKey(e.root), e.key.c_str(), 0, KEY_NOTIFY | view, &e.h) != ERROR_SUCCESS) {
      e.h = nullptr;
      return false;
    }
  }
  if (!e.event) e.event = CreateEventW(nullptr, FALSE, FALSE, nullptr);
  LONG r = RegNotifyChangeKeyValue(e.h, FALSE, REG_NOTIFY_CHANGE_NAME | REG_NOTIFY_CHANGE_LAST_SET, e.event, TRUE);
  if (r != ERROR_SUCCESS) {  // the key was deleted: look for it again next time
    RegCloseKey(e.h);
    e.h = nullptr;
    return false;
  }
  return true;
}

bool KeyWatch::Changed() {
  bool changed = false;
  for (Entry& e : entries_) {
    if (!e.h) {
      changed = Arm(e) || changed;  // a key that appeared may already hold values
      continue;
    }
    if (WaitForSingleObject(e.event, 0) == WAIT_OBJECT_0) {
      changed = true;
      Arm(e);
    }
  }
  return changed;
}

StartupMonitor::StartupMonitor(std::vector<WatchedLocation> locations)
    : locations_(std::move(locations)), watch_(locations_) {}

void StartupMonitor::readregstart() {
  queue_.Reset();
  ListStartupValues(locations_, [this](const RunValue& v) {
    queue_.Add({v.program, v.location, v.root, v.view, v.key, v.name});
  });
}

void StartupMonitor::AskStep() {
  if (!hooks_.ask) return;
  while (!Guard().askWindowOpen) {
    std::optional<StartupItem> item = queue_.TakeLast();
    if (!item) return;
    std::wstring program = ExtractRunPath(item->program);
    // The guard's own value, which its first run writes, is no stranger to ask about.
    if (common::EqualsNoCase(program, common::ExePath())) continue;
    std::wstring allowed = hooks_.allowList ? hooks_.allowList() : L"";
    auto trusted = [&] { return hooks_.isTrusted && hooks_.isTrusted(program); };
    if (SkipReasonFor(program, item->location, allowed, trusted) != SkipReason::None) continue;
    hooks_.ask(*item, program);
    return;
  }
}

}  // namespace zorvix
