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
  void GoBack() override {}
  void GoForward() override {}
  void Stop() override {}
  void Refresh() override {}
  void RegisterAsBrowser() override { registered = true; }
  IDispatch* Application() override { return nullptr; }

  // The events a loaded page brings: navigation, title and completion.
  bool Load(const std::wstring& u, const std::wstring& t) {
    if (!sink_) return false;
    if (sink_->BeforeNavigate2(u)) return false;
    url = u;
    title = t;
    sink_->DownloadBegin();
    sink_->TitleChange(t);
    sink_->NavigateComplete2(u);
    sink_->DownloadComplete();
    return true;
  }
  EngineEvents* sink() const { return sink_; }

  std::wstring url, title;
  std::vector<std::wstring> navigations;
  int scrolled = 0, width = 0, height = 0;
  bool offline = false, silent = false, registered = false, closed = false;

 private:
  EngineEvents* sink_ = nullptr;
};

inline EngineFactory FakeEngines() {
  return [] { return std::unique_ptr<PageEngine>(std::make_unique<FakeEngine>()); };
}

}  // namespace corvane::testing
