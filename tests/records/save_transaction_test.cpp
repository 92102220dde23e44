// Saves across records and files: the journal's form, the images a save collects, commit and
// discard, the roll-forward of a journal left behind, the register header check, and the lock
// as another process sees it.
#include "records/save_transaction.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "records/register_guard.h"
#include "records/registration_files.h"
#include "platform/error.h"
#include "support/work_folder.h"

namespace vellano::records {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;

const std::vector<JournalEntry> kEntries{
    {JournalEntry::Kind::Remove, "CDIVA11.DAT", 0, 0, {}},
    {JournalEntry::Kind::Write, "VENDIT11.DAT", 6, 3, "AB\0\nCD"s},
    {JournalEntry::Kind::Write, "/elsewhere/INDVEN11.DAT", 4, 1, " 12 "},
};

TEST(Journal, RoundTripsRecordsWithAnyBytes) {
  const std::optional<std::vector<JournalEntry>> back = decodeJournal(encodeJournal(kEntries));
  ASSERT_TRUE(back.has_value());
  EXPECT_EQ(*back, kEntries);
  EXPECT_EQ(decodeJournal(encodeJournal({})), std::vector<JournalEntry>{});
}

TEST(Journal, ATornOrDamagedJournalIsNoJournal) {
  const std::string whole = encodeJournal(kEntries);
  for (std::size_t n = 0; n < whole.size(); ++n) {
    SCOPED_TRACE("cut at " + std::to_string(n));
    EXPECT_FALSE(decodeJournal(whole.substr(0, n)).has_value());
  }
  for (std::size_t at = 0; at < whole.size(); ++at) {
    SCOPED_TRACE("byte " + std::to_string(at));
    std::string damaged = whole;
    damaged[at] = static_cast<char>(damaged[at] ^ 0x01);
    EXPECT_FALSE(decodeJournal(damaged).has_value());
  }
  EXPECT_FALSE(decodeJournal(whole + "x").has_value());
}

class SaveFolder : public vellano::testing::WorkFolder {
 protected:
  void SetUp() override {
    WorkFolder::SetUp();
    context_.dataPrefix = "C:";
    context_.yearSuffix = "11";
    context_.companyExtension = "DAT";
    catalogue_ = std::make_unique<Catalogue>(context_);
    setRegisterStems(*catalogue_, kSalesStems);
  }
  void TearDown() override {
    catalogue_.reset();
    WorkFolder::TearDown();
  }
  Catalogue& catalogue() { return *catalogue_; }
  // Puts `bytes` in the channel's buffer and writes record n.
  void put(int channel, long n, const std::string& bytes) {
    Channel& ch = openChannel(catalogue(), channel);
    ch.buffer().bytes() = padded(bytes, catalogue().recordLength(channel));
    ch.write(n);
  }
  std::string get(int channel, long n) {
    Channel& ch = openChannel(catalogue(), channel);
    ch.read(n);
    return ch.buffer().bytes();
  }
  static std::string padded(const std::string& s, std::size_t n) {
    std::string out = s;
    out.resize(n, ' ');
    return out;
  }

  Context context_;
  std::unique_ptr<Catalogue> catalogue_;
};

// The journal names the files of its own folder without it, so the folder may be reached
// under another path (another mount point, another terminal) when it is rolled forward.
TEST_F(SaveFolder, TheJournalNamesFilesRelativeToItsFolder) {
  PendingWrites pending;
  pending.put(fileKey("VENDIT11.DAT"), 200, 2, std::string(200, 'x'));
  pending.put(fileKey(fs::current_path() / "sub" / "A.DAT"), 4, 1, "abcd");
  pending.remove(fileKey("./CDIVA11.DAT"));
  for (const fs::path& folder : {fs::path("."), fs::current_path(), fs::path(fs::current_path().string() + "/")}) {
    SCOPED_TRACE(folder.string());
    const std::vector<JournalEntry> entries = pending.entries(folder);
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0].file, "CDIVA11.DAT");
    EXPECT_EQ(entries[0].kind, JournalEntry::Kind::Remove);
    EXPECT_EQ(entries[1].file, "VENDIT11.DAT");
    EXPECT_EQ(entries[2].file, (fs::current_path() / "sub" / "A.DAT").string());
  }
}

