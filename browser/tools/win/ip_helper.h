// CIpHelper: reads the interface table into a CInterfaces collection and sums its octet counters. The
// table with 64-bit counters is read where the system has it, the old 32-bit one otherwise.
#pragma once
#include <memory>

#include "browser/tools/interfaces.h"

namespace corvane {

class CIpHelper {
 public:
  enum class Table { kBest, kOld };  // kOld: the 32-bit table only (tests)
  explicit CIpHelper(Table table = Table::kBest);

  // Drops the collection and reads a new one from the table.
  const CInterfaces& Interfaces();
  void SetInterfaces(std::unique_ptr<CInterfaces> interfaces);
  // Totals of the last refresh, over the interfaces that count (CountsTraffic), wrapping at 2^64.
  double BytesReceived() const { return double(received_); }
  double BytesSent() const { return double(sent_); }
  // The table the last refresh read: 64 or 32 (counter width), 0 when none could be read.
  int TableBits() const { return bits_; }

 private:
  void RefreshTable();
  bool RefreshTable2();
  void RefreshOldTable();
  void Add(CInterface row);

  Table table_;
  std::unique_ptr<CInterfaces> interfaces_;
  uint64_t received_ = 0, sent_ = 0;
  int bits_ = 0;
};

}  // namespace corvane
