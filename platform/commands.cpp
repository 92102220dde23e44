// The command interpreter of the system: reads a DOS command line itself and does the
// built-ins or starts the host program that stands in, with an argument list. No shell ever
// sees the line, so quotes, ";", "&&", "|" or "$(...)" in a file name stay in the file name.
#include "platform/commands.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <fstream>

#include "platform/builtin_commands.h"
#include "platform/console.h"
#include "platform/dos_path.h"
#include "platform/file_io.h"
#include "platform/process.h"
#include "platform/programs.h"

namespace vellano::platform {

namespace {

// A batch file that calls itself must not run forever.
constexpr int kMaxBatchDepth = 8;

struct Word {
  std::string text;
  bool quoted = false;  // began with a quote: START takes such a first word as a title
};

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

std::string upperText(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return out;
}

bool endsWithNoCase(std::string_view text, std::string_view suffix) {
  return text.size() >= suffix.size() &&
         upperText(text.substr(text.size() - suffix.size())) == suffix;
}

std::vector<Word> splitWords(std::string_view line) {
  std::vector<Word> words;
  std::size_t i = 0;
  while (true) {
    while (i < line.size() && isBlank(line[i])) ++i;
    if (i == line.size()) break;
    Word word;
    word.quoted = line[i] == '"';
    bool inQuotes = false;
    for (; i < line.size(); ++i) {
      const char c = line[i];
      if (c == '"') {
        inQuotes = !inQuotes;
      } else if (!inQuotes && isBlank(c)) {
        break;
      } else {
        word.text += c;
      }
    }
    words.push_back(std::move(word));
  }
  return words;
}

std::vector<std::string> texts(const std::vector<Word>& words, std::size_t from) {
  std::vector<std::string> out;
  for (std::size_t i = from; i < words.size(); ++i) out.push_back(words[i].text);
  return out;
}

std::string_view trimFront(std::string_view text) {
  while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
  return text;
}

// Removes `word` and the blank after it from the front, without case; false when absent.
bool takeWord(std::string_view& line, std::string_view word) {
  if (word.empty() || line.size() < word.size()) return false;
  if (upperText(line.substr(0, word.size())) != upperText(word)) return false;
  if (line.size() > word.size() && !isBlank(line[word.size()])) return false;
  line = trimFront(line.substr(word.size()));
  return true;
}

bool isInterpreterName(std::string_view word) {
  const std::size_t cut = word.find_last_of("\\/");
  if (cut != std::string_view::npos) word.remove_prefix(cut + 1);
  const std::string name = upperText(word);
  return name == "CMD" || name == "CMD.EXE" || name == "COMMAND" || name == "COMMAND.COM" ||
         name == "COMSPEC" || name == "%COMSPEC%";
}

// "CMD /C", "%COMSPEC% /C", the value of COMSPEC + " /C", or a bare " /C" (COMSPEC empty).
std::string_view stripInterpreter(std::string_view line) {
  const char* comspec = std::getenv("COMSPEC");
  while (true) {
    line = trimFront(line);
    std::string_view rest = line;
    if (comspec != nullptr && *comspec != '\0' && takeWord(rest, comspec) && takeWord(rest, "/C")) {
      line = rest;
      continue;
    }
    rest = line;
    if (takeWord(rest, "/C")) {
      line = rest;
      continue;
    }
    const std::size_t end = std::min(line.size(), line.find_first_of(" \t"));
    rest = trimFront(line.substr(end));
    if (isInterpreterName(line.substr(0, end)) && takeWord(rest, "/C")) {
      line = rest;
      continue;
    }
    return line;
  }
}

// DOS ends a program name at "/": "VELST10W.EXE/P 3" is VELST10W.EXE with "/P".
void splitGluedSwitch(std::vector<Word>& words) {
  const std::string upper = upperText(words.front().text);
  for (const char* ext : {".EXE/", ".COM/"}) {
    const std::size_t at = upper.find(ext);
    if (at == std::string::npos) continue;
    Word tail{words.front().text.substr(at + 4), false};
    words.front().text.resize(at + 4);
    words.insert(words.begin() + 1, std::move(tail));
    return;
  }
}

bool isBatchName(std::string_view word) {
  return endsWithNoCase(word, ".BAT") || endsWithNoCase(word, ".CMD");
}

bool isProgramName(std::string_view word) {
  return endsWithNoCase(word, ".EXE") || endsWithNoCase(word, ".COM") || knownProgram(word);
}

// One line per command, written with a single append so programs sharing the file never mix.
void logCommand(std::string_view line) {
  const char* file = std::getenv("VELLANO_COMMANDS");
  if (file == nullptr || *file == '\0') return;
  std::string text(line);
  text += '\n';
  const int fd = files::openFile(file, files::kWrite | files::kCreate | files::kAppend);
  if (fd < 0) return;
  std::size_t done = 0;
  while (done < text.size()) {
    const long long n = files::writeNext(fd, text.data() + done, text.size() - done);
    if (n <= 0) break;
    done += static_cast<std::size_t>(n);
  }
  files::closeFile(fd);
}

class Runner {
 public:
  Runner(Console* console, bool headless) : console_(console), headless_(headless) {}

