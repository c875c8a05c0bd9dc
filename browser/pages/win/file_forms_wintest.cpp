// The block-list editor, the group editor and the add-favorite dialog on files of every form other
// programs write: each is read, edited through its window and written back in its own form, byte for
// byte except the edited line; a text the form cannot hold never reaches the file as a lossy form. Also the
// block list's own ways with its lines: whole items, long ones scrolled sideways.
#include <gtest/gtest.h>

#include "browser/pages/groups.h"
#include "browser/pages/win/formgroup.h"
#include "browser/pages/win/frm_favorites.h"
#include "browser/pages/win/group_files.h"
#include "browser/pages/win/formnew.h"
#include "common/address_form.h"
#include "common/testing/temp_dir.h"
#include "common/testing/win/msgbox_answers.h"
#include "common/testing/win/text_files.h"
#include "common/win/code_page.h"
#include "common/win/ui/modal.h"

namespace corvane {
namespace {
using common::Encoding;
using common::TextFormat;

// One form of file: its mark and the bytes of each line (its end included), so that a line may also be
// bytes no encoder would write.
struct FileCase {
  const char* name;
  TextFormat format;
  std::vector<std::string> lines;
};

std::string Body(const TextFormat& f, const std::wstring& text) {
  auto bytes = common::EncodeExactly(text, {f.encoding, 0}, common::AnsiCodePage());
  EXPECT_TRUE(bytes) << "the test text fits its form";
  return bytes.value_or("");
}

// A text literal whole, NULs inside it included.
template <size_t N>
std::wstring Whole(const wchar_t (&s)[N]) {
  return std::wstring(s, N - 1);
}

std::string Whole(const FileCase& c, const std::vector<std::string>& lines) {
  std::string s = common::MarkOf(c.format);
  for (const auto& line : lines) s += line;
  return s;
}

// Every form, each with a line of the form's own characters; the last case mixes UTF-8 and code-page
// bytes with bytes that are no character, a NUL and a line ended by LF alone.
std::vector<FileCase> Cases(const std::vector<std::wstring>& lines) {
  std::vector<FileCase> cases;
  for (auto [name, format] : {std::pair{"UTF-16 LE", TextFormat{Encoding::Utf16Le, 2}},
                              std::pair{"UTF-16 BE", TextFormat{Encoding::Utf16Be, 2}},
                              std::pair{"UTF-8 with mark", TextFormat{Encoding::Utf8, 3}},
                              std::pair{"UTF-8", TextFormat{Encoding::Utf8, 0}},
                              std::pair{"936", TextFormat{Encoding::Ansi, 0}}}) {
    FileCase c{name, format, {}};
    for (const auto& line : lines) c.lines.push_back(Body(format, line));
    cases.push_back(c);
  }
  FileCase mixed{"mixed and invalid bytes", {Encoding::Ansi, 0}, {}};
  for (const auto& line : lines) mixed.lines.push_back(suite::Ansi(line));
  mixed.lines.insert(mixed.lines.begin() + 1, std::string("http://\xE4\xB8\xAD.cn/\xFF\x81\r\n"));
  mixed.lines.insert(mixed.lines.begin() + 2, std::string("http://n\0l.cn/\n", 15));
  cases.push_back(mixed);
  return cases;
}

class FileForms : public ::testing::Test {
 protected:
  std::wstring Path(const std::wstring& rel) const { return dir.wpath() + L"\\" + rel; }
  std::string Bytes(const std::wstring& rel) const { return suite::ReadBytes(Path(rel)).value_or("<missing>"); }
  suite::TempDir dir;
};

// ---- the block-list editor ----

TEST_F(FileForms, BlockListAddsAndDeletesKeepingEveryOtherLine) {
  for (const FileCase& c : Cases({L"http://中.cn/a\r\n", L"http://b.cn/新闻\r\n"})) {
    SCOPED_TRACE(c.name);
    std::wstring file = dir.Write(L"guanggao.txt", Whole(c, c.lines));
    // Add: the file as it was, and the new line in its form.
    Formnew add(file, L"http://广告.cn/弹出");
    ASSERT_TRUE(add.Create(nullptr));
    EXPECT_EQ(add.Items().size(), c.lines.size());
    common::ui::ClickControl(add.hwnd(), Formnew::kCommand1);
    EXPECT_TRUE(add.saved());
    EXPECT_FALSE(IsWindow(add.hwnd()));
    std::vector<std::string> lines = c.lines;
    lines.push_back(Body(c.format, L"http://广告.cn/弹出\r\n"));
    EXPECT_EQ(Bytes(L"guanggao.txt"), Whole(c, lines));
    // Delete the second item: the others stay byte for byte, NUL and lone bytes included.
    Formnew del(file, L"");
    ASSERT_TRUE(del.Create(nullptr));
    ASSERT_EQ(del.Items().size(), lines.size());
    SendMessageW(del.List1(), LB_SETCURSEL, 1, 0);
    common::ui::ClickControl(del.hwnd(), Formnew::kCommand2);
    EXPECT_TRUE(del.saved());
    lines.erase(lines.begin() + 1);
    EXPECT_EQ(Bytes(L"guanggao.txt"), Whole(c, lines));
  }
}

TEST_F(FileForms, BlockListItemsAreTheLinesWholeNotWhatTheListBoxShows) {
  std::wstring file = dir.Write(L"guanggao.txt", Body({Encoding::Utf16Le, 2}, Whole(L"\xFEFFhttp://a\0b/\r\n")));
  Formnew f(file, L"");
  ASSERT_TRUE(f.Create(nullptr));
  ASSERT_EQ(f.Items().size(), 1u);
  EXPECT_EQ(f.Items()[0], std::wstring(L"http://a\0b/", 11));
}

TEST_F(FileForms, BlockListScrollsLongAddressesSideways) {
  std::wstring file = dir.Write(L"guanggao.txt", "http://a.cn/" + std::string(400, 'x') + "\r\nhttp://b.cn/\r\n");
  Formnew f(file, L"");
  ASSERT_TRUE(f.Create(nullptr));
  RECT rc;
  GetClientRect(f.List1(), &rc);
  EXPECT_GT(SendMessageW(f.List1(), LB_GETHORIZONTALEXTENT, 0, 0), rc.right);
}

TEST_F(FileForms, BlockListRefusesALineTheCodePageCannotHold) {
  std::string before = suite::Ansi(L"http://中.cn/\r\n");
  std::wstring file = dir.Write(L"guanggao.txt", before);
  suite::MsgBoxAnswers boxes;
  Formnew f(file, L"http://예시.kr/");
  ASSERT_TRUE(f.Create(nullptr));
  common::ui::ClickControl(f.hwnd(), Formnew::kCommand1);
  EXPECT_FALSE(f.saved());
  EXPECT_EQ(Bytes(L"guanggao.txt"), before);  // no "?" in its place, nothing else lost
  ASSERT_EQ(boxes.shown().size(), 1u);
  EXPECT_NE(boxes.shown()[0].text.find(file), std::wstring::npos);
  EXPECT_NE(boxes.shown()[0].text.find(L"http://예시.kr/"), std::wstring::npos);
  // The editor stays, showing the file as it is, ready for another try.
  ASSERT_TRUE(IsWindow(f.hwnd()));
  EXPECT_EQ(f.Items(), std::vector<std::wstring>{L"http://中.cn/"});
  EXPECT_TRUE(IsWindowEnabled(GetDlgItem(f.hwnd(), Formnew::kCommand1)));
  EXPECT_EQ(common::ui::WindowText(f.Text2()), L"http://예시.kr/");
}

TEST_F(FileForms, BlockListNotReadWholeIsNeverWrittenOver) {
  suite::MsgBoxAnswers boxes;
  // Too large to read.
  std::string big(5u << 20, 'a');
  std::wstring file = dir.Write(L"guanggao.txt", big);
  {
    Formnew f(file, L"http://x.cn/");
    ASSERT_TRUE(f.Create(nullptr));
    EXPECT_EQ(f.block(), EditBlock::kTooLarge);
    common::ui::ClickControl(f.hwnd(), Formnew::kCommand1);
    EXPECT_FALSE(f.saved());
    EXPECT_TRUE(IsWindow(f.hwnd()));
  }
  EXPECT_EQ(suite::ReadBytes(file)->size(), big.size());
  // Held open by another program that lets nobody read it.
  file = dir.Write(L"locked.txt", "http://a.cn/\r\n");
  HANDLE lock = CreateFileW(file.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(lock, INVALID_HANDLE_VALUE);
  {
    Formnew f(file, L"http://x.cn/");
    ASSERT_TRUE(f.Create(nullptr));
    EXPECT_EQ(f.block(), EditBlock::kUnreadable);
    common::ui::ClickControl(f.hwnd(), Formnew::kCommand1);
    EXPECT_FALSE(f.saved());
  }
  CloseHandle(lock);
  EXPECT_EQ(Bytes(L"locked.txt"), "http://a.cn/\r\n");
  ASSERT_EQ(boxes.shown().size(), 2u);
  for (const auto& shown : boxes.shown()) EXPECT_NE(shown.text.find(L"没有能够完整读出"), std::wstring::npos);
}

// ---- the group editor ----

class GroupForms : public FileForms {
 protected:
  void SetUp() override { CreateDirectoryW(Path(L"group").c_str(), nullptr); }
  Formgroup& Open() {
    editor = std::make_unique<Formgroup>(Path(L"group\\"));
    EXPECT_TRUE(editor->Create(nullptr));
    return *editor;
  }
  std::wstring Text1() { return common::ui::WindowText(editor->Text1()); }
  // Selects the text of line `line` (from 0, CR LF ends) and types over it.
  void Retype(int line, const std::wstring& text) {
    int start = int(SendMessageW(editor->Text1(), EM_LINEINDEX, line, 0));
    int length = int(SendMessageW(editor->Text1(), EM_LINELENGTH, start, 0));
    SendMessageW(editor->Text1(), EM_SETSEL, start, start + length);
    SendMessageW(editor->Text1(), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text.c_str()));
  }
  void Save() { SendMessageW(editor->hwnd(), WM_COMMAND, MAKEWPARAM(Formgroup::kSave, 0), 0); }
  std::unique_ptr<Formgroup> editor;
};

TEST_F(GroupForms, EditedLineAloneChangesInEveryForm) {
  for (FileCase c : Cases({L"http://中.cn/a\r\n", L"http://b.cn/新闻\r\n"})) {
    SCOPED_TRACE(c.name);
    if (c.lines.size() > 2) c.lines.erase(c.lines.begin() + 2);  // the edit box holds no NUL
    // The file as the editor writes it: its lines, then one line break more.
    c.lines.push_back(Body(c.format, L"\r\n"));
    dir.Write(L"group\\组.txt", Whole(c, c.lines));
    Formgroup& f = Open();
    ASSERT_TRUE(f.SelectGroup(L"组"));
    EXPECT_EQ(f.block(), EditBlock::kNone);
    Retype(0, L"http://甲.cn/乙");
    ASSERT_TRUE(f.changed());
    Save();
    EXPECT_FALSE(f.changed());
    c.lines[0] = Body(c.format, L"http://甲.cn/乙\r\n");
    EXPECT_EQ(Bytes(L"group\\组.txt"), Whole(c, c.lines));
    editor.reset();
  }
}

TEST_F(GroupForms, AddressTheCodePageCannotHoldIsStoredInItsAsciiForm) {
  dir.Write(L"group\\组.txt", suite::Ansi(L"http://中.cn/\r\nhttp://old.cn/\r\n\r\n"));
  Formgroup& f = Open();
  ASSERT_TRUE(f.SelectGroup(L"组"));
  Retype(1, L"http://예시.kr/ñ");
  Save();
  EXPECT_EQ(common::AsciiAddress(L"http://예시.kr/ñ"), L"http://xn--vv4b11d.kr/%C3%B1");
  EXPECT_EQ(Bytes(L"group\\组.txt"), suite::Ansi(L"http://中.cn/\r\n") + "http://xn--vv4b11d.kr/%C3%B1\r\n\r\n");
  EXPECT_EQ(Text1(), L"http://中.cn/\r\nhttp://xn--vv4b11d.kr/%C3%B1\r\n");  // shown as it was kept
  EXPECT_FALSE(f.changed());
}

TEST_F(GroupForms, AGroupTheEditBoxCannotShowWholeIsNotSavedOver) {
  std::string bytes = Body({Encoding::Utf16Le, 2}, Whole(L"\xFEFFhttp://a.cn/\r\nhttp://b\0c/\r\n\r\n"));
  dir.Write(L"group\\组.txt", bytes);
  suite::MsgBoxAnswers boxes;
  Formgroup& f = Open();
  ASSERT_TRUE(f.SelectGroup(L"组"));
  EXPECT_EQ(f.block(), EditBlock::kHoldsNul);
  EXPECT_TRUE(GetWindowLongW(f.Text1(), GWL_STYLE) & ES_READONLY);
  Save();
  EXPECT_EQ(Bytes(L"group\\组.txt"), bytes);
  ASSERT_EQ(boxes.shown().size(), 1u);
  EXPECT_NE(boxes.shown()[0].text.find(L"组.txt"), std::wstring::npos);
}

TEST_F(GroupForms, SavingAllWindowsKeepsAddressesTheCodePageCannotHold) {
  auto w = WriteGroup(Path(L"group\\"), L"新组", FormatSavedGroup({L"http://中.cn/", L"http://예시.kr/ñ"}));
  ASSERT_TRUE(w.ok());
  EXPECT_EQ(Bytes(L"group\\新组.txt"),
            suite::Ansi(L"http://中.cn/\r\n\r\n") + "http://xn--vv4b11d.kr/%C3%B1\r\n\r\n");
}

// ---- the add-favorite dialog ----

class FavoriteForms : public FileForms {
 protected:
  void SetUp() override { CreateDirectoryW(Path(L"Favorites").c_str(), nullptr); }
  // The dialog filled as the frame fills it, then OK clicked.
  bool Add(const std::wstring& title, const std::wstring& url) {
    FrmFavorites dialog(Path(L"Favorites\\"));
    EXPECT_TRUE(dialog.Create(nullptr, url, title));
    common::ui::ClickControl(dialog.hwnd(), FrmFavorites::kCmdOK);
    return dialog.saved();
  }
};

TEST_F(FavoriteForms, OverwrittenShortcutKeepsItsFormAndItsOtherLines) {
  for (FileCase c : Cases({L"[InternetShortcut]\r\n", L"URL=http://旧.cn/\r\n", L"IconFile=C:\\图标.ico\r\n"})) {
    SCOPED_TRACE(c.name);
    dir.Write(L"Favorites\\示例.url", Whole(c, c.lines));
    suite::MsgBoxAnswers boxes(IDOK);  // "同名收藏夹已经存在，是否覆盖？  "
    EXPECT_TRUE(Add(L"示例", L"http://新.cn/页"));
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0].text, L"同名收藏夹已经存在，是否覆盖？  ");
    for (auto& line : c.lines)
      if (line == Body(c.format, L"URL=http://旧.cn/\r\n"))
        line = Body(c.format, L"URL=http://新.cn/页\r\n");
    EXPECT_EQ(Bytes(L"Favorites\\示例.url"), Whole(c, c.lines));
  }
}

TEST_F(FavoriteForms, AddressOutsideTheCodePageOpensTheSamePage) {
  EXPECT_TRUE(Add(L"韩国", L"http://예시.kr/ñandú"));
  EXPECT_EQ(Bytes(L"Favorites\\韩国.url"), "[InternetShortcut]\r\nURL=http://xn--vv4b11d.kr/%C3%B1and%C3%BA\r\n");
  // A shortcut in a form that holds the address keeps it as it is.
  std::string utf16 = Body({Encoding::Utf16Le, 2}, L"\xFEFF[InternetShortcut]\r\nURL=http://old/\r\n");
  dir.Write(L"Favorites\\宽.url", utf16);
  suite::MsgBoxAnswers boxes(IDOK);
  EXPECT_TRUE(Add(L"宽", L"http://예시.kr/ñandú"));
  EXPECT_EQ(Bytes(L"Favorites\\宽.url"),
            Body({Encoding::Utf16Le, 2}, L"\xFEFF[InternetShortcut]\r\nURL=http://예시.kr/ñandú\r\n"));
}

}  // namespace
}  // namespace corvane
