// The signature-check calls, reached through libraries loaded on their first use: a program that
// leaves its checks to a helper never loads them.
#pragma once
#include <windows.h>
#include <softpub.h>
#include <mscat.h>
#include <wintrust.h>

namespace zorvix {

struct SignatureCalls {
  // The catalog calls that name a hash algorithm (newer systems); null where the system lacks them.
  using AcquireContext2 = BOOL(WINAPI*)(HCATADMIN*, const GUID*, PCWSTR, PCCERT_STRONG_SIGN_PARA, DWORD);
  using CalcHash2 = BOOL(WINAPI*)(HCATADMIN, HANDLE, DWORD*, BYTE*, DWORD);

  decltype(&::WinVerifyTrust) verify = nullptr;
  decltype(&::WTHelperProvDataFromStateData) provData = nullptr;
  decltype(&::WTHelperGetProvSignerFromChain) signerFromChain = nullptr;
  decltype(&::CryptCATAdminAcquireContext) acquireContext = nullptr;
  AcquireContext2 acquireContext2 = nullptr;
  decltype(&::CryptCATAdminCalcHashFromFileHandle) calcHash = nullptr;
  CalcHash2 calcHash2 = nullptr;
  decltype(&::CryptCATAdminEnumCatalogFromHash) enumCatalog = nullptr;
  decltype(&::CryptCATCatalogInfoFromContext) catalogInfo = nullptr;
  decltype(&::CryptCATAdminReleaseCatalogContext) releaseCatalog = nullptr;
  decltype(&::CryptCATAdminReleaseContext) releaseContext = nullptr;
  decltype(&::CertGetNameStringW) certName = nullptr;
};

// The calls, their libraries loaded on the first request and kept; null when a library or a call
// every system has is missing.
const SignatureCalls* LoadSignatureCalls();

}  // namespace zorvix
