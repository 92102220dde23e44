// Several terminals on one data folder, and saves cut off at every step: two real VELLA10W
// processes saving registrations and payments at once, one terminal saving while another has
// the register open, a save killed or failing at each of its writes in turn, and the refusal
// of a register whose header no longer matches its file.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "entry/payments.h"
#include "entry/zeroing.h"
#include "entry_support.h"
#include "records/cash_bank_file.h"
#include "outside/folder_audit.h"
#include "records/numbers.h"
#include "records/save_transaction.h"
#include "records/write_faults.h"
#include "screen/error_box.h"
#include "support/run_program.h"

namespace vellano::entry {
namespace {

namespace fs = std::filesystem;
using testing::cells;
using testing::oneLine;
using testing::RegisterFolder;

// A new registration for `customer` at 20 % on `taxable`, its note `note`, document and
// protocol as offered.
std::string newRegistration(int customer, const std::string& note, const std::string& taxable) {
  return "\"0\" <ENTER> <ENTER> <CTRL-DEL> \"" + std::to_string(customer) + "\" <ENTER> <ENTER> <ENTER> \"" + note +
         "\" <ENTER> <ENTER*4> <ENTER*3> <CTRL-DEL> \"20\" <ENTER> <CTRL-DEL> \"" + taxable + "\" <ENTER> <ENTER*5> ";
}
// A new receipt from `customer` of `amount` into cash/bank account 1.
std::string newPayment(int customer, const std::string& amount, const std::string& description) {
  return "\"0\" <ENTER> \"" + std::to_string(customer) + "\" <ENTER> <ENTER> \"" + amount + "\" <ENTER> \"1\" <ENTER> \"" +
         description + "\" <ENTER> ";
}

// Every file of the folder but the lock and the run files, name to bytes.
using Snapshot = std::map<std::string, std::string>;

// On a memory file system where there is one: these tests are about what reaches the files
// and in which order, and a disk's syncs would make them minutes long.
class SharedFolder : public RegisterFolder {
 protected:
  void SetUp() override {
    const char* tmp = std::getenv("TMPDIR");
    const std::string saved = tmp ? tmp : "";
    std::error_code ec;
    if (fs::is_directory("/dev/shm", ec)) setenv("TMPDIR", "/dev/shm", 1);
    RegisterFolder::SetUp();
    if (tmp) setenv("TMPDIR", saved.c_str(), 1);
    else unsetenv("TMPDIR");
    masters();
  }
  void masters() {
    customers({"ALFA SRL", "BETA SPA", "GAMMA SNC"});
    records::writeCashBank(catalogue(), 1, records::CashBank{"Cassa", 0, 0});
    records::writeCounter(catalogue(), records::kCashBankCounter, 1);
    catalogue().closeAll();
  }
  // Nothing but the working date and the master files, for the next case of a table.
  void startOver() {
    catalogue().closeAll();
    restore({});
    writeFile("DATA.DAT", std::string(testing::kWorkingDate) + std::string(11, ' '));
    masters();
  }

