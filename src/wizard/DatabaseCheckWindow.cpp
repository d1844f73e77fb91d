#include "DatabaseCheckWindow.h"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <optional>
#include <tuple>
#include <utility>

#include "ControlLayout.h"
#include "FileCheckText.h"
#include "FormatPlaceholders.h"
#include "LoadText.h"
#include "TextIds.h"

namespace {

// The measures of the path fields, in twips.
constexpr int kRowGap = 75, kLabelGap = 90, kButtonPadding = 240;
constexpr int kButtonHeight = 336, kLeastButtonWidth = 1200;

// A path as the user may paste it: with spaces around it, or in the quotes
// Explorer's "Copy as path" puts around it.
std::wstring Cleaned(std::wstring path) {
  const auto space = [](wchar_t c) { return c == L' ' || c == L'\t'; };
  while (!path.empty() && space(path.back())) path.pop_back();
  std::size_t start = 0;
  while (start < path.size() && space(path[start])) ++start;
  path.erase(0, start);
  if (path.size() >= 2 && path.front() == L'"' && path.back() == L'"')
    path = path.substr(1, path.size() - 2);
  return path;
}

// The sections as the text report gives them, with CR LF.
std::wstring SectionsText(const std::vector<FileCheckSection>& sections) {
  std::wstring out;
  for (const FileCheckSection& section : sections) {
    if (!out.empty()) out += L"\n";
    out +=
        FileCheckReportText(section.heading, section.fileLine, section.sentences, section.result);
  }
  std::wstring crlf;
  for (wchar_t c : out) crlf += c == L'\n' ? std::wstring(L"\r\n") : std::wstring(1, c);
  return crlf;
}

}  // namespace

DatabaseCheckWindow::DatabaseCheckWindow(Checker checker) : checker_(std::move(checker)) {}

DatabaseCheckWindow::~DatabaseCheckWindow() {
  // The window's last messages still reach this object: it goes first.
  task_.Forget();
  window_.Close();
}

bool DatabaseCheckWindow::Show(HWND owner, int dpi, HFONT font) {
  if (hwnd()) {
    SetForegroundWindow(hwnd());
    return true;
  }
  if (!window_.Show(owner, Frame({}), dpi, font, kDatabasePath)) return false;
  AcceptDroppedFiles(hwnd());
  return true;
}

Findings DatabaseCheckWindow::Frame(const std::wstring& introduction) const {
  Findings findings;
  findings.title = LoadText(IDS_DBCHECK_TITLE);
  findings.introduction = introduction;
  // The file's column as wide as "Database file" is in this language.
  findings.columns = {{LoadText(IDS_DBCHECK_COLUMN_FILE), 0},
                      {LoadText(IDS_DBCHECK_COLUMN_FINDING), kLeastButtonWidth}};
  findings.notes = LoadText(IDS_DBCHECK_NOTES);
  findings.marks = true;
  return findings;
}

void DatabaseCheckWindow::ShowState(const std::wstring& introduction) {
  sections_.clear();
  window_.Update(Frame(introduction));
}

std::wstring DatabaseCheckWindow::Field(int id) const {
  const HWND field = Item(id);
  const int length = field ? GetWindowTextLengthW(field) : 0;
  std::wstring text(static_cast<std::size_t>(std::max(length, 0)) + 1, L'\0');
  if (length > 0)
    text.resize(static_cast<std::size_t>(GetWindowTextW(field, text.data(), length + 1)));
  else
    text.clear();
  return text;
}

// ---- the user's actions ----------------------------------------------------------

void DatabaseCheckWindow::Chosen(const std::wstring& path, UserFileKind kind) {
  if (!hwnd()) return;
  SetWindowTextW(Item(kind == UserFileKind::Program ? kProgramPath : kDatabasePath), path.c_str());
  Check();
}

