#include "ProgramFile.h"

#include "ReadOnlyFileView.h"
#include "UserFile.h"

namespace {

// A program's headers and its .NET runtime header lie near its start, far
// within this, whatever data is appended behind them.
constexpr std::uint32_t kMostMapped = 64u << 20;

}  // namespace

ProgramCheck CheckProgramFile(const std::wstring& path) {
  ProgramCheck check;
  if (!OpenUserFile(path, check.file)) return check;
  const ReadOnlyFileView view(PlatformPath(check.file.full), kMostMapped);
  check.header = ReadProgramHeader(view.bytes());
  return check;
}
