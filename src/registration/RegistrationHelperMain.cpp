#include "RegistrationHelperMain.h"

#include "ComApartment.h"
#include "HelperSide.h"
#include "RegistrationProtocol.h"
#include "modDLLRegister.h"

bool IsRegistrationHelper(const wchar_t* commandLine) {
  return IsHelperCommandLine(commandLine, kRegistrationHelperSwitch);
}

int RunRegistrationHelper() {
  EndHelperOnUnhandledException();
  std::optional<HelperSide> side = HelperSide::Open(kRegistrationHelperSwitch);
  if (!side) return kHelperBadStart;
  // Components rely on OLE being ready in the thread that calls their entry,
  // as the platform's own registration tool makes it.
  const ComApartment apartment(ComApartment::Kind::Ole);
  if (side->Greet(RegistrationProtocol::kUse)) {
    while (const std::optional<HelperFraming::Record> request =
               side->NextRequest(RegistrationProtocol::kMaxRequestPayload)) {
      std::wstring path;
      std::string entryName;
      if (request->tag != RegistrationProtocol::kRegister ||
          !RegistrationProtocol::ReadRequest(request->payload, path, entryName))
        break;
      if (!side->Answer(RegistrationProtocol::kRegistered,
                        RegistrationProtocol::Answer(RegisterInThisProcess(path, entryName))))
        break;
    }
  }
  return side->ExitCode();
}
