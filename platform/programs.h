// Which host program stands in for each outside program a command line names.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace vellano::platform {

struct ProgramPlan {
  std::filesystem::path executable;  // empty: not installed, nothing runs
  std::vector<std::string> args;     // after the program name, DOS paths already mapped
  bool interactive = false;  // viewer, editor, Windows printer, launcher: only logged headless
  bool systemProgram = false;  // one of ours that reads the same key script
  // The host program looked for and the Debian package that brings it, named on screen when
  // it is missing: the viewers, the editor and the Windows printer, whose callers look at
  // nothing. Empty for the others: host launchers and unknown names stay silent, the archiver's
  // caller reports a failed start itself, our own programs are built beside the two.
  std::string hostProgram;
  std::string package;
  // Set where the desktop shell does the work ("open", "print"): `args` holds the document.
  std::string shellVerb;
};

// Resolves the program word of a command line ("LIST", "7Z", "ORBW.EXE", "FOO.EXE") with its
// arguments. Unknown names are looked up without ".EXE" beside the running executable, then
// in PATH.
ProgramPlan planProgram(std::string_view program, const std::vector<std::string>& args);

// The plan of "START document": the desktop's opener with the file.
ProgramPlan openerPlan(const std::string& document);

// True for the names the mapping knows (with or without ".EXE").
bool knownProgram(std::string_view program);

// An argument that is a DOS file name to map: it holds a backslash, starts with a drive
// letter, or names the printer port.
bool looksLikeDosPath(std::string_view word);

// The folder of the running executable, where the programs of the system live together.
std::filesystem::path ownFolder();

// An executable file of that name in PATH; empty when there is none.
std::filesystem::path findInPath(std::string_view name);

}  // namespace vellano::platform
