#pragma once

#include <string>
#include <vector>

#include "AccessDatabases.h"
#include "AccessTestResult.h"
#include "LateBound.h"

// The work of the access test's steps after the classes, in the helper: a new
// database through ADOX, then a table, a row and its reading back through
// ADO, then everything closed again. Each step calls its components by name
// only. On the calls that go through the connection, its Errors collection is
// cleared before each call and read only after that call failed, so that an
// error left from an earlier call is never blamed; all of its errors are
// kept, the first one giving the step's code and text.
class AccessRoundTrip {
 public:
  // `folder`: the caller's scratch folder, where the database is made.
  AccessRoundTrip(const std::wstring& folder, const AccessDatabase& database);
  ~AccessRoundTrip() = default;
  AccessRoundTrip(const AccessRoundTrip&) = delete;
  AccessRoundTrip& operator=(const AccessRoundTrip&) = delete;

  AccessStep Create();
  AccessStep RoundTrip();
  // Closes whatever is open and deletes the database: passes also when
  // nothing was opened.
  AccessStep Cleanup();

 private:
  AccessStep Fail(AccessStepName step, const CallFailure& failure);
  // Calls `name` on `object`, which belongs to the connection.
  bool Through(const LateBound& object, const wchar_t* name, WORD flags,
               std::vector<VARIANT*> arguments, ComVariant* result, CallFailure& failure);
  bool FieldValue(long index, ComVariant& value, CallFailure& failure);
  void ClearErrors();
  std::vector<AccessError> ConnectionErrors() const;

  std::wstring database_, connectionString_;
  LateBound connection_, recordset_;
  bool connectionOpen_ = false, recordsetOpen_ = false;
};

// The row the round trip writes: a number and a text outside any ANSI code
// page, so that a conversion on the way shows as a difference.
inline constexpr long kProbeNumber = 4711;
inline constexpr wchar_t kProbeText[] = L"Pr\u00fcfung \u03a9\u03bc\u03ad\u03b3\u03b1 \u691c\u67fb";
