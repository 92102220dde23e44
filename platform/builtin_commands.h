// The commands the DOS interpreter does itself: DEL/ERASE and COPY, with DOS wildcards.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace vellano::platform {

// True when the last component of a DOS name holds "*" or "?".
bool hasWildcard(std::string_view dosName);

// One file name against a DOS pattern: "*" any run, "?" one character, letters compared
// without case; "NAME.*" also matches "NAME" without extension, as DOS does.
bool dosWildcardMatch(std::string_view pattern, std::string_view name);

// The files (never folders) a DOS name or pattern names, in the order a DOS listing gives
// (by name, without case). A name without wildcards that does not exist with this exact
// spelling is looked up without case.
std::vector<std::filesystem::path> expandDosPattern(std::string_view dosPattern);

// DEL / ERASE with the words after the command. Nothing matching is no error; a bare "*"
// or "*.*" is refused, since DOS would stop and ask first. Returns the exit code.
int deleteFiles(const std::vector<std::string>& words);

// COPY source [destination] with the words after the command. The source may hold
// wildcards; the destination may be a file, a folder, "folder\" or a bare drive "A:" (the
// default drive folder is created when missing). Several sources into one file are joined.
// A file is never copied onto itself. Returns the exit code.
int copyFiles(const std::vector<std::string>& words);

}  // namespace vellano::platform
