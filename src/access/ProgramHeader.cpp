#include "ProgramHeader.h"

#include "BoundedBytes.h"
#include "PeImage.h"

namespace {

constexpr std::uint16_t kMachineArm64 = 0xAA64;
constexpr std::uint16_t kMachineArmNt = 0x01C4;
constexpr std::uint16_t kMachineIa64 = 0x0200;
constexpr std::uint16_t kFileDll = 0x2000;  // IMAGE_FILE_DLL
constexpr unsigned kRuntimeDirectory = 14;  // IMAGE_DIRECTORY_ENTRY_COM_DESCRIPTOR
constexpr std::uint32_t kIlOnly = 0x1, kRequired32 = 0x2, kPreferred32 = 0x20000;

}  // namespace

std::optional<int> ProgramHeader::RunsAs(bool windows64) const {
  if (!isProgram) return std::nullopt;
  if (machine == kMachineX86) {
    // The loader runs an IL-only image that does not require 32 bits as a
    // 64-bit process where it can; "32-bit preferred" comes with "required".
    if (dotnet && ilOnly && !required32) {
      if (dll) return std::nullopt;
      return windows64 ? 64 : 32;
    }
    return 32;
  }
  if (machine == kMachineX64 && windows64) return 64;
  return std::nullopt;
}

ProgramHeader ReadProgramHeader(std::span<const std::uint8_t> bytes) {
  ProgramHeader program;
  const BoundedBytes file(bytes);
  const std::optional<PeHeaders> headers = ReadPeHeaders(file);
  if (!headers) return program;
  program.isProgram = true;
  program.machine = headers->machine;
  program.dll = (headers->characteristics & kFileDll) != 0;
  const std::optional<PeDirectory> runtime = ReadPeDirectory(file, *headers, kRuntimeDirectory);
  if (!runtime || runtime->rva == 0) return program;
  // The runtime header: its size, the runtime's version, the metadata's
  // place, then the flags at 16.
  const auto at = PeFileOffset(file, *headers, runtime->rva, 20);
  if (!at) return program;
  const auto size = file.U32(*at), flags = file.U32(*at + 16);
  if (!size || *size < 20 || !flags) return program;
  program.dotnet = true;
  program.ilOnly = (*flags & kIlOnly) != 0;
  program.required32 = (*flags & kRequired32) != 0;
  program.preferred32 = (*flags & kPreferred32) != 0;
  return program;
}

const char* MachineKey(std::uint16_t machine) {
  switch (machine) {
    case kMachineX86:
      return "x86";
    case kMachineX64:
      return "x64";
    case kMachineArm64:
      return "arm64";
    case kMachineArmNt:
      return "arm";
    case kMachineIa64:
      return "ia64";
    default:
      return "unknown";
  }
}
