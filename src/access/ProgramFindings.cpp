#include "ProgramFindings.h"

#include <string>

#include "TextIds.h"

namespace {

std::wstring Hex(std::uint16_t value) {
  constexpr wchar_t kHex[] = L"0123456789ABCDEF";
  std::wstring text = L"0x";
  for (int shift = 12; shift >= 0; shift -= 4) text += kHex[(value >> shift) & 0xF];
  return text;
}

// The sentence that says what the program is and which width it runs as.
Finding Kind(const ProgramHeader& header) {
  if (header.dll) return {IDS_PROG_DLL, {}, false};
  if (header.machine == kMachineX64)
    return {header.dotnet ? IDS_PROG_DOTNET_X64 : IDS_PROG_X64, {}, false};
  if (header.machine != kMachineX86) return {IDS_PROG_OTHER_MACHINE, {Hex(header.machine)}, false};
  if (!header.dotnet) return {IDS_PROG_X86, {}, false};
  if (!header.ilOnly) return {IDS_PROG_MIXED, {}, false};
  if (!header.required32) return {IDS_PROG_ANY_CPU, {}, false};
  return {header.preferred32 ? IDS_PROG_PREFER_32 : IDS_PROG_DOTNET_X86, {}, false};
}

}  // namespace

ProgramVerdict ProgramVerdictFor(const ProgramHeader& header, const EngineInventory& inventory) {
  ProgramVerdict verdict;
  verdict.runsAs = header.RunsAs(inventory.windows64);
  if (!verdict.runsAs) return verdict;
  verdict.mdb97 = ProgramsOpen(inventory, DatabaseKind::Access97, *verdict.runsAs);
  verdict.mdb = ProgramsOpen(inventory, DatabaseKind::Access2000, *verdict.runsAs);
  verdict.accdb = ProgramsOpen(inventory, DatabaseKind::Accdb, *verdict.runsAs);
  return verdict;
}

std::vector<Finding> ProgramFindings(const ProgramCheck& check, const EngineInventory& inventory) {
  std::vector<Finding> out = PathFindings(check.file);
  if (!out.empty()) return out;
  const ProgramHeader& header = check.header;
  if (!header.isProgram) return {{IDS_PROG_NOT_PROGRAM, {}, true}};
  out.push_back(Kind(header));
  const ProgramVerdict verdict = ProgramVerdictFor(header, inventory);
  if (!verdict.runsAs) {
    // A DLL built for any width runs at its host's: nothing more to say.
    if (!header.dll) out.push_back({IDS_PROG_CANNOT_RUN, {}, true});
    return out;
  }
  const auto yesNo = [](bool b) {
    return FindingValue::Catalogue(b ? IDS_REPORT_YES : IDS_REPORT_NO);
  };
  out.push_back(
      {IDS_PROG_OPENS, {yesNo(verdict.mdb97), yesNo(verdict.mdb), yesNo(verdict.accdb)}, false});
  const std::wstring bits = std::to_wstring(*verdict.runsAs);
  if (!verdict.mdb && *verdict.runsAs == 64)
    out.push_back({IDS_PROG_NEEDS_ACE_64, {}, false});
  else if (!verdict.mdb)
    out.push_back({IDS_PROG_NEEDS_JET_32, {}, false});
  else if (!verdict.accdb)
    out.push_back({IDS_PROG_NEEDS_ACE_ACCDB, {bits}, false});
  return out;
}