void DatabaseCheckWindow::Dropped(const DroppedFiles& files) {
  if (!hwnd()) return;
  if (files.unreadable) {
    ShowState(LoadText(IDS_DBCHECK_DROP_UNREADABLE));
    return;
  }
  std::optional<std::wstring> database, program;
  for (const std::wstring& path : files.paths) {
    std::optional<std::wstring>& field =
        KindOfUserFile(path) == UserFileKind::Program ? program : database;
    if (!field) field = path;
  }
  if (!database && !program) return;
  // Filling the fields forgets a check still running and what was shown.
  if (database) SetWindowTextW(Item(kDatabasePath), database->c_str());
  if (program) SetWindowTextW(Item(kProgramPath), program->c_str());
  ShowState(files.count > 1
                ? FormatPlaceholders(
                      LoadText(IDS_DBCHECK_DROPPED_MANY),
                      {static_cast<std::int32_t>(std::min<std::size_t>(files.count, 1000000))})
                : LoadText(IDS_DBCHECK_DROPPED));
  SetFocus(Item(kCheck));
}

void DatabaseCheckWindow::Check() {
  if (!hwnd()) return;
  const UserFileRequest request{Cleaned(Field(kDatabasePath)), Cleaned(Field(kProgramPath))};
  if (request.database.empty() && request.program.empty()) {
    ShowState(LoadText(IDS_DBCHECK_NO_PATH));
    SetFocus(Item(kDatabasePath));
    return;
  }
  // The thread gets copies: the window may be gone before it ends.
  const Checker checker = checker_;
  if (!task_.Start(hwnd(), kCheckDone, [checker, request] { return checker(request); })) {
    ShowState(LoadText(IDS_DBCHECK_FAILED));
    return;
  }
  ShowState(LoadText(IDS_DBCHECK_RUNNING));
}

void DatabaseCheckWindow::Choose(UserFileKind kind) {
  const int field = kind == UserFileKind::Program ? kProgramPath : kDatabasePath;
  // The dialog runs a message loop of its own, where the wizard may close
  // and take this window with it.
  const std::weak_ptr<int> alive = alive_;
  const std::optional<std::wstring> path = AskForUserFile(hwnd(), kind, Cleaned(Field(field)));
  if (alive.expired()) return;
  // The program's button takes a program whatever its name; the other
  // takes either kind, as the dialog offers both.
  if (path) Chosen(*path, kind == UserFileKind::Program ? kind : KindOfUserFile(*path));
}

void DatabaseCheckWindow::PathChanged() {
  // What was found, or is being found, is about other paths now.
  if (!task_.Pending() && sections_.empty()) return;
  task_.Forget();
  ShowState(LoadText(IDS_DBCHECK_READY));
}

void DatabaseCheckWindow::Finished(WPARAM number) {
  std::optional<UserFileChecks> checks = task_.Take(number);
  if (!checks) return;  // a check no longer wanted
  if (!checks->completed) {
    ShowState(LoadText(IDS_DBCHECK_FAILED));
    return;
  }
  std::vector<FileCheckSection> sections;
  if (checks->database) sections.push_back(DatabaseSection(*checks->database, checks->engines));
  if (checks->program) sections.push_back(ProgramSection(*checks->program, checks->engines));
  if (sections.empty()) {
    ShowState(LoadText(IDS_DBCHECK_FAILED));
    return;
  }
  Findings findings = Frame(sections.front().result);
  for (const FileCheckSection& section : sections)
    for (std::size_t i = 0; i < section.sentences.size(); ++i)
      findings.rows.push_back({{section.heading, section.sentences[i]},
                               section.sentences[i],
                               section.findings[i].attention});
  sections_ = std::move(sections);
  window_.Update(findings);
  // Pressed from the button, the focus goes on to what was found.
  if (GetFocus() == Item(kCheck)) SetFocus(Item(FindingsWindow::kList));
}

std::wstring DatabaseCheckWindow::CopyText() const {
  if (sections_.empty()) return {};
  return LoadText(IDS_DBCHECK_TITLE) + L"\r\n\r\n" + SectionsText(sections_);
}

// ---- the window's part ------------------------------------------------------------

