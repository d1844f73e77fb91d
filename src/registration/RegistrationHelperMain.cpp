#include "RegistrationHelperMain.h"

#include "HelperSide.h"
#include "RegistrationProtocol.h"
#include "modDLLRegister.h"

bool IsRegistrationHelper(const wchar_t* commandLine) {
  return IsHelperCommandLine(commandLine, kRegistrationHelperSwitch);
}

int RunRegistrationHelper() {
  // Components rely on OLE being ready in the thread that calls their entry,
  // as the platform's own registration tool makes it.
  return ServeAsHelper(
      kRegistrationHelperSwitch, RegistrationProtocol::kUse, ComApartment::Kind::Ole,
      RegistrationProtocol::kMaxRequestPayload,
      [](HelperSide& side, const HelperFraming::Record& request) {
        std::wstring path;
        std::string entryName;
        return request.tag == RegistrationProtocol::kRegister &&
               RegistrationProtocol::ReadRequest(request.payload, path, entryName) &&
               side.Answer(RegistrationProtocol::kRegistered,
                           RegistrationProtocol::Answer(RegisterInThisProcess(path, entryName)));
      });
}
