// The headless backend in process: dump format, <SNAP>, the queue handed on through the
// script file, the final dump, and the exits of a script file that is malformed or runs out.
#include "platform/headless.h"
#include "support/dump_text.h"
#include "support/files.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace vellano::platform {
namespace {

namespace fs = std::filesystem;

class TempDir {
 public:
  TempDir() {
    static int counter = 0;
    path_ = fs::temp_directory_path() /
            ("vellano-headless-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
    fs::remove_all(path_);
    fs::create_directories(path_);
  }
  ~TempDir() {
    std::error_code ec;
    fs::remove_all(path_, ec);
  }
  fs::path operator/(const std::string& name) const { return path_ / name; }

 private:
  fs::path path_;
};

using vellano::testing::readFile;
using vellano::testing::writeFile;

std::vector<std::string> lines(const std::string& text) {
  std::vector<std::string> out;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = text.find('\n', start);
    if (end == std::string::npos) {
      out.push_back(text.substr(start));
      break;
    }
    out.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return out;
}

using vellano::testing::codePoints;

std::string repeat(const std::string& s, int n) {
  std::string out;
  for (int i = 0; i < n; ++i) out += s;
  return out;
}

std::vector<ScriptItem> parsed(std::string_view script) {
  auto p = parseKeyScript(script);
  return std::get<std::vector<ScriptItem>>(p);
}

TEST(ScreenDump, FormatIsTitleFiftyRowsOfGlyphsAndSeparator) {
  ScreenBuffer s;
  s.putText(1, 1, "\xDA\xC4\xC4\xBF", 0x1F);
  s.putText(2, 1, std::string("\xB3\x00\x01\x7F\xFA\xB3", 6), 0x1F);
  s.putText(50, 117, "fine", 0x07);
  const std::string dump = formatScreenDump(s, "Prova \x8A");

  const auto l = lines(dump);
  ASSERT_EQ(l.size(), 52u);
  EXPECT_EQ(dump.back(), '\n');
  EXPECT_EQ(l[0], "title: Prova è");
  EXPECT_EQ(l[1], "┌──┐" + std::string(116, ' '));
  EXPECT_EQ(l[2], "│   ·│" + std::string(114, ' '));  // NUL and control bytes as blanks
  EXPECT_EQ(l[3], std::string(120, ' '));
  EXPECT_EQ(l[50], std::string(116, ' ') + "fine");
  EXPECT_EQ(l[51], "----");
  for (int row = 1; row <= 50; ++row) EXPECT_EQ(codePoints(l[row]), 120u) << "row " << row;
}

TEST(ScreenDump, TitleCannotBreakTheFormat) {
  const auto l = lines(formatScreenDump(ScreenBuffer{}, "two\nlines"));
  ASSERT_EQ(l.size(), 52u);
  EXPECT_EQ(l[0], "title: two lines");
}

TEST(HeadlessBackend, SnapDumpsTheScreenLastPresented) {
  auto owned = scriptedBackend("<SNAP> \"a\" <SNAP> <F2>");
  HeadlessBackend& backend = *owned;
  Console console(std::move(owned));
  console.setTitle("uno");
  console.screen().putText(1, 1, "one", 0x07);
  EXPECT_EQ(console.readKey(), KeyEvent::character('a'));
  console.setTitle("due");
  console.screen().putText(1, 1, "two", 0x07);
  EXPECT_EQ(console.readKey(), KeyEvent::extended(Key::F2));

  ASSERT_EQ(backend.dumps().size(), 2u);
  EXPECT_EQ(lines(backend.dumps()[0])[0], "title: uno");
  EXPECT_EQ(lines(backend.dumps()[0])[1], "one" + std::string(117, ' '));
  EXPECT_EQ(lines(backend.dumps()[1])[0], "title: due");
  EXPECT_EQ(lines(backend.dumps()[1])[1], "two" + std::string(117, ' '));
  EXPECT_EQ(backend.lastScreen().at(1, 1).ch, 't');
}

TEST(HeadlessBackend, InProcessQueueRunsDryWithAnException) {
  auto backend = scriptedBackend("\"x\" <SNAP>");
  EXPECT_EQ(backend->pending(), 2u);
  backend->push(KeyEvent::extended(Key::Esc));
  EXPECT_EQ(backend->readKey(), KeyEvent::character('x'));
  EXPECT_EQ(backend->readKey(), KeyEvent::extended(Key::Esc));  // the snap is taken on the way
  EXPECT_EQ(backend->dumps().size(), 1u);
  EXPECT_EQ(backend->pending(), 0u);
  EXPECT_THROW(backend->readKey(), KeysExhausted);
  // Running dry in process takes no dump: the test decides what happens next.
  EXPECT_EQ(backend->dumps().size(), 1u);
}

TEST(HeadlessBackend, MalformedScriptIsRefusedInProcess) {
  try {
    scriptedBackend("\"ok\"\n<NOPE>");
    FAIL() << "accepted";
  } catch (const std::invalid_argument& e) {
    EXPECT_NE(std::string(e.what()).find("line 2"), std::string::npos) << e.what();
  }
}

TEST(Console, PresentsBeforeReadingAndCountsBeeps) {
  auto owned = scriptedBackend("<ENTER>");
  HeadlessBackend& backend = *owned;
  Console console(std::move(owned));
  EXPECT_TRUE(console.headless());
  console.screen().put(5, 6, 'Q', 0x4E);
  console.setCursor(5, 7);
  console.showCursor(false);
  console.beep();
  console.beep();
  EXPECT_EQ(console.readKey(), KeyEvent::extended(Key::Enter));
  EXPECT_EQ(console.beepCount(), 2);
  EXPECT_EQ(backend.beeps(), 2);
  EXPECT_EQ(backend.lastScreen().at(5, 6), (Cell{'Q', 0x4E}));
  EXPECT_EQ(backend.lastCursor(), (CursorState{5, 7, false}));
}

TEST(Console, FinalScreenIsDumpedOnce) {
  TempDir dir;
  const fs::path screens = dir / "screens.txt";
  {
    Console console(std::make_unique<HeadlessBackend>(std::vector<ScriptItem>{}, screens));
    console.setTitle("fine");
    console.screen().putText(3, 3, "bye", 0x07);
    console.finish();
    console.screen().putText(3, 3, "BYE", 0x07);
    console.finish();
  }  // the destructor must not add a second one
  const std::string text = readFile(screens);
  const auto l = lines(text);
  ASSERT_EQ(l.size(), 52u) << text.substr(0, 300);
  EXPECT_EQ(l[0], "title: fine");
  EXPECT_EQ(l[3], "  bye" + std::string(115, ' '));
}

TEST(Console, DestructorDumpsTheFinalScreen) {
  TempDir dir;
  const fs::path screens = dir / "screens.txt";
  {
    Console console(std::make_unique<HeadlessBackend>(std::vector<ScriptItem>{}, screens));
    console.setTitle("end");
  }
  EXPECT_EQ(readFile(screens), "title: end\n" + repeat(std::string(120, ' ') + "\n", 50) + "----\n");
}

TEST(Console, RefusesAMissingBackend) {
  EXPECT_THROW(Console(nullptr), std::invalid_argument);
}

TEST(HeadlessBackend, ScreenFileCollectsTheDumpsOfEveryProgramInTurn) {
  TempDir dir;
  const fs::path screens = dir / "screens.txt";
  writeFile(screens, "earlier\n");
  ScreenBuffer a;
  a.putText(1, 1, "first", 0x07);
  ScreenBuffer b;
  b.putText(1, 1, "second", 0x07);
  HeadlessBackend one({}, screens);
  HeadlessBackend two({}, screens);
  one.finish(a, "one");
  two.finish(b, "two");
  EXPECT_EQ(readFile(screens), "earlier\n" + formatScreenDump(a, "one") + formatScreenDump(b, "two"));
}

class HeadlessScriptFile : public ::testing::Test {
 protected:
  void SetUp() override {
    ::setenv("VELLANO_KEYS", keys.c_str(), 1);
    ::setenv("VELLANO_SCREEN", screens.c_str(), 1);
  }
  void TearDown() override {
    ::unsetenv("VELLANO_KEYS");
    ::unsetenv("VELLANO_SCREEN");
  }

