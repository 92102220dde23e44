// Fixed-length record files on disk and field access through a layout.
#include "records/record_file.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>
#include <utility>
#include <string>
#include <vector>

#include "platform/error.h"

namespace vellano::records {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;

class RecordFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "vellano-rf-XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    dir_ = pattern;
  }
  void TearDown() override {
    std::error_code ec;
    fs::remove_all(dir_, ec);
  }

  std::string fileBytes(const fs::path& p) const {
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  void putBytes(const fs::path& p, const std::string& bytes) const {
    std::ofstream out(p, std::ios::binary);
    out << bytes;
  }
  // Runs `f` and returns the error number it raised, or -1 when it raised none.
  template <class F>
  static int errorOf(F&& f, std::string* detail = nullptr) {
    try {
      f();
    } catch (const RuntimeError& e) {
      if (detail) *detail = e.detail();
      return e.number();
    }
    return -1;
  }

  fs::path dir_;
};

TEST_F(RecordFileTest, MissingFileIsCreatedEmpty) {
  const fs::path p = dir_ / "CLIFOR.DAT";
  RecordFile f(p, 10);
  EXPECT_TRUE(fs::exists(p));
  EXPECT_EQ(fs::file_size(p), 0u);
  EXPECT_EQ(f.recordCount(), 0);
  EXPECT_EQ(f.recordLength(), 10u);
  EXPECT_EQ(f.path(), p);
}

TEST_F(RecordFileTest, ReadPastTheEndGivesZeroBytes) {
  RecordFile f(dir_ / "A.DAT", 6);
  EXPECT_EQ(f.read(1), std::string(6, '\0'));
  f.write(1, "ABCDEF");
  EXPECT_EQ(f.read(2), std::string(6, '\0'));
  EXPECT_EQ(f.read(1000), std::string(6, '\0'));
}

TEST_F(RecordFileTest, TruncatedRecordReadsPresentBytesThenZeros) {
  const fs::path p = dir_ / "SHORT.DAT";
  putBytes(p, "ABCDEFG");  // record 1 whole, record 2 cut after two bytes
  RecordFile f(p, 5);
  EXPECT_EQ(f.recordCount(), 1);
  EXPECT_EQ(f.read(1), "ABCDE");
  EXPECT_EQ(f.read(2), "FG\0\0\0"s);
}

TEST_F(RecordFileTest, WritePastTheEndFillsTheGapWithNuls) {
  const fs::path p = dir_ / "GAP.DAT";
  RecordFile f(p, 4);
  f.write(3, "XY");
  EXPECT_EQ(fileBytes(p), "\0\0\0\0\0\0\0\0XY\0\0"s);
  EXPECT_EQ(f.recordCount(), 3);
  EXPECT_EQ(f.read(2), std::string(4, '\0'));
  EXPECT_EQ(f.read(3), "XY\0\0"s);
}

TEST_F(RecordFileTest, WriteCutsToTheRecordAndLeavesNeighboursAlone) {
  const fs::path p = dir_ / "CUT.DAT";
  RecordFile f(p, 4);
  f.write(1, "1111");
  f.write(2, "2222");
  f.write(3, "3333");
  f.write(2, "ABCDEFGH");
  EXPECT_EQ(fileBytes(p), "1111ABCD3333");
  f.write(2, "");
  EXPECT_EQ(fileBytes(p), "1111\0\0\0\x00"
                          "3333"s);
}

TEST_F(RecordFileTest, EveryWriteIsOnDiskAtOnce) {
  const fs::path p = dir_ / "LIVE.DAT";
  RecordFile writer(p, 5);
  RecordFile reader(p, 5);
  writer.write(2, "HELLO");
  EXPECT_EQ(reader.read(2), "HELLO");
  EXPECT_EQ(fileBytes(p), "\0\0\0\0\0HELLO"s);
}

