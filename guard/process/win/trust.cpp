#include "guard/process/win/trust.h"

#include <bcrypt.h>

#include <vector>

#include "common/path.h"
#include "common/text.h"
#include "common/win/version_info.h"
#include "guard/process/process_rules.h"
#include "guard/process/win/signature_calls.h"

namespace zorvix {
namespace {

// Faults of the signer's chain that make the signature worthless whatever the verifier answered:
// some verifiers accept a chain that ends in a root nobody trusts.
constexpr DWORD kChainFaults = CERT_TRUST_IS_UNTRUSTED_ROOT | CERT_TRUST_IS_PARTIAL_CHAIN |
                               CERT_TRUST_IS_NOT_SIGNATURE_VALID | CERT_TRUST_IS_REVOKED | CERT_TRUST_IS_CYCLIC |
                               CERT_TRUST_IS_EXPLICIT_DISTRUST;

std::wstring NameOf(const SignatureCalls& calls, PCCERT_CONTEXT cert, const char* oid) {
  wchar_t name[256] = L"";
  DWORD n = calls.certName(cert, CERT_NAME_ATTR_TYPE, 0, const_cast<char*>(oid), name, 256);
  return n > 1 ? common::Trim(name) : L"";
}

// The signer of a verified signature, read from the verifier's state.
std::optional<std::wstring> SignerFromState(const SignatureCalls& calls, HANDLE state) {
  CRYPT_PROVIDER_DATA* data = calls.provData(state);
  CRYPT_PROVIDER_SGNR* signer = data ? calls.signerFromChain(data, 0, FALSE, 0) : nullptr;
  if (!signer || signer->csCertChain == 0 || !signer->pasCertChain[0].pCert) return std::nullopt;
  if (signer->pChainContext && (signer->pChainContext->TrustStatus.dwErrorStatus & kChainFaults))
    return std::nullopt;
  PCCERT_CONTEXT cert = signer->pasCertChain[0].pCert;
  std::wstring name = NameOf(calls, cert, szOID_ORGANIZATION_NAME);
  if (name.empty()) name = NameOf(calls, cert, szOID_COMMON_NAME);
  if (name.empty()) return std::nullopt;
  return name;
}

std::optional<std::wstring> Verify(const SignatureCalls& calls, WINTRUST_DATA& data) {
  GUID action = WINTRUST_ACTION_GENERIC_VERIFY_V2;
  data.cbStruct = sizeof data;
  data.dwUIChoice = WTD_UI_NONE;
  data.fdwRevocationChecks = WTD_REVOKE_NONE;
  data.dwProvFlags = WTD_CACHE_ONLY_URL_RETRIEVAL | WTD_REVOCATION_CHECK_NONE;
  data.dwStateAction = WTD_STATEACTION_VERIFY;
  LONG rc = calls.verify(static_cast<HWND>(INVALID_HANDLE_VALUE), &action, &data);
  std::optional<std::wstring> signer;
  if (rc == ERROR_SUCCESS) signer = SignerFromState(calls, data.hWVTStateData);
  data.dwStateAction = WTD_STATEACTION_CLOSE;
  calls.verify(static_cast<HWND>(INVALID_HANDLE_VALUE), &action, &data);
  return signer;
}

std::optional<std::wstring> EmbeddedSigner(const SignatureCalls& calls, const std::wstring& path) {
  WINTRUST_FILE_INFO file{sizeof file};
  file.pcwszFilePath = path.c_str();
  WINTRUST_DATA data{};
  data.dwUnionChoice = WTD_CHOICE_FILE;
  data.pFile = &file;
  return Verify(calls, data);
}

std::wstring HexOf(const std::vector<BYTE>& hash) {
  std::wstring tag;
  for (BYTE b : hash) {
    wchar_t hex[3];
    swprintf(hex, 3, L"%02X", b);
    tag += hex;
  }
  return tag;
}

bool AcquireCatalogs(const SignatureCalls& calls, HCATADMIN* admin, const wchar_t* algorithm) {
  if (!algorithm) return calls.acquireContext(admin, nullptr, 0);
  return calls.acquireContext2 && calls.acquireContext2(admin, nullptr, algorithm, nullptr, 0);
}

bool HashForCatalogs(const SignatureCalls& calls, HCATADMIN admin, HANDLE file, DWORD* size, BYTE* hash,
                     const wchar_t* algorithm) {
  if (!algorithm) return calls.calcHash(file, size, hash, 0);
  return calls.calcHash2 && calls.calcHash2(admin, file, size, hash, 0);
}

// The signer of the first catalog that lists the file's hash (of the given algorithm; null = SHA-1).
std::optional<std::wstring> CatalogSigner(const SignatureCalls& calls, const std::wstring& path, HANDLE file,
                                          const wchar_t* algorithm) {
  HCATADMIN admin = nullptr;
  if (!AcquireCatalogs(calls, &admin, algorithm)) return std::nullopt;
  std::optional<std::wstring> signer;
  DWORD size = 0;
  HashForCatalogs(calls, admin, file, &size, nullptr, algorithm);
  std::vector<BYTE> hash(size);
  if (size && HashForCatalogs(calls, admin, file, &size, hash.data(), algorithm)) {
    HCATINFO cat = calls.enumCatalog(admin, hash.data(), size, 0, nullptr);
    CATALOG_INFO info{sizeof info};
    if (cat && calls.catalogInfo(cat, &info, 0)) {
      std::wstring tag = HexOf(hash);
      WINTRUST_CATALOG_INFO ci{sizeof ci};
      ci.pcwszCatalogFilePath = info.wszCatalogFile;
      ci.pcwszMemberFilePath = path.c_str();
      ci.pcwszMemberTag = tag.c_str();
      ci.pbCalculatedFileHash = hash.data();
      ci.cbCalculatedFileHash = size;
      ci.hCatAdmin = admin;
      WINTRUST_DATA data{};
      data.dwUnionChoice = WTD_CHOICE_CATALOG;
      data.pCatalog = &ci;
      signer = Verify(calls, data);
    }
    if (cat) calls.releaseCatalog(admin, cat, 0);
  }
  calls.releaseContext(admin, 0);
  return signer;
}

std::optional<std::wstring> CatalogSigner(const SignatureCalls& calls, const std::wstring& path) {
  HANDLE f = CreateFileW(common::ExtendedPath(path).c_str(), GENERIC_READ,
                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING, 0, nullptr);
  if (f == INVALID_HANDLE_VALUE) return std::nullopt;
  // Newer catalogs list SHA-256 hashes, older ones SHA-1.
  auto signer = CatalogSigner(calls, path, f, BCRYPT_SHA256_ALGORITHM);
  if (!signer) signer = CatalogSigner(calls, path, f, nullptr);
  CloseHandle(f);
  return signer;
}

FILETIME LastWrite(const std::wstring& path) {
  WIN32_FILE_ATTRIBUTE_DATA d{};
  GetFileAttributesExW(common::ExtendedPath(path).c_str(), GetFileExInfoStandard, &d);
  return d.ftLastWriteTime;
}

}  // namespace

std::optional<std::wstring> SignerOf(const std::wstring& path) {
  const SignatureCalls* calls = LoadSignatureCalls();
  if (!calls) return std::nullopt;
  if (auto signer = EmbeddedSigner(*calls, path)) return signer;
  return CatalogSigner(*calls, path);
}

TrustVerdict TrustChecker::IsTrustedFile(const std::wstring& path) {
  FILETIME written = LastWrite(path);
  std::wstring key = common::ToLower(path);
  if (Entry* e = cache_.Find(key); e && CompareFileTime(&e->written, &written) == 0) return e->verdict;

  ++checks_;
  TrustVerdict v;
  auto texts = common::ReadVersionTexts(path);
  v.company = texts ? texts->company : path;
  v.product = texts ? texts->product : L"";
  // What the file says about itself proves nothing; its signer must be the company it names.
  v.trusted = texts && IsTrustedCompany(v.company) && IsTrustedSigner(v.company, check_(path));
  return cache_.Put(key, Entry{written, std::move(v)}).verdict;
}

TrustVerdict TrustChecker::IsTrustedCommand(const std::wstring& commandLine) {
  return IsTrustedFile(CleanCommandPath(commandLine));
}

}  // namespace zorvix
