#pragma once

#include "AccessTestResult.h"

// The classes that database programs create, and the provider they name
// (`provider`, a ProgID): each must map to a registered class whose server
// file exists, as this process's view of the registry has it (a 32-bit
// program sees the 32-bit registrations). Runs no component code. The step
// names the first class that does not resolve, and its server file where one
// is registered.
AccessStep CheckAccessClasses(const wchar_t* provider);

// The ProgIDs checked before the provider, in order.
inline constexpr const wchar_t* kAccessClasses[] = {L"ADODB.Connection", L"ADODB.Recordset",
                                                    L"ADOX.Catalog"};