TEST_F(RecordFileTest, ExistingContentIsKeptOnOpen) {
  const fs::path p = dir_ / "KEEP.DAT";
  putBytes(p, "AAAABBBB");
  RecordFile f(p, 4);
  EXPECT_EQ(f.read(2), "BBBB");
  EXPECT_EQ(fileBytes(p), "AAAABBBB");
}

TEST_F(RecordFileTest, MissingFolderIsError76NamingTheFolder) {
  struct Case {
    fs::path file, folder;
  };
  putBytes(dir_ / "PLAIN", "x");
  const std::vector<Case> cases = {
      {dir_ / "NOPE" / "X.DAT", dir_ / "NOPE"},
      {dir_ / "NOPE" / "SUB" / "X.DAT", dir_ / "NOPE" / "SUB"},
      {dir_ / "PLAIN" / "X.DAT", dir_ / "PLAIN"},  // a file where the folder should be
  };
  for (const auto& c : cases) {
    std::string detail;
    EXPECT_EQ(errorOf([&] { RecordFile f(c.file, 8); }, &detail), error::kPathNotFound)
        << c.file;
    EXPECT_EQ(detail, c.folder.string());
    EXPECT_FALSE(fs::exists(c.file));
  }
}

TEST_F(RecordFileTest, OtherOpenFailuresCarryTheirNumber) {
  fs::create_directory(dir_ / "ADIR");
  EXPECT_EQ(errorOf([&] { RecordFile f(dir_ / "ADIR", 8); }), error::kPathFileAccess);
  EXPECT_EQ(errorOf([&] { RecordFile f(dir_ / std::string(300, 'N'), 8); }),
            error::kBadFileName64);
}

TEST_F(RecordFileTest, RecordNumbersStartAtOne) {
  RecordFile f(dir_ / "N.DAT", 4);
  for (long bad : {0L, -1L, -1000L}) {
    EXPECT_EQ(errorOf([&] { f.read(bad); }), error::kBadRecordNumber) << bad;
    EXPECT_EQ(errorOf([&] { f.write(bad, "ABCD"); }), error::kBadRecordNumber) << bad;
  }
  EXPECT_EQ(errorOf([&] { f.read(std::numeric_limits<long>::max()); }),
            error::kBadRecordNumber);
  EXPECT_EQ(fs::file_size(dir_ / "N.DAT"), 0u);
}

TEST_F(RecordFileTest, MovedFileKeepsWorking) {
  const fs::path p = dir_ / "M.DAT";
  RecordFile a(p, 3);
  a.write(1, "abc");
  RecordFile b(std::move(a));
  EXPECT_EQ(b.read(1), "abc");
  RecordFile c(dir_ / "OTHER.DAT", 3);
  c = std::move(b);
  EXPECT_EQ(c.path(), p);
  c.write(2, "def");
  EXPECT_EQ(fileBytes(p), "abcdef");
}

