// Errors that do not stop the program: a missing folder (error 76) is offered for creation,
// and with the probe flag at 1 errors 76 and 6 only mark the flag. Execution goes on with
// the step after the failed operation, which is not repeated.
#pragma once

#include <string>
#include <string_view>
#include <utility>

#include "records/context.h"
#include "platform/error.h"

namespace vellano::records {

inline constexpr std::string_view kCreateFolderQuestion = "            Vuoi crearla [S/N]: ";

// "La Cartella " + folder + " non esiste."
std::string missingFolderMessage(std::string_view folder);

// The dialogue of the folder question; the error box implements it.
class FolderPrompt {
 public:
  virtual ~FolderPrompt() = default;
  // Shows the message and the question and returns the one-letter answer typed.
  virtual std::string ask(std::string_view message, std::string_view question) = 0;
};

// Serves error 76: asks, creates the folder on "S", otherwise (or when it cannot be made)
// sets the folder-refused flag. The folder is the one the error names, else the context's
// current folder.
void checkFolder(Context& context, FolderPrompt& prompt, const RuntimeError& error);

enum class Outcome {
  done,         // the operation completed
  probed,       // error 76 or 6 under the probe flag: flag now -1
  folderAsked,  // error 76 served by the folder question
};

// Decides for an error: probe flag, folder question, or false when it is not ours.
bool absorbError(Context& context, FolderPrompt& prompt, const RuntimeError& error,
                 Outcome* outcome = nullptr);

// Runs the operation; errors the rules above absorb end it and execution continues, any
// other run-time error is rethrown to the error box.
template <typename Operation>
Outcome guarded(Context& context, FolderPrompt& prompt, Operation&& operation) {
  try {
    std::forward<Operation>(operation)();
    return Outcome::done;
  } catch (const RuntimeError& error) {
    Outcome outcome = Outcome::done;
    if (!absorbError(context, prompt, error, &outcome)) throw;
    return outcome;
  }
}

}  // namespace vellano::records
