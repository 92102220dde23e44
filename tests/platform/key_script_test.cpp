// The key-script language: what scripts mean, which ones are refused (and on which line),
// and that the text written back for a queue reads back as the same queue.
#include "platform/key_script.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vellano::platform {
namespace {

ScriptItem chr(std::uint8_t c) { return {ScriptItem::Kind::Key, KeyEvent::character(c)}; }
ScriptItem key(Key k, std::uint8_t mods = 0) { return {ScriptItem::Kind::Key, KeyEvent::extended(k, mods)}; }
ScriptItem mouse(int r, int c) { return {ScriptItem::Kind::Key, KeyEvent::mouse(r, c)}; }
ScriptItem snap() { return {ScriptItem::Kind::Snap, {}}; }

std::vector<ScriptItem> chars(std::string_view bytes) {
  std::vector<ScriptItem> out;
  for (char c : bytes) out.push_back(chr(static_cast<std::uint8_t>(c)));
  return out;
}

std::vector<ScriptItem> operator+(std::vector<ScriptItem> a, const std::vector<ScriptItem>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

std::string describe(const ScriptParse& p) {
  if (const auto* e = std::get_if<ScriptError>(&p)) return "error line " + std::to_string(e->line) + ": " + e->message;
  return std::to_string(std::get<std::vector<ScriptItem>>(p).size()) + " items";
}

TEST(KeyScript, ValidScripts) {
  struct Case {
    std::string script;
    std::vector<ScriptItem> items;
  };
  const Case cases[] = {
      {"", {}},
      {"  # only a comment\n\n\t\r\n", {}},
      {"\"abc\"", chars("abc")},
      {"\"a b\" \"\"", chars("a b")},
      {R"("say \"hi\" \\ ok")", chars("say \"hi\" \\ ok")},
      {"\"# not a comment\" # but this is \"x\"", chars("# not a comment")},
      {"\"perch\xC3\xA9 citt\xC3\xA0\"", chars("perch\x82 citt\x85")},
      {"\"\xE2\x94\x8C\xE2\x94\x80\xC2\xB7\xE2\x96\xA0\"", chars("\xDA\xC4\xFA\xFE")},  // ┌─·■
      {"\"\xE2\x98\xBA\xE2\x8C\x82\xC2\xA0\"", chars("\x01\x7F\xFF")},                  // ☺⌂ NBSP
      {"<ENTER><ESC> <TAB>\n<BS>", {key(Key::Enter), key(Key::Esc), key(Key::Tab), key(Key::Backspace)}},
      {"<UP> <DOWN> <LEFT> <RIGHT> <PGUP> <PGDN> <HOME> <END> <INS> <DEL>",
       {key(Key::Up), key(Key::Down), key(Key::Left), key(Key::Right), key(Key::PgUp), key(Key::PgDn),
        key(Key::Home), key(Key::End), key(Key::Ins), key(Key::Del)}},
      {"<F1> <F9> <F10> <F12>", {key(Key::F1), key(Key::F9), key(Key::F10), key(Key::F12)}},
      {"<CTRL-END> <CTRL-DEL> <ALT-X>",
       {key(Key::CtrlEnd, kLeftCtrl), key(Key::CtrlDel, kLeftCtrl), key(Key::AltX, kLeftAlt)}},
      {"<DOWN*3>", {key(Key::Down), key(Key::Down), key(Key::Down)}},
      {"<ALT-X*2>", {key(Key::AltX, kLeftAlt), key(Key::AltX, kLeftAlt)}},
      {"<MOUSE 10 20> <MOUSE  50\t120 > <MOUSE 1 1>", {mouse(10, 20), mouse(50, 120), mouse(1, 1)}},
      {"\"ab\"<SNAP>\"c\"", chars("ab") + std::vector{snap()} + chars("c")},
      {"\xEF\xBB\xBF\"x\"\r\n<ENTER>\r\n", chars("x") + std::vector{key(Key::Enter)}},
  };
  for (const Case& c : cases) {
    const ScriptParse parsed = parseKeyScript(c.script);
    ASSERT_TRUE(std::holds_alternative<std::vector<ScriptItem>>(parsed)) << c.script << " -> " << describe(parsed);
    EXPECT_EQ(std::get<std::vector<ScriptItem>>(parsed), c.items) << c.script;
  }
}

TEST(KeyScript, LargestRepeatIsAccepted) {
  const ScriptParse parsed = parseKeyScript("<F2*100000>");
  ASSERT_TRUE(std::holds_alternative<std::vector<ScriptItem>>(parsed)) << describe(parsed);
  const auto& items = std::get<std::vector<ScriptItem>>(parsed);
  EXPECT_EQ(items.size(), 100000u);
  EXPECT_EQ(items.back(), key(Key::F2));
}

