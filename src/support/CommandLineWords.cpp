#include "CommandLineWords.h"

#include <windows.h>
// shellapi.h needs the types of windows.h.
#include <shellapi.h>

#include <memory>

namespace {

struct FreeLocal {
  void operator()(wchar_t** block) const { LocalFree(block); }
};

}  // namespace

std::optional<std::vector<std::wstring>> CommandLineWords(const wchar_t* commandLine) {
  int count = 0;
  const std::unique_ptr<wchar_t*, FreeLocal> words(CommandLineToArgvW(commandLine, &count));
  if (!words || count < 0) return std::nullopt;
  return std::vector<std::wstring>(words.get(), words.get() + count);
}
