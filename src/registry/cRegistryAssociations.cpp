#include <algorithm>
#include <optional>

#include "RaisedError.h"
#include "VariantText.h"
#include "cRegistry.h"

namespace {

constexpr std::int32_t kBadItemList = static_cast<std::int32_t>(0x800469ACu);
constexpr std::int32_t kNoClass = static_cast<std::int32_t>(0x800469ADu);
// The shell puts the chosen file's path, quoted, in place of this.
const std::wstring kFileArgument = L"\"%1\"";

std::wstring Trim(const std::wstring& text) {
  const std::size_t first = text.find_first_not_of(L' ');
  if (first == std::wstring::npos) return {};
  return text.substr(first, text.find_last_not_of(L' ') - first + 1);
}

}  // namespace

void cRegistry::WriteClassesValue(const std::wstring& sValue) {
  ClassKey(RegistryRootKey::ClassesRoot);
  Value(sValue);
  const std::wstring section = sectionKey_;
  ClassKey(RegistryRootKey::LocalMachine);
  sectionKey_ = L"SOFTWARE\\Classes\\" + section;
  Value(sValue);  // a failure leaves at once, as the first write's does
  sectionKey_ = section;
}

void cRegistry::CreateEXEAssociation(std::wstring sExePath, std::wstring sClassName,
                                     std::wstring sClassDescription, std::wstring sAssociation,
                                     std::wstring sOpenMenuText, std::wstring sPrintMenuText,
                                     std::wstring sNewMenuText, std::wstring sInstallMenuText,
                                     bool bSupportPrint, bool bSupportNew, bool bSupportInstall,
                                     std::int32_t lDefaultIconIndex) {
  std::wstring exe = Trim(sExePath);
  // An empty path becomes one quote, and a lone quote stays one.
  if (exe.empty() || exe.front() != L'"') exe.insert(0, 1, L'"');
  if (exe.back() != L'"') exe += L'"';

  ValueType(RegistryValueType::Sz);
  ValueKey(L"");
  SectionKey(L"." + sAssociation);
  WriteClassesValue(sClassName);
  SectionKey(sClassName);
  WriteClassesValue(sClassDescription);

  auto verb = [&](const wchar_t* name, const std::wstring& menuText, const std::wstring& fallback,
                  const std::wstring& command) {
    SectionKey(sClassName + L"\\shell\\" + name);
    ValueKey(L"");
    WriteClassesValue(menuText.empty() ? fallback : menuText);
    SectionKey(sClassName + L"\\shell\\" + name + L"\\command");
    ValueKey(L"");
    WriteClassesValue(command);
  };
  verb(L"open", sOpenMenuText, L"&Open", exe + L" " + kFileArgument);
  if (bSupportPrint) verb(L"print", sPrintMenuText, L"&Print", exe + L" /p " + kFileArgument);
  if (bSupportInstall)
    verb(L"add", sInstallMenuText, L"&Install " + sAssociation, exe + L" /a " + kFileArgument);
  if (bSupportNew) verb(L"new", sNewMenuText, L"&New", exe + L" /n " + kFileArgument);

  if (lDefaultIconIndex >= 0) {
    SectionKey(sClassName + L"\\DefaultIcon");
    ValueKey(L"");
    WriteClassesValue(exe + L"," + std::to_wstring(lDefaultIconIndex));
  }
}

void cRegistry::CreateAdditionalEXEAssociations(const std::wstring& sClassName,
                                                const Variant& vItems) {
  if (vItems.kind() != Variant::Kind::List || vItems.list().size() % 3 != 0)
    Raise(kBadItemList,
          L"Invalid parameter list passed to CreateAdditionalEXEAssociations - expected "
          L"Name/Text/Command");
  SectionKey(sClassName);
  if (!KeyExists())
    Raise(kNoClass, L"Error - attempt to create additional associations before class defined.");

  const Variant::List& items = vItems.list();
  // Each item is converted on its own: one without a text form skips only the
  // writes that need it, and nothing empty is written in its place.
  auto text = [](const Variant& item) -> std::optional<std::wstring> {
    try {
      return ToText(item);
    } catch (const RaisedError&) {
      return std::nullopt;
    }
  };
  // Each step that fails is skipped; the next one is tried all the same.
  auto write = [&](const std::wstring& section, const std::wstring& value) {
    try {
      SectionKey(section);
      ValueKey(L"");
      WriteClassesValue(value);
    } catch (const RaisedError&) {
    }
  };
  for (std::size_t i = 0; i + 2 < items.size(); i += 3) {
    ValueType(RegistryValueType::Sz);
    const std::optional<std::wstring> name = text(items[i]);
    if (!name) continue;  // without a verb there is no key to write to
    const std::wstring verb = sClassName + L"\\shell\\" + *name;
    if (const auto menuText = text(items[i + 1])) write(verb, *menuText);
    if (const auto command = text(items[i + 2])) write(verb + L"\\command", *command);
  }
}
