#include "guard/monitors/program_table.h"

#include <gtest/gtest.h>

#include <map>

using namespace zorvix;

namespace {

class MapStore : public KeyStore {
 public:
  std::optional<std::wstring> Get(const std::wstring& key) const override {
    auto it = values.find(key);
    return it == values.end() ? std::nullopt : std::optional(it->second);
  }
  bool Set(const std::wstring& key, const std::wstring& value) override {
    values[key] = value;
    return true;
  }
  bool Remove(const std::wstring& key) override { return values.erase(key) > 0; }
  std::vector<std::pair<std::wstring, std::wstring>> All() const override {
    ++enumerations;
    return {values.begin(), values.end()};
  }
  std::map<std::wstring, std::wstring> values;
  mutable int enumerations = 0;
};

MapStore ThreePrograms() {
  MapStore s;
  AddProgram(s, L"C:\\A\\One.exe", 1);
  AddProgram(s, L"C:\\B\\Two.exe", 0);
  AddProgram(s, L"C:\\C\\Three.exe", 1);
  s.Set(L"3Attempts", L"7");
  s.Set(L"3Blocks", L"2");
  return s;
}

}  // namespace

TEST(ProgramTable, AddWritesLowerCaseEntryAtTheEnd) {
  MapStore s;
  EXPECT_TRUE(AddProgram(s, L"D:\\工具\\Net.EXE", 1));
  EXPECT_EQ(
      s.values,
      (std::map<std::wstring, std::wstring>{
          {L"ProgramCount", L"1"}, {L"1Name", L"net.exe"}, {L"1Path", L"d:\\工具\\net.exe"}, {L"1Status", L"1"}}));
  EXPECT_TRUE(AddProgram(s, L"noslash.exe", 0));
  EXPECT_EQ(s.values[L"2Name"], L"noslash.exe");
  EXPECT_EQ(s.values[L"2Status"], L"0");
  EXPECT_EQ(s.values[L"ProgramCount"], L"2");
}

TEST(ProgramTable, AddingAListedPathInAnyCaseChangesNothing) {
  MapStore s = ThreePrograms();
  auto before = s.values;
  EXPECT_FALSE(AddProgram(s, L"c:\\b\\TWO.exe", 1));
  EXPECT_EQ(s.values, before);
}

TEST(ProgramTable, AddDoesNotPassLeftoverCountersToTheNewEntry) {
  MapStore s;
  s.Set(L"1Attempts", L"40");
  s.Set(L"1Blocks", L"40");
  AddProgram(s, L"c:\\new.exe", 0);
  EXPECT_FALSE(s.Get(L"1Attempts"));
  EXPECT_FALSE(s.Get(L"1Blocks"));
}

TEST(ProgramTable, DeleteClosesTheGap) {
  MapStore s = ThreePrograms();
  EXPECT_TRUE(DeleteProgram(s, 2, L"C:\\B\\TWO.EXE"));
  EXPECT_EQ(s.values, (std::map<std::wstring, std::wstring>{{L"ProgramCount", L"2"},
                                                            {L"1Name", L"one.exe"},
                                                            {L"1Path", L"c:\\a\\one.exe"},
                                                            {L"1Status", L"1"},
                                                            {L"2Name", L"three.exe"},
                                                            {L"2Path", L"c:\\c\\three.exe"},
                                                            {L"2Status", L"1"},
                                                            {L"2Attempts", L"7"},
                                                            {L"2Blocks", L"2"}}));
}

