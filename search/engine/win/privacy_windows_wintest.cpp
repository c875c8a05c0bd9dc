#include <gtest/gtest.h>

#include <functional>
#include <optional>

#include "common/testing/temp_dir.h"
#include "common/testing/win/msgbox_answers.h"
#include "common/text_codec.h"
#include "common/win/pump.h"
#include "common/win/settings_store.h"
#include "common/win/ui/modal.h"
#include "search/engine/search_state.h"
#include "search/engine/win/testing/at_next_pump.h"
#include "search/engine/win/testing/keys.h"
#include "search/engine/win/frm_main.h"
#include "search/extras/win/password_crypto.h"
#include "search/extras/win/password_store.h"
#include "search/extras/win/privacy_windows.h"

namespace sercavo {
namespace {

TEST(PlatformCrypto, Pbkdf2OverSha256AsPublished) {
  const PlatformCrypto& c = PlatformCrypto::Get();
  EXPECT_EQ(Hex(c.Derive("password", "salt", 1).value_or("")),
            "120fb6cffcf8b32c43e7225256c4f837a86548c92ccc35480805987cb70be17b");
  EXPECT_EQ(Hex(c.Derive("password", "salt", 2).value_or("")),
            "ae4d0c95af6b46d32d0adff928f06dd02a303f8ef3c251dfd6e2d85a95474c43");
  std::string a = c.Random(16), b = c.Random(16);
  EXPECT_EQ(a.size(), 16u);
  EXPECT_NE(a, b);
}

class Privacy : public testing::Test {
 protected:
  void SetUp() override {
    saved_ = common::QuerySetting(L"Sercavo", PasswordSection(), L"pd");
    common::DeleteSetting(L"Sercavo", PasswordSection(), L"pd");
    LoggedIn() = false;
  }
  void TearDown() override {
    if (saved_)
      common::SaveSetting(L"Sercavo", PasswordSection(), L"pd", *saved_);
    else
      common::DeleteSetting(L"Sercavo", PasswordSection(), L"pd");
    LoggedIn() = false;
  }
  static void Type(HWND edit, const std::wstring& text) { SetWindowTextW(edit, text.c_str()); }
  // Runs the password window that the login's "设置密码" opens, typing into it.
  void SetPassword(PasswordManger& login, const std::wstring& password, const std::wstring& confirmation) {
    test_support::AtNextPump inWindow([&] {
      HWND w = FindWindowW(kPasswordClass, L"用户密码 设置");
      ASSERT_NE(w, nullptr);
      Type(GetDlgItem(w, PasswordSet::kIdPassword), password);
      Type(GetDlgItem(w, PasswordSet::kIdConfirm), confirmation);
      SendMessageW(w, WM_COMMAND, PasswordSet::kIdOk, 0);
      if (IsWindow(w)) SendMessageW(w, WM_CLOSE, 0, 0);  // refused: leave it
    });
    login.Command2Click();
    EXPECT_TRUE(inWindow.ran());
  }
  std::optional<std::wstring> saved_;
};

TEST_F(Privacy, FirstUseNewPasswordRulesAndTheHashStored) {
  PasswordManger login(PlatformCrypto::Get());
  ASSERT_TRUE(login.Load(nullptr));
  EXPECT_EQ(common::ui::WindowText(login.control(PasswordManger::kIdSet)), kSetPassword);
  EXPECT_EQ(common::ui::WindowText(login.control(PasswordManger::kIdAccount)), L"超级用户");
  suite::MsgBoxAnswers answers;
  login.Command1Click();
  ASSERT_EQ(answers.shown().size(), 1u);
  EXPECT_EQ(answers.shown()[0].text, L"对不起！您还没有设置密码……    ");
  SetPassword(login, L"ab", L"ab");
  ASSERT_EQ(answers.shown().size(), 2u);
  EXPECT_EQ(answers.shown()[1].text, L"“用户密码”长度不能小于三位，请重新输入……  ");
  EXPECT_EQ(answers.shown()[1].flags & MB_ICONERROR, UINT(MB_ICONERROR));
  SetPassword(login, L"abc", L"abd");
  ASSERT_EQ(answers.shown().size(), 3u);
  EXPECT_EQ(answers.shown()[2].text, L"“用户密码”与“确认密码”必须一致，请重新输入……  ");
  EXPECT_FALSE(LoggedIn());
  SetPassword(login, L"密码abc", L"密码abc");
  EXPECT_EQ(answers.shown().size(), 3u);
  EXPECT_TRUE(LoggedIn());
  EXPECT_EQ(common::ui::WindowText(login.control(PasswordManger::kIdSet)), kChangePassword);
  std::wstring stored = ReadPasswordValue();
  EXPECT_EQ(stored.rfind(L"pbkdf2-sha256$", 0), 0u);
  EXPECT_EQ(stored.find(L"abc"), std::wstring::npos);
  login.Destroy();
}

TEST_F(Privacy, LoginChangeAndTheOldFormReplacedAtLogin) {
  WritePasswordValue(L"-15396,-15637,97,98,99,");  // 密码abc in the old character-code form
  PasswordManger login(PlatformCrypto::Get());
  ASSERT_TRUE(login.Load(nullptr));
  EXPECT_EQ(common::ui::WindowText(login.control(PasswordManger::kIdSet)), kChangePassword);
  suite::MsgBoxAnswers answers;
  // Changing needs the old password first.
  login.Command2Click();
  ASSERT_EQ(answers.shown().size(), 1u);
  EXPECT_EQ(answers.shown()[0].text, L"请您首先输入原来的密码……   ");
  Type(login.control(PasswordManger::kIdPassword), L"密码ABC");
  login.Command1Click();
  ASSERT_EQ(answers.shown().size(), 2u);
  EXPECT_EQ(answers.shown()[1].text, L"对不起！您的帐号或密码不对，请重新输入……    ");
  EXPECT_EQ(answers.shown()[1].flags & MB_ICONERROR, UINT(MB_ICONERROR));
  EXPECT_FALSE(LoggedIn());
  Type(login.control(PasswordManger::kIdPassword), L"密码abc");
  login.Command1Click();
  EXPECT_TRUE(LoggedIn());
  EXPECT_EQ(login.hwnd(), nullptr);
  std::wstring upgraded = ReadPasswordValue();
  EXPECT_EQ(upgraded.rfind(L"pbkdf2-sha256$", 0), 0u);
  // The hash takes the same password, and a change goes through it.
  PasswordManger again(PlatformCrypto::Get());
  ASSERT_TRUE(again.Load(nullptr));
  Type(again.control(PasswordManger::kIdPassword), L"密码abc");
  SetPassword(again, L"new", L"new");
  EXPECT_EQ(common::ui::WindowText(again.control(PasswordManger::kIdPassword)), L"");
  EXPECT_NE(ReadPasswordValue(), upgraded);
  Type(again.control(PasswordManger::kIdPassword), L"new");
  again.Command1Click();
  EXPECT_TRUE(LoggedIn());
  EXPECT_EQ(answers.shown().size(), 2u);
}

TEST_F(Privacy, EnterAltYTabAndEscInTheLoginWindow) {
  using test_support::PostKey;
  PasswordManger login(PlatformCrypto::Get());
  ASSERT_TRUE(login.Load(nullptr));
  ShowWindow(login.hwnd(), SW_SHOW);
  HWND box = login.control(PasswordManger::kIdPassword);
  suite::MsgBoxAnswers answers;
  for (bool alt : {false, true}) {
    SetFocus(box);
    PostKey(box, alt ? 'y' : VK_RETURN, alt);  // Enter in the password box and "确定(&Y)" both log in
    common::PumpMessages();
    ASSERT_EQ(answers.shown().size(), alt ? 2u : 1u);
    EXPECT_EQ(answers.shown().back().text, L"对不起！您还没有设置密码……    ");
    EXPECT_EQ(GetFocus(), login.control(PasswordManger::kIdSet));
  }
  SetFocus(box);
  PostKey(box, VK_TAB);
  common::PumpMessages();
  EXPECT_EQ(GetFocus(), login.control(PasswordManger::kIdLogin));
  PostKey(GetFocus(), VK_ESCAPE);
  common::PumpMessages();
  EXPECT_EQ(login.hwnd(), nullptr);
  EXPECT_FALSE(LoggedIn());
}

// Answers the login window as a user would when it shows (types the password, or nothing, and presses
// "确定(&Y)" or closes it) and records whether the shield window followed.
bool shieldsShown = false;
const wchar_t* typed = nullptr;  // null: the login window is closed without typing
void AnswerLogin(common::ui::Window& shown) {
  HWND w = shown.hwnd();
  if (dynamic_cast<FormSet*>(&shown)) {
    shieldsShown = true;
    PostMessageW(w, WM_CLOSE, 0, 0);
  }
  if (dynamic_cast<PasswordManger*>(&shown)) {
    if (typed) {
      SetWindowTextW(GetDlgItem(w, PasswordManger::kIdPassword), typed);
      PostMessageW(w, WM_COMMAND, MAKEWPARAM(PasswordManger::kIdLogin, BN_CLICKED), 0);
    }
    PostMessageW(w, WM_CLOSE, 0, 0);  // a refused login leaves the window open: then it is closed
  }
}

TEST_F(Privacy, ShieldsOnlyAfterALoginThatLastsTheRun) {
  ASSERT_TRUE(WritePasswordValue(HashForm(L"secret", PlatformCrypto::Get())));
  std::optional<common::ui::ModalHookScope> answering(std::in_place, AnswerLogin);
  suite::MsgBoxAnswers answers;
  auto open = [](const wchar_t* password) {
    shieldsShown = false;
    typed = password;
    OpenPrivacy(nullptr, State().shieldFlags);
    return shieldsShown;
  };
  EXPECT_FALSE(open(nullptr));   // closed without logging in
  EXPECT_FALSE(open(L"wrong"));  // refused: the login window stays until closed
  EXPECT_FALSE(LoggedIn());
  EXPECT_TRUE(open(L"secret"));  // logged in
  EXPECT_TRUE(LoggedIn());
  EXPECT_TRUE(open(nullptr));  // still logged in: closing the login window leads on
  answering.reset();
  ASSERT_EQ(answers.shown().size(), 1u);
  EXPECT_EQ(answers.shown()[0].text, L"对不起！您的帐号或密码不对，请重新输入……    ");
}

TEST_F(Privacy, APasswordThatIsNoTextIsRefusedAndAnEmptyBoxNeverLogsIn) {
  PasswordManger login(PlatformCrypto::Get());
  ASSERT_TRUE(login.Load(nullptr));
  suite::MsgBoxAnswers answers;
  std::wstring lone = L"abc";
  lone += wchar_t(0xD800);  // half a character pair, pasted from elsewhere
  SetPassword(login, lone, lone);
  ASSERT_EQ(answers.shown().size(), 1u);
  EXPECT_EQ(answers.shown()[0].text, L"“用户密码”中有无法保存的字符，请重新输入……  ");
  EXPECT_EQ(answers.shown()[0].flags & MB_ICONERROR, UINT(MB_ICONERROR));
  EXPECT_EQ(ReadPasswordValue(), L"");
  EXPECT_FALSE(LoggedIn());
  EXPECT_EQ(common::ui::WindowText(login.control(PasswordManger::kIdSet)), kSetPassword);
  login.Destroy();
  // A value such a password left behind before: the hash of nothing. An empty box does not open it.
  std::string salt(16, 's');
  std::string key = *PlatformCrypto::Get().Derive("", salt, 1000);
  ASSERT_TRUE(
      WritePasswordValue(L"pbkdf2-sha256$1000$" + common::FromUtf8(Hex(salt)) + L"$" + common::FromUtf8(Hex(key))));
  PasswordManger again(PlatformCrypto::Get());
  ASSERT_TRUE(again.Load(nullptr));
  again.Command1Click();
  ASSERT_EQ(answers.shown().size(), 2u);
  EXPECT_EQ(answers.shown()[1].text, L"对不起！您的帐号或密码不对，请重新输入……    ");
  EXPECT_FALSE(LoggedIn());
  again.Destroy();
}

TEST_F(Privacy, ASavedShieldHidesTheNextPictureSearch) {
  suite::TempDir t;
  t.Write(L"photo.jpg", std::string(40000, 'x'));
  State() = SearchState{};
  State().shieldFlags = {L"0", L"0", L"0", L"0", L"0"};
  auto savedSet = std::vector<std::optional<std::wstring>>();
  for (int i = 0; i < 5; ++i) savedSet.push_back(common::QuerySetting(L"Sercavo", L"set", std::to_wstring(i) + L"sou"));
  common::SaveSetting(L"Sercavo", L"set", L"0sou", L"1");
  FormSet shields(State().shieldFlags);
  ASSERT_TRUE(shields.Load(nullptr));
  EXPECT_EQ(SendMessageW(shields.control(FormSet::kIdShield), BM_GETCHECK, 0, 0), BST_CHECKED);
  SendMessageW(shields.control(FormSet::kIdShield + 2), BM_SETCHECK, BST_CHECKED, 0);
  suite::MsgBoxAnswers answers;
  shields.Command1Click();
  ASSERT_EQ(answers.shown().size(), 1u);
  EXPECT_EQ(answers.shown()[0].text, L"恭喜您，设置成功……    ");
  EXPECT_EQ(shields.hwnd(), nullptr);
  EXPECT_EQ(common::GetSetting(L"Sercavo", L"set", L"2sou"), L"1");
  EXPECT_EQ(common::GetSetting(L"Sercavo", L"set", L"1sou"), L"0");
  EXPECT_EQ(State().shieldFlags[2], L"1");  // the running program obeys at once
  FrmMain main;
  ASSERT_TRUE(main.Load(L""));
  State().searchMode = kPictures;
  ASSERT_TRUE(main.Search(t.wpath()));
  EXPECT_EQ(main.lvw().Count(), 0);
  EXPECT_EQ(State().scannedCount, 1);
  for (int i = 0; i < 5; ++i) {
    std::wstring key = std::to_wstring(i) + L"sou";
    if (savedSet[size_t(i)])
      common::SaveSetting(L"Sercavo", L"set", key, *savedSet[size_t(i)]);
    else
      common::DeleteSetting(L"Sercavo", L"set", key);
  }
  main.Destroy();
}

}  // namespace
}  // namespace sercavo
