// The folder question and the probe flag.
#include "records/folder_check.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "records/text.h"
#include "platform/dos_path.h"

namespace vellano::records {

std::string missingFolderMessage(std::string_view folder) {
  return "La Cartella " + std::string(folder) + " non esiste.";
}

namespace {

bool isControl(char c) {
  const auto byte = static_cast<unsigned char>(c);
  return byte < 32 || byte == 127;
}

// The name as it can be read on the screen: each control byte a "?".
std::string visibleName(std::string_view name) {
  std::string shown(name);
  std::replace_if(shown.begin(), shown.end(), isControl, '?');
  return shown;
}

}  // namespace

bool hasControlCharacters(std::string_view name) { return std::any_of(name.begin(), name.end(), isControl); }

bool checkFolder(Context& context, FolderPrompt& prompt, const RuntimeError& error) {
  // The error names the host folder that is missing; a screen that knows the DOS folder
  // it works on sets currentFolder instead of relying on the error.
  std::filesystem::path toCreate;
  if (!error.detail().empty()) {
    context.currentFolder = error.detail();
    toCreate = error.detail();
  } else {
    toCreate = platform::hostPath(context.currentFolder);
  }
  if (hasControlCharacters(context.currentFolder) || hasControlCharacters(toCreate.string())) {
    prompt.tell(missingFolderMessage(visibleName(context.currentFolder)), kInvalidFolderNote);
    context.folderRefused = true;
    return false;
  }
  const std::string answer = trim(prompt.ask(missingFolderMessage(context.currentFolder),
                                             kCreateFolderQuestion));
  if (upper(answer) != "S" || toCreate.empty()) {
    context.folderRefused = true;
    return true;
  }
  std::error_code failed;
  std::filesystem::create_directories(toCreate, failed);
  // A folder that could not be made is as good as refused: the screen must not go on as
  // if it were there.
  if (failed || !std::filesystem::is_directory(toCreate)) context.folderRefused = true;
  return true;
}

bool absorbError(Context& context, FolderPrompt& prompt, const RuntimeError& error,
                 Outcome* outcome) {
  const int number = error.number();
  if (context.probeFlag == 1 && (number == error::kPathNotFound || number == error::kOverflow)) {
    context.probeFlag = -1;
    if (outcome) *outcome = Outcome::probed;
    return true;
  }
  if (number == error::kPathNotFound) {
    if (!checkFolder(context, prompt, error)) return false;
    if (outcome) *outcome = Outcome::folderAsked;
    return true;
  }
  return false;
}

}  // namespace vellano::records
