// Whether a file is trusted: a valid Authenticode signature (in the file or a system catalog) and a
// company name of the trusted list. Verdicts are kept per path and last-write time.
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <unordered_map>

namespace zorvix {

struct TrustVerdict {
  bool trusted = false;
  std::wstring company;  // FileCompany: the version company, or the cleaned path when unreadable
  std::wstring product;  // FileNote: the version product name
};

// Checks an Authenticode signature offline (no revocation look-ups).
bool HasValidSignature(const std::wstring& path);

class TrustChecker {
 public:
  using SignatureCheck = std::function<bool(const std::wstring& path)>;
  explicit TrustChecker(SignatureCheck check = HasValidSignature) : check_(std::move(check)) {}
  const TrustVerdict& IsTrustedFile(const std::wstring& path);
  size_t checks() const { return checks_; }

 private:
  struct Entry {
    FILETIME written{};
    TrustVerdict verdict;
  };
  SignatureCheck check_;
  std::unordered_map<std::wstring, Entry> cache_;
  size_t checks_ = 0;
};

}  // namespace zorvix
