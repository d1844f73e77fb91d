#pragma once

// The date's own text form, the locale's short date and the named patterns
// that stand for the locale's patterns may appear in a pattern, and each of
// them is itself written with the locale's patterns. They are expanded one
// level deep only: a locale pattern that refers back to them from inside (a
// hand-made locale; the user's settings are translated so that they cannot)
// gets their letters, never an endless descent. One instance marks a level.
class SelfReference {
 public:
  static bool Allowed() { return Depth() == 0; }
  SelfReference() { ++Depth(); }
  ~SelfReference() { --Depth(); }
  SelfReference(const SelfReference&) = delete;
  SelfReference& operator=(const SelfReference&) = delete;

 private:
  static int& Depth() {
    static thread_local int depth = 0;
    return depth;
  }
};
