// Saves a picture of each page of the wizard, as the user sees it, into the
// current folder: <page>-<suffix>.bmp. Usage: wizard_screens SUFFIX
// The pages show what this machine has installed.
#include <windows.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "MessagePump.h"
#include "WindowPicture.h"
#include "frmMain.h"

namespace {

bool Save(HWND window, const std::wstring& file) {
  RedrawWindow(window, nullptr, nullptr,
               RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  PumpFor(100);
  RECT r;
  GetWindowRect(window, &r);
  const HDC source = GetWindowDC(window);
  const bool saved = SavePicture(source, 0, 0, r.right - r.left, r.bottom - r.top, file);
  ReleaseDC(window, source);
  return saved;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const std::wstring suffix = argc > 1 ? argv[1] : L"shot";
  frmMain form(frmMain::Options{false});
  if (!form.Create(GetModuleHandleW(nullptr))) return 1;
  form.Show(SW_SHOWNORMAL);
  PumpFor(100);
  bool ok = Save(form.hwnd(), L"welcome-" + suffix + L".bmp");
  form.Press(ControlId::cmdWeiter);
  ok &= Save(form.hwnd(), L"versions-" + suffix + L".bmp");
  form.Press(ControlId::cmdWeiter);
  ok &= Save(form.hwnd(), L"repair-" + suffix + L".bmp");
  // The file page as it stands after a run in which problems remain; the run
  // itself would stop at a box for every component this machine lacks.
  form.bRepairDone = true;
  SendMessageW(form.Control(ControlId::optFurtherProblems), BM_SETCHECK, BST_CHECKED, 0);
  SendMessageW(form.Control(ControlId::optResolved), BM_SETCHECK, BST_UNCHECKED, 0);
  EnableWindow(form.Control(ControlId::cmdWeiter), TRUE);
  form.Press(ControlId::cmdWeiter);
  ok &= Save(form.hwnd(), L"files-" + suffix + L".bmp");
  return ok ? 0 : 2;
}