TEST_F(SaveFolder, ASaveWritesNothingUntilItCommitsAndItsReadsSeeItsImages) {
  put(4, 1, "FIRST");
  {
    SaveTransaction save(catalogue());
    put(4, 1, "CHANGED");
    put(4, 3, "THIRD");
    put(8, 2, "BALANCE");
    EXPECT_EQ(get(4, 1), padded("CHANGED", 200));
    EXPECT_EQ(get(4, 2), std::string(200, '\0'));
    EXPECT_EQ(catalogue().channel(4).recordCount(), 3);
    EXPECT_EQ(readFile("VENDIT11.DAT"), padded("FIRST", 200));
    EXPECT_EQ(fs::file_size("PSALCL11.DAT"), 0u);
    save.commit();
  }
  EXPECT_EQ(readFile("VENDIT11.DAT"), padded("CHANGED", 200) + std::string(200, '\0') + padded("THIRD", 200));
  EXPECT_EQ(readFile("PSALCL11.DAT"), std::string(30, '\0') + padded("BALANCE", 30));
  EXPECT_EQ(readFile("VELLANO.JNL"), "");
  EXPECT_FALSE(journalPending("."));
  EXPECT_TRUE(fs::exists("VELLANO.LCK"));
}

TEST_F(SaveFolder, ASaveLeftWithoutCommitChangesNothing) {
  put(4, 1, "FIRST");
  {
    SaveTransaction save(catalogue());
    put(4, 1, "CHANGED");
    put(8, 1, "BALANCE");
  }
  EXPECT_EQ(get(4, 1), padded("FIRST", 200));
  EXPECT_EQ(readFile("VENDIT11.DAT"), padded("FIRST", 200));
  EXPECT_EQ(fs::file_size("PSALCL11.DAT"), 0u);
  // Writes after it go straight to the file again.
  put(4, 1, "AFTER");
  EXPECT_EQ(readFile("VENDIT11.DAT"), padded("AFTER", 200));
}

TEST_F(SaveFolder, ASaveOpenedInsideAnotherJoinsIt) {
  SaveTransaction outer(catalogue());
  {
    SaveTransaction inner(catalogue());
    put(4, 1, "INNER");
    inner.commit();
  }
  EXPECT_EQ(fs::file_size("VENDIT11.DAT"), 0u);
  EXPECT_EQ(get(4, 1), padded("INNER", 200));
  outer.commit();
  EXPECT_EQ(readFile("VENDIT11.DAT"), padded("INNER", 200));
}

TEST_F(SaveFolder, ARemovedFileReadsEmptyAndComesBackWithTheSavesImagesOnly) {
  put(5, 1, "OLD ONE");
  put(5, 2, "OLD TWO");
  catalogue().close(5);
  bool removerRan = false;
  {
    SaveTransaction save(catalogue());
    save.removeFile("CDIVA11.DAT");
    EXPECT_EQ(get(5, 1), std::string(21, '\0'));
    EXPECT_EQ(catalogue().channel(5).recordCount(), 0);
    put(5, 2, "NEW TWO");
    catalogue().close(5);
    save.commit([&] {
      removerRan = true;
      fs::remove("CDIVA11.DAT");
    });
  }
  EXPECT_TRUE(removerRan);
  EXPECT_EQ(readFile("CDIVA11.DAT"), std::string(21, '\0') + padded("NEW TWO", 21));
}

TEST_F(SaveFolder, AJournalLeftBehindIsCompletedAndATornOneDropped) {
  writeFile("VENDIT11.DAT", "old!");
  writeFile("GONE.DAT", "x");
  const std::vector<JournalEntry> entries{{JournalEntry::Kind::Remove, "GONE.DAT", 0, 0, {}},
                                          {JournalEntry::Kind::Write, "VENDIT11.DAT", 4, 2, "new!"},
                                          {JournalEntry::Kind::Write, "INDVEN11.DAT", 4, 1, " 2  "}};
  writeFile("VELLANO.JNL", encodeJournal(entries));
  EXPECT_TRUE(recoverFolder("."));
  EXPECT_EQ(readFile("VENDIT11.DAT"), "old!new!");
  EXPECT_EQ(readFile("INDVEN11.DAT"), " 2  ");
  EXPECT_FALSE(fs::exists("GONE.DAT"));
  EXPECT_FALSE(journalPending("."));

  // Cut short before its end: its save never touched a file, so nothing is applied.
  const std::string torn = encodeJournal({{JournalEntry::Kind::Write, "VENDIT11.DAT", 4, 1, "torn"}});
  writeFile("VELLANO.JNL", torn.substr(0, torn.size() - 3));
  EXPECT_FALSE(recoverFolder("."));
  EXPECT_EQ(readFile("VENDIT11.DAT"), "old!new!");
  EXPECT_FALSE(journalPending("."));

  // The next save finds a journal too, before it reads anything.
  writeFile("VELLANO.JNL", encodeJournal({{JournalEntry::Kind::Write, "VENDIT11.DAT", 200, 1, std::string(200, 'J')}}));
  SaveTransaction save(catalogue());
  EXPECT_EQ(get(4, 1), std::string(200, 'J'));
  EXPECT_FALSE(journalPending("."));
}

TEST_F(SaveFolder, AFolderWithoutJournalOrWithAnEmptyOneIsLeftAsItIs) {
  EXPECT_FALSE(recoverFolder("."));
  EXPECT_TRUE(fs::is_empty("."));
  writeFile("VELLANO.JNL", "");
  EXPECT_FALSE(recoverFolder("."));
  EXPECT_FALSE(fs::exists("VELLANO.LCK"));
}

