// Saves a picture of each page of the wizard, as the user sees it, into the
// current folder: <page>-<suffix>.bmp. Usage: wizard_screens SUFFIX
// The pages show what this machine has installed.
#include <windows.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "AccessTexts.h"
#include "ControlLayout.h"
#include "DeviceContext.h"
#include "LoadText.h"
#include "MessagePump.h"
#include "TextIds.h"
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

// The version page's access line once its test has answered.
void AwaitAccessTest(frmMain& form) {
  PumpUntil(
      [&] {
        wchar_t text[64] = L"";
        GetWindowTextW(form.Control(ControlId::lblAccessTest), text, 64);
        return std::wstring(text).find(L"...") == std::wstring::npos;
      },
      5000);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const std::wstring suffix = argc > 1 ? argv[1] : L"shot";
  // The real program, beside this one's folder, is the access test's helper.
  wchar_t self[MAX_PATH];
  std::wstring program(self, GetModuleFileNameW(nullptr, self, MAX_PATH));
  program = program.substr(0, program.find_last_of(L'\\')) + L"\\..\\src\\MdacRepair.exe";
  frmMain form(frmMain::Options{false, program});
  if (!form.Create(GetModuleHandleW(nullptr))) return 1;
  form.Show(SW_SHOWNORMAL);
  PumpFor(100);
  bool ok = Save(form.hwnd(), L"welcome-" + suffix + L".bmp");
  form.Press(ControlId::cmdWeiter);
  AwaitAccessTest(form);
  ok &= Save(form.hwnd(), L"versions-" + suffix + L".bmp");
  // The engine details behind the page's link.
  SendMessageW(form.Control(ControlId::lblEngineDetails), BM_CLICK, 0, 0);
  PumpFor(100);
  if (const HWND details = form.EngineDetailsWindow()) {
    ok &= Save(details, L"engines-" + suffix + L".bmp");
    DestroyWindow(details);
  }
  form.Press(ControlId::cmdWeiter);
  ok &= Save(form.hwnd(), L"repair-" + suffix + L".bmp");
  // The page's end as a run leaves it, with the longest closing text: access
  // failing after the repair with a message of a component. The run itself
  // would stop at a box for every component this machine lacks.
  AccessTestResult failing;
  failing[AccessStepName::Classes].outcome = AccessOutcome::Passed;
  failing[AccessStepName::Create].outcome = AccessOutcome::Passed;
  AccessStep& trip = failing[AccessStepName::RoundTrip];
  trip.outcome = AccessOutcome::Failed;
  trip.hresult = static_cast<std::int32_t>(0x80004005);
  trip.message =
      L"Unrecognized database format 'C:\\Users\\Anwender\\AppData\\Local\\Temp\\"
      L"MdacAccess-0123456789abcdef0123456789abcdef\\Probe.mdb'.";
  SetWindowTextW(
      form.Control(ControlId::Label1),
      (LoadText(IDS_REPAIR_FINISHED) + L"\n" + AccessVerdictText(failing, true, 90)).c_str());
  const ControlSpec& label1 = *SpecOf(ControlId::Label1);
  const WindowDC screen(nullptr);
  FitHeightToText(form.Control(ControlId::Label1), label1.width, 2490 - 1095,
                  GetDeviceCaps(screen.get(), LOGPIXELSX));
  for (ControlId id : {ControlId::cmdRepairMDAC, ControlId::imgDownArrow})
    ShowWindow(form.Control(id), SW_HIDE);
  for (ControlId id : {ControlId::Label16, ControlId::optResolved, ControlId::optFurtherProblems})
    ShowWindow(form.Control(id), SW_SHOW);
  ok &= Save(form.hwnd(), L"repaired-" + suffix + L".bmp");
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
