#pragma once

#include <windows.h>

#include <initializer_list>
#include <string>
#include <type_traits>
#include <vector>

// Functions of the system DLLs that the program takes at run time instead of
// importing them by name: those that came after Windows XP without a service
// pack (the oldest release the program starts on), and those of DLLs that
// only some paths need, so that the loader maps nothing at start but what the
// first page needs. The entries themselves are listed per DLL in
// LateImports.h.
//
// A DLL not imported at start is loaded on first use by its full path in the
// system folder, never by its bare name: the program runs elevated, often
// from a downloads folder, where a planted copy would be found first. It
// stays loaded for the rest of the process, so an address found once stays
// good, and COM, once started, keeps the DLLs it runs on.
enum class SystemLibrary {
  // Imported at start: only looked at.
  Kernel32,
  User32,
  Advapi32,
  // Loaded on first use.
  Ole32,
  OleAut32,
  Shell32,
  Comdlg32,
};

namespace detail {
using AnyFunction = void (*)();
// The function's address; null, with the thread's last error set, when the
// DLL cannot be loaded, does not export it, or a test says it is absent.
AnyFunction FindSystemFunction(SystemLibrary library, const char* name);
}  // namespace detail

// One function of a system DLL, typed by its pointer (`decltype(&::Name)`
// where the SDK declares it for XP, else the signature spelled out), found by
// its name. Where a release may lack it, `Find()` says so and the caller takes
// its own way round; a call through `operator()` gives the entry's `absent`
// result (and sets the thread's last error) when the DLL or the function is
// missing, which on the releases that have it means a damaged system.
template <typename Pointer>
class SystemFunction;

template <typename Result, typename... Args>
class SystemFunction<Result(WINAPI*)(Args...)> {
  struct NoResult {};
  using AbsentResult = std::conditional_t<std::is_void_v<Result>, NoResult, Result>;

 public:
  using Pointer = Result(WINAPI*)(Args...);

  // A function without a result needs no stand-in for it.
  constexpr SystemFunction(SystemLibrary library, const char* name) requires std::is_void_v<Result>
      : library_(library), name_(name), absent_{} {}
  constexpr SystemFunction(SystemLibrary library, const char* name,
                           AbsentResult absent) requires(!std::is_void_v<Result>)
      : library_(library), name_(name), absent_(absent) {}

  // The function; null where this system lacks it.
  Pointer Find() const {
    // A function pointer of type void (*)() converts to every other one
    // without a warning about the types being incompatible.
    return reinterpret_cast<Pointer>(detail::FindSystemFunction(library_, name_));
  }

  Result operator()(Args... args) const {
    const Pointer function = Find();
    if constexpr (std::is_void_v<Result>) {
      if (function) function(args...);
    } else {
      return function ? function(args...) : absent_;
    }
  }

  const char* Name() const { return name_; }
  SystemLibrary Library() const { return library_; }

 private:
  SystemLibrary library_;
  const char* name_;
  AbsentResult absent_;
};

// For the tests: while it lives, the functions named read as absent, as on a
// release that lacks them, so that every way round runs under Wine, which has
// them all. One at a time, made and ended while no other thread looks a
// function up; not for use in the program.
class PretendAbsent {
 public:
  explicit PretendAbsent(std::initializer_list<const char*> names);
  ~PretendAbsent();
  PretendAbsent(const PretendAbsent&) = delete;
  PretendAbsent& operator=(const PretendAbsent&) = delete;

 private:
  std::vector<std::string> names_;
};
