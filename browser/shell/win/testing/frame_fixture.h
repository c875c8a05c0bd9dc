// A frame over a temporary program folder with the engine double, its settings cleared before and after,
// and the outside programs it starts recorded instead of run.
#pragma once
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "browser/pages/open_pages.h"
#include "browser/shell/win/frm_main.h"
#include "browser/shell/win/testing/fake_engine.h"
#include "common/testing/temp_dir.h"
#include "common/testing/win/text_files.h"
#include "common/win/settings_store.h"
#include "common/win/ui/modal.h"

namespace corvane::testing {

inline void ClearSettings() {
  for (const wchar_t* s : {L"myie", L"unload", L"first", L"CancelPage"}) common::DeleteSettingSection(kApp, s);
}

struct Launched {
  std::wstring file, params;
  int show;
};

class Frame : public ::testing::Test {
 protected:
  void SetUp() override {
    ClearSettings();
    common::SaveSetting(kApp, L"myie", L"Start", L"about:blank");
    common::SaveSetting(kApp, L"first", L"load", L"SoftLoad");
    common::SaveSetting(kApp, L"unload", L"askme", L"0");
  }
  void TearDown() override {
    common::ui::SetModalHook(nullptr);
    frame.reset();
    ClearSettings();
  }
  FrmMain& Start(const std::wstring& cmd = L"") {
    frame = Another(cmd);
    return *frame;
  }
  // A browser of its own over the same program folder, as a second instance started beside the first.
  std::unique_ptr<FrmMain> Another(const std::wstring& cmd = L"") {
    FrameOptions options{dir.wpath(), FakeEngines(), false};
    options.launch = [this](const std::wstring& file, const std::wstring& params, int show) {
      launched.push_back({file, params, show});
      return true;
    };
    auto f = std::make_unique<FrmMain>(std::move(options));
    EXPECT_TRUE(f->Load(cmd));
    return f;
  }
  FakeEngine& Engine(int number) { return static_cast<FakeEngine&>(frame->PageAt(number)->Web()); }
  FakeEngine& Active() { return Engine(frame->table().ActiveNumber()); }
  std::wstring Caption() { return common::ui::WindowText(frame->hwnd()); }
  // The pages in the open-pages file of a browser (the frame's own when none is named).
  std::vector<OpenPage> PagesFile(const FrmMain* of = nullptr) {
    auto text = suite::ReadText((of ? of : frame.get())->pagesFile());
    return text ? ParseOpenPages(*text) : std::vector<OpenPage>{};
  }
  // Addresses of the open pages in tab order.
  std::vector<std::wstring> Urls() {
    std::vector<std::wstring> urls;
    for (int n : frame->table().Order()) urls.push_back(Engine(n).url);
    return urls;
  }

  suite::TempDir dir;
  std::unique_ptr<FrmMain> frame;
  std::vector<Launched> launched;
};

}  // namespace corvane::testing
