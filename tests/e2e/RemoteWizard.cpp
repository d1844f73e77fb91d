#include "RemoteWizard.h"

#include <algorithm>
#include <chrono>
#include <functional>
#include <thread>
#include <vector>

#include "UserInput.h"

namespace {

struct Search {
  DWORD thread;
  const wchar_t* cls;
  HWND found;
};

BOOL CALLBACK FindTopLevel(HWND hwnd, LPARAM data) {
  auto* search = reinterpret_cast<Search*>(data);
  wchar_t cls[64] = {};
  GetClassNameW(hwnd, cls, 64);
  if (GetWindowThreadProcessId(hwnd, nullptr) == search->thread && wcscmp(cls, search->cls) == 0 &&
      IsWindowVisible(hwnd)) {
    search->found = hwnd;
    return FALSE;
  }
  return TRUE;
}

struct ChildSearch {
  int id;
  const std::wstring* text;
  HWND found;
};

BOOL CALLBACK ById(HWND hwnd, LPARAM data) {
  auto* s = reinterpret_cast<ChildSearch*>(data);
  if (GetDlgCtrlID(hwnd) != s->id) return TRUE;
  s->found = hwnd;
  return FALSE;
}

BOOL CALLBACK ByButtonText(HWND hwnd, LPARAM data) {
  auto* s = reinterpret_cast<ChildSearch*>(data);
  wchar_t cls[32] = {}, caption[256] = {};
  GetClassNameW(hwnd, cls, 32);
  SendMessageTimeoutW(hwnd, WM_GETTEXT, 256, reinterpret_cast<LPARAM>(caption), SMTO_ABORTIFHUNG,
                      2000, nullptr);
  if (_wcsicmp(cls, L"Button") != 0 || *s->text != caption) return TRUE;
  s->found = hwnd;
  return FALSE;
}

// Memory in another process for messages that carry pointers.
class RemoteBlock {
 public:
  RemoteBlock(HANDLE process, SIZE_T size)
      : process_(process),
        address_(VirtualAllocEx(process, nullptr, size, MEM_COMMIT, PAGE_READWRITE)) {}
  ~RemoteBlock() {
    if (address_) VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
  }
  RemoteBlock(const RemoteBlock&) = delete;
  RemoteBlock& operator=(const RemoteBlock&) = delete;
  char* get() const { return static_cast<char*>(address_); }
  void Write(SIZE_T offset, const void* data, SIZE_T size) const {
    WriteProcessMemory(process_, get() + offset, data, size, nullptr);
  }
  void Read(SIZE_T offset, void* data, SIZE_T size) const {
    ReadProcessMemory(process_, get() + offset, data, size, nullptr);
  }

 private:
  HANDLE process_;
  void* address_;
};

// A crash of the test program skips every destructor, and the wizards it
// started would live on, holding the test runner's output open so that it
// waits for them forever. The crash ends them first.
std::vector<HANDLE>& LiveWizards() {
  static std::vector<HANDLE> live;
  return live;
}

LONG WINAPI EndWizardsOnCrash(EXCEPTION_POINTERS*) {
  for (const HANDLE process : LiveWizards()) TerminateProcess(process, 98);
  return EXCEPTION_CONTINUE_SEARCH;
}

void Watch(HANDLE process) {
  static const bool installed = (SetUnhandledExceptionFilter(&EndWizardsOnCrash), true);
  (void)installed;
  LiveWizards().push_back(process);
}

void Unwatch(HANDLE process) { std::erase(LiveWizards(), process); }

}  // namespace

RemoteWizard::RemoteWizard(const std::wstring& exe) : process_(StartProcess(L"\"" + exe + L"\"")) {
  if (!process_) return;
  Watch(process_.process.get());
  WaitUntil(
      [&] {
        Search search{process_.threadId, L"MdacRepairWizard", nullptr};
        EnumWindows(FindTopLevel, reinterpret_cast<LPARAM>(&search));
        window_ = search.found;
        return window_ != nullptr;
      },
      15000);
}

RemoteWizard::~RemoteWizard() {
  EndProcess(process_, 99);
  if (process_) Unwatch(process_.process.get());
}

bool RemoteWizard::running() const {
  return process_.process.get() && WaitForSingleObject(process_.process.get(), 0) == WAIT_TIMEOUT;
}

bool RemoteWizard::WaitForExit(int milliseconds) {
  return process_.process.get() &&
         WaitForSingleObject(process_.process.get(), milliseconds) == WAIT_OBJECT_0;
}

bool RemoteWizard::WaitUntil(const std::function<bool()>& condition, int milliseconds) const {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
  while (!condition()) {
    if (std::chrono::steady_clock::now() > end) return false;
    Sleep(10);
  }
  return true;
}

