// Total processor load of all cores, read from the performance counters once a tick.
#pragma once
#include <optional>

namespace zorvix {

class CpuMeter {
 public:
  ~CpuMeter();
  bool Init();
  // Load in percent, or nullopt while the counter has no valid value.
  std::optional<int> Sample();

 private:
  void* query_ = nullptr;
  void* counter_ = nullptr;
};

}  // namespace zorvix
