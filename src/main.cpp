#include <windows.h>

#include "AccessHelperProcess.h"
#include "ConsoleModes.h"
#include "RegistrationHelperMain.h"
#include "frmMain.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
  // The wizard starts this program again to register its components.
  if (IsRegistrationHelper(GetCommandLineW())) return RunRegistrationHelper();
  // And to test database access, which runs components too.
  if (IsAccessHelper(GetCommandLineW())) return RunAccessHelper();
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
