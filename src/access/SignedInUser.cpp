#include "SignedInUser.h"

#include <cstdint>
#include <vector>

namespace {

UniqueKernelHandle IdentificationToken(HANDLE process) {
  UniqueKernelHandle primary;
  if (!OpenProcessToken(process, TOKEN_QUERY | TOKEN_DUPLICATE, primary.put())) return {};
  UniqueKernelHandle token;
  if (!DuplicateTokenEx(primary.get(), TOKEN_QUERY | TOKEN_DUPLICATE | TOKEN_IMPERSONATE, nullptr,
                        SecurityIdentification, TokenImpersonation, token.put()))
    return {};
  return token;
}

UniqueKernelHandle ShellToken() {
  const HWND shell = GetShellWindow();
  DWORD processId = 0;
  if (!shell || !GetWindowThreadProcessId(shell, &processId) || processId == 0) return {};
  const UniqueKernelHandle process(OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, processId));
  if (!process) return {};
  return IdentificationToken(process.get());
}

}  // namespace

std::wstring AccountNameOf(HANDLE token) {
  DWORD size = 0;
  GetTokenInformation(token, TokenUser, nullptr, 0, &size);
  if (size == 0 || size > 4096) return {};
  std::vector<std::uint8_t> buffer(size);
  if (!GetTokenInformation(token, TokenUser, buffer.data(), size, &size)) return {};
  const PSID sid = reinterpret_cast<TOKEN_USER*>(buffer.data())->User.Sid;
  wchar_t name[256], domain[256];
  DWORD nameSize = 256, domainSize = 256;
  SID_NAME_USE use;
  if (!LookupAccountSidW(nullptr, sid, name, &nameSize, domain, &domainSize, &use)) return {};
  return domainSize > 0 && *domain ? std::wstring(domain) + L"\\" + name : std::wstring(name);
}

SignedInUser FindSignedInUser() {
  SignedInUser user;
  user.token = ShellToken();
  user.fromShell = static_cast<bool>(user.token);
  if (!user.token) user.token = IdentificationToken(GetCurrentProcess());
  if (user.token) user.name = AccountNameOf(user.token.get());
  return user;
}