void DatabaseCheckWindow::CreateControls(HWND window) {
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  const auto make = [&](DWORD exStyle, const wchar_t* cls, DWORD style, int id, int text) {
    const HWND control = CreateWindowExW(
        exStyle, cls, text ? LoadText(text).c_str() : L"", WS_CHILD | WS_VISIBLE | style, 0, 0, 0,
        0, window, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(window_.font()), FALSE);
    return control;
  };
  // Each label's mnemonic moves the focus to the field after it.
  for (const auto& [label, text, field, choose, chooseText] :
       {std::tuple{kDatabaseLabel, IDS_DBCHECK_DATABASE_LABEL, kDatabasePath, kChooseDatabase,
                   IDS_DBCHECK_CHOOSE_DATABASE},
        std::tuple{kProgramLabel, IDS_DBCHECK_PROGRAM_LABEL, kProgramPath, kChooseProgram,
                   IDS_DBCHECK_CHOOSE_PROGRAM}}) {
    make(0, WC_STATICW, SS_LEFT | WS_GROUP, label, text);
    SendMessageW(make(WS_EX_CLIENTEDGE, WC_EDITW, WS_TABSTOP | WS_GROUP | ES_AUTOHSCROLL, field, 0),
                 EM_SETLIMITTEXT, 32767, 0);
    make(0, WC_BUTTONW, WS_TABSTOP | WS_GROUP | BS_PUSHBUTTON, choose, chooseText);
  }
  make(0, WC_BUTTONW, WS_TABSTOP | WS_GROUP | BS_DEFPUSHBUTTON, kCheck, IDS_DBCHECK_CHECK);
}

int DatabaseCheckWindow::LayOut(int left, int top, int right) {
  const auto px = [&](int twips) { return window_.ToPixels(twips); };
  const auto place = [&](int id, int x, int y, int cx, int cy) {
    SetWindowPos(Item(id), nullptr, x, y, std::max(cx, 0), std::max(cy, 0),
                 SWP_NOZORDER | SWP_NOACTIVATE);
  };
  // The labels as wide as the wider of them, the buttons as the widest.
  int labelWidth = 0, buttonWidth = px(kLeastButtonWidth), textHeight = 0;
  for (int id : {kDatabaseLabel, kProgramLabel}) {
    const SIZE text = TextExtent(Item(id), 0);
    labelWidth = std::max<int>(labelWidth, text.cx + 1);
    textHeight = std::max<int>(textHeight, text.cy);
  }
  for (int id : {kChooseDatabase, kChooseProgram, kCheck})
    buttonWidth = std::max<int>(buttonWidth, TextExtent(Item(id), 0).cx + px(kButtonPadding));
  const int rowHeight = std::max(px(kButtonHeight), textHeight + px(90));
  const int fieldLeft = left + labelWidth + px(kLabelGap);
  const int buttonLeft = right - buttonWidth;
  const int fieldWidth = buttonLeft - px(kLabelGap) - fieldLeft;
  int row = top;
  for (const auto& [label, field, choose] :
       {std::tuple{kDatabaseLabel, kDatabasePath, kChooseDatabase},
        std::tuple{kProgramLabel, kProgramPath, kChooseProgram}}) {
    place(label, left, row + (rowHeight - textHeight) / 2, labelWidth, textHeight);
    place(field, fieldLeft, row, fieldWidth, rowHeight);
    place(choose, buttonLeft, row, buttonWidth, rowHeight);
    row += rowHeight + px(kRowGap);
  }
  place(kCheck, buttonLeft, row, buttonWidth, rowHeight);
  return row + rowHeight;
}

bool DatabaseCheckWindow::Handle(UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_COMMAND: {
      const WORD notification = HIWORD(wParam);
      switch (LOWORD(wParam)) {
        case kChooseDatabase:
          if (notification == BN_CLICKED) Choose(UserFileKind::Database);
          return true;
        case kChooseProgram:
          if (notification == BN_CLICKED) Choose(UserFileKind::Program);
          return true;
        case kCheck:
          if (notification == BN_CLICKED) Check();
          return true;
        case kDatabasePath:
        case kProgramPath:
          if (notification == EN_CHANGE) PathChanged();
          return true;
        default:
          return false;
      }
    }
    case kCheckDone:
      Finished(wParam);
      return true;
    case WM_DROPFILES:
      Dropped(TakeDroppedFiles(reinterpret_cast<HDROP>(wParam)));
      return true;
    case WM_DESTROY:
      task_.Forget();
      sections_.clear();
      return false;
    default:
      return false;
  }
}