TEST(ProgramTable, DeleteTheLastOrFirstEntryAndOutOfRange) {
  MapStore s = ThreePrograms();
  DeleteProgram(s, 3, L"c:\\c\\three.exe");
  EXPECT_EQ(s.values[L"ProgramCount"], L"2");
  EXPECT_FALSE(s.Get(L"3Name"));
  EXPECT_FALSE(s.Get(L"3Attempts"));
  DeleteProgram(s, 1, L"c:\\a\\one.exe");
  EXPECT_EQ(s.values[L"ProgramCount"], L"1");
  EXPECT_EQ(s.values[L"1Path"], L"c:\\b\\two.exe");
  EXPECT_EQ(s.values[L"1Attempts"], L"0") << "a missing counter moves as 0";
  auto before = s.values;
  EXPECT_FALSE(DeleteProgram(s, 0, L"c:\\gone.exe"));
  EXPECT_FALSE(DeleteProgram(s, 5, L"c:\\gone.exe"));
  EXPECT_EQ(s.values, before);
}

// Two views of one table: a row shown before another view deleted an entry names the entry by its old
// number. The entry whose path the row shows goes, or none.
TEST(ProgramTable, ADeleteByAStaleNumberDeletesTheEntryTheRowShowsOrNone) {
  MapStore s;
  for (const wchar_t* p : {L"c:\\a.exe", L"c:\\b.exe", L"c:\\c.exe", L"c:\\d.exe"}) AddProgram(s, p, 1);
  ASSERT_TRUE(DeleteProgram(s, 1, L"c:\\a.exe"));
  EXPECT_TRUE(DeleteProgram(s, 3, L"c:\\c.exe")) << "c was number 3 when the row was made";
  ProgramTable t;
  t.UpdatePrograms(s);
  ASSERT_EQ(t.entries().size(), 2u);
  EXPECT_EQ(t.entries()[0].Path, L"c:\\b.exe");
  EXPECT_EQ(t.entries()[1].Path, L"c:\\d.exe");
  auto before = s.values;
  EXPECT_FALSE(DeleteProgram(s, 2, L"c:\\c.exe")) << "gone already";
  EXPECT_EQ(s.values, before);
}

// A count far beyond the entries (corrupt, or written by hand) is a bound, not a walk.
TEST(ProgramTable, AHugeCountReadsTheEntriesThatExistInOnePass) {
  MapStore s;
  AddProgram(s, L"c:\\a.exe", 1);
  AddProgram(s, L"c:\\b.exe", 0);
  s.Set(L"ProgramCount", L"2000000000");
  s.Set(L"7Name", L"beyond.exe");  // above the last entry, below the count: an entry like any other
  s.Set(L"7Path", L"c:\\beyond.exe");
  s.enumerations = 0;
  ProgramTable t;
  t.UpdatePrograms(s);
  EXPECT_EQ(t.entries().size(), 3u);
  EXPECT_EQ(s.enumerations, 1);
  EXPECT_TRUE(AddProgram(s, L"c:\\new.exe", 1));
  EXPECT_EQ(s.values[L"8Path"], L"c:\\new.exe");
  EXPECT_EQ(s.values[L"ProgramCount"], L"8") << "the count follows the entries again";
  // Entries above the count are leftovers of an interrupted change and are not read.
  s.Set(L"ProgramCount", L"1");
  t.UpdatePrograms(s);
  ASSERT_EQ(t.entries().size(), 1u);
  EXPECT_TRUE(AddProgram(s, L"c:\\b.exe", 1)) << "b lies beyond the count: not listed";
  EXPECT_EQ(s.values[L"2Status"], L"1");
}

TEST(ProgramTable, AnEntryWithAPathButNoNameIsLoaded) {
  MapStore s;
  s.Set(L"ProgramCount", L"2");
  s.Set(L"1Path", L"c:\\tools\\NoName.exe");
  s.Set(L"1Status", L"0");
  s.Set(L"2Status", L"1");  // neither name nor path: nothing to show or match
  ProgramTable t;
  t.UpdatePrograms(s);
  ASSERT_EQ(t.entries().size(), 1u);
  EXPECT_EQ(t.entries()[0].Name, L"noname.exe");
  EXPECT_EQ(t.Count(s, L"C:\\TOOLS\\NONAME.EXE"), ProgramTable::Verdict::Blocked) << "not asked about every time";
}

