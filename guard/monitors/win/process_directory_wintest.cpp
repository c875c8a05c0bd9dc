// The firewall's look-up of a process's program: paths the guard's table knows are taken as they are.
#include "guard/monitors/win/process_directory.h"

#include <gtest/gtest.h>

#include "common/testing/win/child_process.h"
#include "guard/process/win/process_system.h"

using namespace zorvix;

TEST(ProcessDirectory, TakesKnownPathsAndOpensOnlyAProcessNobodyKnows) {
  suite::ChildProcess known, unknown;
  uint64_t knownStart = CreateTimeOf(known.handle());
  ProcessDirectory directory;
  directory.UseKnownPaths([&](DWORD pid, uint64_t started) -> std::optional<std::wstring> {
    if (pid == known.pid() && started == knownStart) return L"C:\\listed\\known.exe";
    return std::nullopt;
  });
  ASSERT_TRUE(directory.Refresh());
  auto k = directory.Find(known.pid());
  ASSERT_TRUE(k);
  EXPECT_EQ(k->path, L"C:\\listed\\known.exe");
  EXPECT_EQ(directory.opened(), 0u);
  auto u = directory.Find(unknown.pid());
  ASSERT_TRUE(u);
  EXPECT_EQ(u->path, suite::BinFolder() + L"suite_child.exe");
  EXPECT_EQ(directory.opened(), 1u);
}
