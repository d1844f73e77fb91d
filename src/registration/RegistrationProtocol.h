#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "HelperFraming.h"
#include "RegistrationOutcome.h"

// What the wizard and its registration helper say to each other, in the
// helper host's records:
//   wizard, per file:  kRegister    the path (UTF-16), the entry's name (bytes)
//   helper, per file:  kRegistered  loaded, load error, entry found, entry result
namespace RegistrationProtocol {

inline constexpr std::uint32_t kUse = 0x4D524832;  // "MRH2", the greeting's
inline constexpr std::uint32_t kRegister = 1;
inline constexpr std::uint32_t kRegistered = 2;

// Longer paths and names are refused by the helper, which then ends.
inline constexpr std::uint32_t kMaxPathUnits = 32768;
inline constexpr std::uint32_t kMaxEntryBytes = 1024;
inline constexpr std::size_t kMaxRequestPayload = 4 + 2 * kMaxPathUnits + 4 + kMaxEntryBytes;
inline constexpr std::size_t kAnswerPayload = 16;

std::vector<std::uint8_t> Request(const std::wstring& path, const std::string& entryName);
bool ReadRequest(const std::vector<std::uint8_t>& payload, std::wstring& path,
                 std::string& entryName);

std::vector<std::uint8_t> Answer(const RegistrationOutcome& outcome);
// None when the record is no answer the helper gives.
std::optional<RegistrationOutcome> ReadAnswer(const HelperFraming::Record& record);

}  // namespace RegistrationProtocol
