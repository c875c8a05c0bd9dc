// Fuzzes the piecewise reading of "autorun.inf" files from any drive: however the file is cut into pieces,
// the reading is the same, and for a plain ASCII file it is the whole text's reading.
#include <cstddef>
#include <cstdint>
#include <string>

#include "common/testing/gbk_double.h"
#include "guard/monitors/autorun_inf.h"
#include "guard/monitors/autorun_rules.h"

namespace {
std::optional<std::wstring> Read(std::string_view file, size_t piece) {
  static const suite::GbkDouble gbk;
  zorvix::AutorunInfReader reader(gbk);
  for (size_t at = 0; at < file.size() && reader.Feed(file.substr(at, piece)); at += piece) {
  }
  reader.Finish();
  return reader.command();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  size_t piece = data[0] % 7 + 1;
  std::string_view file(reinterpret_cast<const char*>(data) + 1, size - 1);
  auto whole = Read(file, file.size() + 1);
  if (Read(file, piece) != whole || Read(file, 1) != whole) __builtin_trap();
  bool ascii = true;
  for (char c : file) ascii = ascii && static_cast<unsigned char>(c) < 0x80;
  if (ascii && whole != zorvix::AutorunCommand(std::wstring(file.begin(), file.end()))) __builtin_trap();
  return 0;
}
