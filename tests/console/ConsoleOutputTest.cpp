#include "ConsoleOutput.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "TestPaths.h"
#include "UniqueHandle.h"

namespace {

// What a stream writes when standard output is a file of this test's own.
std::string WrittenToAFile(std::wstring_view text) {
  const std::wstring path = TestDirectory() + L"\\console-output.txt";
  UniqueFileHandle file(CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ,
                                    nullptr, CREATE_ALWAYS, FILE_FLAG_DELETE_ON_CLOSE, nullptr));
  EXPECT_TRUE(file);
  const HANDLE before = GetStdHandle(STD_OUTPUT_HANDLE);
  SetStdHandle(STD_OUTPUT_HANDLE, file.get());
  {
    ConsoleStream out(ConsoleStream::Which::Output);
    EXPECT_TRUE(out.Write(text));
  }
  SetStdHandle(STD_OUTPUT_HANDLE, before);
  SetFilePointer(file.get(), 0, nullptr, FILE_BEGIN);
  char bytes[256] = {};
  DWORD got = 0;
  ReadFile(file.get(), bytes, sizeof bytes, &got, nullptr);
  return std::string(bytes, got);
}

// A component's message may carry what steers a terminal; the report shows
// it as replacement characters, and keeps its line breaks and tabs.
TEST(ConsoleOutput, ControlCharactersFromOutsideNeverReachTheTerminal) {
  const std::wstring text{L'a',
                          L'\x1B',
                          L'[',
                          L'3',
                          L'1',
                          L'm',
                          L'\0',
                          L'\a',
                          L'\t',
                          L'b',
                          static_cast<wchar_t>(0x9B),
                          L'\u00FC',
                          L'\n'};
  EXPECT_EQ(WrittenToAFile(text),
            "a\xEF\xBF\xBD[31m\xEF\xBF\xBD\xEF\xBF\xBD\tb\xEF\xBF\xBD\xC3\xBC\r\n");
}

}  // namespace
