#include <windows.h>

#include "AccessHelperProcess.h"
#include "ConsoleModes.h"
#include "DllSearchOrder.h"
#include "HelperHost.h"
#include "RegistrationHelperMain.h"
#include "frmMain.h"

namespace {

// Once nothing is left to answer, helpers that are still ending get this long
// to end and their scratch folders to go; what stays is removed at the next
// start.
constexpr DWORD kHelpersEndWait = 3000;

int RunProgram(HINSTANCE instance, int showCommand) {
  if (const std::optional<int> exitCode = RunWithoutWindow()) return *exitCode;

  frmMain form;
  if (!form.Create(instance)) return 1;
  form.Show(showCommand);

  MSG msg;
  BOOL got;
  while ((got = GetMessageW(&msg, nullptr, 0, 0)) != 0) {
    if (got == -1) return 1;
    if (form.PreTranslateMessage(msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return static_cast<int>(msg.wParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
  // Before anything is loaded by name: every process of the program runs
  // elevated, the helpers with component code in them.
  NarrowDllSearchOrder();
  // The wizard starts this program again to register its components.
  if (IsRegistrationHelper(GetCommandLineW())) return RunRegistrationHelper();
  // And to test database access, which runs components too.
  if (IsAccessHelper(GetCommandLineW())) return RunAccessHelper();
  const int exitCode = RunProgram(instance, showCommand);
  WaitForHelpersToEnd(kHelpersEndWait);
  return exitCode;
}
