// libFuzzer target: the program header reader on arbitrary file bytes. It
// must answer without reading outside them, and name a width only for a
// program it could read.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "ProgramHeader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::vector<std::uint8_t> file(data, data + size);
  const ProgramHeader program = ReadProgramHeader(file);
  if (!program.isProgram && (program.RunsAs(true) || program.RunsAs(false))) __builtin_trap();
  MachineKey(program.machine);
  return 0;
}
