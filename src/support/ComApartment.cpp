#include "ComApartment.h"

#include <objbase.h>
#include <ole2.h>

ComApartment::ComApartment(Kind kind)
    : kind_(kind),
      result_(kind == Kind::Ole ? OleInitialize(nullptr)
                                : CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}

ComApartment::~ComApartment() {
  if (FAILED(result_)) return;
  if (kind_ == Kind::Ole)
    OleUninitialize();
  else
    CoUninitialize();
}
