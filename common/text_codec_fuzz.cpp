// Fuzz target: files of any form and any bytes, read exactly and written back in the form they were read
// in, must come back byte for byte (an odd UTF-16 body excepted); addresses made ASCII; INI look-ups.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "common/address_form.h"
#include "common/ini.h"
#include "common/testing/gbk_double.h"
#include "common/text_codec.h"

namespace {

void Check(bool ok) {
  if (!ok) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace common;
  static const suite::GbkDouble gbk;
  std::string_view file(reinterpret_cast<const char*>(data), size);
  TextFormat format = DetectFormat(file);
  std::wstring text = DecodeExactly(file, format, gbk);
  bool utf16 = format.encoding == Encoding::Utf16Le || format.encoding == Encoding::Utf16Be;
  auto back = EncodeExactly(text, format, gbk);
  if (!utf16 || (size - format.markBytes) % 2 == 0) Check(back == std::string(file));
  Check(!FirstLineNotHeld(text, format, gbk) || !back);

  std::wstring address = AsciiAddress(text);
  for (wchar_t c : address) Check(uint32_t(c) < 0x80);
  bool ascii = true;
  for (wchar_t c : text) ascii = ascii && uint32_t(c) < 0x80;
  if (ascii) Check(address == text);
  IniValue(text, L"sysdir", text.substr(0, 8));
  return 0;
}
