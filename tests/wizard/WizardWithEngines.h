#pragma once

#include <utility>

#include "frmMain.h"

// The wizard with an engine inventory of the test's choosing instead of this
// machine's, and the access line's answer given by the test.
class WizardWithEngines : public frmMain {
 public:
  explicit WizardWithEngines(EngineInventory engines)
      : frmMain(Options{false}), inventory_(std::move(engines)) {}
  using frmMain::ShowAccessResult;

 protected:
  EngineInventory ReadEngines() override { return inventory_; }

 private:
  EngineInventory inventory_;
};

// An entry of an inventory, with its file and version where registered.
inline EngineEntry EngineOf(EngineKind kind, const wchar_t* name, int bits, EngineState state,
                            std::uint16_t major = 0, const wchar_t* file = nullptr) {
  EngineEntry e;
  e.kind = kind;
  e.name = name;
  e.bits = bits;
  e.state = state;
  if (file) e.file = file;
  if (state == EngineState::Registered) e.version = FileVersion{major, 0, 5044, 1000};
  return e;
}
