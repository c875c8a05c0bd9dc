// libFuzzer target for what the browser's tools read: interface tables, saved registry values and
// addresses handed to ping. Run: bash tools/fuzz.sh browser/tools/tools_fuzz.cpp 60
#include <cstddef>
#include <cstdint>
#include <string>

#include "browser/tools/interfaces.h"
#include "browser/tools/options.h"
#include "browser/tools/ping_target.h"
#include "browser/tools/speed_meter.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  auto rows = corvane::ParseIfTable(bytes, {});
  corvane::CInterfaces all;
  for (auto& r : rows) {
    auto obj = std::make_unique<corvane::CInterface>(r);
    all.Add(obj);
  }
  corvane::SpeedMeter meter;
  meter.Tick(corvane::SamplesOf(all));
  meter.Tick({});

  std::wstring text;
  for (size_t i = 0; i + 1 < size; i += 2) text.push_back(wchar_t(data[i] | (data[i + 1] << 8)));
  if (auto saved = corvane::ParseSaved(text)) {
    // What is written back reads the same.
    auto again = corvane::ParseSaved(corvane::FormatSaved(*saved));
    if (!again || again->data != saved->data || again->type != saved->type) __builtin_trap();
  }
  if (auto host = corvane::PingHostOf(text)) {
    // Nothing a command line could read as more than one plain argument.
    for (wchar_t c : *host)
      if (!(iswalnum(c) || c == L'.' || c == L'-' || c == L':' || c == L'%') || c > 0x7F) __builtin_trap();
    if (host->empty() || host->front() == L'-') __builtin_trap();
  }
  return 0;
}
