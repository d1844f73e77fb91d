#include "FolderSecurity.h"

#include <aclapi.h>
#include <sddl.h>

#include <vector>

#include "AdministratorRights.h"

namespace {

bool VistaOrLater() {
  OSVERSIONINFOW version{};
  version.dwOSVersionInfoSize = sizeof version;
  return GetVersionExW(&version) && version.dwMajorVersion >= 6;
}

// This process's user as an SDDL SID; empty when it cannot be read.
std::wstring UserSid() {
  HANDLE raw = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &raw)) return {};
  const UniqueKernelHandle token(raw);
  DWORD size = 0;
  GetTokenInformation(token.get(), TokenUser, nullptr, 0, &size);
  std::vector<BYTE> buffer(size);
  if (size == 0 || !GetTokenInformation(token.get(), TokenUser, buffer.data(), size, &size))
    return {};
  LPWSTR text = nullptr;
  if (!ConvertSidToStringSidW(reinterpret_cast<TOKEN_USER*>(buffer.data())->User.Sid, &text))
    return {};
  const UniqueLocal owned(text);
  return text;
}

}  // namespace

std::wstring ProgramFolderSecurity() {
  if (HasAdministratorRights())
    return std::wstring(L"O:BAD:P(A;OICI;FA;;;BA)(A;OICI;FA;;;SY)") +
           (VistaOrLater() ? L"S:(ML;OICI;NW;;;HI)" : L"");
  const std::wstring user = UserSid();
  if (user.empty()) return {};
  return L"O:" + user + L"D:P(A;OICI;FA;;;" + user + L")(A;OICI;FA;;;SY)";
}

SecurityDescriptor SecurityDescriptor::FromText(const std::wstring& sddl, DWORD& error) {
  SecurityDescriptor made;
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  if (sddl.empty() || !ConvertStringSecurityDescriptorToSecurityDescriptorW(
                          sddl.c_str(), SDDL_REVISION_1, &descriptor, nullptr)) {
    error = sddl.empty() ? ERROR_INVALID_SECURITY_DESCR : GetLastError();
    return made;
  }
  made.memory_.reset(descriptor);
  error = ERROR_SUCCESS;
  return made;
}

std::wstring SecurityOf(HANDLE object) {
  SECURITY_INFORMATION wanted = OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION;
  if (VistaOrLater()) wanted |= LABEL_SECURITY_INFORMATION;
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  if (GetSecurityInfo(object, SE_FILE_OBJECT, wanted, nullptr, nullptr, nullptr, nullptr,
                      &descriptor) != ERROR_SUCCESS)
    return {};
  const UniqueLocal owned(descriptor);
  LPWSTR text = nullptr;
  if (!ConvertSecurityDescriptorToStringSecurityDescriptorW(descriptor, SDDL_REVISION_1, wanted,
                                                            &text, nullptr))
    return {};
  const UniqueLocal ownedText(text);
  return text;
}
