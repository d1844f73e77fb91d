#pragma once

#include <string>

#include "Finding.h"
#include "UniqueHandle.h"

// Opens a file the user named (a database, a program) for reading: the path
// made full against the current folder, in its extended form where it is
// long, opened with read, write and delete sharing, so that a program using
// the file is never blocked by this one. On failure the handle is empty and
// `path` says why: a missing file or drive, a folder, a file held
// exclusively, or the platform's text for anything else.
UniqueFileHandle OpenUserFile(const std::wstring& given, CheckedPath& path);

// The platform form of a full path for the file functions: extended where
// it is long.
std::wstring PlatformPath(const std::wstring& full);
