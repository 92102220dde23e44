// The channel catalogue: names, lengths, Open, record access and the context-file layouts.
#include "records/catalogue.h"
#include "records/registration_files.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>

#include "platform/error.h"
#include "support/work_folder.h"

namespace vellano::records {
namespace {

Context namingContext() {
  Context c;
  c.hostMode = 1;
  c.dataPrefix = "C:";
  c.companyExtension = "001";
  c.customerExtension = "DAT";
  c.yearSuffix = "10";
  c.handOverFolder = "XTERM\\";
  c.install.folder = "D:\\DITTE";
  return c;
}

TEST(CatalogueNames, EveryChannelNameAndLength) {
  struct Case {
    int channel;
    const char* name;
    std::size_t length;
  };
  const Case cases[] = {
      {1, "C:CLIFOR.DAT", 500},    {2, "C:INDICECL.DAT", 4},     {3, "C:INDVEN10.001", 90},
      {4, "C:VENDIT10.001", 200},  {5, "C:CDIVA10.001", 21},     {6, "C:CAUCON.DAT", 500},
      {7, "C:ESTC.DAT", 200},      {8, "C:PSALCL10.001", 30},    {9, "C:INDICEST.DAT", 4},
      {10, "TTY.DAT", 1},          {11, "C:DATA.001", 17},       {12, "C:PAGVEN10.001", 95},
      {13, "C:IVVER10.001", 120},  {14, "D:\\DITTE\\DIKTA.001", 619},
      {15, "C:CASBAN.DAT", 50},    {16, "C:TABIVA.DAT", 200},    {17, "C:SDEFVE.001", 100},
      {18, "C:PARAM.DAT", 2},      {20, "C:COMATIC.001", 36},    {22, "C:INDEX.DAT", 5},
      {26, "C:SOTCON.DAT", 500},   {27, "C:CORRIS10.001", 5000}, {30, "IVA2011", 1900},
      {40, "ELENCOCF", 1800},      {49, "DATA.DAT", 18},         {59, "TEL10.DAT", 255},
      {71, "C:ESTCNO.001", 200},   {90, "XTERM\\QMENU.DAT", 111}, {91, "INDAZ10.DAT", 5},
      {92, "AZIEN10.DAT", 1000},   {95, "LETTPDF.DAT", 128},     {98, "ORBW.DAT", 7},
  };
  ASSERT_EQ(std::size(cases), kChannels.size());
  Context context = namingContext();
  Catalogue catalogue(context);
  setRegisterStems(catalogue, kSalesStems);
  catalogue.setStem(17, "SDEFVE");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.channel);
    EXPECT_NE(std::find(kChannels.begin(), kChannels.end(), c.channel), kChannels.end());
    EXPECT_EQ(catalogue.dosName(c.channel), c.name);
    EXPECT_EQ(catalogue.recordLength(c.channel), c.length);
  }
}

TEST(CatalogueNames, ModeDependentChannels) {
  struct Case {
    int mode;
    int channel;
    const char* name;
    std::size_t length;
  };
  const Case cases[] = {
      {6, 11, "XTERM\\DATATERM.DAT", 6}, {5, 11, "C:DATA.001", 17},
      {2, 14, "C:DIKTA.001", 227},       {7, 14, "D:\\DITTE\\DIKTA.001", 619},
      {6, 14, "D:\\DITTE\\DIKTA.001", 619},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.mode) + "/" + std::to_string(c.channel));
    Context context = namingContext();
    context.hostMode = c.mode;
    Catalogue catalogue(context);
    EXPECT_EQ(catalogue.dosName(c.channel), c.name);
    EXPECT_EQ(catalogue.recordLength(c.channel), c.length);
  }
}

TEST(CatalogueNames, PurchaseStemsAndEmptyTtyFolder) {
  Context context = namingContext();
  context.install.folder.clear();
  Catalogue catalogue(context);
  setRegisterStems(catalogue, kPurchaseStems);
  EXPECT_EQ(catalogue.dosName(3), "C:INDACQ10.001");
  EXPECT_EQ(catalogue.dosName(4), "C:ACQUIS10.001");
  EXPECT_EQ(catalogue.dosName(8), "C:PSALFO10.001");
  EXPECT_EQ(catalogue.dosName(12), "C:PAGACQ10.001");
  EXPECT_EQ(catalogue.dosName(14), "DIKTA.001");
}

