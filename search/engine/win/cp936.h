// The system's Chinese double-byte code page (936) for the text search's files.
#pragma once
#include <array>

#include "search/engine/text_codec.h"

namespace sercavo {

class Cp936 : public AnsiCodec {
 public:
  Cp936();
  bool IsLeadByte(uint8_t b) const override { return lead_[b]; }
  void Decode(std::string_view bytes, std::wstring& out) const override;
  std::optional<std::string> Encode(std::wstring_view text) const override;
  static const Cp936& Get();

 private:
  std::array<bool, 256> lead_{};
};

}  // namespace sercavo