  CommandResult line(std::string_view text, int depth) {
    std::vector<Word> words = splitWords(stripInterpreter(text));
    if (!words.empty() && !words.front().quoted && !words.front().text.empty() &&
        words.front().text.front() == '@') {
      words.front().text.erase(0, 1);  // "@ECHO OFF": the echo mark is no part of the command
      if (words.front().text.empty()) words.erase(words.begin());
    }
    if (words.empty()) return {};
    splitGluedSwitch(words);
    return command(words, depth);
  }

 private:
  CommandResult command(const std::vector<Word>& words, int depth) {
    const std::string verb = upperText(words.front().text);
    if (verb == "REM" || verb.starts_with("::") || verb == "ECHO" || verb.starts_with("ECHO.")) {
      return {true, 0};  // no window to echo into
    }
    if (verb == "DEL" || verb == "ERASE") return {true, deleteFiles(texts(words, 1))};
    if (verb == "COPY") return {true, copyFiles(texts(words, 1))};
    if (verb == "START") return start(words, depth);
    if (verb == "CALL") {
      if (words.size() < 2) return {};
      return command(std::vector<Word>(words.begin() + 1, words.end()), depth);
    }
    if (isBatchName(words.front().text)) return batch(words.front().text, depth);
    return run(planProgram(words.front().text, texts(words, 1)), true);
  }

  // START ["title"] [/WAIT] [/MIN] ... program-or-document [arguments]
  CommandResult start(const std::vector<Word>& words, int depth) {
    std::size_t i = 1;
    bool wait = false;
    bool titled = false;
    for (; i < words.size(); ++i) {
      if (words[i].quoted && !titled) {
        titled = true;  // the first quoted word is the window title
      } else if (!words[i].quoted && words[i].text.size() >= 2 && words[i].text.front() == '/') {
        if (upperText(words[i].text) == "/WAIT") wait = true;
      } else {
        break;
      }
    }
    if (i == words.size() || headless_) return {};
    const std::string& target = words[i].text;
    if (isBatchName(target)) return batch(target, depth);
    if (isProgramName(target)) {
      ProgramPlan plan = planProgram(target, texts(words, i + 1));
      plan.interactive = true;
      // Our own programs share the console and the key script: they are always waited for.
      return run(plan, wait || plan.systemProgram);
    }
    // A document: the desktop opens it with the program it belongs to.
    return run(openerPlan(hostPath(target).string()), wait);
  }

  CommandResult batch(const std::string& name, int depth) {
    if (depth >= kMaxBatchDepth) return {};
    std::ifstream in(hostPath(name), std::ios::binary);
    if (!in) return {};
    std::vector<std::string> lines;
    for (std::string l; std::getline(in, l);) lines.push_back(std::move(l));
    CommandResult result{true, 0};
    for (const auto& l : lines) {
      if (trimFront(l).empty()) continue;
      result.exitCode = line(l, depth + 1).exitCode;
    }
    return result;
  }

  CommandResult run(const ProgramPlan& plan, bool wait) {
    return runProgram(plan, console_, headless_, wait);
  }

  Console* console_;
  bool headless_;
};

}  // namespace

std::vector<std::string> splitCommandLine(std::string_view commandLine) {
  return texts(splitWords(commandLine), 0);
}

CommandResult runCommand(std::string_view commandLine, Console& console) {
  logCommand(commandLine);
  return Runner(&console, console.headless()).line(commandLine, 0);
}

CommandResult runCommand(std::string_view commandLine) {
  logCommand(commandLine);
  const char* keys = std::getenv("VELLANO_KEYS");
  return Runner(nullptr, keys != nullptr && *keys != '\0').line(commandLine, 0);
}

}  // namespace vellano::platform
