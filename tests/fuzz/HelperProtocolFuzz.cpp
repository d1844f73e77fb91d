// libFuzzer target: the caller's reading of what a helper says, the one
// parser of bytes that a component's process writes. The first byte chooses
// the use (even: the access test, odd: the registration helper); the rest is
// the helper's stream, greeting first, read in pieces whose sizes the next
// bytes choose. Every request is answered before the next is asked, as the
// host asks them. It must answer without reading outside the bytes
// (AddressSanitizer watches) and believe nothing past a broken rule.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <vector>

#include "AccessProtocol.h"
#include "HelperFraming.h"
#include "RegistrationProtocol.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  const bool access = data[0] % 2 == 0;
  const std::size_t pieceSize = data[1] % 64 + 1;
  // A copy of exactly the stream's bytes, so that any read past them is caught.
  const std::vector<std::uint8_t> stream(data + 2, data + size);
  HelperFraming::Conversation talk =
      access ? HelperFraming::Conversation(AccessProtocol::kUse, {AccessProtocol::kFinished},
                                           AccessProtocol::kMaxPayloadBytes,
                                           AccessProtocol::kMaxAnswerBytes)
             : HelperFraming::Conversation(
                   RegistrationProtocol::kUse, {RegistrationProtocol::kRegistered},
                   RegistrationProtocol::kAnswerPayload,
                   HelperFraming::kHeaderBytes + RegistrationProtocol::kAnswerPayload);
  AccessProtocol::Reader steps;
  std::uint32_t request = 0;
  for (std::size_t at = 0; at < stream.size() && !talk.Broken(); at += pieceSize) {
    const std::size_t piece = std::min(pieceSize, stream.size() - at);
    const std::vector<std::uint8_t> bytes(stream.begin() + static_cast<std::ptrdiff_t>(at),
                                          stream.begin() + static_cast<std::ptrdiff_t>(at + piece));
    if (!talk.Take(bytes.data(), bytes.size())) break;
    while (const std::optional<HelperFraming::Record> record = talk.Next()) {
      if (access) {
        steps.Take(*record);
      } else if (RegistrationProtocol::ReadAnswer(*record) && !talk.Answered()) {
        std::abort();  // an answer believed before its request was done
      }
    }
    if (talk.Greeted() && talk.Answered()) talk.Asked(++request);
  }
  // Whatever was believed holds only what the bounds allow.
  if (access)
    for (const AccessStep& step : steps.Result().steps)
      if (step.errors.size() > AccessProtocol::kMaxErrors ||
          step.message.size() > AccessProtocol::kMaxTextUnits)
        std::abort();
  return 0;
}