  // VELLA10W started headless here on its own key and screen files; waited for by `finish`.
  pid_t start(const std::string& tag, const std::string& script) {
    const fs::path here = fs::current_path();
    writeFile(here / (tag + ".keys"), script);
    const std::string keys = (here / (tag + ".keys")).string();
    const std::string screens = (here / (tag + ".screens")).string();
    const std::string commands = (here / (tag + ".commands")).string();
    const std::string program = std::string(VELLANO_BIN_DIR) + "/VELLA10W";
    const pid_t pid = fork();
    if (pid == 0) {
      setenv("VELLANO_KEYS", keys.c_str(), 1);
      setenv("VELLANO_SCREEN", screens.c_str(), 1);
      setenv("VELLANO_COMMANDS", commands.c_str(), 1);
      execl(program.c_str(), program.c_str(), static_cast<char*>(nullptr));
      _exit(127);
    }
    return pid;
  }
  static int finish(pid_t pid) {
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

  // What the check program finds, and any account whose balance differs from its postings.
  static std::vector<std::string> inconsistencies() {
    std::vector<std::string> found;
    for (const outside::Finding& f : outside::checkFolder()) found.push_back(f.line());
    for (const outside::AccountBalance& b : outside::folderBalances())
      if (records::round2(b.storedDare - b.postedDare) != 0 || records::round2(b.storedAvere - b.postedAvere) != 0)
        found.push_back(b.account + ": saldo diverso dai movimenti");
    return found;
  }

  static Snapshot snapshot() {
    Snapshot files;
    for (const fs::directory_entry& e : fs::directory_iterator(".")) {
      const std::string name = e.path().filename().string();
      // A missing file reads as an empty one: opening a channel may make it.
      if (!e.is_regular_file() || e.file_size() == 0 || name == records::kLockName) continue;
      const std::string ext = e.path().extension().string();
      if (ext == ".keys" || ext == ".screens" || ext == ".commands") continue;
      files[name] = readFile(e.path());
    }
    return files;
  }
  static void restore(const Snapshot& files) {
    for (const fs::directory_entry& e : fs::directory_iterator(".")) {
      const std::string ext = e.path().extension().string();
      if (e.is_regular_file() && ext != ".keys" && ext != ".screens" && ext != ".commands") fs::remove(e.path());
    }
    for (const auto& [name, bytes] : files) writeFile(name, bytes);
  }

  std::vector<std::string> notes(records::RegisterKind kind) {
    std::vector<std::string> out;
    const records::RegisterHeader h = readHeader(kind);
    for (long n = 1; n <= h.count; ++n) out.push_back(read(kind, n).note);
    catalogue().closeAll();
    return out;
  }
  std::vector<std::string> paymentDescriptions() {
    std::vector<std::string> out;
    const records::RegisterHeader h = readHeader(records::RegisterKind::Sales);
    for (long n = 1; n <= h.payments; ++n) {
      catalogue().channel(12).read(n);
      records::Payment p;
      records::L_12(catalogue(), p);
      out.push_back(p.description);
    }
    catalogue().closeAll();
    return out;
  }

  // A screen of the entry program run in-process on a key script until the keys run out.
  void runInProcess(const std::string& script, const std::function<void(screen::Session&)>& screenToRun,
                    std::unique_ptr<platform::Backend> backend = nullptr) {
    catalogue().closeAll();
    if (!backend) backend = platform::scriptedBackend(script);
    platform::Console console(std::move(backend));
    screen::FieldEditor editor(console);
    screen::FunctionKeyPanel panel;
    screen::ErrorBox errorBox(console, context_, editor);
    screen::Session session{console, catalogue(), editor, panel, errorBox};
    try {
      screenToRun(session);
    } catch (const platform::KeysExhausted&) {
    }
    catalogue().closeAll();
  }
};

// 2 x 50 saves at once, ten times over: every one is there once, the count follows, and the
// balances are what the registrations and payments post.
TEST_F(SharedFolder, TwoTerminalsSavingRegistrationsAtOnceLoseNothing) {
  std::multiset<std::string> expected;
  for (int round = 0; round < 10; ++round) {
    SCOPED_TRACE("round " + std::to_string(round));
    const int before = readHeader(records::RegisterKind::Sales).count;
    catalogue().closeAll();
    std::string a = "\"v\" ", b = "\"v\" ";
    for (int i = 0; i < 50; ++i) {
      const std::string tag = std::to_string(round) + "-" + std::to_string(i);
      a += newRegistration(i % 3 + 1, "A" + tag, std::to_string(100 + i) + ".25");
      b += newRegistration((i + 1) % 3 + 1, "B" + tag, std::to_string(200 + i) + ".40");
      expected.insert("A" + tag);
      expected.insert("B" + tag);
    }
    const pid_t first = start("a", a + "<ESC> <ESC>");
    const pid_t second = start("b", b + "<ESC> <ESC>");
    ASSERT_EQ(finish(first), 0);
    ASSERT_EQ(finish(second), 0);
    EXPECT_EQ(readHeader(records::RegisterKind::Sales).count, before + 100);
    const std::vector<std::string> saved = notes(records::RegisterKind::Sales);
    EXPECT_EQ(std::multiset<std::string>(saved.begin(), saved.end()), expected);
    EXPECT_EQ(inconsistencies(), std::vector<std::string>{});
  }
}

TEST_F(SharedFolder, TwoTerminalsSavingPaymentsAtOnceLoseNothing) {
  std::multiset<std::string> expected;
  for (int round = 0; round < 10; ++round) {
    SCOPED_TRACE("round " + std::to_string(round));
    const int before = readHeader(records::RegisterKind::Sales).payments;
    catalogue().closeAll();
    std::string a = "\"v\" <F2> ", b = "\"v\" <F2> ";
    for (int i = 0; i < 50; ++i) {
      const std::string tag = std::to_string(round) + "-" + std::to_string(i);
      a += newPayment(i % 3 + 1, std::to_string(10 + i) + ".10", "A" + tag);
      b += newPayment((i + 2) % 3 + 1, std::to_string(20 + i) + ".30", "B" + tag);
      expected.insert("A" + tag);
      expected.insert("B" + tag);
    }
    const pid_t first = start("a", a + "<ESC> <ESC> <ESC>");
    const pid_t second = start("b", b + "<ESC> <ESC> <ESC>");
    ASSERT_EQ(finish(first), 0);
    ASSERT_EQ(finish(second), 0);
    EXPECT_EQ(readHeader(records::RegisterKind::Sales).payments, before + 100);
    const std::vector<std::string> saved = paymentDescriptions();
    EXPECT_EQ(std::multiset<std::string>(saved.begin(), saved.end()), expected);
    EXPECT_EQ(inconsistencies(), std::vector<std::string>{});
  }
}

// Hands the keys of a script over one by one and lets another terminal work once, when
// `left` keys are left.
class InterleavedKeys : public platform::Backend {
 public:
  InterleavedKeys(std::string_view script, std::size_t left, std::function<void()> other)
      : inner_(platform::scriptedBackend(script)), left_(left), other_(std::move(other)) {}
  void present(const platform::ScreenBuffer& s, const platform::CursorState& c, const std::string& t) override {
    inner_->present(s, c, t);
  }
  platform::KeyEvent readKey() override {
    if (other_ && inner_->pending() == left_) std::exchange(other_, nullptr)();
    return inner_->readKey();
  }
  void beep() override { inner_->beep(); }
  bool headless() const override { return true; }
  void releaseForChild(bool systemProgram) override { inner_->releaseForChild(systemProgram); }
  void reclaimAfterChild(bool systemProgram) override { inner_->reclaimAfterChild(systemProgram); }
  void finish(const platform::ScreenBuffer& s, const std::string& t) override { inner_->finish(s, t); }

