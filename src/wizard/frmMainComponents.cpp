// The component catalogue: the 31 files with their versions, read afresh on
// every move to the repair page.
#include <shlobj.h>

#include "InstallationCheck.h"
#include "LoadText.h"
#include "SystemQueries.h"
#include "TextIds.h"
#include "frmMain.h"

void frmMain::BuildComponentList() {
  const std::wstring commonFiles = GetSpecialFolderPath(CSIDL_PROGRAM_FILES_COMMON);
  if (commonFiles.empty())
    MessageBoxW(hwnd(), LoadText(IDS_FILES_EXPLANATION).c_str(), LoadText(IDS_CAPTION).c_str(),
                MB_OK);
  aComponents = ReadComponentList(commonFiles, sSystemDir);
}
