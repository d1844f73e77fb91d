#include "RegistrationProtocol.h"

namespace RegistrationProtocol {

using HelperFraming::PayloadReader;
using HelperFraming::PayloadWriter;

std::vector<std::uint8_t> Request(const std::wstring& path, const std::string& entryName) {
  return PayloadWriter().Text(path, kMaxPathUnits).Bytes(entryName, kMaxEntryBytes).Take();
}

bool ReadRequest(const std::vector<std::uint8_t>& payload, std::wstring& path,
                 std::string& entryName) {
  PayloadReader reader(payload);
  return reader.Text(path, kMaxPathUnits) && reader.Bytes(entryName, kMaxEntryBytes) &&
         reader.AtEnd();
}

std::vector<std::uint8_t> Answer(const RegistrationOutcome& outcome) {
  return PayloadWriter()
      .Word(outcome.loaded ? 1 : 0)
      .Word(outcome.loadError)
      .Word(outcome.entryFound ? 1 : 0)
      .Word(static_cast<std::uint32_t>(outcome.entryResult))
      .Take();
}

std::optional<RegistrationOutcome> ReadAnswer(const HelperFraming::Record& record) {
  if (record.tag != kRegistered) return std::nullopt;
  PayloadReader reader(record.payload);
  std::uint32_t loaded = 0, loadError = 0, entryFound = 0, entryResult = 0;
  if (!reader.Word(loaded) || !reader.Word(loadError) || !reader.Word(entryFound) ||
      !reader.Word(entryResult) || !reader.AtEnd() || loaded > 1 || entryFound > 1 ||
      (!loaded && entryFound))
    return std::nullopt;
  RegistrationOutcome outcome;
  outcome.loaded = loaded != 0;
  outcome.loadError = loadError;
  outcome.entryFound = entryFound != 0;
  outcome.entryResult = static_cast<std::int32_t>(entryResult);
  return outcome;
}

}  // namespace RegistrationProtocol