 private:
  std::unique_ptr<platform::HeadlessBackend> inner_;
  std::size_t left_;
  std::function<void()> other_;
};

// Terminal A has the register open and types; terminal B saves; then A saves.
TEST_F(SharedFolder, WhatAnotherTerminalSavedWhileTheRegisterWasOpenStays) {
  struct Case {
    const char* what;
    std::vector<records::Registration> before;
    std::string a;  // in the register screen; its last five keys save
    std::string b;  // from the main menu
    std::vector<std::string> notes;
    double dare1, dare2;  // customers 1 and 2
    int protocol;         // the last protocol of sezionale 1 after both
  };
  records::Registration one = oneLine("1", "20", "100");
  one.note = "ONE";
  const Case cases[] = {
      {"both new", {}, newRegistration(1, "A", "100"), "\"v\" " + newRegistration(1, "B", "200") + "<ESC> <ESC>",
       {"B", "A"}, 360.00, 0, 2},
      {"both change registration 1", {one},
       "\"1\" <ENTER> <ENTER> <CTRL-DEL> \"2\" <ENTER> <ENTER> <ENTER> <CTRL-DEL> \"A\" <ENTER> <ENTER*4> "
       "<ENTER*3> <CTRL-DEL> \"20\" <ENTER> <CTRL-DEL> \"300\" <ENTER> <ENTER*5> ",
       "\"v\" \"1\" <ENTER> <ENTER> <ENTER> <ENTER> <ENTER> <CTRL-DEL> \"B\" <ENTER> <ENTER*4> "
       "<ENTER*3> <CTRL-DEL> \"20\" <ENTER> <CTRL-DEL> \"50\" <ENTER> <ENTER*5> <ESC> <ESC>",
       {"A"}, 0, 360.00, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    startOver();
    if (!c.before.empty()) {
      records::RegisterHeader h;
      h.protocol[0] = 1;
      registrations(records::RegisterKind::Sales, c.before, h);
      records::openRegister(catalogue(), records::RegisterKind::Sales);
      records::W_8(catalogue(), records::BalanceTotals{120, 0});
      catalogue().channel(8).write(1);
    }
    catalogue().closeAll();
    int bStatus = -1;
    // Straight to the other program: this terminal keeps its files open meanwhile.
    auto other = [&] { bStatus = vellano::testing::runHeadless("VELLA10W", {}, fs::current_path(), c.b).status; };
    runInProcess({}, [](screen::Session& s) { runSalesRegister(s); },
                 std::make_unique<InterleavedKeys>(c.a, 5, other));
    EXPECT_EQ(bStatus, 0);
    EXPECT_EQ(notes(records::RegisterKind::Sales), c.notes);
    EXPECT_EQ(balance(records::RegisterKind::Sales, 1).dare, c.dare1);
    EXPECT_EQ(balance(records::RegisterKind::Sales, 2).dare, c.dare2);
    EXPECT_EQ(readHeader(records::RegisterKind::Sales).protocol[0], c.protocol);
    catalogue().closeAll();
    EXPECT_EQ(inconsistencies(), std::vector<std::string>{});
  }
}

// Each save is cut at each of its steps in turn, by a kill or by an I/O error. After a restart
// the files are all as before the save or all as after it, and consistent.
TEST_F(SharedFolder, ASaveCutAtAnyStepLeavesTheOldStateOrTheNewOne) {
  records::RegisterHeader h;
  h.protocol[0] = 1;
  records::Registration one = oneLine("1", "20", "100");
  registrations(records::RegisterKind::Sales, {one}, h);
  records::openRegister(catalogue(), records::RegisterKind::Sales);
  records::W_8(catalogue(), records::BalanceTotals{120, 0});
  catalogue().channel(8).write(1);
  catalogue().closeAll();
  const Snapshot old = snapshot();

  struct Save {
    const char* what;
    std::function<void(screen::Session&)> screen;
    std::string script;
  };
  const Save saves[] = {
      {"new registration", runSalesRegister, newRegistration(2, "NEW", "50")},
      {"changed registration", runSalesRegister,
       "\"1\" <ENTER> <ENTER> <CTRL-DEL> \"3\" <ENTER> <ENTER*7> <ENTER*3> <CTRL-DEL> \"20\" <ENTER> "
       "<CTRL-DEL> \"300\" <ENTER> <ENTER*5> "},
      {"new payment", runSalesRegister, "<F2> " + newPayment(1, "75", "PAG")},
      {"zeroing", [](screen::Session& s) { zeroRegistrations(s, 3, 0); }, ""},
  };
  for (const Save& save : saves) {
    SCOPED_TRACE(save.what);
    restore(old);
    runInProcess(save.script, save.screen);
    const Snapshot saved = snapshot();
    ASSERT_NE(saved, old);
    ASSERT_EQ(inconsistencies(), std::vector<std::string>{});

    for (const bool kill : {true, false}) {
      int steps = 0;
      for (int cut = 1;; ++cut) {
        SCOPED_TRACE(std::string(kill ? "killed" : "I/O error") + " at step " + std::to_string(cut));
        restore(old);
        bool reached = false;
        if (kill) {
          const pid_t pid = fork();
          if (pid == 0) {
            int step = 0;
            records::faults::setHook([&](records::faults::Step, const fs::path&) {
              if (++step == cut) _exit(9);
              return 0;
            });
            runInProcess(save.script, save.screen);
            _exit(0);
          }
          int status = 0;
          waitpid(pid, &status, 0);
          ASSERT_TRUE(WIFEXITED(status));
          reached = WEXITSTATUS(status) == 9;
        } else {
          int step = 0;
          records::faults::setHook([&](records::faults::Step, const fs::path&) { return ++step == cut ? EIO : 0; });
          try {
            runInProcess(save.script, save.screen);
          } catch (const RuntimeError& e) {
            reached = true;
            EXPECT_EQ(e.number(), error::kDeviceIo);
            EXPECT_NE(screen::errorFileName(e), "");
          }
          records::faults::setHook({});
          catalogue().closeAll();
        }
        // The next start completes or drops what the cut save left.
        records::recoverFolder(".");
        const Snapshot after = snapshot();
        EXPECT_TRUE(after == old || after == saved);
        EXPECT_EQ(inconsistencies(), std::vector<std::string>{});
        if (!reached) break;
        steps = cut;
      }
      EXPECT_GE(steps, 4);  // journal, its sync, at least one file and its sync
    }
  }
}

// A register whose header lost its count is not written over; the check program puts the
// counts back and the next save goes where it belongs.
TEST_F(SharedFolder, AHeaderThatNoLongerMatchesItsFileRefusesTheSaveUntilRepaired) {
  struct Case {
    const char* what;
    std::function<void()> damage;
  };
  const Case cases[] = {
      {"header deleted", [] { fs::remove("INDVEN11.DAT"); }},
      {"count lowered", [] {
         std::string h = readFile("INDVEN11.DAT");
         h.replace(0, 5, " 1   ");
         writeFile("INDVEN11.DAT", h);
       }},
      {"header zeroed", [] { writeFile("INDVEN11.DAT", std::string(90, '\0')); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    startOver();
    records::RegisterHeader h;
    h.protocol[0] = 3;
    registrations(records::RegisterKind::Sales, {oneLine("1", "20", "10", "1"), oneLine("2", "20", "20", "2"),
                                                 oneLine("1", "20", "30", "3")}, h);
    records::openRegister(catalogue(), records::RegisterKind::Sales);
    records::W_8(catalogue(), records::BalanceTotals{48, 0});
    catalogue().channel(8).write(1);
    records::W_8(catalogue(), records::BalanceTotals{24, 0});
    catalogue().channel(8).write(2);
    catalogue().closeAll();
    c.damage();
    const std::string registrationsBefore = readFile("VENDIT11.DAT");
    const std::string balancesBefore = readFile("PSALCL11.DAT");

    auto r = run("\"v\" " + newRegistration(1, "NEW", "40") + "<SNAP> <ENTER>");
    ASSERT_GE(r.dumps.size(), 1u);
    EXPECT_NE(r.dumps[0].find("Errore: 75"), std::string::npos);
    EXPECT_NE(r.dumps[0].find("File  : INDVEN11.DAT"), std::string::npos);
    EXPECT_NE(r.dumps[0].find("Registro VENDITE: la testata non"), std::string::npos);
    EXPECT_NE(r.dumps[0].find("Verificare con vellano-check --repair"), std::string::npos);
    EXPECT_EQ(readFile("VENDIT11.DAT"), registrationsBefore);
    EXPECT_EQ(readFile("PSALCL11.DAT"), balancesBefore);

    const vellano::testing::ProgramRun repair =
        vellano::testing::runProgram({std::string(VELLANO_BIN_DIR) + "/vellano-check", ".", "--repair"});
    EXPECT_EQ(repair.status, 0) << repair.output;
    EXPECT_NE(repair.output.find("riparato: INDVEN11.DAT: registrazioni "), std::string::npos);
    const records::RegisterHeader repaired = readHeader(records::RegisterKind::Sales);
    EXPECT_EQ(repaired.count, 3);
    EXPECT_EQ(repaired.protocol[0], 3);
    catalogue().closeAll();

    r = run("\"v\" " + newRegistration(1, "NEW", "40") + "<ESC> <ESC>");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(readHeader(records::RegisterKind::Sales).count, 4);
    EXPECT_EQ(read(records::RegisterKind::Sales, 4).note, "NEW");
    EXPECT_EQ(read(records::RegisterKind::Sales, 4).protocolNumber, "4");
    EXPECT_EQ(balance(records::RegisterKind::Sales, 1).dare, 96);
    catalogue().closeAll();
    EXPECT_EQ(inconsistencies(), std::vector<std::string>{});
  }
}

}  // namespace
}  // namespace vellano::entry
