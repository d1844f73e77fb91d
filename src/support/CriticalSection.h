#pragma once

#include <windows.h>

// A lock of the platform's (XP has no slim locks), made and deleted with its
// owner.
class CriticalSection {
 public:
  CriticalSection() { InitializeCriticalSection(&section_); }
  ~CriticalSection() { DeleteCriticalSection(&section_); }
  CriticalSection(const CriticalSection&) = delete;
  CriticalSection& operator=(const CriticalSection&) = delete;

  CRITICAL_SECTION* get() { return &section_; }

 private:
  CRITICAL_SECTION section_;
};

// Holds a lock for as long as it lives.
class Locked {
 public:
  explicit Locked(CriticalSection& lock) : lock_(lock) { EnterCriticalSection(lock_.get()); }
  ~Locked() { LeaveCriticalSection(lock_.get()); }
  Locked(const Locked&) = delete;
  Locked& operator=(const Locked&) = delete;

 private:
  CriticalSection& lock_;
};
