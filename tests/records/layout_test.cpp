// The table mechanism: what each kind reads from field bytes (damaged, NUL and short records
// included) and writes back, a table's store that stops whole on an amount that cannot fit,
// and the tiling check every layout is declared against.
#include "records/layout.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/error.h"

namespace vellano::records {
namespace {

using namespace std::string_literals;

// A 10-byte record with the field under test at offset 2, width 5, between marker bytes.
constexpr Field kAt{2, 5};
std::string around(const std::string& field) { return "<<" + field + ">>>"; }

TEST(LayoutKinds, TextsRead) {
  struct Case {
    Kind kind;
    std::string field;
    std::string expected;
  };
  const Case cases[] = {
      {Kind::kTrimmed, "ab   ", "ab"},
      {Kind::kTrimmed, "a\0b\0\0"s, "a b"},
      {Kind::kTrimmed, "  ab ", "  ab"},          // leading blanks are data
      {Kind::kTrimmed, "\0\0\0\0\0"s, ""},
      {Kind::kPadded, "a\0   "s, "a    "},
      {Kind::kPadded, "\0\0\0\0\0"s, "     "},
      {Kind::kShown, "a\x01" "b\x7f ", "a b"},    // control bytes of a damaged record
      {Kind::kShown, "\0\0ab\0"s, "  ab"},
      {Kind::kRaw, "a\0b  "s, "a\0b  "s},
      {Kind::kBytes, "\0R\0\0T"s, "\0R\0\0T"s},
  };
  for (const Case& c : cases) {
    const Record record(around(c.field));
    std::string value = "untouched";
    loadValue(record, kAt, c.kind, value);
    EXPECT_EQ(value, c.expected) << static_cast<int>(c.kind) << " [" << c.field << "]";
  }
}

TEST(LayoutKinds, TextsWritten) {
  struct Case {
    Kind kind;
    std::string value;
    std::string expected;
  };
  const Case cases[] = {
      {Kind::kTrimmed, "ab", "ab   "},
      {Kind::kTrimmed, "abcdefg", "abcde"},  // cut to the width
      {Kind::kPadded, "ab", "ab   "},
      {Kind::kShown, "", "     "},
      {Kind::kCopy, "12", "12   "},
      {Kind::kRaw, "a\0b"s, "a\0b  "s},      // a stored value goes back with its NULs
      {Kind::kRaw, "", "     "},             // a value never read is blank
      {Kind::kBytes, "R\0S"s, "R\0S\0\0"s},  // reserved bytes: never blanks
      {Kind::kBytes, "", "\0\0\0\0\0"s},
  };
  for (const Case& c : cases) {
    Record record(around("#####"));
    put(record, encodeValue(kAt, c.kind, c.value, "test"));
    EXPECT_EQ(record.bytes(), around(c.expected)) << static_cast<int>(c.kind) << " [" << c.value << "]";
  }
}

TEST(LayoutKinds, CopyIsWrittenButNeverRead) {
  const Record record(around("12345"));
  std::string value = "kept";
  loadValue(record, kAt, Kind::kCopy, value);
  EXPECT_EQ(value, "kept");
}

TEST(LayoutKinds, CharactersReadAndWritten) {
  struct Case {
    Kind kind;
    std::string field;
    char expected;
    std::string written;  // the field after writing `expected` back
  };
  const Case cases[] = {
      {Kind::kLetter, "S", 'S', "S"},
      {Kind::kLetter, "\0"s, ' ', " "},
      {Kind::kByte, "\0"s, '\0', "\0"s},
      {Kind::kByte, "M", 'M', "M"},
  };
  for (const Case& c : cases) {
    Record record("<" + c.field + ">");
    char value = 'x';
    loadValue(record, Field{1, 1}, c.kind, value);
    EXPECT_EQ(value, c.expected) << static_cast<int>(c.kind);
    Record written(std::string("<#>"));
    put(written, encodeValue(Field{1, 1}, c.kind, value, "test"));
    EXPECT_EQ(written.bytes(), "<" + c.written + ">") << static_cast<int>(c.kind);
  }
}

TEST(LayoutKinds, NumbersRead) {
  struct Case {
    std::string field;
    double amount;   // kAmount / kCents
    float single;    // kSingle / kSingleBare / kValue
    int counter;     // kCounter: inside 0..9999
  };
  const Case cases[] = {
      {" 12  ", 12, 12, 12},
      {"12.7 ", 12.7, 12.7f, 12},
      {"-5   ", -5, -5, 0},
      {"99999", 99999, 99999, 9999},
      {"abc  ", 0, 0, 0},
      {"\0\0\0\0\0"s, 0, 0, 0},
      {" .5  ", 0.5, 0.5f, 0},
  };
  for (const Case& c : cases) {
    const Record record(around(c.field));
    double amount = -1;
    float single = -1;
    int counter = -1;
    for (Kind k : {Kind::kAmount, Kind::kCents}) {
      loadValue(record, kAt, k, amount);
      EXPECT_DOUBLE_EQ(amount, c.amount) << c.field;
    }
    for (Kind k : {Kind::kSingle, Kind::kSingleBare, Kind::kValue}) {
      loadValue(record, kAt, k, single);
      EXPECT_FLOAT_EQ(single, c.single) << c.field;
    }
    loadValue(record, kAt, Kind::kCounter, counter);
    EXPECT_EQ(counter, c.counter) << c.field;
  }
}

TEST(LayoutKinds, NumbersWritten) {
  struct Case {
    const char* what;
    Encoded encoded;
    std::string expected;
  };
  const Case cases[] = {
      {"amount", encodeValue(kAt, Kind::kAmount, 12.5, "test"), " 12.5"},
      {"amount drops its blank to fit", encodeValue(kAt, Kind::kAmount, 12345.0, "test"), "12345"},
      {"amount not rounded", encodeValue(Field{2, 8}, Kind::kAmount, 0.125, "test"), " .125   "},
      {"cents", encodeValue(Field{2, 8}, Kind::kCents, 0.125, "test"), " .12    "},
      {"cents, negative", encodeValue(kAt, Kind::kCents, -3.005, "test"), "-3   "},
      {"single", encodeValue(kAt, Kind::kSingle, 12.0f, "test"), " 12  "},
      {"single bare", encodeValue(kAt, Kind::kSingleBare, 12.0f, "test"), "12   "},
      {"counter", encodeValue(kAt, Kind::kCounter, 9999, "test"), " 9999"},
      {"counter zero", encodeValue(kAt, Kind::kCounter, 0, "test"), " 0   "},
      {"blank", encodeNone(kAt, Kind::kBlank), "     "},
      {"kept", encodeNone(kAt, Kind::kKept), "#####"},
      {"by rule", encodeNone(kAt, Kind::kByRule), "#####"},
      {"value", encodeValue(kAt, Kind::kValue, 7.0f, "test"), "#####"},
  };
  for (const Case& c : cases) {
    Record record(std::string(12, '#'));
    put(record, c.encoded);
    const Field f = c.encoded.field;
    EXPECT_EQ(record.bytes().substr(f.offset, f.width), c.expected) << c.what;
    EXPECT_EQ(record.bytes().size(), 12u) << c.what;
  }
}

TEST(LayoutKinds, AmountThatCannotFitIsError6) {
  try {
    encodeValue(kAt, Kind::kAmount, 123456.5, "W_TEST");
    FAIL() << "no error";
  } catch (const RuntimeError& e) {
    EXPECT_EQ(e.number(), 6);
  }
}

TEST(LayoutKinds, AKindThatDoesNotFitTheValueTypeIsRefused) {
  const Record record(std::string(10, ' '));
  std::string text;
  int counter = 0;
  EXPECT_THROW(loadValue(record, kAt, Kind::kCounter, text), std::logic_error);
  EXPECT_THROW(loadValue(record, kAt, Kind::kTrimmed, counter), std::logic_error);
  EXPECT_THROW(encodeNone(kAt, Kind::kTrimmed), std::logic_error);
}

TEST(LayoutKinds, ShortBufferReadsAsNeverWrittenAndOnlyReservedBytesGrowIt) {
  const Record shortRecord(std::string("ab"));
  std::string text;
  loadValue(shortRecord, kAt, Kind::kTrimmed, text);
  EXPECT_EQ(text, "");
  loadValue(shortRecord, kAt, Kind::kRaw, text);
  EXPECT_EQ(text, std::string(5, '\0'));
  float single = -1;
  loadValue(shortRecord, kAt, Kind::kSingle, single);
  EXPECT_EQ(single, 0);

  Record texts(std::string("abcd"));
  put(texts, encodeValue(kAt, Kind::kTrimmed, std::string("XYZ"), "test"));
  EXPECT_EQ(texts.bytes(), "abXY");  // cut at the end of the buffer
  Record reserved(std::string("abcd"));
  put(reserved, encodeValue(kAt, Kind::kBytes, std::string("R"), "test"));
  EXPECT_EQ(reserved.bytes(), "abR\0\0\0\0"s);
}

struct Sample {
  std::string name;
  double debit = 0;
  double credit = 0;
  char flag = ' ';
};
constexpr std::array kSampleTable{
    trimmed<Sample>({0, 6}, &Sample::name), amount<Sample>({6, 6}, &Sample::debit),
    amount<Sample>({12, 6}, &Sample::credit), letter<Sample>({18, 1}, &Sample::flag),
    blank<Sample>({19, 3}), kept<Sample>({22, 2})};
static_assert(tiles(kSampleTable, 24));

TEST(LayoutTable, StoreThenLoadGivesTheValueBack) {
  Record record(std::string(24, '*'));
  const Sample value{"ROSSI", 100.25, -7, 'S'};
  store(record, kSampleTable, value, "test");
  EXPECT_EQ(record.bytes(), "ROSSI 100.25-7    S   **");
  Sample back;
  load(record, kSampleTable, back);
  EXPECT_EQ(back.name, value.name);
  EXPECT_DOUBLE_EQ(back.debit, value.debit);
  EXPECT_DOUBLE_EQ(back.credit, value.credit);
  EXPECT_EQ(back.flag, value.flag);
}

TEST(LayoutTable, AnAmountThatCannotFitLeavesTheWholeRecordAsItWas) {
  Record record(std::string(24, '*'));
  const std::string before = record.bytes();
  // The name comes first in the table; it must not be written either.
  EXPECT_THROW(store(record, kSampleTable, Sample{"BIANCHI", 1, 1234567, 'N'}, "test"), RuntimeError);
  EXPECT_EQ(record.bytes(), before);
}

TEST(LayoutTiles, CoverageOfARecord) {
  struct Case {
    const char* what;
    std::vector<Field> fields;
    std::size_t length;
    bool tiles;
  };
  const Case cases[] = {
      {"in order", {{0, 2}, {2, 3}}, 5, true},
      {"any order", {{2, 3}, {0, 2}}, 5, true},
      {"gap", {{0, 2}, {3, 2}}, 5, false},
      {"overlap", {{0, 3}, {2, 3}}, 5, false},
      {"same start twice", {{0, 2}, {0, 2}, {2, 3}}, 5, false},
      {"short of the length", {{0, 2}, {2, 2}}, 5, false},
      {"past the length", {{0, 2}, {2, 4}}, 5, false},
      {"a field beyond the end", {{0, 5}, {7, 1}}, 5, false},
      {"empty record", {}, 0, true},
  };
  for (const Case& c : cases) EXPECT_EQ(tiles(c.fields, c.length), c.tiles) << c.what;
}

TEST(LayoutTiles, RepeatedAndJoinedFields) {
  constexpr auto days = repeatedFields<3>(4, 10);
  EXPECT_EQ(days[2].offset, 24u);
  EXPECT_EQ(days[2].width, 10u);
  constexpr auto all = joined(std::array{Field{0, 4}}, days);
  EXPECT_TRUE(tiles(all, 34));
  EXPECT_FALSE(tiles(all, 35));
}

}  // namespace
}  // namespace vellano::records
