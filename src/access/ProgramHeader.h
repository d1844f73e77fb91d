#pragma once

#include <cstdint>
#include <optional>
#include <span>

// The width a program file runs as, from its PE header: the machine type,
// and for .NET programs the runtime header's flags. A .NET program built for
// "Any CPU" (IL only, 32-bit not required) runs as a 64-bit program on 64-bit
// Windows, where it cannot use Jet, although it ran on a 32-bit PC.

inline constexpr std::uint16_t kMachineX86 = 0x014C;
inline constexpr std::uint16_t kMachineX64 = 0x8664;

struct ProgramHeader {
  bool isProgram = false;  // a PE file whose headers could be read
  std::uint16_t machine = 0;
  bool dll = false;
  bool dotnet = false;  // with a .NET runtime header that could be read
  bool ilOnly = false, required32 = false, preferred32 = false;

  // The width it runs as on 64-bit Windows (`windows64`) or 32-bit Windows:
  // 32 or 64; nothing where it cannot run there, or, for a DLL built for any
  // width, where the program that loads it decides.
  std::optional<int> RunsAs(bool windows64) const;
};

// Reads the headers from the bytes of the file (as much of it as there is:
// the runtime header may lie anywhere in it). Every offset is checked.
ProgramHeader ReadProgramHeader(std::span<const std::uint8_t> file);

// "x86", "x64", "arm64", "arm", "ia64", "unknown".
const char* MachineKey(std::uint16_t machine);
