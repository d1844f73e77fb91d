#pragma once

#include <windows.h>

// This thread's COM apartment for as long as the object lives: entered when it
// is made, left when it goes, if it was entered here. The helpers' one way
// into COM.
class ComApartment {
 public:
  enum class Kind {
    // A single-threaded apartment: where database programs call ADO.
    Com,
    // OLE initialised too: what a component's registration entry expects, as
    // the platform's own registration tool makes it.
    Ole,
  };

  explicit ComApartment(Kind kind);
  ~ComApartment();
  ComApartment(const ComApartment&) = delete;
  ComApartment& operator=(const ComApartment&) = delete;

  // The result of entering; a failure leaves the thread as it was.
  HRESULT Started() const { return result_; }

 private:
  Kind kind_;
  HRESULT result_;
};