TEST(ProgramTable, StatusReadsOneAsAllowedAndAnythingElseAsBlocked) {
  EXPECT_EQ(StatusOf(L"1"), kAllowed);
  EXPECT_EQ(StatusOf(L"-1"), kAllowed);
  EXPECT_EQ(StatusOf(L"1.5"), kAllowed);
  EXPECT_EQ(StatusOf(L"0"), kBlocked);
  EXPECT_EQ(StatusOf(L"0.5"), kBlocked);
  EXPECT_EQ(StatusOf(L""), kBlocked);
  EXPECT_EQ(StatusOf(L"abc"), kBlocked);
  EXPECT_EQ(StatusOf(std::nullopt), kBlocked);
}

TEST(ProgramTable, LoadsEveryEntryWithoutABound) {
  MapStore s;
  for (int i = 1; i <= 2500; ++i)
    s.Set(std::to_wstring(i) + L"Name", L"p.exe"),
        s.Set(std::to_wstring(i) + L"Path", L"c:\\p" + std::to_wstring(i) + L".exe");
  s.Set(L"ProgramCount", L"2500");
  s.Set(L"2500Status", L"1");
  s.Set(L"17Name", L"");  // a gap: skipped, the numbers of the others stay
  s.Remove(L"17Path");
  ProgramTable t;
  t.UpdatePrograms(s);
  EXPECT_EQ(t.entries().size(), 2499u);
  const MonitoredProgram* last = t.Find(L"C:\\P2500.EXE");
  ASSERT_NE(last, nullptr);
  EXPECT_EQ(last->number, 2500);
  EXPECT_EQ(last->Status, kAllowed);
  EXPECT_EQ(t.Find(L"c:\\p17.exe"), nullptr);
  EXPECT_EQ(t.Find(L"c:\\p18.exe")->number, 18);
}

TEST(ProgramTable, CountsChecksAndBlocksAndStoresThem) {
  MapStore s = ThreePrograms();
  s.Set(L"ProgramCount", L"x");
  ProgramTable none;
  none.UpdatePrograms(s);
  EXPECT_TRUE(none.entries().empty()) << "a count that is not a number reads as 0";
  s.Set(L"ProgramCount", L"3");
  ProgramTable t;
  t.UpdatePrograms(s);
  EXPECT_EQ(t.Count(s, L"C:\\A\\ONE.EXE"), ProgramTable::Verdict::Allowed);
  EXPECT_EQ(s.values[L"1Attempts"], L"1");
  EXPECT_FALSE(s.Get(L"1Blocks"));
  EXPECT_EQ(t.Count(s, L"c:\\b\\two.exe"), ProgramTable::Verdict::Blocked);
  EXPECT_EQ(t.Count(s, L"c:\\b\\two.exe"), ProgramTable::Verdict::Blocked);
  EXPECT_EQ(s.values[L"2Attempts"], L"2");
  EXPECT_EQ(s.values[L"2Blocks"], L"2");
  EXPECT_EQ(t.Count(s, L"c:\\c\\three.exe"), ProgramTable::Verdict::Allowed);
  EXPECT_EQ(s.values[L"3Attempts"], L"8");
  EXPECT_EQ(t.Count(s, L"c:\\unknown.exe"), ProgramTable::Verdict::Unknown);
}

TEST(ProgramTable, TheFirstOfTwoEqualPathsDecides) {
  MapStore s;
  AddProgram(s, L"c:\\x.exe", 0);
  s.Set(L"2Name", L"x.exe");
  s.Set(L"2Path", L"C:\\X.EXE");
  s.Set(L"2Status", L"1");
  s.Set(L"ProgramCount", L"2");
  ProgramTable t;
  t.UpdatePrograms(s);
  EXPECT_EQ(t.Find(L"c:\\x.exe")->number, 1);
  EXPECT_EQ(t.Count(s, L"c:\\x.exe"), ProgramTable::Verdict::Blocked);
}
