#include "browser/tools/options.h"

#include <gtest/gtest.h>

namespace corvane {
namespace {

TEST(Options, FirstStartShowsDefaults) {
  Options o = LoadOptions({});
  EXPECT_EQ(o.startwindows, 0);
  EXPECT_TRUE(o.askOnExit);
  EXPECT_EQ(o.start, L"");
  EXPECT_FALSE(o.radio.has_value());  // left as designed
}

TEST(Options, StoredTextsRead) {
  Options o = LoadOptions({L"http://a.cn/", L"1", L"1", L"1"});
  EXPECT_EQ(o.start, L"http://a.cn/");
  EXPECT_EQ(o.startwindows, 1);
  EXPECT_EQ(o.radio, 1);
  EXPECT_FALSE(o.askOnExit);
  // Any non-zero number counts as set, as the frame reads it; unreadable text as 0.
  o = LoadOptions({L"", L"7", L"0", L"2"});
  EXPECT_EQ(o.startwindows, 1);
  EXPECT_EQ(o.radio, 0);
  EXPECT_FALSE(o.askOnExit);
  o = LoadOptions({std::nullopt, L"x", L"", L"junk"});
  EXPECT_EQ(o.startwindows, 0);
  EXPECT_EQ(o.radio, 0);
  EXPECT_TRUE(o.askOnExit);
}

TEST(Options, AskmeIsStoredInverted) {
  Options o;
  o.askOnExit = true;
  EXPECT_EQ(SaveOptions(o).askme, L"0");
  o.askOnExit = false;
  EXPECT_EQ(SaveOptions(o).askme, L"1");
  o.startwindows = 1;
  o.radio = 1;
  o.start = L" about:blank ";  // stored as typed
  StoredOptions s = SaveOptions(o);
  EXPECT_EQ(s.startwindows, L"1");
  EXPECT_EQ(s.startRadio, L"1");
  EXPECT_EQ(s.start, L" about:blank ");
  EXPECT_EQ(SaveOptions(LoadOptions(s)).askme, s.askme);
  EXPECT_EQ(SaveOptions(Options{}).startRadio, L"0");
}

TEST(DefaultBrowser, SavedValuesRoundTrip) {
  SavedValue v;
  v.state = SavedValue::kValue;
  v.type = 2;
  v.data = std::string("C\0:\xff\x80", 5);
  auto back = ParseSaved(FormatSaved(v));
  ASSERT_TRUE(back);
  EXPECT_EQ(back->state, SavedValue::kValue);
  EXPECT_EQ(back->type, 2u);
  EXPECT_EQ(back->data, v.data);
  EXPECT_EQ(ParseSaved(L"1")->state, SavedValue::kNoValue);
  auto created = ParseSaved(FormatSaved({SavedValue::kNoKey, L"http\\shell\\open\\ddeexec", 0, ""}));
  ASSERT_TRUE(created);
  EXPECT_EQ(created->state, SavedValue::kNoKey);
  EXPECT_EQ(created->createdKey, L"http\\shell\\open\\ddeexec");
  v.data.clear();
  EXPECT_EQ(ParseSaved(FormatSaved(v))->data, "");
}

TEST(DefaultBrowser, DamagedSavedValuesRejected) {
  for (const wchar_t* bad : {L"", L"0", L"0,", L"2", L"2,1", L"2,,00", L"2,1,0", L"2,1,zz", L"2,-1,00", L"2,1.5,00",
                             L"2,99999999999,00", L"3,1,00", L"12"})
    EXPECT_FALSE(ParseSaved(bad).has_value()) << bad;
}

}  // namespace
}  // namespace corvane
