#pragma once

// Runs one step of a sequence whose steps stand alone: a step that fails is
// passed over, and the sequence goes on with the next one.
template <typename Step>
void SkipIfFails(Step&& step) noexcept {
  try {
    step();
  } catch (...) {
  }
}
