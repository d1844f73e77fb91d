#include "FileCheckReport.h"

#include "DatabaseFindings.h"
#include "ReportWriters.h"

namespace {

const char* Bool(bool b) { return b ? "true" : "false"; }

std::string AsciiJson(const char* text) {
  std::wstring wide;
  for (const char* c = text; *c; ++c) wide += static_cast<wchar_t>(*c);
  return JsonString(wide);
}

std::string OptionalBool(std::optional<bool> b) { return b ? Bool(*b) : "null"; }

const std::wstring& PathOf(const CheckedPath& file) {
  return file.full.empty() ? file.path : file.full;
}

// False when any judgement found the folder closed to its users, true when
// one found it open and none closed.
std::optional<bool> UsersMayCreateFiles(const FolderRights& rights) {
  if (rights.users == false || rights.signedInUser == false) return false;
  if (rights.users || rights.signedInUser) return true;
  return std::nullopt;
}

std::string LockJson(const LockFileFound& lock) {
  std::string out = std::string("{\"present\": ") + Bool(lock.present) +
                    ", \"heldNow\": " + OptionalBool(lock.heldNow) + ", \"holders\": [";
  for (std::size_t i = 0; i < lock.holders.size(); ++i)
    out += (i ? ", " : "") + std::string("{\"computer\": ") + JsonString(lock.holders[i].computer) +
           ", \"account\": " + JsonString(lock.holders[i].account) + "}";
  return out + "]}";
}

}  // namespace

std::string DatabaseReportJson(const DatabaseCheck& check, const EngineInventory& inventory) {
  const bool read = check.file.problem == FileProblem::None;
  const DatabaseHeader& h = check.header;
  const EngineVerdict engine = read ? EngineVerdictFor(h.format, inventory) : EngineVerdict{};
  std::string out = "{\"path\": " + JsonString(PathOf(check.file));
  out += ", \"format\": \"" + std::string(read ? DatabaseFormatKey(h.format) : "unreadable") + "\"";
  out += ", \"version\": " + (read && h.version ? std::to_string(*h.version) : std::string("null"));
  out +=
      ", \"pageSize\": " + (read && h.pageSize ? std::to_string(h.pageSize) : std::string("null"));
  out += ", \"length\": " + (read ? std::to_string(h.length) : std::string("null"));
  out += std::string(", \"cutShort\": ") + Bool(read && h.cutShort);
  out += std::string(", \"encrypted\": ") + Bool(read && h.Encrypted());
  out += std::string(", \"readOnly\": ") + Bool(read && check.readOnly);
  out += ", \"engine\": {\"needs\": " + (engine.needs ? AsciiJson(engine.needs) : "null") +
         ", \"bits32\": " + Bool(engine.bits32) + ", \"bits64\": " + Bool(engine.bits64) + "}";
  out += ", \"protection\": " +
         (read && h.protection ? "\"" + std::string(DatabaseProtectionKey(*h.protection)) + "\""
                               : std::string("null"));
  out += ", \"folder\": {\"usersMayCreateFiles\": " +
         (read ? OptionalBool(UsersMayCreateFiles(check.folder)) : std::string("null")) + "}";
  out += ", \"lock\": " + LockJson(check.lock);
  out += ", \"virtualStore\": " + (check.virtualStore
                                       ? "{\"path\": " + JsonString(check.virtualStore->path) +
                                             ", \"newer\": " + Bool(check.virtualStore->newer) + "}"
                                       : std::string("null"));
  return out + "}";
}

std::string ProgramReportJson(const ProgramCheck& check, const EngineInventory& inventory) {
  const bool read = check.file.problem == FileProblem::None;
  const ProgramHeader& h = check.header;
  const ProgramVerdict verdict = read ? ProgramVerdictFor(h, inventory) : ProgramVerdict{};
  const char* machine = !read          ? "unreadable"
                        : !h.isProgram ? "not a program"
                                       : MachineKey(h.machine);
  return "{\"path\": " + JsonString(PathOf(check.file)) + ", \"machine\": \"" + machine +
         "\", \"dotnet\": " + Bool(read && h.dotnet) + ", \"runsAs\": " +
         (verdict.runsAs ? std::to_string(*verdict.runsAs) : std::string("null")) +
         ", \"opens\": {\"mdb97\": " + Bool(verdict.mdb97) + ", \"mdb\": " + Bool(verdict.mdb) +
         ", \"accdb\": " + Bool(verdict.accdb) + "}}";
}
