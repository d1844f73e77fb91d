#pragma once

#include <string>

#include "AccessTestResult.h"
#include "LateBound.h"

// The work of the access test's steps after the classes, in the helper: a new
// Jet database through ADOX, then a table, a row and its reading back through
// ADO, then everything closed again. Each step calls its components by name
// only; a failure carries the description of ADO's error object where the
// connection has one, else that of the component's exception.
class AccessRoundTrip {
 public:
  // `folder`: the caller's scratch folder, where the database is made.
  explicit AccessRoundTrip(const std::wstring& folder);
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
  CallFailure FromConnection(const CallFailure& failure) const;

  std::wstring database_, connectionString_;
  LateBound connection_, recordset_;
  bool connectionOpen_ = false, recordsetOpen_ = false;
};

// The row the round trip writes: a number and a text outside any ANSI code
// page, so that a conversion on the way shows as a difference.
inline constexpr long kProbeNumber = 4711;
inline constexpr wchar_t kProbeText[] = L"Pr\u00fcfung \u03a9\u03bc\u03ad\u03b3\u03b1 \u691c\u67fb";