TEST(CatalogueNames, RefusedChannelsAndMissingStems) {
  Context context = namingContext();
  Catalogue catalogue(context);
  const auto errorOf = [](auto&& operation) {
    try {
      operation();
    } catch (const RuntimeError& e) {
      return e.number();
    }
    return 0;
  };
  EXPECT_EQ(errorOf([&] { catalogue.dosName(19); }), error::kBadFileName);
  EXPECT_EQ(errorOf([&] { catalogue.open(99); }), error::kBadFileName);
  EXPECT_EQ(errorOf([&] { catalogue.setStem(5, "X"); }), error::kBadFileName);
  EXPECT_EQ(errorOf([&] { catalogue.open(4); }), error::kBadFileName64);
  EXPECT_EQ(errorOf([&] { catalogue.open(17); }), error::kBadFileName64);
  EXPECT_EQ(errorOf([&] { catalogue.channel(1).read(1); }), error::kBadFileName);
}

class CatalogueFiles : public testing::WorkFolder {
 protected:
  Context context = namingContext();
  Catalogue catalogue{context};
};

TEST_F(CatalogueFiles, OpenCreatesAndRecordsLandAtTheirOffsets) {
  setRegisterStems(catalogue, kSalesStems);
  Channel& sales = catalogue.open(channel::kRegistrations);
  EXPECT_TRUE(std::filesystem::exists("VENDIT10.001"));
  EXPECT_EQ(sales.dosName(), "C:VENDIT10.001");
  sales.buffer().set(Field{0, 6}, "311210");
  sales.write(3);
  const std::string bytes = readFile("VENDIT10.001");
  ASSERT_EQ(bytes.size(), 600u);
  EXPECT_EQ(bytes.substr(0, 400), std::string(400, '\0'));
  EXPECT_EQ(bytes.substr(400, 6), "311210");
  sales.read(9);  // past the end: zero bytes
  EXPECT_EQ(sales.buffer().bytes(), std::string(200, '\0'));
  sales.read(3);
  EXPECT_EQ(sales.buffer().trimmed(Field{0, 6}), "311210");
  EXPECT_EQ(sales.recordCount(), 3);
}

TEST_F(CatalogueFiles, DrivesAndFoldersMapThroughHostPaths) {
  context.dataPrefix = "A:";
  std::filesystem::create_directories("DRIVE-A");
  std::filesystem::create_directories("ALB");
  catalogue.open(channel::kCustomers);
  context.handOverFolder = "C:\\ALB\\";
  catalogue.open(channel::kHandOver);
  EXPECT_TRUE(std::filesystem::exists("DRIVE-A/CLIFOR.DAT"));
  EXPECT_TRUE(std::filesystem::exists("ALB/QMENU.DAT"));
}

TEST_F(CatalogueFiles, MissingFolderIsError76AndChannelStaysClosed) {
  context.dataPrefix = "B:";
  try {
    catalogue.open(channel::kCustomers);
    ADD_FAILURE() << "opened without its folder";
  } catch (const RuntimeError& e) {
    EXPECT_EQ(e.number(), error::kPathNotFound);
    EXPECT_EQ(e.detail(), "DRIVE-B");
  }
  EXPECT_FALSE(catalogue.channel(1).isOpen());
}

TEST_F(CatalogueFiles, ReopenFollowsContextAndCloseAllClosesEverything) {
  setRegisterStems(catalogue, kSalesStems);
  catalogue.open(channel::kRegistrations);
  catalogue.open(channel::kCausals);
  catalogue.open(channel::kCompanyCount);
  context.yearSuffix = "11";
  catalogue.reopenYearFiles();
  EXPECT_EQ(catalogue.channel(4).dosName(), "C:VENDIT11.001");
  EXPECT_EQ(catalogue.channel(91).dosName(), "INDAZ11.DAT");
  EXPECT_EQ(catalogue.channel(6).dosName(), "C:CAUCON.DAT");
  EXPECT_FALSE(catalogue.channel(3).isOpen());  // closed channels stay closed
  EXPECT_TRUE(std::filesystem::exists("VENDIT11.001"));

  catalogue.closeAll();
  for (int n : kChannels) EXPECT_FALSE(catalogue.channel(n).isOpen()) << n;
  EXPECT_THROW(catalogue.channel(4).write(1), RuntimeError);
}

