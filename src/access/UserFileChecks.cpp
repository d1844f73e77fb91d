#include "UserFileChecks.h"

#include "DatabaseFile.h"
#include "EngineRegistry.h"
#include "ProgramFile.h"

UserFileChecks CheckUserFilesNamed(const UserFileRequest& request) {
  UserFileChecks checks;
  checks.engines = ReadEngineInventory();
  if (!request.database.empty()) checks.database = CheckDatabaseFile(request.database);
  if (!request.program.empty()) checks.program = CheckProgramFile(request.program);
  checks.completed = true;
  return checks;
}