  TempDir dir;
  fs::path keys = dir / "keys.txt";
  fs::path screens = dir / "screens.txt";
};
using HeadlessScriptFileDeathTest = HeadlessScriptFile;

TEST_F(HeadlessScriptFile, QueueIsHandedOnToAChildAndReadAgainAfter) {
  writeFile(keys, "\"ab\" <F1> <SNAP> \"c\"\n<ESC>\n");
  auto backend = HeadlessBackend::fromEnvironment();
  EXPECT_EQ(backend->readKey(), KeyEvent::character('a'));
  EXPECT_EQ(backend->readKey(), KeyEvent::character('b'));

  // Around a program that is not ours the file is left alone.
  backend->releaseForChild(false);
  backend->reclaimAfterChild(false);
  EXPECT_EQ(readFile(keys), "\"ab\" <F1> <SNAP> \"c\"\n<ESC>\n");

  backend->releaseForChild(true);
  EXPECT_EQ(parsed(readFile(keys)), parsed("<F1> <SNAP> \"c\" <ESC>"));

  // The child takes <F1> and <SNAP> and leaves the rest.
  writeFile(keys, "\"c\" <ESC>");
  backend->reclaimAfterChild(true);
  EXPECT_EQ(backend->pending(), 2u);
  EXPECT_EQ(backend->readKey(), KeyEvent::character('c'));
  EXPECT_TRUE(backend->dumps().empty());
}

TEST_F(HeadlessScriptFile, FinishHandsTheRestBack) {
  writeFile(keys, "\"xyz\" <DOWN*2>");
  ScreenBuffer s;
  {
    auto backend = HeadlessBackend::fromEnvironment();
    EXPECT_EQ(backend->readKey(), KeyEvent::character('x'));
    backend->finish(s, "t");
  }
  EXPECT_EQ(parsed(readFile(keys)), parsed("\"yz\" <DOWN> <DOWN>"));
  EXPECT_EQ(readFile(screens), formatScreenDump(s, "t"));
}

TEST_F(HeadlessScriptFile, MakeBackendPicksHeadless) {
  writeFile(keys, "<ESC>");
  auto backend = makeBackend();
  EXPECT_TRUE(backend->headless());
  EXPECT_EQ(backend->readKey(), KeyEvent::extended(Key::Esc));
}

TEST_F(HeadlessScriptFileDeathTest, MalformedScriptEndsWithStatus2NamingTheLine) {
  writeFile(keys, "\"ok\"\n<ENTER>\n<NOPE>\n");
  EXPECT_EXIT(HeadlessBackend::fromEnvironment(), ::testing::ExitedWithCode(2),
              "keys.txt: line 3: unknown key name <NOPE>");
  EXPECT_EXIT(makeBackend(), ::testing::ExitedWithCode(2), "keys.txt: line 3: unknown key name <NOPE>");
}

TEST_F(HeadlessScriptFileDeathTest, MissingScriptEndsWithStatus2) {
  EXPECT_EXIT(HeadlessBackend::fromEnvironment(), ::testing::ExitedWithCode(2),
              "keys.txt: cannot read the key script");
}

TEST_F(HeadlessScriptFileDeathTest, ScriptRunningOutDumpsAndEndsWithStatus3) {
  writeFile(keys, "\"a\"");
  EXPECT_EXIT(
      {
        auto backend = HeadlessBackend::fromEnvironment();
        ScreenBuffer s;
        s.putText(1, 1, "last", 0x07);
        backend->present(s, {}, "end");
        backend->readKey();
        backend->readKey();
      },
      ::testing::ExitedWithCode(3), "");
  ScreenBuffer expected;
  expected.putText(1, 1, "last", 0x07);
  EXPECT_EQ(readFile(screens), formatScreenDump(expected, "end"));
  EXPECT_EQ(readFile(keys), "");
}

TEST_F(HeadlessScriptFileDeathTest, MalformedScriptAfterAChildEndsWithStatus2) {
  writeFile(keys, "<ESC>");
  EXPECT_EXIT(
      {
        auto backend = HeadlessBackend::fromEnvironment();
        backend->releaseForChild(true);
        writeFile(keys, "\n\n\"broken");
        backend->reclaimAfterChild(true);
      },
      ::testing::ExitedWithCode(2), "keys.txt: line 3: unterminated quote");
}

}  // namespace
}  // namespace vellano::platform
