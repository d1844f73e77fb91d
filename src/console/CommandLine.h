#pragma once

#include <optional>
#include <span>
#include <string>

// What the command line asks the program to do. Without arguments it is the
// wizard; the switches run it without a window, for scripts.
enum class ProgramMode {
  Wizard,      // no arguments
  Usage,       // /? alone: the usage on standard output
  Check,       // /check [/json] [/database PATH] [/program PATH]
  Repair,      // /repair /quiet [/json]
  UsageError,  // anything else: the usage on standard error, nothing done
};

struct CommandLineRequest {
  ProgramMode mode = ProgramMode::Wizard;
  bool json = false;  // the report as JSON instead of text
  // The user's database file and program file to check as well, as given.
  std::optional<std::wstring> database;
  std::optional<std::wstring> program;
};

// Reads the arguments after the program's name. Switches begin with "/" or
// "-" and are compared without regard to letter case (ASCII letters only, so
// that no user locale can make "/CHECK" differ from "/check"). An argument
// that is not a known switch, a switch given twice and a combination that
// means nothing make a usage error:
//   /?                     alone
//   /check [/quiet] [/json] [/database PATH] [/program PATH]
//   /repair /quiet [/json]
// The argument after /database and /program is their path, whatever it
// looks like, unless it is missing, empty or names a switch of its own.
CommandLineRequest ParseCommandLine(std::span<const std::wstring> arguments);

// The platform's "invalid parameter" code, the exit code of a usage error.
constexpr int kUsageErrorExitCode = 87;
// The exit code of a repair refused for want of administrator rights: the
// platform's "the requested operation requires elevation", which a script
// also gets where Windows itself refuses to start the program unelevated.
constexpr int kRepairNeedsAdministratorExitCode = 740;
