// The page server's address, learned without blocking the window: an asynchronous name look-up, then an
// asynchronous connect to port 80. One look-up at a time; a late answer for an older host is dropped.
#pragma once
#include <winsock2.h>
#include <windows.h>

#include <optional>
#include <string>

namespace corvane {

class IpLookup {
 public:
  // Answers arrive as the messages msgResolve and msgSocket posted to notify.
  IpLookup(HWND notify, UINT msgResolve, UINT msgSocket);
  ~IpLookup();
  IpLookup(const IpLookup&) = delete;
  IpLookup& operator=(const IpLookup&) = delete;

  // Starts the look-up of host, dropping one that runs.
  void Start(const std::wstring& host);
  void Cancel();
  void OnResolved(WPARAM handle, LPARAM info);
  // The remote address once the connection stands.
  std::optional<std::wstring> OnSocket(WPARAM socket, LPARAM info);
  bool Busy() const { return request_ != nullptr || socket_ != INVALID_SOCKET; }

 private:
  HWND notify_;
  UINT msgResolve_, msgSocket_;
  HANDLE request_ = nullptr;
  SOCKET socket_ = INVALID_SOCKET;
  char hostent_[MAXGETHOSTSTRUCT];
  std::string host_;
};

// The name handed to the name service: in the code page, or in its ASCII (punycode) form when the code
// page cannot hold it.
std::string LookupName(const std::wstring& host);

// This machine's first IPv4 address ("127.0.0.1" when it has none).
std::wstring LocalIp();

}  // namespace corvane
