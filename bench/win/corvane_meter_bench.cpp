// One tick of the speed meter (the interface table read into a new collection, the per-interface
// differences and the two boxes drawn) against the bare platform read of the same table.
#include <winsock2.h>
#include <ws2ipdef.h>
#include <windows.h>
#include <iphlpapi.h>

#include "bench/win/bench_util.h"
#include "browser/tools/win/speed_meter_view.h"
#include "common/win/ui/window.h"

namespace {

class Host : public common::ui::Window {};

void BareTable2() {
  PMIB_IF_TABLE2 table = nullptr;
  if (GetIfTable2(&table) == NO_ERROR) FreeMibTable(table);
}

void BareOldTable() {
  ULONG size = 0;
  GetIfTable(nullptr, &size, FALSE);
  std::string buf(size, '\0');
  GetIfTable(reinterpret_cast<PMIB_IFTABLE>(buf.data()), &size, FALSE);
}

}  // namespace

int main() {
  Host frame;
  frame.Create(L"CorvaneMeterBench", L"", WS_POPUP, 0, 0, 0, 400, 60);
  HWND boxes[4];
  for (HWND& b : boxes) b = common::ui::CreateControl(frame.hwnd(), L"STATIC", L"", SS_SUNKEN, 0);
  corvane::SpeedMeterView view, old(corvane::CIpHelper::Table::kOld);
  view.Attach(boxes[0], boxes[1], false);
  old.Attach(boxes[2], boxes[3], false);
  double tick = bench::BestMs([&] { view.Timer2(); }, 50);
  double bare = bench::BestMs(BareTable2, 50);
  bench::Report("meter tick (64-bit table)", tick, "bare GetIfTable2 + free", bare);
  double oldTick = bench::BestMs([&] { old.Timer2(); }, 50);
  double oldBare = bench::BestMs(BareOldTable, 50);
  bench::Report("meter tick (old table)", oldTick, "bare GetIfTable twice", oldBare);
  return 0;
}
