// Figures, not a test (tools/bench.sh runs it): start-up time and peak memory
// of the wizard against a bare one-window program, registering the 24
// components in one process against 24 regsvr32 runs, and the program's size.
#include <windows.h>
// psapi.h needs the types of windows.h.
#include <psapi.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "ChildProcess.h"
#include "ComponentCatalogue.h"
#include "ComponentFixtures.h"
#include "ComponentRegistrar.h"
#include "TestPaths.h"
#include "modDLLRegister.h"

namespace {

using Clock = std::chrono::steady_clock;

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

struct Start {
  double milliseconds;
  SIZE_T peakBytes;
};

// From process creation to its first visible top-level window.
Start TimeStart(const std::wstring& exe) {
  const auto begin = Clock::now();
  const ChildProcess child = StartProcess(L"\"" + exe + L"\"");
  if (!child) return {};
  HWND found = nullptr;
  while (!found && Ms(Clock::now() - begin) < 20000) {
    found = VisibleWindowOf(child.processId);
    if (!found) Sleep(1);
  }
  const double ms = Ms(Clock::now() - begin);
  Sleep(300);  // let it settle before reading its memory
  PROCESS_MEMORY_COUNTERS memory{};
  memory.cb = sizeof memory;
  GetProcessMemoryInfo(child.process.get(), &memory, sizeof memory);
  EndProcess(child);
  return {ms, memory.PeakWorkingSetSize};
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

}  // namespace

int main() {
  const std::wstring wizard = ProgramPath();
  const std::wstring bare =
      TestDirectory() + (_wgetenv(L"BARE") ? _wgetenv(L"BARE") : L"\\bare_window.exe");

  // Start-up, measured side by side, alternating.
  constexpr int kRuns = 7;
  std::vector<double> wizardMs, bareMs;
  SIZE_T wizardPeak = 0, barePeak = 0;
  TimeStart(bare);  // warm the server and the file cache
  TimeStart(wizard);
  for (int i = 0; i < kRuns; ++i) {
    const Start w = TimeStart(wizard), b = TimeStart(bare);
    wizardMs.push_back(w.milliseconds);
    bareMs.push_back(b.milliseconds);
    wizardPeak = std::max(wizardPeak, w.peakBytes);
    barePeak = std::max(barePeak, b.peakBytes);
  }
  const double startRatio = Median(wizardMs) / Median(bareMs);
  std::printf(
      "start-up to the first page: wizard %.0f ms, bare window %.0f ms (median of %d): %.2fx "
      "(goal at most 1.2x: %s)\n",
      Median(wizardMs), Median(bareMs), kRuns, startRatio, startRatio <= 1.2 ? "met" : "NOT met");
  std::printf("peak working set: wizard %.1f MiB, bare window %.1f MiB: %.2fx\n",
              wizardPeak / 1048576.0, barePeak / 1048576.0,
              static_cast<double>(wizardPeak) / static_cast<double>(barePeak));

  // Registration of the 24 components, no pauses: in this process, then by
  // 24 regsvr32 processes.
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  std::vector<std::wstring> files;
  for (const CatalogueEntry& entry : ComponentCatalogue()) {
    if (entry.noRegister) continue;
    const std::wstring path = std::wstring(temp) + L"bench_" + FileNamePart(entry.relative);
    CopyFileW(FixturePath(L"component_2_81.dll").c_str(), path.c_str(), FALSE);
    files.push_back(path);
  }
  auto begin = Clock::now();
  for (const std::wstring& file : files)
    RegisterComponent(nullptr, file, "DllRegisterServer", FileNamePart(file));
  const double inProcess = Ms(Clock::now() - begin);
  // Through one helper, from its start to its end, as the repair does it.
  begin = Clock::now();
  {
    ComponentRegistrar registrar(wizard);
    for (const std::wstring& file : files) registrar.Register(file, "DllRegisterServer");
  }
  const double helper = Ms(Clock::now() - begin);
  begin = Clock::now();
  for (const std::wstring& file : files) {
    RunAndWait(L"regsvr32.exe /s \"" + file + L"\"", 30000);
  }
  const double separate = Ms(Clock::now() - begin);
  for (const std::wstring& file : files) DeleteFileW(file.c_str());
  Registrations::Clear();
  std::printf(
      "registering %zu components: through the helper %.0f ms, %zu regsvr32 runs %.0f ms: %.1fx "
      "faster; in the wizard's own process %.0f ms\n",
      files.size(), helper, files.size(), separate, separate / helper, inProcess);

  WIN32_FILE_ATTRIBUTE_DATA attributes{};
  GetFileAttributesExW(wizard.c_str(), GetFileExInfoStandard, &attributes);
  std::printf("MdacRepair.exe: %.0f KiB\n", attributes.nFileSizeLow / 1024.0);
  return 0;
}
