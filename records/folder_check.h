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
// Shown instead of the question for a name holding control characters.
inline constexpr std::string_view kInvalidFolderNote = "Nome non valido: caratteri di controllo";

// "La Cartella " + folder + " non esiste."
std::string missingFolderMessage(std::string_view folder);

// The dialogue of the folder question; the error box implements it.
class FolderPrompt {
 public:
  virtual ~FolderPrompt() = default;
  // Shows the message and the question and returns the one-letter answer typed.
  virtual std::string ask(std::string_view message, std::string_view question) = 0;
  // Shows the message and the note and waits for a key.
  virtual void tell(std::string_view message, std::string_view note) = 0;
};

// True when the name holds a byte below 32 or 127. Letters of the console code page (bytes
// from 128 on, "CONTABILIT\xB7") are valid in a folder name.
bool hasControlCharacters(std::string_view name);

// Serves error 76: asks, creates the folder on "S", otherwise (or when it cannot be made)
// sets the folder-refused flag. The folder is the one the error names, else the context's
// current folder. A name holding control characters (a damaged TTY.DAT) is never offered
// for creation: it is shown, control bytes as "?", with kInvalidFolderNote, and false is
// returned, so the error goes on to the error box and ends the program (asking again at
// every step would never end, and no answer could make such a folder right).
bool checkFolder(Context& context, FolderPrompt& prompt, const RuntimeError& error);

enum class Outcome {
  done,         // the operation completed
  probed,       // error 76 or 6 under the probe flag: flag now -1
  folderAsked,  // error 76 served by the folder question
};

// Decides for an error: probe flag, folder question, or false when it is not ours (or names
// a folder that cannot be valid).
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