TEST(KeyScript, MalformedScriptsNameTheLine) {
  struct Case {
    std::string script;
    int line;
    std::string messagePart;
  };
  const Case cases[] = {
      {"\"abc", 1, "unterminated quote"},
      {"<ENTER>\n\"abc\n\"", 2, "unterminated quote"},
      {"\"ab\\\"", 1, "unterminated quote"},
      {"\"abc\r\n\"", 1, "unterminated quote"},
      {"\n\n\"a\\n\"", 3, "unknown escape \\n"},
      {"\"a\\\xC3\xA9\"", 1, "unknown escape \\\xC3\xA9"},
      {"\"a\tb\"", 1, "control character U+0009"},
      {"\"a\x7F\"", 1, "control character U+007F"},
      {"\"\xE2\x82\xAC\"", 1, "U+20AC has no code page 437 byte"},
      {"# fine\n<ENTR>", 2, "unknown key name <ENTR>"},
      {"<enter>", 1, "unknown key name <enter>"},
      {"< ENTER>", 1, "unknown key name < ENTER>"},
      {"<>", 1, "unknown key name <>"},
      {"<F13>", 1, "unknown key name <F13>"},
      {"<MOUSE>", 1, "unknown key name <MOUSE>"},
      {"<SNAP*2>", 1, "unknown key name <SNAP*2>"},
      {"<F1*0>", 1, "bad repeat count"},
      {"<F1*>", 1, "bad repeat count"},
      {"<F1*-1>", 1, "bad repeat count"},
      {"<F1*2x>", 1, "bad repeat count"},
      {"<F1*100001>", 1, "bad repeat count"},
      {"<F1*99999999999999999999>", 1, "bad repeat count"},
      {"<XX*3>", 1, "unknown key name <XX*3>"},
      {"<ENTER", 1, "unterminated <"},
      {"<ENTER\n>", 1, "unterminated <"},
      {"<MOUSE 3>", 1, "needs a row and a column"},
      {"<MOUSE 3 4 5>", 1, "needs a row and a column"},
      {"<MOUSE a 4>", 1, "needs a row and a column"},
      {"<MOUSE 0 4>", 1, "outside the 50 x 120 screen"},
      {"<MOUSE 51 4>", 1, "outside the 50 x 120 screen"},
      {"<MOUSE 5 121>", 1, "outside the 50 x 120 screen"},
      {"<ENTER>\nENTER", 2, "unexpected character 'E'"},
      {"\"a\" x", 1, "unexpected character 'x'"},
      {"\n\n\n'a'", 4, "unexpected character '''"},
      {"\xC3\xA9", 1, "unexpected character U+00E9"},
      {std::string("\"a\"\n\0", 5), 2, "unexpected character U+0000"},
      {"\"ok\"\n# bad \xC3 here\n", 2, "invalid UTF-8"},
      {"\n\"\xED\xA0\x80\"", 2, "invalid UTF-8"},      // surrogate
      {"\"\xC0\xAF\"", 1, "invalid UTF-8"},            // overlong
      {"\"\xF4\x90\x80\x80\"", 1, "invalid UTF-8"},    // beyond U+10FFFF
      {"\"\xE2\x94", 1, "invalid UTF-8"},              // cut short at the end
      {"<F1*100000> <F1*100000> <F1*100000> <F1*100000> <F1*100000>\n"
       "<F1*100000> <F1*100000> <F1*100000> <F1*100000> <F1*100000>\n\"a\"",
       3, "script too long"},
  };
  for (const Case& c : cases) {
    const ScriptParse parsed = parseKeyScript(c.script);
    const auto* error = std::get_if<ScriptError>(&parsed);
    ASSERT_NE(error, nullptr) << c.script << " was accepted";
    EXPECT_EQ(error->line, c.line) << c.script << " -> " << error->message;
    EXPECT_NE(error->message.find(c.messagePart), std::string::npos)
        << c.script << " -> " << error->message << " (wanted " << c.messagePart << ")";
  }
}

std::vector<ScriptItem> reparse(const std::vector<ScriptItem>& items) {
  const std::string text = writeKeyScript(items);
  const ScriptParse parsed = parseKeyScript(text);
  if (const auto* e = std::get_if<ScriptError>(&parsed)) {
    ADD_FAILURE() << "written script does not parse: line " << e->line << ": " << e->message << "\n" << text;
    return {};
  }
  return std::get<std::vector<ScriptItem>>(parsed);
}

TEST(KeyScript, WrittenQueueReadsBackTheSame) {
  std::string everyByte;
  for (int b = 1; b <= 0xFF; ++b) everyByte += static_cast<char>(b);
  std::vector<ScriptItem> manyEnters(100001, key(Key::Enter));
  const std::vector<ScriptItem> cases[] = {
      {},
      chars(everyByte),
      chars("\"\\\"") + std::vector{key(Key::Enter)} + chars("\\"),
      {snap(), snap(), key(Key::F1), key(Key::F1), snap(), key(Key::F1)},
      {key(Key::CtrlEnd, kLeftCtrl), key(Key::CtrlEnd, kLeftCtrl), key(Key::AltX, kLeftAlt),
       key(Key::CtrlDel, kLeftCtrl), mouse(50, 120), mouse(1, 1), key(Key::Esc)},
      chars("x") + manyEnters + chars("y"),
  };
  for (const auto& items : cases) EXPECT_EQ(reparse(items), items) << writeKeyScript(items).substr(0, 200);
}

TEST(KeyScript, WrittenTextIsCompact) {
  const std::vector<ScriptItem> items = chars("ab\"\xC4") + std::vector{key(Key::Enter)} +
                                        std::vector{key(Key::F3), key(Key::F3), key(Key::F3)} +
                                        std::vector{snap(), mouse(2, 7)} + chars("\x01");
  EXPECT_EQ(writeKeyScript(items), "\"ab\\\"\xE2\x94\x80\" <ENTER>\n<F3*3> <SNAP> <MOUSE 2 7> \"\xE2\x98\xBA\"\n");
  EXPECT_EQ(writeKeyScript({}), "");
}

TEST(KeyScript, EventsWithoutScriptFormAreLeftOut) {
  // Such events never come from a script; a program may push them into its own queue.
  const std::vector<ScriptItem> items = {chr(0), key(Key::None), mouse(0, 5), mouse(3, 121), chr('a')};
  EXPECT_EQ(reparse(items), chars("a"));
}

}  // namespace
}  // namespace vellano::platform
