#include "guard/process/win/trust.h"

#include <softpub.h>
#include <mscat.h>
#include <wintrust.h>

#include <vector>

#include "common/path.h"
#include "common/text.h"
#include "common/win/version_info.h"
#include "guard/process/process_rules.h"

namespace zorvix {
namespace {

LONG Verify(WINTRUST_DATA& data) {
  GUID action = WINTRUST_ACTION_GENERIC_VERIFY_V2;
  data.cbStruct = sizeof data;
  data.dwUIChoice = WTD_UI_NONE;
  data.fdwRevocationChecks = WTD_REVOKE_NONE;
  data.dwProvFlags = WTD_CACHE_ONLY_URL_RETRIEVAL | WTD_REVOCATION_CHECK_NONE;
  data.dwStateAction = WTD_STATEACTION_VERIFY;
  LONG rc = WinVerifyTrust(static_cast<HWND>(INVALID_HANDLE_VALUE), &action, &data);
  data.dwStateAction = WTD_STATEACTION_CLOSE;
  WinVerifyTrust(static_cast<HWND>(INVALID_HANDLE_VALUE), &action, &data);
  return rc;
}

bool EmbeddedSignatureValid(const std::wstring& path) {
  WINTRUST_FILE_INFO file{sizeof file};
  file.pcwszFilePath = path.c_str();
  WINTRUST_DATA data{};
  data.dwUnionChoice = WTD_CHOICE_FILE;
  data.pFile = &file;
  return Verify(data) == ERROR_SUCCESS;
}

bool CatalogSignatureValid(const std::wstring& path) {
  HANDLE f = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                         OPEN_EXISTING, 0, nullptr);
  if (f == INVALID_HANDLE_VALUE) return false;
  bool ok = false;
  HCATADMIN admin = nullptr;
  if (CryptCATAdminAcquireContext(&admin, nullptr, 0)) {
    DWORD size = 0;
    CryptCATAdminCalcHashFromFileHandle(f, &size, nullptr, 0);
    std::vector<BYTE> hash(size);
    if (size && CryptCATAdminCalcHashFromFileHandle(f, &size, hash.data(), 0)) {
      HCATINFO cat = CryptCATAdminEnumCatalogFromHash(admin, hash.data(), size, 0, nullptr);
      CATALOG_INFO info{sizeof info};
      if (cat && CryptCATCatalogInfoFromContext(cat, &info, 0)) {
        std::wstring tag;
        for (BYTE b : hash) {
          wchar_t hex[3];
          swprintf(hex, 3, L"%02X", b);
          tag += hex;
        }
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
        ok = Verify(data) == ERROR_SUCCESS;
      }
      if (cat) CryptCATAdminReleaseCatalogContext(admin, cat, 0);
    }
    CryptCATAdminReleaseContext(admin, 0);
  }
  CloseHandle(f);
  return ok;
}

FILETIME LastWrite(const std::wstring& path) {
  WIN32_FILE_ATTRIBUTE_DATA d{};
  GetFileAttributesExW(common::ExtendedPath(path).c_str(), GetFileExInfoStandard, &d);
  return d.ftLastWriteTime;
}

}  // namespace

bool HasValidSignature(const std::wstring& path) {
  return EmbeddedSignatureValid(path) || CatalogSignatureValid(path);
}

const TrustVerdict& TrustChecker::IsTrustedFile(const std::wstring& path) {
  std::wstring clean = CleanCommandPath(path);
  FILETIME written = LastWrite(clean);
  std::wstring key = common::ToLower(clean);
  auto it = cache_.find(key);
  if (it != cache_.end() && CompareFileTime(&it->second.written, &written) == 0) return it->second.verdict;

  ++checks_;
  TrustVerdict v;
  auto texts = common::ReadVersionTexts(clean);
  v.company = texts ? texts->company : clean;
  v.product = texts ? texts->product : L"";
  // The company name alone is whatever the file says; only a valid signature makes it count.
  v.trusted = texts && IsTrustedCompany(v.company) && check_(clean);
  Entry& e = cache_[key];
  e.written = written;
  e.verdict = std::move(v);
  return e.verdict;
}

}  // namespace zorvix
