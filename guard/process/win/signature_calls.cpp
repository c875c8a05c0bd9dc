#include "guard/process/win/signature_calls.h"

#include "common/win/system.h"

namespace zorvix {
namespace {

template <typename F>
bool Bind(F& f, HMODULE module, const char* name) {
  f = common::FindProc<F>(module, name);
  return f != nullptr;
}

bool BindAll(SignatureCalls& c, HMODULE wintrust, HMODULE crypt32) {
  Bind(c.acquireContext2, wintrust, "CryptCATAdminAcquireContext2");
  Bind(c.calcHash2, wintrust, "CryptCATAdminCalcHashFromFileHandle2");
  return Bind(c.verify, wintrust, "WinVerifyTrust") && Bind(c.provData, wintrust, "WTHelperProvDataFromStateData") &&
         Bind(c.signerFromChain, wintrust, "WTHelperGetProvSignerFromChain") &&
         Bind(c.acquireContext, wintrust, "CryptCATAdminAcquireContext") &&
         Bind(c.calcHash, wintrust, "CryptCATAdminCalcHashFromFileHandle") &&
         Bind(c.enumCatalog, wintrust, "CryptCATAdminEnumCatalogFromHash") &&
         Bind(c.catalogInfo, wintrust, "CryptCATCatalogInfoFromContext") &&
         Bind(c.releaseCatalog, wintrust, "CryptCATAdminReleaseCatalogContext") &&
         Bind(c.releaseContext, wintrust, "CryptCATAdminReleaseContext") &&
         Bind(c.certName, crypt32, "CertGetNameStringW");
}

}  // namespace

const SignatureCalls* LoadSignatureCalls() {
  static const SignatureCalls* loaded = [] {
    static SignatureCalls calls;
    HMODULE wintrust = LoadLibraryExW(L"wintrust.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    HMODULE crypt32 = LoadLibraryExW(L"crypt32.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    return wintrust && crypt32 && BindAll(calls, wintrust, crypt32) ? &calls : nullptr;
  }();
  return loaded;
}

}  // namespace zorvix
