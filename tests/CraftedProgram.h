#pragma once

#include <cstdint>
#include <vector>

// Program files made for the tests from the PE layout: the headers, one
// section, and for .NET a runtime header with the chosen flags. Platform-free.
struct CraftedProgram {
  std::uint16_t machine = 0x014C;
  bool pe32Plus = false;
  bool dll = false;
  bool dotnet = false;
  std::uint32_t runtimeFlags = 0x1;  // IL only

  std::vector<std::uint8_t> Bytes() const {
    std::vector<std::uint8_t> file(0x400, 0);
    file[0] = 'M';
    file[1] = 'Z';
    Put(file, 0x3C, 0x40, 4);
    Put(file, 0x40, 0x00004550, 4);  // "PE\0\0"
    const std::size_t coff = 0x44, optional = coff + 20;
    const std::uint16_t optionalSize = pe32Plus ? 0xF0 : 0xE0;
    Put(file, coff, machine, 2);
    Put(file, coff + 2, 1, 2);  // one section
    Put(file, coff + 16, optionalSize, 2);
    Put(file, coff + 18, 0x0102 | (dll ? 0x2000 : 0), 2);
    Put(file, optional, pe32Plus ? 0x20B : 0x10B, 2);
    const std::size_t directories = optional + (pe32Plus ? 112 : 96);
    Put(file, directories - 4, 16, 4);
    if (dotnet) {
      Put(file, directories + 14 * 8, 0x1000, 4);  // the runtime header at the section's start
      Put(file, directories + 14 * 8 + 4, 72, 4);
    }
    const std::size_t section = optional + optionalSize;
    Put(file, section, 0x747865742E, 8);  // ".text"
    Put(file, section + 8, 0x200, 4);     // virtual size
    Put(file, section + 12, 0x1000, 4);   // address
    Put(file, section + 16, 0x200, 4);    // raw size
    Put(file, section + 20, 0x200, 4);    // raw offset
    if (dotnet) {
      Put(file, 0x200, 72, 4);
      Put(file, 0x204, 0x00050002, 4);  // runtime version 2.5
      Put(file, 0x210, runtimeFlags, 4);
    }
    return file;
  }

  static void Put(std::vector<std::uint8_t>& file, std::size_t at, std::uint64_t value,
                  std::size_t bytes) {
    for (std::size_t i = 0; i < bytes; ++i)
      file[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
  }
};