// A file whose name no longer leads to it takes no more writes, whichever way it went; the
// error names it. Reads of what it held still work.
TEST_F(RecordFileTest, WritesIntoAFileGoneFromItsFolderAreRefused) {
  struct Case {
    const char* what;
    void (*away)(const fs::path& file);
  };
  const Case cases[] = {
      {"removed", [](const fs::path& file) { fs::remove(file); }},
      {"replaced by another file", [](const fs::path& file) {
         fs::remove(file);
         std::ofstream(file) << "new";
       }},
      {"its folder removed", [](const fs::path& file) { fs::remove_all(file.parent_path()); }},
      {"its folder renamed", [](const fs::path& file) {
         fs::rename(file.parent_path(), file.parent_path().string() + "-old");
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const fs::path folder = dir_ / "DATA";
    fs::remove_all(folder);
    fs::remove_all(dir_ / "DATA-old");
    fs::create_directory(folder);
    const fs::path p = folder / "VENDIT11.DAT";
    RecordFile f(p, 4);
    f.write(1, "ABCD");
    c.away(p);
    std::string detail;
    EXPECT_EQ(errorOf([&] { f.write(2, "EFGH"); }, &detail), error::kFileNotFound);
    EXPECT_EQ(detail, p.string());
    EXPECT_EQ(f.read(1), "ABCD");
  }
}

TEST(ErrorNumbers, FromErrno) {
  const std::vector<std::pair<int, int>> cases = {
      {ENOENT, 53}, {ENOTDIR, 76}, {EACCES, 70},       {EPERM, 70}, {ENOSPC, 61},
      {EIO, 57},    {ENAMETOOLONG, 64}, {EISDIR, 75}, {EBADF, 75},
  };
  for (const auto& [err, number] : cases) EXPECT_EQ(errorNumberFromErrno(err), number) << err;
}

// Record buffer and layout
constexpr std::size_t kWidths[] = {3, 6, 4};
constexpr auto kFields = fieldsFromWidths(kWidths);

TEST(Record, LayoutOffsetsFollowEachOther) {
  EXPECT_EQ(kFields[0].offset, 0u);
  EXPECT_EQ(kFields[1].offset, 3u);
  EXPECT_EQ(kFields[2].offset, 9u);
  EXPECT_EQ(kFields[2].width, 4u);
}

TEST(Record, FieldsReadNulsAsBlanks) {
  Record r("AB\0 12.5\0\0\0\0\0"s);
  ASSERT_EQ(r.bytes().size(), 13u);
  EXPECT_EQ(r.text(kFields[0]), "AB ");
  EXPECT_EQ(r.trimmed(kFields[0]), "AB");
  EXPECT_EQ(r.text(kFields[1]), " 12.5 ");
  EXPECT_EQ(r.number(kFields[1]), 12.5);
  EXPECT_EQ(r.text(kFields[2]), "    ");
  EXPECT_EQ(r.trimmed(kFields[2]), "");
  EXPECT_EQ(r.number(kFields[2]), 0);

  Record inner("A\0B"s);
  EXPECT_EQ(inner.trimmed(Field{0, 3}), "A B");
}

TEST(Record, NeverWrittenRecordIsBlankAndZero) {
  const Record r(13);
  for (const Field f : kFields) {
    EXPECT_EQ(r.text(f), std::string(f.width, ' '));
    EXPECT_EQ(r.number(f), 0);
  }
}

TEST(Record, SetPadsAndCuts) {
  Record r(13);
  r.set(kFields[0], "X");
  r.set(kFields[1], " 1500.5");  // one too many: cut
  r.set(kFields[2], "ABCD");
  EXPECT_EQ(r.bytes(), "X   1500.ABCD");
  r.set(kFields[1], "");
  EXPECT_EQ(r.bytes(), "X        ABCD");
}

TEST(Record, LayoutBeyondTheBufferIsClamped) {
  Record r("ABCDE"s);
  const Field partly{3, 6};
  const Field outside{10, 4};
  EXPECT_EQ(r.text(partly), "DE    ");
  EXPECT_EQ(r.text(outside), "    ");
  EXPECT_EQ(r.number(outside), 0);
  r.set(partly, "123456");
  r.set(outside, "ZZZZ");
  EXPECT_EQ(r.bytes(), "ABC12");
}

TEST_F(RecordFileTest, RecordRoundTripThroughTheFile) {
  RecordFile f(dir_ / "RT.DAT", 13);
  Record out(13);
  out.set(kFields[0], "R1");
  out.set(kFields[1], " 12");
  f.write(4, out.bytes());
  const Record in(f.read(4));
  EXPECT_EQ(in.trimmed(kFields[0]), "R1");
  EXPECT_EQ(in.number(kFields[1]), 12);
  EXPECT_EQ(in.number(kFields[2]), 0);
  EXPECT_EQ(Record(f.read(1)).text(kFields[1]), "      ");
}

}  // namespace
}  // namespace vellano::records
