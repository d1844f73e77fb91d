#include "DatabaseFindings.h"

#include <algorithm>
#include <tuple>

#include "TextIds.h"

namespace {

struct FormatRule {
  DatabaseFormat format;
  int textId;
  const char* needs;
  DatabaseKind kind;
  FileVersion minimum;  // the oldest ACE that opens it; zeros: any
};

constexpr FormatRule kRules[] = {
    {DatabaseFormat::Jet3, IDS_DB_JET3, "Jet 4.0, ACE 12 or ACE 14", DatabaseKind::Access97, {}},
    {DatabaseFormat::Jet4, IDS_DB_JET4, "Jet 4.0 or ACE", DatabaseKind::Access2000, {}},
    {DatabaseFormat::Ace12, IDS_DB_ACE12, "ACE 12 or later", DatabaseKind::Accdb, {}},
    {DatabaseFormat::Ace14, IDS_DB_ACE14, "ACE 14 or later", DatabaseKind::Accdb, {14, 0, 0, 0}},
    {DatabaseFormat::Ace16,
     IDS_DB_ACE16,
     "ACE 16.0.7812 or later",
     DatabaseKind::Accdb,
     {16, 0, 7812, 0}},
    {DatabaseFormat::Ace17,
     IDS_DB_ACE17,
     "ACE 16 of Access 2019 or later",
     DatabaseKind::Accdb,
     {16, 0, 7812, 0}},
};

const FormatRule* RuleOf(DatabaseFormat format) {
  for (const FormatRule& rule : kRules)
    if (rule.format == format) return &rule;
  return nullptr;
}

bool AtLeast(const FileVersion& v, const FileVersion& minimum) {
  const auto key = [](const FileVersion& x) {
    return std::tuple(x.iMajor, x.iMinor, x.iBuild, x.iRevision);
  };
  return key(v) >= key(minimum);
}

bool WidthOpens(const EngineInventory& inventory, const FormatRule& rule, int bits) {
  return std::any_of(inventory.entries.begin(), inventory.entries.end(), [&](const EngineEntry& e) {
    return e.bits == bits && EntryOpens(e, rule.kind) &&
           (!e.version || AtLeast(*e.version, rule.minimum));
  });
}

std::wstring Number(std::uint64_t n) { return std::to_wstring(n); }

std::wstring Hex2(std::uint8_t byte) {
  constexpr wchar_t kHex[] = L"0123456789ABCDEF";
  return {kHex[byte >> 4], kHex[byte & 0xF]};
}

void AddFormat(const DatabaseCheck& check, const EngineInventory& inventory,
               std::vector<Finding>& out) {
  const DatabaseHeader& header = check.header;
  switch (header.format) {
    case DatabaseFormat::Empty:
      out.push_back({IDS_DB_EMPTY, {}, true});
      return;
    case DatabaseFormat::NotADatabase:
      out.push_back({IDS_DB_NOT_DATABASE, {}, true});
      return;
    case DatabaseFormat::UnknownVersion:
      out.push_back({IDS_DB_UNKNOWN_VERSION, {Hex2(header.version.value_or(0))}, true});
      return;
    case DatabaseFormat::Msisam:
      out.push_back({IDS_DB_MSISAM, {}, true});
      break;
    default:
      out.push_back({RuleOf(header.format)->textId, {}, false});
      break;
  }
  if (header.cutShort)
    out.push_back({IDS_DB_CUT_SHORT, {Number(header.length), Number(header.pageSize)}, true});
  if (header.format == DatabaseFormat::Msisam) return;
  const EngineVerdict verdict = EngineVerdictFor(header.format, inventory);
  if (!inventory.windows64)
    out.push_back(verdict.bits32 ? Finding{IDS_DB_ENGINES_HERE, {}, false}
                                 : Finding{IDS_DB_ENGINES_NONE_HERE, {}, true});
  else if (verdict.bits32 && verdict.bits64)
    out.push_back({IDS_DB_ENGINES_BOTH, {}, false});
  else if (verdict.bits32 || verdict.bits64)
    out.push_back({verdict.bits32 ? IDS_DB_ENGINES_32 : IDS_DB_ENGINES_64, {}, false});
  else
    out.push_back({IDS_DB_ENGINES_NONE, {}, true});
}

void AddProtection(const DatabaseHeader& header, std::vector<Finding>& out) {
  if (!header.IsDatabase() || !header.maskedRegionRead) return;
  const bool ace = header.format != DatabaseFormat::Jet3 && header.format != DatabaseFormat::Jet4 &&
                   header.format != DatabaseFormat::Msisam;
  const bool password = header.protection == DatabaseProtection::Password;
  if (ace) {
    if (password) out.push_back({IDS_DB_ACE_PASSWORD, {}, false});
    return;
  }
  if (header.Encrypted()) out.push_back({IDS_DB_ENCODED, {}, false});
  if (password)
    out.push_back({IDS_DB_PASSWORD, {}, false});
  else if (header.format != DatabaseFormat::Msisam)
    out.push_back({IDS_DB_PROTECTION_UNKNOWN, {}, false});
}

void AddFolder(const FolderRights& rights, std::vector<Finding>& out) {
  if (rights.users == false)
    out.push_back({IDS_DB_FOLDER_USERS_CANNOT, {rights.folder}, true});
  else if (rights.signedInUser == false)
    out.push_back({IDS_DB_FOLDER_USER_CANNOT, {rights.signedInUserName, rights.folder}, true});
  else if (rights.users || rights.signedInUser)
    out.push_back({IDS_DB_FOLDER_MAY, {}, false});
  else
    out.push_back({IDS_DB_FOLDER_UNKNOWN, {rights.failure}, false});
}

// "PC-1 (Admin), PC-2 (Admin)": the names as the lock file has them.
std::wstring Holders(const std::vector<LockEntryFound>& holders, std::optional<bool> held) {
  std::wstring list;
  for (const LockEntryFound& h : holders) {
    if (held && h.heldNow != held) continue;
    if (!list.empty()) list += L", ";
    list += h.computer + L" (" + h.account + L")";
  }
  return list;
}

void AddLock(const LockFileFound& lock, std::vector<Finding>& out) {
  if (!lock.present) {
    out.push_back({IDS_DB_LOCK_NONE, {}, false});
    return;
  }
  if (lock.heldNow == true) {
    std::wstring held = Holders(lock.holders, true);
    if (held.empty()) held = Holders(lock.holders, std::nullopt);
    out.push_back({IDS_DB_LOCK_HELD, {held, lock.path}, false});
  } else if (lock.heldNow == false) {
    out.push_back({IDS_DB_LOCK_LEFT, {lock.path, Holders(lock.holders, std::nullopt)}, true});
  } else {
    out.push_back({IDS_DB_LOCK_UNKNOWN, {lock.path, Holders(lock.holders, std::nullopt)}, false});
  }
  if (lock.damaged > 0) out.push_back({IDS_DB_LOCK_DAMAGED, {Number(lock.damaged)}, true});
}

}  // namespace

EngineVerdict EngineVerdictFor(DatabaseFormat format, const EngineInventory& inventory) {
  const FormatRule* rule = RuleOf(format);
  if (!rule) return {};
  return {rule->needs, WidthOpens(inventory, *rule, 32), WidthOpens(inventory, *rule, 64)};
}

std::vector<Finding> DatabaseFindings(const DatabaseCheck& check,
                                      const EngineInventory& inventory) {
  std::vector<Finding> out = PathFindings(check.file);
  if (out.empty()) {
    AddFormat(check, inventory, out);
    AddProtection(check.header, out);
    if (check.readOnly) out.push_back({IDS_DB_READ_ONLY, {}, false});
    AddFolder(check.folder, out);
    AddLock(check.lock, out);
  }
  if (const auto& copy = check.virtualStore)
    out.push_back({copy->newer ? IDS_DB_VIRTUAL_STORE_NEWER : IDS_DB_VIRTUAL_STORE_OLDER,
                   {copy->owner, copy->path, copy->copyChanged, copy->originalChanged},
                   true});
  return out;
}
