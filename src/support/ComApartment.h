#pragma once

#include <windows.h>

// This thread's COM apartment for as long as the object lives: entered when it
// is made, left when it goes, if it was entered here. The helpers' one way
// into COM.
class ComApartment {
 public:
  enum class Kind {
    // OLE initialised too: what a component's registration entry expects, as
    // the platform's own registration tool makes it.
    Ole,
    // A single-threaded apartment: where database programs call ADO.
    SingleThreaded,
  };

  explicit ComApartment(Kind kind);
  ~ComApartment();
  ComApartment(const ComApartment&) = delete;
  ComApartment& operator=(const ComApartment&) = delete;

  // The result of entering; a failure leaves the thread as it was.
  HRESULT Result() const { return result_; }

 private:
  Kind kind_;
  HRESULT result_;
};