TEST_F(SaveFolder, TheLockIsSeenByAnotherProcessUntilTheSaveEnds) {
  // Whether another process would find the folder locked, asked from a child process.
  auto lockedForOthers = [] {
    const pid_t pid = fork();
    if (pid == 0) {
      const int fd = ::open("VELLANO.LCK", O_RDWR);
      if (fd < 0) _exit(2);
      struct flock probe {};
      probe.l_type = F_WRLCK;
      probe.l_whence = SEEK_SET;
      if (::fcntl(fd, F_GETLK, &probe) != 0) _exit(2);
      _exit(probe.l_type == F_UNLCK ? 0 : 1);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  };
  {
    SaveTransaction save(catalogue());
    EXPECT_EQ(lockedForOthers(), 1);
    put(4, 1, "X");
    save.commit();
    EXPECT_EQ(lockedForOthers(), 0);
  }
  {
    SaveTransaction discarded(catalogue());
    EXPECT_EQ(lockedForOthers(), 1);
  }
  EXPECT_EQ(lockedForOthers(), 0);
}

// The register header check refuses any save whose counts fall short of their files.
TEST_F(SaveFolder, AHeaderBehindItsFilesRefusesTheSave) {
  struct Case {
    const char* what;
    int count;
    int payments;
    long registrations;  // records in use on file
    long paymentRecords;
    bool refused;
  };
  const Case cases[] = {
      {"agrees", 3, 2, 3, 2, false},
      {"empty register", 0, 0, 0, 0, false},
      {"count above the file", 5, 0, 3, 0, false},
      {"count zeroed", 0, 2, 3, 2, true},
      {"count lowered", 2, 2, 3, 2, true},
      {"payment count lowered", 3, 1, 3, 2, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    catalogue().closeAll();
    for (const char* f : {"INDVEN11.DAT", "VENDIT11.DAT", "PAGVEN11.DAT"}) fs::remove(f);
    RegisterHeader header;
    header.count = c.count;
    header.payments = c.payments;
    openRegister(catalogue(), RegisterKind::Sales);
    writeHeader(catalogue(), header);
    for (long n = 1; n <= c.registrations; ++n) put(4, n, "150511");
    for (long n = 1; n <= c.paymentRecords; ++n) put(12, n, "    1150511");
    // A blank record after the last one in use is no registration.
    put(4, c.registrations + 1, "");
    SaveTransaction save(catalogue());
    try {
      const RegisterHeader read = headerForSave(catalogue(), RegisterKind::Sales);
      EXPECT_FALSE(c.refused);
      EXPECT_EQ(read.count, c.count);
    } catch (const RuntimeError& e) {
      EXPECT_TRUE(c.refused);
      EXPECT_EQ(e.number(), error::kPathFileAccess);
      EXPECT_EQ(e.detail().substr(0, e.detail().find('\n')), "INDVEN11.DAT");
      EXPECT_NE(e.detail().find("Registro VENDITE"), std::string::npos);
      EXPECT_NE(e.detail().find("vellano-check --repair"), std::string::npos);
    }
  }
}

TEST(RegistrationPlace, NewOnesGoAfterTheLastOnFileAndTakeTheProposalAsItIsNow) {
  RegisterHeader opened;
  opened.count = 4;
  opened.protocol = {7, 0, 0, 0, 0};
  RegisterHeader now = opened;
  now.count = 6;
  now.protocol = {9, 0, 0, 0, 0};
  struct Case {
    const char* what;
    long current;
    const char* section;
    const char* protocol;
    long place;
    const char* protocolAfter;
  };
  const Case cases[] = {
      {"existing one stays", 3, "1", "3", 3, "3"},
      {"new one, proposal taken", 5, "1", "8", 7, "10"},
      {"new one, own number kept", 5, "1", "20", 7, "20"},
      {"new one in another sezionale", 5, "2", "1", 7, "1"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Registration r;
    r.section = c.section;
    r.protocolNumber = c.protocol;
    EXPECT_EQ(placeRegistration(opened, now, c.current, r), c.place);
    EXPECT_EQ(r.protocolNumber, c.protocolAfter);
  }
  RegisterHeader full = now;
  full.count = kMaxRegistrations;
  Registration r;
  EXPECT_THROW(placeRegistration(opened, full, 5, r), RuntimeError);
  RegisterHeader payments = opened;
  payments.payments = 2;
  RegisterHeader paymentsNow = payments;
  paymentsNow.payments = 5;
  EXPECT_EQ(placePayment(payments, paymentsNow, 2), 2);
  EXPECT_EQ(placePayment(payments, paymentsNow, 3), 6);
}

}  // namespace
}  // namespace vellano::records
