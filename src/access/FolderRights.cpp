#include "FolderRights.h"

#include <aclapi.h>

#include <cstdint>
#include <vector>

#include "SystemErrorText.h"
#include "UserFile.h"

namespace {

GENERIC_MAPPING FileMapping() {
  return {FILE_GENERIC_READ, FILE_GENERIC_WRITE, FILE_GENERIC_EXECUTE, FILE_ALL_ACCESS};
}

std::optional<bool> Allows(PSECURITY_DESCRIPTOR descriptor, HANDLE token, DWORD access) {
  GENERIC_MAPPING mapping = FileMapping();
  PRIVILEGE_SET privileges{};
  DWORD privilegesSize = sizeof privileges, granted = 0;
  BOOL status = FALSE;
  if (!AccessCheck(descriptor, token, access, &mapping, &privileges, &privilegesSize, &granted,
                   &status))
    return std::nullopt;
  return status != FALSE;
}

// A token's information of one class, in a buffer of its own.
std::vector<std::uint8_t> TokenInfo(HANDLE token, TOKEN_INFORMATION_CLASS kind) {
  DWORD size = 0;
  GetTokenInformation(token, kind, nullptr, 0, &size);
  if (size == 0 || size > 64 * 1024) return {};
  std::vector<std::uint8_t> buffer(size);
  if (!GetTokenInformation(token, kind, buffer.data(), size, &size)) return {};
  return buffer;
}

bool IsSid(PSID sid, WELL_KNOWN_SID_TYPE type) {
  std::uint8_t known[SECURITY_MAX_SID_SIZE];
  DWORD size = sizeof known;
  return CreateWellKnownSid(type, nullptr, known, &size) && EqualSid(sid, known);
}

// The DACL a new file in the folder inherits: the folder's ACEs that reach
// files, with CREATOR OWNER and CREATOR GROUP made the user and their primary
// group, generic rights mapped. Empty when the folder passes nothing on (the
// file then gets the user's default DACL); nothing when it cannot be made.
std::optional<std::vector<std::uint8_t>> InheritedDacl(PACL folder, PSID user, PSID group) {
  // The largest ACL there is: its size is a 16-bit number, kept DWORD-aligned.
  std::vector<std::uint8_t> acl(0xFFFC);
  if (!InitializeAcl(reinterpret_cast<PACL>(acl.data()), static_cast<DWORD>(acl.size()),
                     ACL_REVISION))
    return std::nullopt;
  bool any = false;
  GENERIC_MAPPING mapping = FileMapping();
  for (DWORD i = 0; folder && i < folder->AceCount; ++i) {
    ACE_HEADER* ace = nullptr;
    if (!GetAce(folder, i, reinterpret_cast<void**>(&ace))) return std::nullopt;
    if (!(ace->AceFlags & OBJECT_INHERIT_ACE)) continue;
    if (ace->AceType != ACCESS_ALLOWED_ACE_TYPE && ace->AceType != ACCESS_DENIED_ACE_TYPE) continue;
    // Both kinds share their layout: header, mask, the SID's first word.
    auto* allowed = reinterpret_cast<ACCESS_ALLOWED_ACE*>(ace);
    PSID sid = &allowed->SidStart;
    if (IsSid(sid, WinCreatorOwnerSid)) sid = user;
    if (IsSid(sid, WinCreatorGroupSid)) sid = group;
    DWORD mask = allowed->Mask;
    MapGenericMask(&mask, &mapping);
    const auto target = reinterpret_cast<PACL>(acl.data());
    const BOOL added = ace->AceType == ACCESS_ALLOWED_ACE_TYPE
                           ? AddAccessAllowedAceEx(target, ACL_REVISION, INHERITED_ACE, mask, sid)
                           : AddAccessDeniedAceEx(target, ACL_REVISION, INHERITED_ACE, mask, sid);
    if (!added) return std::nullopt;
    any = true;
  }
  if (!any) acl.clear();
  return acl;
}

std::optional<bool> MayDeleteANewFile(PSECURITY_DESCRIPTOR folder, HANDLE token) {
  BOOL present = FALSE, defaulted = FALSE;
  PACL folderDacl = nullptr;
  if (!GetSecurityDescriptorDacl(folder, &present, &folderDacl, &defaulted)) return std::nullopt;
  if (!present || !folderDacl) return true;  // no DACL: everyone may do everything
  const std::vector<std::uint8_t> user = TokenInfo(token, TokenUser);
  const std::vector<std::uint8_t> group = TokenInfo(token, TokenPrimaryGroup);
  const std::vector<std::uint8_t> defaults = TokenInfo(token, TokenDefaultDacl);
  if (user.empty() || group.empty()) return std::nullopt;
  const PSID userSid = reinterpret_cast<const TOKEN_USER*>(user.data())->User.Sid;
  const PSID groupSid = reinterpret_cast<const TOKEN_PRIMARY_GROUP*>(group.data())->PrimaryGroup;
  std::optional<std::vector<std::uint8_t>> dacl = InheritedDacl(folderDacl, userSid, groupSid);
  if (!dacl) return std::nullopt;
  PACL fileDacl = reinterpret_cast<PACL>(dacl->data());
  if (dacl->empty())
    fileDacl = defaults.empty()
                   ? nullptr
                   : reinterpret_cast<const TOKEN_DEFAULT_DACL*>(defaults.data())->DefaultDacl;
  // The right to delete comes from the DACL alone: an owner's implicit rights
  // are reading and changing the DACL. So the file is judged as owned by the
  // system, not by the user, which keeps the answer the same where a platform
  // grants owners more (Wine grants them DELETE).
  std::uint8_t system[SECURITY_MAX_SID_SIZE];
  DWORD systemSize = sizeof system;
  if (!CreateWellKnownSid(WinLocalSystemSid, nullptr, system, &systemSize)) return std::nullopt;
  SECURITY_DESCRIPTOR file{};
  if (!InitializeSecurityDescriptor(&file, SECURITY_DESCRIPTOR_REVISION) ||
      !SetSecurityDescriptorOwner(&file, system, FALSE) ||
      !SetSecurityDescriptorGroup(&file, groupSid, FALSE) ||
      !SetSecurityDescriptorDacl(&file, TRUE, fileDacl, FALSE))
    return std::nullopt;
  return Allows(&file, token, DELETE);
}

// Groups a user without administrator rights has too.
bool IsStandardGroup(const SID_AND_ATTRIBUTES& group) {
  if (group.Attributes & (SE_GROUP_LOGON_ID | SE_GROUP_INTEGRITY)) return true;
  for (WELL_KNOWN_SID_TYPE type :
       {WinWorldSid, WinLocalSid, WinInteractiveSid, WinAuthenticatedUserSid,
        WinThisOrganizationSid, WinBuiltinUsersSid})
    if (IsSid(group.Sid, type)) return true;
  // The domain's users (RID 513), which standard accounts of a domain have.
  const UCHAR* count = GetSidSubAuthorityCount(group.Sid);
  return count && *count == 5 && *GetSidSubAuthority(group.Sid, 0) == SECURITY_NT_NON_UNIQUE &&
         *GetSidSubAuthority(group.Sid, 4) == DOMAIN_GROUP_RID_USERS;
}

}  // namespace

