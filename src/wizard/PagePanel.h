#pragma once

#include <windows.h>

// The window class of the five page panels. A panel paints its page's
// background (with the white header band on pages 2 to 5) and passes the
// notifications of its controls on to the wizard window, which owns them all.
namespace PagePanel {

constexpr wchar_t kClassName[] = L"MdacRepairPage";

// Sent to the wizard window when the mouse moves over a panel's own surface;
// wParam is the panel's control id.
constexpr UINT kMouseOverPanel = WM_APP + 1;

bool Register(HINSTANCE instance);

}  // namespace PagePanel