// A hand-over record where every byte differs from its neighbours, NULs included.
std::string sampleHandOver() {
  std::string bytes;
  for (int i = 0; i < 111; ++i) bytes += static_cast<char>(i % 7 == 3 ? 0 : 'A' + i % 26);
  bytes.replace(1, 3, "007");    // field 2, company
  bytes.replace(33, 2, " 3");    // field 7, host-mode code
  bytes.replace(41, 2, "43");    // field 9, request
  return bytes;
}

TEST_F(CatalogueFiles, HandOverRoundTripChangesOnlyTheRequest) {
  const std::string other(111, 'z');
  const std::string original = sampleHandOver();
  writeFile("XTERM/QMENU.DAT", other + original);
  Channel& qmenu = catalogue.open(channel::kHandOver);
  qmenu.read(2);
  HandOver handOver;
  L_90(catalogue, handOver);
  EXPECT_EQ(handOver.field[HandOver::kCompanyNumber], "007");
  EXPECT_EQ(handOver.field[HandOver::kHostModeCode], " 3");
  EXPECT_EQ(handOver.field[HandOver::kRequest], "43");
  EXPECT_EQ(handOver.field[HandOver::kMessage], original.substr(48, 50));
  handOver.field[HandOver::kRequest] = "  ";
  W_90(catalogue, handOver);
  qmenu.write(2);

  std::string expected = original;
  expected.replace(41, 2, "  ");
  EXPECT_EQ(readFile("XTERM/QMENU.DAT"), other + expected);
}

TEST_F(CatalogueFiles, ShortHandOverFileReadsAsNulsAndWritesAWholeRecord) {
  writeFile("XTERM/QMENU.DAT", "1001");
  Channel& qmenu = catalogue.open(channel::kHandOver);
  qmenu.read(1);
  HandOver handOver;
  L_90(catalogue, handOver);
  EXPECT_EQ(handOver.field[HandOver::kCompanyNumber], "001");
  EXPECT_EQ(handOver.field[HandOver::kRequest], std::string(2, '\0'));
  W_90(catalogue, handOver);
  qmenu.write(1);
  EXPECT_EQ(readFile("XTERM/QMENU.DAT"), "1001" + std::string(107, '\0'));
}

// A record whose fields are filled with distinct letters, one letter per field.
template <std::size_t N>
std::string lettered(const std::size_t (&widths)[N]) {
  std::string bytes;
  for (std::size_t i = 0; i < N; ++i) bytes += std::string(widths[i], static_cast<char>('a' + i));
  return bytes;
}

TEST_F(CatalogueFiles, CompanyRegistryBothVariantsIntoTheSameVariables) {
  constexpr std::size_t longWidths[] = {40, 20, 20, 11, 20, 25, 25, 28, 2, 16, 5, 40, 40, 15,
                                        30, 30, 30, 60, 11, 60, 5,  30, 6, 16, 1, 30, 1, 2};
  constexpr std::size_t shortWidths[] = {40, 30, 30, 11, 20, 25, 25, 30, 16};
  struct Case {
    int mode;
    const char* file;
    std::string record;
    std::size_t fiscalOffset;
  };
  const Case cases[] = {
      {1, "DRIVE-D/DITTE/DIKTA.001", lettered(longWidths), 191},
      {2, "DIKTA.001", lettered(shortWidths), 211},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    context.hostMode = c.mode;
    context.dataPrefix = "";
    std::string record = c.record;
    record.replace(0, 12, "ROSSI S.R.L.");
    record.replace(12, 28, std::string(28, ' '));
    record.replace(c.fiscalOffset, 16, "RSSMRA80A01H501U");
    writeFile(c.file, record);

    Channel& registry = catalogue.open(channel::kCompany);
    ASSERT_EQ(registry.recordLength(), record.size());
    registry.read(1);
    Company company;
    L_14(catalogue, company);
    EXPECT_EQ(company.name, "ROSSI S.R.L.");
    EXPECT_EQ(company.address, std::string(c.mode == 2 ? 30 : 20, 'b'));
    EXPECT_EQ(company.vatNumber, std::string(11, 'd'));
    EXPECT_EQ(company.fiscalCode, "RSSMRA80A01H501U");

    company.name = "BIANCHI";
    W_14(catalogue, company);
    registry.write(1);
    std::string expected = record;
    expected.replace(0, 40, "BIANCHI" + std::string(33, ' '));
    EXPECT_EQ(readFile(c.file), expected);  // fields without variables kept
  }
}