std::optional<bool> MayCreateAndDeleteFiles(PSECURITY_DESCRIPTOR folder, HANDLE token) {
  const std::optional<bool> create = Allows(folder, token, FILE_ADD_FILE);
  if (create != true) return create;
  const std::optional<bool> deleteChild = Allows(folder, token, FILE_DELETE_CHILD);
  if (deleteChild == true) return true;
  return MayDeleteANewFile(folder, token);
}

UniqueKernelHandle StandardUserToken(HANDLE base) {
  const std::vector<std::uint8_t> buffer = TokenInfo(base, TokenGroups);
  if (buffer.empty()) return {};
  const auto* groups = reinterpret_cast<const TOKEN_GROUPS*>(buffer.data());
  std::vector<SID_AND_ATTRIBUTES> disable;
  for (DWORD i = 0; i < groups->GroupCount; ++i)
    if (!IsStandardGroup(groups->Groups[i])) disable.push_back({groups->Groups[i].Sid, 0});
  UniqueKernelHandle restricted;
  if (!CreateRestrictedToken(base, DISABLE_MAX_PRIVILEGE, static_cast<DWORD>(disable.size()),
                             disable.empty() ? nullptr : disable.data(), 0, nullptr, 0, nullptr,
                             restricted.put()))
    return {};
  UniqueKernelHandle token;
  if (!DuplicateTokenEx(restricted.get(), TOKEN_QUERY | TOKEN_DUPLICATE | TOKEN_IMPERSONATE,
                        nullptr, SecurityIdentification, TokenImpersonation, token.put()))
    return {};
  return token;
}

FolderRights JudgeFolder(const std::wstring& folder, const SignedInUser& user) {
  FolderRights rights;
  rights.folder = folder;
  rights.signedInUserName = user.name;
  PSECURITY_DESCRIPTOR raw = nullptr;
  const DWORD error = GetNamedSecurityInfoW(
      PlatformPath(folder).c_str(), SE_FILE_OBJECT,
      OWNER_SECURITY_INFORMATION | GROUP_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION, nullptr,
      nullptr, nullptr, nullptr, &raw);
  const UniqueLocalMemory descriptor(raw);
  if (error != ERROR_SUCCESS || !descriptor) {
    rights.failure = SystemErrorLine(error, folder);
    return rights;
  }
  if (!user.token) {
    rights.failure = SystemErrorLine(ERROR_NO_TOKEN);
    return rights;
  }
  const UniqueKernelHandle standard = StandardUserToken(user.token.get());
  if (standard) rights.users = MayCreateAndDeleteFiles(descriptor.get(), standard.get());
  rights.signedInUser = MayCreateAndDeleteFiles(descriptor.get(), user.token.get());
  return rights;
}
