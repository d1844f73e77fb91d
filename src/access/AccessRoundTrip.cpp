#include "AccessRoundTrip.h"

#include "FormatPlaceholders.h"
#include "LateImports.h"
#include "LoadText.h"
#include "ScratchFolder.h"
#include "SystemMessage.h"
#include "TextIds.h"

namespace {

constexpr wchar_t kProvider[] = L"Microsoft.Jet.OLEDB.4.0";
constexpr wchar_t kCreateTable[] = L"CREATE TABLE Probe (Id INTEGER, Label TEXT(64))";
constexpr wchar_t kSelect[] = L"SELECT Id, Label FROM Probe";

std::wstring InsertStatement() {
  return L"INSERT INTO Probe (Id, Label) VALUES (" + std::to_wstring(kProbeNumber) + L", '" +
         kProbeText + L"')";
}

bool FileExists(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

AccessStep Passed(AccessStepName name) {
  AccessStep step;
  step.step = name;
  step.outcome = AccessOutcome::Passed;
  return step;
}

CallFailure CreateFailure(HRESULT hr) { return {hr, SystemMessage(hr)}; }

// Field `index` of the recordset's current row.
bool FieldValue(const LateBound& recordset, long index, ComVariant& value, CallFailure& failure) {
  ComVariant fieldsValue, fieldValue, position(index);
  if (!recordset.Call(L"Fields", DISPATCH_PROPERTYGET, {}, &fieldsValue, failure)) return false;
  const LateBound fields = LateBound::From(fieldsValue);
  if (!fields.Call(L"Item", DISPATCH_METHOD | DISPATCH_PROPERTYGET, {position.get()}, &fieldValue,
                   failure))
    return false;
  const LateBound field = LateBound::From(fieldValue);
  return field.Call(L"Value", DISPATCH_PROPERTYGET, {}, &value, failure);
}

// The value as text for the report; what cannot be shown as text is shown
// as its type.
std::wstring Shown(const ComVariant& value) {
  ComVariant text;
  if (SUCCEEDED(
          OleAut32::VariantChangeType(text.get(), const_cast<VARIANT*>(&*value), 0, VT_BSTR)) &&
      (*text).bstrVal)
    return std::wstring((*text).bstrVal, OleAut32::SysStringLen((*text).bstrVal));
  return L"(" + std::to_wstring((*value).vt) + L")";
}

}  // namespace

AccessRoundTrip::AccessRoundTrip(const std::wstring& folder)
    : database_(folder + L"\\" + kProbeDatabase),
      connectionString_(std::wstring(L"Provider=") + kProvider + L";Data Source=" + database_) {}

AccessStep AccessRoundTrip::Fail(AccessStepName name, const CallFailure& failure) {
  AccessStep step;
  step.step = name;
  step.outcome = AccessOutcome::Failed;
  step.hresult = failure.hresult;
  step.message = failure.message;
  return step;
}

CallFailure AccessRoundTrip::FromConnection(const CallFailure& failure) const {
  if (!connection_) return failure;
  CallFailure ignored;
  ComVariant errorsValue, countValue, errorValue, descriptionValue, numberValue, first(0L);
  if (!connection_.Call(L"Errors", DISPATCH_PROPERTYGET, {}, &errorsValue, ignored)) return failure;
  const LateBound errors = LateBound::From(errorsValue);
  if (!errors.Call(L"Count", DISPATCH_PROPERTYGET, {}, &countValue, ignored) ||
      FAILED(OleAut32::VariantChangeType(countValue.get(), countValue.get(), 0, VT_I4)) ||
      (*countValue).lVal <= 0)
    return failure;
  if (!errors.Call(L"Item", DISPATCH_METHOD | DISPATCH_PROPERTYGET, {first.get()}, &errorValue,
                   ignored))
    return failure;
  const LateBound error = LateBound::From(errorValue);
  CallFailure described = failure;
  if (error.Call(L"Description", DISPATCH_PROPERTYGET, {}, &descriptionValue, ignored) &&
      (*descriptionValue).vt == VT_BSTR && (*descriptionValue).bstrVal &&
      OleAut32::SysStringLen((*descriptionValue).bstrVal) > 0)
    described.message =
        std::wstring((*descriptionValue).bstrVal,
                     std::min(OleAut32::SysStringLen((*descriptionValue).bstrVal), 1024u));
  if (error.Call(L"Number", DISPATCH_PROPERTYGET, {}, &numberValue, ignored) &&
      SUCCEEDED(OleAut32::VariantChangeType(numberValue.get(), numberValue.get(), 0, VT_I4)) &&
      (*numberValue).lVal != 0)
    described.hresult = (*numberValue).lVal;
  return described;
}

AccessStep AccessRoundTrip::Create() {
  LateBound catalog;
  if (const HRESULT hr = LateBound::Create(L"ADOX.Catalog", catalog); FAILED(hr))
    return Fail(AccessStepName::Create, CreateFailure(hr));
  ComVariant target(connectionString_), made;
  CallFailure failure;
  if (!catalog.Call(L"Create", DISPATCH_METHOD, {target.get()}, &made, failure))
    return Fail(AccessStepName::Create, failure);
  // The catalog keeps its new database open through the connection it
  // returns: closed here, so that the round trip opens it afresh.
  if (const LateBound opened = LateBound::From(made))
    opened.Call(L"Close", DISPATCH_METHOD, {}, nullptr, failure);
  catalog.Reset();
  if (!FileExists(database_))
    return Fail(AccessStepName::Create, {E_FAIL, LoadText(IDS_ACCESS_NO_FILE)});
  return Passed(AccessStepName::Create);
}

AccessStep AccessRoundTrip::RoundTrip() {
  const AccessStepName name = AccessStepName::RoundTrip;
  if (const HRESULT hr = LateBound::Create(L"ADODB.Connection", connection_); FAILED(hr))
    return Fail(name, CreateFailure(hr));
  CallFailure failure;
  ComVariant target(connectionString_);
  if (!connection_.Call(L"Open", DISPATCH_METHOD, {target.get()}, nullptr, failure))
    return Fail(name, FromConnection(failure));
  connectionOpen_ = true;
  for (const std::wstring& statement : {std::wstring(kCreateTable), InsertStatement()}) {
    ComVariant sql(statement), rows;
    if (!connection_.Call(L"Execute", DISPATCH_METHOD, {sql.get()}, &rows, failure))
      return Fail(name, FromConnection(failure));
  }
  if (const HRESULT hr = LateBound::Create(L"ADODB.Recordset", recordset_); FAILED(hr))
    return Fail(name, CreateFailure(hr));
  ComVariant select(kSelect), through(connection_.get());
  if (!recordset_.Call(L"Open", DISPATCH_METHOD, {select.get(), through.get()}, nullptr, failure))
    return Fail(name, FromConnection(failure));
  recordsetOpen_ = true;
  ComVariant atEnd, number, text;
  if (!recordset_.Call(L"EOF", DISPATCH_PROPERTYGET, {}, &atEnd, failure))
    return Fail(name, FromConnection(failure));
  if ((*atEnd).vt != VT_BOOL || (*atEnd).boolVal != VARIANT_FALSE)
    return Fail(name, {E_FAIL, LoadText(IDS_ACCESS_NO_ROW)});
  if (!FieldValue(recordset_, 0, number, failure) || !FieldValue(recordset_, 1, text, failure))
    return Fail(name, FromConnection(failure));
  ComVariant numberRead, textRead;
  const bool same =
      SUCCEEDED(OleAut32::VariantChangeType(numberRead.get(), number.get(), 0, VT_I4)) &&
      (*numberRead).lVal == kProbeNumber && (*text).vt == VT_BSTR && (*text).bstrVal &&
      std::wstring((*text).bstrVal, OleAut32::SysStringLen((*text).bstrVal)) == kProbeText;
  if (!same)
    return Fail(name, {E_FAIL, FormatPlaceholders(
                                   LoadText(IDS_ACCESS_VALUE_DIFFERS),
                                   {Shown(number) + L", '" + Shown(text) + L"'",
                                    std::to_wstring(kProbeNumber) + L", '" + kProbeText + L"'"})});
  return Passed(name);
}

AccessStep AccessRoundTrip::Cleanup() {
  const AccessStepName name = AccessStepName::Cleanup;
  CallFailure failure, first;
  if (recordsetOpen_ && !recordset_.Call(L"Close", DISPATCH_METHOD, {}, nullptr, failure))
    first = FromConnection(failure);
  recordsetOpen_ = false;
  recordset_.Reset();
  if (connectionOpen_ && !connection_.Call(L"Close", DISPATCH_METHOD, {}, nullptr, failure) &&
      SUCCEEDED(first.hresult))
    first = failure;
  connectionOpen_ = false;
  connection_.Reset();
  if (FAILED(first.hresult)) return Fail(name, first);
  if (FileExists(database_) && !DeleteFileW(database_.c_str()))
    return Fail(name, CreateFailure(HRESULT_FROM_WIN32(GetLastError())));
  return Passed(name);
}