HWND RemoteWizard::Control(ControlId id) const {
  if (!window_) return nullptr;
  ChildSearch search{static_cast<int>(id), nullptr, nullptr};
  EnumChildWindows(window_, ById, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND RemoteWizard::Button(const std::wstring& text) const {
  ChildSearch search{0, &text, nullptr};
  EnumChildWindows(window_, ByButtonText, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

std::wstring RemoteWizard::Text(HWND control) const {
  if (!control) return L"<no control>";
  wchar_t buffer[4096] = {};
  // Marshalled across processes by the system for standard window classes.
  SendMessageTimeoutW(control, WM_GETTEXT, 4096, reinterpret_cast<LPARAM>(buffer), SMTO_ABORTIFHUNG,
                      5000, nullptr);
  return buffer;
}

bool RemoteWizard::Visible(ControlId id) const {
  const HWND control = Control(id);
  return control && (GetWindowLongW(control, GWL_STYLE) & WS_VISIBLE);
}

bool RemoteWizard::Enabled(ControlId id) const {
  const HWND control = Control(id);
  return control && IsWindowEnabled(control);
}

int RemoteWizard::Page() const {
  for (int page = 1; page <= 5; ++page)
    if (IsWindowVisible(
            Control(static_cast<ControlId>(static_cast<int>(ControlId::pic1) + page - 1))))
      return page;
  return 0;
}

RECT RemoteWizard::Place(ControlId id) const {
  RECT r{};
  const HWND control = Control(id);
  GetWindowRect(control, &r);
  MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

void RemoteWizard::Click(HWND button) const { PostMessageW(button, BM_CLICK, 0, 0); }

void RemoteWizard::ClickLink(ControlId id) const {
  // A click on a notifying static: the press and release the user makes.
  const HWND link = Control(id);
  PostMessageW(link, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
  PostMessageW(link, WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
}

void RemoteWizard::Hover(ControlId id) const {
  PostMessageW(Control(id), WM_MOUSEMOVE, 0, MAKELPARAM(3, 3));
}

void RemoteWizard::Key(WORD virtualKey) const {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  GetGUIThreadInfo(process_.threadId, &info);
  const HWND target = info.hwndFocus ? info.hwndFocus : window_;
  PostMessageW(target, WM_KEYDOWN, virtualKey, 1);
  PostMessageW(target, WM_KEYUP, virtualKey, 0xC0000001);
}

void RemoteWizard::CloseBox() const { PostMessageW(window_, WM_SYSCOMMAND, SC_CLOSE, 0); }

HWND RemoteWizard::FindMessageBox() const {
  Search search{process_.threadId, L"#32770", nullptr};
  EnumWindows(FindTopLevel, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

std::vector<std::wstring> RemoteWizard::AnswerBoxes(const std::function<bool()>& until,
                                                    int milliseconds) {
  std::vector<std::wstring> texts;
  WaitUntil(
      [&] {
        if (const HWND box = FindMessageBox()) {
          texts.push_back(Text(GetDlgItem(box, 0xFFFF)));
          SendMessageTimeoutW(GetDlgItem(box, IDOK), BM_CLICK, 0, 0, SMTO_ABORTIFHUNG, 2000,
                              nullptr);
          WaitUntil([&] { return FindMessageBox() != box; }, 2000);
          return false;
        }
        return until();
      },
      milliseconds);
  return texts;
}

std::vector<RemoteWizard::Row> RemoteWizard::ListRows() const {
  std::vector<Row> rows;
  const HWND list = Control(ControlId::lvwMDACFiles);
  const int count = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
  constexpr SIZE_T kChars = 520;
  RemoteBlock block(process_.process.get(), sizeof(LVITEMW) + kChars * sizeof(wchar_t));
  for (int i = 0; i < count; ++i) {
    Row row{};
    std::wstring* cells[3] = {&row.name, &row.version, &row.path};
    for (int column = 0; column < 3; ++column) {
      LVITEMW item{};
      item.iSubItem = column;
      item.cchTextMax = kChars;
      item.pszText = reinterpret_cast<wchar_t*>(block.get() + sizeof(LVITEMW));
      block.Write(0, &item, sizeof item);
      SendMessageW(list, LVM_GETITEMTEXTW, i, reinterpret_cast<LPARAM>(block.get()));
      wchar_t text[kChars] = {};
      block.Read(sizeof(LVITEMW), text, sizeof text - sizeof(wchar_t));
      *cells[column] = text;
    }
    LVITEMW item{};
    item.mask = LVIF_IMAGE;
    item.iItem = i;
    block.Write(0, &item, sizeof item);
    SendMessageW(list, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(block.get()));
    block.Read(0, &item, sizeof item);
    row.image = item.iImage;
    rows.push_back(row);
  }
  return rows;
}

void RemoteWizard::ClickColumn(int column) const {
  // A click of the mouse on the column's header.
  const HWND list = Control(ControlId::lvwMDACFiles);
  const HWND header = reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0));
  // The middle of the header item: near its edges the header starts a resize.
  POINT at{static_cast<int>(SendMessageW(list, LVM_GETCOLUMNWIDTH, column, 0)) / 2, 5};
  for (int c = 0; c < column; ++c)
    at.x += static_cast<int>(SendMessageW(list, LVM_GETCOLUMNWIDTH, c, 0));
  ClientToScreen(header, &at);
  UserInput::ClickOnScreen(at);
  Sleep(200);
  SendMessageTimeoutW(list, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 2000, nullptr);
}

int RemoteWizard::ProgressPosition() const {
  return static_cast<int>(SendMessageW(Control(ControlId::ProgressBar1), PBM_GETPOS, 0, 0));
}

int RemoteWizard::ProgressMaximum() const {
  return static_cast<int>(SendMessageW(Control(ControlId::ProgressBar1), PBM_GETRANGE, FALSE, 0));
}
