#include "browser/shell/win/ip_lookup.h"

#include <iphlpapi.h>
#include <ws2tcpip.h>

#include <vector>

#include "common/address_form.h"
#include "common/win/code_page.h"

namespace corvane {
namespace {
void StartWinsock() {
  static bool started = [] {
    WSADATA d;
    return WSAStartup(MAKEWORD(2, 2), &d) == 0;
  }();
  (void)started;
}
std::wstring IpText(const in_addr& a) {
  char buf[INET_ADDRSTRLEN] = {};
  inet_ntop(AF_INET, &a, buf, sizeof buf);
  return common::FromAnsi(buf);
}
}  // namespace

IpLookup::IpLookup(HWND notify, UINT msgResolve, UINT msgSocket)
    : notify_(notify), msgResolve_(msgResolve), msgSocket_(msgSocket) {
  StartWinsock();
}

IpLookup::~IpLookup() { Cancel(); }

void IpLookup::Cancel() {
  if (request_) WSACancelAsyncRequest(request_);
  request_ = nullptr;
  if (socket_ != INVALID_SOCKET) closesocket(socket_);
  socket_ = INVALID_SOCKET;
}

void IpLookup::Start(const std::wstring& host) {
  Cancel();
  host_ = LookupName(host);
  request_ = WSAAsyncGetHostByName(notify_, msgResolve_, host_.c_str(), hostent_, sizeof hostent_);
}

void IpLookup::OnResolved(WPARAM handle, LPARAM info) {
  if (!request_ || reinterpret_cast<HANDLE>(handle) != request_) return;  // an older host's answer
  request_ = nullptr;
  auto* he = reinterpret_cast<hostent*>(hostent_);
  if (WSAGETASYNCERROR(info) != 0 || he->h_addrtype != AF_INET || !he->h_addr_list || !he->h_addr_list[0]) return;
  sockaddr_in to{};
  to.sin_family = AF_INET;
  to.sin_port = htons(80);
  memcpy(&to.sin_addr, he->h_addr_list[0], sizeof to.sin_addr);
  socket_ = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  if (socket_ == INVALID_SOCKET) return;
  if (WSAAsyncSelect(socket_, notify_, msgSocket_, FD_CONNECT) != 0 ||
      (connect(socket_, reinterpret_cast<sockaddr*>(&to), sizeof to) != 0 && WSAGetLastError() != WSAEWOULDBLOCK))
    Cancel();
}

std::optional<std::wstring> IpLookup::OnSocket(WPARAM s, LPARAM info) {
  if (socket_ == INVALID_SOCKET || SOCKET(s) != socket_ || WSAGETSELECTEVENT(info) != FD_CONNECT) return std::nullopt;
  std::optional<std::wstring> ip;
  sockaddr_in peer{};
  int len = sizeof peer;
  if (WSAGETSELECTERROR(info) == 0 && getpeername(socket_, reinterpret_cast<sockaddr*>(&peer), &len) == 0)
    ip = IpText(peer.sin_addr);
  Cancel();  // only the address was wanted
  return ip;
}

std::string LookupName(const std::wstring& host) {
  if (auto ansi = common::ToAnsi(host)) return *ansi;
  return common::ToAnsi(common::AsciiAddress(host)).value_or("");
}

std::wstring LocalIp() {
  ULONG size = 0;
  GetAdaptersInfo(nullptr, &size);
  std::vector<char> buf(size ? size : 1);
  auto* info = reinterpret_cast<IP_ADAPTER_INFO*>(buf.data());
  if (size && GetAdaptersInfo(info, &size) == NO_ERROR)
    for (auto* a = info; a; a = a->Next)
      for (auto* ip = &a->IpAddressList; ip; ip = ip->Next)
        if (ip->IpAddress.String[0] && strcmp(ip->IpAddress.String, "0.0.0.0") != 0)
          return common::FromAnsi(ip->IpAddress.String);
  return L"127.0.0.1";
}

}  // namespace corvane
