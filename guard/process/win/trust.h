// Whether a file is trusted: a valid Authenticode signature (in the file or a system catalog) whose
// signer is a listed company and is the company the file's version texts name. Verdicts are kept per
// path and last-write time, for a bounded number of paths.
#pragma once
#include <windows.h>

#include <functional>
#include <optional>
#include <string>

#include "guard/process/bounded_cache.h"

namespace zorvix {

struct TrustVerdict {
  bool trusted = false;
  std::wstring company;  // FileCompany: the version company, or the path when unreadable
  std::wstring product;  // FileNote: the version product name
};

// The signer of a valid signature of the file, embedded or from a catalog that covers it: the signing
// certificate's organisation, else its common name. nullopt when the file has no valid signature.
// Checked offline (no revocation look-ups). Its libraries are loaded on the first call; the guard makes
// the call in its helper (signer_process.h).
std::optional<std::wstring> SignerOf(const std::wstring& path);

class TrustChecker {
 public:
  using SignerCheck = std::function<std::optional<std::wstring>(const std::wstring& path)>;
  static constexpr size_t kCachedPaths = 1024;
  explicit TrustChecker(SignerCheck check = SignerOf, size_t cachedPaths = kCachedPaths)
      : check_(std::move(check)), cache_(cachedPaths) {}
  // A file's verdict; the path is taken as it is (an image path, never cut at an ".exe" inside it).
  TrustVerdict IsTrustedFile(const std::wstring& path);
  // The verdict on the program a command line starts (a start-up value, a remark rule).
  TrustVerdict IsTrustedCommand(const std::wstring& commandLine);
  size_t checks() const { return checks_; }
  size_t cached() const { return cache_.size(); }

 private:
  struct Entry {
    FILETIME written{};
    TrustVerdict verdict;
  };
  SignerCheck check_;
  BoundedCache<std::wstring, Entry> cache_;
  size_t checks_ = 0;
};

}  // namespace zorvix
