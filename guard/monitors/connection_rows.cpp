#include "guard/monitors/connection_rows.h"

#include <algorithm>

namespace zorvix {
namespace {

bool AllZero(const std::array<uint8_t, 16>& a) {
  return std::all_of(a.begin(), a.end(), [](uint8_t b) { return b == 0; });
}

std::wstring Ipv4Text(const uint8_t* b) {
  return std::to_wstring(b[0]) + L"." + std::to_wstring(b[1]) + L"." + std::to_wstring(b[2]) + L"." +
         std::to_wstring(b[3]);
}

// The longest run of two or more zero groups is written "::" (the first one when runs tie).
std::wstring Ipv6Text(const std::array<uint8_t, 16>& a) {
  uint16_t g[8];
  for (int i = 0; i < 8; ++i) g[i] = uint16_t(a[2 * i] << 8 | a[2 * i + 1]);
  // IPv4-mapped addresses keep their dotted tail.
  bool mapped = std::all_of(g, g + 5, [](uint16_t v) { return v == 0; }) && g[5] == 0xffff;
  if (mapped) return L"::ffff:" + Ipv4Text(a.data() + 12);
  int bestAt = -1, bestLen = 1;
  for (int i = 0; i < 8;) {
    int j = i;
    while (j < 8 && g[j] == 0) ++j;
    if (j - i > bestLen) bestAt = i, bestLen = j - i;
    i = j == i ? i + 1 : j;
  }
  std::wstring text;
  wchar_t hex[8];
  for (int i = 0; i < 8; ++i) {
    if (i == bestAt) {
      text += L"::";
      i += bestLen - 1;
      continue;
    }
    if (!text.empty() && text.back() != L':') text += L':';
    swprintf(hex, 8, L"%x", g[i]);
    text += hex;
  }
  return text;
}

}  // namespace

bool IsWatched(const TcpRow& row) {
  if (row.state == kTcpListen) return false;
  return row.localPort != 0 || row.remotePort != 0 || !AllZero(row.remoteAddr);
}

void KeepWatched(std::vector<TcpRow>& rows) {
  std::erase_if(rows, [](const TcpRow& r) { return !IsWatched(r); });
}

bool SameConnection(const TcpRow& a, const TcpRow& b) {
  TcpRow stateless = b;
  stateless.state = a.state;
  return a == stateless;
}

bool SameConnections(const std::vector<TcpRow>& a, const std::vector<TcpRow>& b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), SameConnection);
}

uint16_t PortNumber(uint32_t field) { return uint16_t((field & 0xff) << 8 | (field >> 8 & 0xff)); }

std::wstring AddressText(const TcpRow& row, bool remote) {
  const auto& a = remote ? row.remoteAddr : row.localAddr;
  return row.family == 6 ? Ipv6Text(a) : Ipv4Text(a.data());
}

}  // namespace zorvix
