#include "browser/tools/speed_meter.h"

#include <algorithm>
#include <limits>

namespace corvane {
namespace {

uint64_t Delta(uint64_t now, uint64_t before, int bits) {
  if (bits >= 64) return now >= before ? now - before : now;  // a reset, not a wrap
  return (now - before) & ((uint64_t(1) << bits) - 1);
}

const OctetSample* Find(const std::vector<OctetSample>& samples, int32_t index) {
  auto it = std::find_if(samples.begin(), samples.end(), [&](const OctetSample& s) { return s.index == index; });
  return it == samples.end() ? nullptr : &*it;
}

}  // namespace

std::vector<OctetSample> SamplesOf(const CInterfaces& rows) {
  std::vector<OctetSample> out;
  for (size_t i = 1; i <= rows.Count(); ++i) {
    const CInterface& r = *rows.Item(i);
    if (CountsTraffic(r)) out.push_back({r.InterfaceIndex, r.OctetsReceived, r.OctetsSent, r.CounterBits});
  }
  return out;
}

int64_t KBRounded(uint64_t bytes) {
  uint64_t kb = bytes >> 10, rest = bytes & 1023;
  if (rest > 512 || (rest == 512 && (kb & 1))) ++kb;
  return int64_t(kb);
}

int64_t BarWidth(int box, int64_t kb) {
  if (box <= 0 || kb <= 0) return 0;
  constexpr int64_t kMax = std::numeric_limits<int64_t>::max();
  return kb > kMax / box ? kMax / 500 : int64_t(box) * kb / 500;
}

std::wstring SpeedText(int64_t kb) { return std::to_wstring(kb) + L" KB/秒"; }

SpeedMeter::Reading SpeedMeter::Tick(const std::vector<OctetSample>& now) {
  uint64_t down = 0, up = 0;
  bool everReceived = false;
  for (const OctetSample& s : now) {
    const OctetSample* before = havePrev_ ? Find(prev_, s.index) : nullptr;
    if (!before || before->bits != s.bits) continue;
    down += Delta(s.received, before->received, s.bits);
    up += Delta(s.sent, before->sent, s.bits);
  }
  for (const OctetSample& s : prev_) everReceived |= s.received > 0;
  last_ = {KBRounded(down), KBRounded(up), havePrev_ && everReceived};
  prev_ = now;
  havePrev_ = true;
  return last_;
}

}  // namespace corvane