TEST_F(CatalogueFiles, CompanyListKeepsEverythingPastTheRegistryFields) {
  std::string record(1000, 'q');
  record.replace(0, 40, "VERDI SPA" + std::string(31, ' '));
  writeFile("AZIEN10.DAT", std::string(1000, 'x') + record);
  writeFile("INDAZ10.DAT", " 2   ");
  catalogue.open(channel::kCompanyCount).read(1);
  float companies = 0;
  L_91(catalogue, companies);
  EXPECT_EQ(companies, 2.0f);
  Channel& list = catalogue.open(channel::kCompanies);
  list.read(2);
  Company company;
  L_92(catalogue, company);
  EXPECT_EQ(company.name, "VERDI SPA");
  company.name = "NERI";
  W_92(catalogue, company);
  list.write(2);
  const std::string bytes = readFile("AZIEN10.DAT");
  EXPECT_EQ(bytes.substr(1000, 40), "NERI" + std::string(36, ' '));
  EXPECT_EQ(bytes.substr(1000 + 227), std::string(773, 'q'));
}

TEST_F(CatalogueFiles, DateFileKeepsItsTrailingCharacters) {
  writeFile("DATA.001", "311210abcdefghijk");
  Channel& date = catalogue.open(channel::kWorkingDate);
  date.read(1);
  L_11(catalogue, context);
  EXPECT_EQ(context.workingDate, "311210");
  context.workingDate = "010111";
  W_11(catalogue, context);
  date.write(1);
  EXPECT_EQ(readFile("DATA.001"), "010111abcdefghijk");
}

TEST_F(CatalogueFiles, CountersAndParametersInTheirTextForm) {
  writeFile("INDEX.DAT", " 7   abc  ");
  Channel& index = catalogue.open(channel::kCounters);
  float count = -1;
  index.read(1);
  L_22(catalogue, count);
  EXPECT_EQ(count, 7.0f);
  index.read(2);
  L_22(catalogue, count);
  EXPECT_EQ(count, 0.0f);  // garbage reads as 0
  W_22(catalogue, 12);
  index.write(2);
  EXPECT_EQ(readFile("INDEX.DAT"), " 7    12  ");

  Channel& params = catalogue.open(channel::kParameters);
  params.read(1);
  L_18(catalogue, context);
  EXPECT_EQ(context.sharedCustomerArchive, ' ');  // never written
  context.sharedCustomerArchive = 'S';
  context.fullVatTables = 'N';
  W_18(catalogue, context);
  params.write(1);
  EXPECT_EQ(readFile("PARAM.DAT"), "SN");
}

TEST_F(CatalogueFiles, HostSettingsFields) {
  writeFile("DATA.DAT", "010111ABCSDEFGHR" + std::string(1, '\0') + "2");
  catalogue.open(channel::kHostSettings).read(1);
  HostSettings settings;
  L_49(catalogue, settings);
  EXPECT_TRUE(settings.exitThroughAvvioW());
  EXPECT_TRUE(settings.networked());
  EXPECT_EQ(settings.functionKeyBarFlag(), "2");
  EXPECT_EQ(settings.field[5], std::string(1, '\0'));
  settings.field[4] = " ";
  W_49(catalogue, settings);
  catalogue.channel(49).write(1);
  EXPECT_EQ(readFile("DATA.DAT"), "010111ABCSDEFGH " + std::string(1, '\0') + "2");
}

}  // namespace
}  // namespace vellano::records
