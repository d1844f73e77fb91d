#include "AccessRoundTrip.h"

#include <algorithm>

#include "AccessProtocol.h"
#include "FormatPlaceholders.h"
#include "LateImports.h"
#include "LoadText.h"
#include "SystemMessage.h"
#include "TextIds.h"

namespace {

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

CallFailure CreateFailure(HRESULT hr) { return {hr, SystemMessage(hr), {}}; }

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

AccessRoundTrip::AccessRoundTrip(const std::wstring& folder, const AccessDatabase& database)
    : database_(folder + L"\\" + database.file),
      connectionString_(std::wstring(L"Provider=") + database.provider + L";Data Source=" +
                        database_) {}

AccessStep AccessRoundTrip::Fail(AccessStepName name, const CallFailure& failure) {
  AccessStep step;
  step.step = name;
  step.outcome = AccessOutcome::Failed;
  step.hresult = failure.hresult;
  step.message = failure.message;
  step.errors = failure.errors;
  return step;
}

void AccessRoundTrip::ClearErrors() {
  if (!connection_) return;
  CallFailure ignored;
  ComVariant errorsValue;
  if (connection_.Call(L"Errors", DISPATCH_PROPERTYGET, {}, &errorsValue, ignored))
    LateBound::From(errorsValue).Call(L"Clear", DISPATCH_METHOD, {}, nullptr, ignored);
}

std::vector<AccessError> AccessRoundTrip::ConnectionErrors() const {
  std::vector<AccessError> found;
  if (!connection_) return found;
  CallFailure ignored;
  ComVariant errorsValue, countValue;
  if (!connection_.Call(L"Errors", DISPATCH_PROPERTYGET, {}, &errorsValue, ignored)) return found;
  const LateBound errors = LateBound::From(errorsValue);
  if (!errors.Call(L"Count", DISPATCH_PROPERTYGET, {}, &countValue, ignored) ||
      FAILED(OleAut32::VariantChangeType(countValue.get(), countValue.get(), 0, VT_I4)))
    return found;
  const long count = std::min<long>((*countValue).lVal, AccessProtocol::kMaxErrors);
  const auto text = [&](const LateBound& error, const wchar_t* name, std::size_t most) {
    ComVariant value;
    if (!error.Call(name, DISPATCH_PROPERTYGET, {}, &value, ignored) ||
        FAILED(OleAut32::VariantChangeType(value.get(), value.get(), 0, VT_BSTR)) ||
        !(*value).bstrVal)
      return std::wstring();
    return std::wstring((*value).bstrVal,
                        std::min<std::size_t>(OleAut32::SysStringLen((*value).bstrVal), most));
  };
  const auto number = [&](const LateBound& error, const wchar_t* name) {
    ComVariant value;
    if (!error.Call(name, DISPATCH_PROPERTYGET, {}, &value, ignored) ||
        FAILED(OleAut32::VariantChangeType(value.get(), value.get(), 0, VT_I4)))
      return std::int32_t{0};
    return static_cast<std::int32_t>((*value).lVal);
  };
  for (long i = 0; i < count; ++i) {
    ComVariant position(i), errorValue;
    if (!errors.Call(L"Item", DISPATCH_METHOD | DISPATCH_PROPERTYGET, {position.get()}, &errorValue,
                     ignored))
      break;
    const LateBound error = LateBound::From(errorValue);
    AccessError e;
    e.description = text(error, L"Description", AccessProtocol::kMaxTextUnits);
    e.number = number(error, L"Number");
    e.nativeError = number(error, L"NativeError");
    e.sqlState = text(error, L"SQLState", AccessProtocol::kMaxShortUnits);
    e.source = text(error, L"Source", AccessProtocol::kMaxShortUnits);
    found.push_back(std::move(e));
  }
  return found;
}

bool AccessRoundTrip::Through(const LateBound& object, const wchar_t* name, WORD flags,
                              std::vector<VARIANT*> arguments, ComVariant* result,
                              CallFailure& failure) {
  ClearErrors();
  if (object.Call(name, flags, std::move(arguments), result, failure)) return true;
  failure.errors = ConnectionErrors();
  if (!failure.errors.empty()) {
    const AccessError& first = failure.errors.front();
    if (!first.description.empty()) failure.message = first.description;
    if (first.number != 0) failure.hresult = first.number;
  }
  return false;
}

// Field `index` of the recordset's current row.
bool AccessRoundTrip::FieldValue(long index, ComVariant& value, CallFailure& failure) {
  ComVariant fieldsValue, fieldValue, position(index);
  if (!Through(recordset_, L"Fields", DISPATCH_PROPERTYGET, {}, &fieldsValue, failure))
    return false;
  const LateBound fields = LateBound::From(fieldsValue);
  if (!Through(fields, L"Item", DISPATCH_METHOD | DISPATCH_PROPERTYGET, {position.get()},
               &fieldValue, failure))
    return false;
  const LateBound field = LateBound::From(fieldValue);
  return Through(field, L"Value", DISPATCH_PROPERTYGET, {}, &value, failure);
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
    return Fail(AccessStepName::Create, {E_FAIL, LoadText(IDS_ACCESS_NO_FILE), {}});
  return Passed(AccessStepName::Create);
}

AccessStep AccessRoundTrip::RoundTrip() {
  const AccessStepName name = AccessStepName::RoundTrip;
  if (const HRESULT hr = LateBound::Create(L"ADODB.Connection", connection_); FAILED(hr))
    return Fail(name, CreateFailure(hr));
  CallFailure failure;
  ComVariant target(connectionString_);
  if (!Through(connection_, L"Open", DISPATCH_METHOD, {target.get()}, nullptr, failure))
    return Fail(name, failure);
  connectionOpen_ = true;
  for (const std::wstring& statement : {std::wstring(kCreateTable), InsertStatement()}) {
    ComVariant sql(statement), rows;
    if (!Through(connection_, L"Execute", DISPATCH_METHOD, {sql.get()}, &rows, failure))
      return Fail(name, failure);
  }
  if (const HRESULT hr = LateBound::Create(L"ADODB.Recordset", recordset_); FAILED(hr))
    return Fail(name, CreateFailure(hr));
  ComVariant select(kSelect), through(connection_.get());
  if (!Through(recordset_, L"Open", DISPATCH_METHOD, {select.get(), through.get()}, nullptr,
               failure))
    return Fail(name, failure);
  recordsetOpen_ = true;
  ComVariant atEnd, number, text;
  if (!Through(recordset_, L"EOF", DISPATCH_PROPERTYGET, {}, &atEnd, failure))
    return Fail(name, failure);
  if ((*atEnd).vt != VT_BOOL || (*atEnd).boolVal != VARIANT_FALSE)
    return Fail(name, {E_FAIL, LoadText(IDS_ACCESS_NO_ROW), {}});
  if (!FieldValue(0, number, failure) || !FieldValue(1, text, failure)) return Fail(name, failure);
  ComVariant numberRead;
  const bool same =
      SUCCEEDED(OleAut32::VariantChangeType(numberRead.get(), number.get(), 0, VT_I4)) &&
      (*numberRead).lVal == kProbeNumber && (*text).vt == VT_BSTR && (*text).bstrVal &&
      std::wstring((*text).bstrVal, OleAut32::SysStringLen((*text).bstrVal)) == kProbeText;
  if (!same)
    return Fail(name,
                {E_FAIL,
                 FormatPlaceholders(LoadText(IDS_ACCESS_VALUE_DIFFERS),
                                    {Shown(number) + L", '" + Shown(text) + L"'",
                                     std::to_wstring(kProbeNumber) + L", '" + kProbeText + L"'"}),
                 {}});
  return Passed(name);
}

AccessStep AccessRoundTrip::Cleanup() {
  const AccessStepName name = AccessStepName::Cleanup;
  CallFailure failure, first;
  if (recordsetOpen_ && !Through(recordset_, L"Close", DISPATCH_METHOD, {}, nullptr, failure))
    first = failure;
  recordsetOpen_ = false;
  recordset_.Reset();
  if (connectionOpen_ && !Through(connection_, L"Close", DISPATCH_METHOD, {}, nullptr, failure) &&
      SUCCEEDED(first.hresult))
    first = failure;
  connectionOpen_ = false;
  connection_.Reset();
  if (FAILED(first.hresult)) return Fail(name, first);
  if (FileExists(database_) && !DeleteFileW(database_.c_str()))
    return Fail(name, CreateFailure(HRESULT_FROM_WIN32(GetLastError())));
  return Passed(name);
}
