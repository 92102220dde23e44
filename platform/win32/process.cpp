// Starting programs on Windows: CreateProcessW with a command line quoted from our argument
// list (never through CMD), or the shell's own program for a document.
#include <windows.h>
#include <shellapi.h>

#include <string>
#include <vector>

#include "platform/process.h"
#include "platform/windows_args.h"

namespace vellano::platform {

namespace {

class Handle {
 public:
  explicit Handle(HANDLE h = nullptr) : h_(h) {}
  ~Handle() {
    if (h_ != nullptr && h_ != INVALID_HANDLE_VALUE) CloseHandle(h_);
  }
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  HANDLE get() const { return h_; }

 private:
  HANDLE h_;
};

// The NUL device, inheritable, for the standard handles a program must not have.
HANDLE openNul() {
  SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
  return CreateFileW(L"NUL", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                     OPEN_EXISTING, 0, nullptr);
}

SpawnResult openWithShell(const SpawnRequest& request) {
  if (request.args.empty()) return {};
  const std::wstring verb(request.shellVerb.begin(), request.shellVerb.end());
  const std::wstring file = std::filesystem::path(request.args.front()).wstring();
  SHELLEXECUTEINFOW info{};
  info.cbSize = sizeof info;
  info.fMask = SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI;
  info.lpVerb = verb.c_str();
  info.lpFile = file.c_str();
  info.nShow = SW_SHOWNORMAL;
  return {ShellExecuteExW(&info) != 0, 0};
}

}  // namespace

SpawnResult spawnProgram(const SpawnRequest& request) {
  if (!request.shellVerb.empty()) return openWithShell(request);
  if (request.executable.empty()) return {};
  const std::wstring program = request.executable.wstring();
  std::vector<std::wstring> args;
  args.reserve(request.args.size());
  for (const std::string& a : request.args) args.push_back(std::filesystem::path(a).wstring());
  std::wstring line = windowsCommandLine(program, args);

  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  const bool quiet = request.nullInput || request.nullOutput || request.nullErrors;
  Handle nul(quiet ? openNul() : nullptr);
  if (quiet) {
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = request.nullInput ? nul.get() : GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = request.nullOutput ? nul.get() : GetStdHandle(STD_OUTPUT_HANDLE);
    startup.hStdError = request.nullErrors ? nul.get() : GetStdHandle(STD_ERROR_HANDLE);
  }
  // Left running on its own, it gets no console of ours.
  const DWORD flags = request.wait ? 0 : (DETACHED_PROCESS | CREATE_NEW_PROCESS_GROUP);
  PROCESS_INFORMATION info{};
  if (!CreateProcessW(program.c_str(), line.data(), nullptr, nullptr, quiet ? TRUE : FALSE, flags, nullptr,
                      nullptr, &startup, &info)) {
    return {false, 127};
  }
  Handle process(info.hProcess);
  Handle thread(info.hThread);
  if (!request.wait) return {true, 0};
  WaitForSingleObject(info.hProcess, INFINITE);
  DWORD code = 0;
  GetExitCodeProcess(info.hProcess, &code);
  return {true, static_cast<int>(code)};
}

}  // namespace vellano::platform
