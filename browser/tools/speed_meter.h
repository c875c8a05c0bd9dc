// Arithmetic of the once-a-second speed meter: what arrived and left since the last tick, in whole KB.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "browser/tools/interfaces.h"

namespace corvane {

// The octet counters of one interface at one tick.
struct OctetSample {
  int32_t index = 0;
  uint64_t received = 0, sent = 0;
  int bits = 32;  // counter width: the difference of two readings wraps at it
};

// The interfaces that count (CountsTraffic): the cards' own, not the loopback, tunnels, virtual
// adapters or filter layers, which count the same bytes again or bytes that never left the machine.
std::vector<OctetSample> SamplesOf(const CInterfaces& rows);

// Bytes to whole KB, halves to the even neighbour (1.5 gives 2, 2.5 gives 2).
int64_t KBRounded(uint64_t bytes);
// Width of a bar in its box: 500 KB in one second fills the box. Not clipped; saturates instead of
// overflowing.
int64_t BarWidth(int box, int64_t kb);
// "12 KB/秒".
std::wstring SpeedText(int64_t kb);

class SpeedMeter {
 public:
  struct Reading {
    int64_t downKB = 0, upKB = 0;
    // From the second tick on, and only once something was ever received.
    bool show = false;
  };
  // One tick: the amounts since the previous tick. Each interface present at both ticks adds the
  // difference of its counters: a 32-bit counter wraps, so the unsigned difference is the amount; a
  // 64-bit counter never wraps, so one that went down was reset and counts from 0. An interface that
  // comes or goes adds nothing.
  Reading Tick(const std::vector<OctetSample>& now);
  const Reading& last() const { return last_; }

 private:
  std::vector<OctetSample> prev_;
  bool havePrev_ = false;
  Reading last_;
};

}  // namespace corvane
