// Saves that span records or files, made safe for several terminals on one data folder.
//
// A save takes the folder's lock (an fcntl record lock on VELLANO.LCK, which network file
// systems pass on to their server), rolls forward a journal some earlier save left behind,
// and collects the record images it writes instead of writing them; reads of those records
// see the images. On commit the images go to the journal VELLANO.JNL (synced), then to their
// files (synced), then the journal is emptied. A save cut off at any point leaves the old state
// (the journal was never complete) or a complete journal that the next save or start-up
// applies: never half a save. The data files keep their format; a folder without a journal,
// or with an empty one, is as before.
#pragma once

#include <cstddef>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

#include "records/catalogue.h"
#include "records/context.h"

namespace vellano::records {

inline constexpr std::string_view kJournalName = "VELLANO.JNL";
inline constexpr std::string_view kLockName = "VELLANO.LCK";

// The folder the data prefix of the context points to: where the journal and the lock live.
std::filesystem::path dataFolder(const Context& context);

// The exclusive lock of a data folder, held while the object lives; blocks while another
// process holds it. Nested locks of one process on one folder share the first.
class FolderLock {
 public:
  explicit FolderLock(const std::filesystem::path& folder);
  ~FolderLock();
  FolderLock(const FolderLock&) = delete;
  FolderLock& operator=(const FolderLock&) = delete;

 private:
  std::string key_;
};

// One change of a save: a record image, or a file removed (before any image is applied).
struct JournalEntry {
  enum class Kind { Write, Remove };
  Kind kind = Kind::Write;
  std::string file;  // relative to the journal's folder, or absolute when elsewhere
  std::size_t length = 0;
  long record = 0;
  std::string bytes;
  friend bool operator==(const JournalEntry&, const JournalEntry&) = default;
};

// The journal's bytes; decoding gives nothing for a journal that was not completely written.
std::string encodeJournal(const std::vector<JournalEntry>& entries);
std::optional<std::vector<JournalEntry>> decodeJournal(std::string_view bytes);

// Writes the journal in `folder`, applies it and empties it; the caller holds the lock.
// `removeFiles`, when given, removes the files of the Remove entries in its own way.
void commitJournal(const std::filesystem::path& folder, const std::vector<JournalEntry>& entries,
                   const std::function<void()>& removeFiles = {});

// Applies a complete journal left in `folder` and empties it, or empties an incomplete one;
// the caller holds the lock. True when a save was completed.
bool rollForward(const std::filesystem::path& folder);

// Start-up: when a journal is left in `folder`, takes the lock and rolls it forward.
bool recoverFolder(const std::filesystem::path& folder);
// Whether `folder` holds a journal that is not empty (a save that did not finish).
bool journalPending(const std::filesystem::path& folder);

// The record images of an open save, by file (absolute path), record length and number.
class PendingWrites {
 public:
  const std::string* find(const std::string& file, std::size_t length, long record) const;
  bool removed(const std::string& file) const { return removed_.count(file) > 0; }
  void put(const std::string& file, std::size_t length, long record, std::string bytes);
  void remove(const std::string& file);
  // The highest record with an image in the file, 0 when none.
  long lastRecord(const std::string& file, std::size_t length) const;
  bool empty() const { return images_.empty() && removed_.empty(); }
  // The journal entries, names relative to `folder` where they lie in it: removals first.
  std::vector<JournalEntry> entries(const std::filesystem::path& folder) const;

 private:
  std::map<std::tuple<std::string, std::size_t, long>, std::string> images_;
  std::set<std::string> removed_;
};

// The save of one operation on a catalogue. A save opened while another is open on the same
// catalogue joins it: the outer one commits or discards.
class SaveTransaction {
 public:
  explicit SaveTransaction(Catalogue& catalogue);
  ~SaveTransaction();  // without commit: nothing is written
  SaveTransaction(const SaveTransaction&) = delete;
  SaveTransaction& operator=(const SaveTransaction&) = delete;

  // The file goes when the save commits; until then it reads as empty.
  void removeFile(const std::filesystem::path& path);
  // Journal, files, journal removed. `removeFiles` as for commitJournal.
  void commit(const std::function<void()>& removeFiles = {});

 private:
  Catalogue& catalogue_;
  bool outermost_ = false;
  std::filesystem::path folder_;
  std::optional<FolderLock> lock_;
};

// The absolute, normalised form of a path under which the images of its file are kept.
std::string fileKey(const std::filesystem::path& path);

}  // namespace vellano::records
