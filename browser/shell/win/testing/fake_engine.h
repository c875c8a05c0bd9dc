// A stand-in for the HTML control: records what the page window asks of it, and lets a test fire the
// control's events through the page window's sink.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "browser/shell/win/engine.h"

namespace corvane::testing {

class FakeEngine : public PageEngine {
 public:
  bool Create(HWND, EngineEvents* sink) override {
    sink_ = sink;
    return true;
  }
  void Close() override {
    if (firing_ > 0) ++closedDuringEvent;
    sink_ = nullptr;
    closed = true;
  }
  void Navigate(const std::wstring& u) override {
    navigations.push_back(u);
    url = u;
  }
  std::wstring LocationURL() override { return url; }
  std::wstring DocumentTitle() override { return title; }
  void Move(int, int, int w, int h) override { width = w, height = h; }
  void SetOffline(bool on) override { offline = on; }
  void SetSilent(bool on) override { silent = on; }
  void ScrollBy(int dy) override { scrolled += dy; }
  void FocusDocument() override {}
  void GoBack() override { calls.push_back(L"GoBack"); }
  void GoForward() override { calls.push_back(L"GoForward"); }
  void Stop() override { calls.push_back(L"Stop"); }
  void Refresh() override { calls.push_back(L"Refresh"); }
  void ExecWB(long command, long option) override {
    calls.push_back(L"ExecWB " + std::to_wstring(command) + L" " + std::to_wstring(option));
  }
  std::wstring SelectedText() override { return selection; }
  void RegisterAsBrowser() override { registered = true; }
  IDispatch* Application() override { return nullptr; }
  bool TranslateAccelerator(MSG& msg) override {
    keys.push_back(msg);
    return consumeKeys;
  }

  // The events a loaded page brings: navigation, title and completion. False when it was cancelled.
  bool Load(const std::wstring& u, const std::wstring& t) {
    if (!sink_ || Fire([&] { return sink_->BeforeNavigate2(u, true); })) return false;
    url = u;
    title = t;
    Fire([&] { return sink_ && (sink_->DownloadBegin(), true); });
    Fire([&] { return sink_ && (sink_->TitleChange(t), true); });
    Fire([&] { return sink_ && (sink_->NavigateComplete2(u), true); });
    Fire([&] { return sink_ && (sink_->DownloadComplete(), true); });
    return true;
  }
  // A frame of the page navigates; true when it was cancelled.
  bool LoadFrame(const std::wstring& u) {
    return sink_ && Fire([&] { return sink_->BeforeNavigate2(u, false); });
  }
  // The page's script closes its window.
  void CloseByScript() {
    Fire([&] { return sink_ && (sink_->WindowClosing(), true); });
  }
  // Runs one event as the control does: the engine is inside its event dispatch meanwhile.
  template <typename F>
  bool Fire(F event) {
    ++firing_;
    bool r = event();
    --firing_;
    return r;
  }
  EngineEvents* sink() const { return sink_; }

  std::wstring url, title, selection;
  std::vector<std::wstring> calls;  // methods and commands called, in order
  std::vector<std::wstring> navigations;
  int scrolled = 0, width = 0, height = 0;
  bool offline = false, silent = false, registered = false, closed = false;
  std::vector<MSG> keys;
  bool consumeKeys = true;
  // Engines torn down while one of their own events ran, over the whole test run.
  static inline int closedDuringEvent = 0;

 private:
  EngineEvents* sink_ = nullptr;
  int firing_ = 0;
};

inline EngineFactory FakeEngines() {
  return [] { return std::unique_ptr<PageEngine>(std::make_unique<FakeEngine>()); };
}

}  // namespace corvane::testing
