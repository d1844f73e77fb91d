// Figures, not a test: the catalogue build against its floor, the platform's
// own version query of the same 31 files (size, then the resource), measured
// side by side in alternating rounds. Run by tools/bench.sh.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "InstalledComponents.h"
#include "frmMain.h"

namespace {

using Clock = std::chrono::steady_clock;

class BenchForm : public frmMain {
 public:
  BenchForm() : frmMain(Options{false}) {}
  using frmMain::BuildComponentList;
};

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

TEST(Bench, CatalogueAgainstTheFloor) {
  InstalledComponents installed({});
  BenchForm form;
  ASSERT_TRUE(form.Create(GetModuleHandleW(nullptr)));
  std::vector<std::wstring> paths;
  for (const CatalogueEntry& entry : ComponentCatalogue()) paths.push_back(FullPath(entry));

  auto floor = [&] {
    std::size_t read = 0;
    std::vector<BYTE> block;
    for (const std::wstring& path : paths) {
      DWORD handle = 0;
      const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &handle);
      block.resize(size);
      if (size && GetFileVersionInfoW(path.c_str(), handle, size, block.data())) ++read;
    }
    return read;
  };
  ASSERT_EQ(floor(), 31u);  // every file is there and readable
  form.BuildComponentList();

  constexpr int kRounds = 60;
  std::vector<double> floorMs, buildMs;
  for (int i = 0; i < kRounds; ++i) {
    auto start = Clock::now();
    floor();
    floorMs.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    start = Clock::now();
    form.BuildComponentList();
    buildMs.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
  }
  const double f = Median(floorMs), b = Median(buildMs);
  std::printf(
      "BuildComponentList (31 files): %.2f ms; floor, 31 GetFileVersionInfoSizeW + "
      "GetFileVersionInfoW pairs: %.2f ms; %.2fx the floor (medians of %d rounds)\n",
      b, f, b / f, kRounds);
  for (const ComponentFile& file : form.aComponents)
    EXPECT_EQ(ShownVersion(file.version), L"2.81.1117");
}

}  // namespace
