#include "guard/process/win/cpu_meter.h"

#include <windows.h>
#include <pdh.h>
#include <pdhmsg.h>

#include <cmath>

namespace zorvix {

CpuMeter::~CpuMeter() {
  if (query_) PdhCloseQuery(query_);
}

bool CpuMeter::Init() {
  if (PdhOpenQueryW(nullptr, 0, &query_) != ERROR_SUCCESS) return false;
  // The English name works on every display language; _Total is the load of all processors.
  PDH_HCOUNTER c = nullptr;
  if (PdhAddEnglishCounterW(query_, L"\\Processor(_Total)\\% Processor Time", 0, &c) != ERROR_SUCCESS &&
      PdhAddCounterW(query_, L"\\Processor(_Total)\\% Processor Time", 0, &c) != ERROR_SUCCESS)
    return false;
  counter_ = c;
  PdhCollectQueryData(query_);
  return true;
}

std::optional<int> CpuMeter::Sample() {
  if (!counter_ || PdhCollectQueryData(query_) != ERROR_SUCCESS) return std::nullopt;
  PDH_FMT_COUNTERVALUE v{};
  if (PdhGetFormattedCounterValue(counter_, PDH_FMT_DOUBLE | PDH_FMT_NOCAP100, nullptr, &v) != ERROR_SUCCESS)
    return std::nullopt;
  if (v.CStatus != PDH_CSTATUS_VALID_DATA && v.CStatus != PDH_CSTATUS_NEW_DATA) return std::nullopt;
  return int(std::lround(v.doubleValue));
}

}  // namespace zorvix
