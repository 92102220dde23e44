// The tax-return line catalogue: its codes and order are data the balance and the export
// file rely on, so the expected list here is copied from the published list, not from the table.
#include "records/tax_return_codes.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace vellano::master {
namespace {

constexpr std::string_view kExpectedCodes =
    "K100, K100.1, K101, K102, K102.1, K103, K130, K130.01, K131, K131.01, K132, K132.01, "
    "K132.02, K132.03, K133, K150, K150B, K151, K151B, K152, K153, K154, K170, K171, K190, K191, "
    "K192, K193, K194, K199, K199.01, K199.02, K199.03, K199.04, K199.05, K199.06, K199.07, "
    "K199.08, K199.09, K199.10, K199.11, K199.12, K199.13, K199.14, K199.15, K199.16, K199.17, "
    "K199.18, K199.97, K199.98, K199.99, K200, K201, K202, K202.01, K210, K210.01, K211, K220, "
    "K220.01, K231, K231.01, K231.02, K231.03, K231.04, K231.05, K231.06, K231.07, K231.10, "
    "K231.11, K231.14, K231.15, K231.18, K231.20, K231.21, K231.30, K231.31, K232, K233, K234, "
    "K234.01, K235, K235.01, K236, K237, K238, K239, K240, K241, K242, K243, K244, K250, K250B, "
    "K251, K251B, K252, K253, K254, K260, K260.01, K261, K270, K270.1, K270.2, K271, K271.1, "
    "K272, K273, K280, K280.1, K281, K282, K285, K286, K288, K288.01, K288.02, K288.03, K288.04, "
    "K288.05, K288.06, K288.07, K290, K291, K294, K295, K296, K297, K297.01, K297.02, K297.03, "
    "K297.04, K297.05, K298, K299, K299.01, K299.02, K299.03, K299.04, K299.08, K299.09, K299.10, "
    "K299.11, K299.12, K299.13, K299.29, K299.30, K299.31, K299.32, K299.33, K299.34, K299.35, "
    "K299.36, K299.37, K299.38, K299.39, K299.40, K299.41, K299.42, K299.43, K299.44, K299.45, "
    "K299.48, K299.49, K299.50, K299.51, K299.52, K299.53, K299.54, K299.55, K299.56, K299.57, "
    "K299.58, K299.59, K299.60, K299.61, K299.62, K299.97, K299.98, K299.99, K300, K301, K302, "
    "K303, K304, K305, K306, K307, K320, K400, K401, K402, K403, K404, K405, K406, K407, K408, "
    "K409, X100, X101, X101.1, X102, X103, X104, X199, X200, X210, X211, X220, X221, X230, X231, "
    "X232, X233, X270, X270.1, X271, X271.1, X272, X273, X280, X281, X282, X282B, X283, X283B, "
    "X284, X285, X286, X299, X300";

std::vector<std::string> splitCodes(std::string_view list) {
  std::vector<std::string> codes;
  std::size_t start = 0;
  while (start < list.size()) {
    std::size_t end = list.find(", ", start);
    if (end == std::string_view::npos) end = list.size();
    codes.emplace_back(list.substr(start, end - start));
    start = end + 2;
  }
  return codes;
}

TEST(TaxReturnCatalogue, Holds233CodesInThePublishedOrder) {
  const std::vector<std::string> expected = splitCodes(kExpectedCodes);
  ASSERT_EQ(expected.size(), 233u);
  const auto catalogue = records::taxReturnCodes();
  ASSERT_EQ(catalogue.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i)
    EXPECT_EQ(catalogue[i].code, expected[i]) << "entry " << i + 1;
}

TEST(TaxReturnCatalogue, GivenDescriptionsAreKeptWordForWord) {
  struct Given {
    int index;
    std::string_view code;
    std::string_view description;
  };
  const Given given[] = {
      {1, "K100", "Ricavi art.85/1 lettera a) e b)"},
      {2, "K100.1", "Ricavi art.85/1 lettera a) e b): di cui con fattura"},
      {4, "K102", "Altri proventi considerati ricavi"},
      {6, "K103", "Interessi c/c, su crediti e su prestiti v/dipendenti"},
      {7, "K130", "Plusvalenze patrimoniali ordinarie non rateizzabili"},
      {15, "K133", "Proventi straordinari"},
      {16, "K150", "Rim.ze finali: merci, materie prime e semilavorati commercio"},
      {19, "K151B", "Rimanenze finali: prodotti finiti industria"},
      {23, "K170", "Altri componenti positivi"},
      {30, "K199", "Altri componenti positivi non soggetti Redditi"},
      {33, "K199.03", "Proventi da immobili non strumentali"},
      {49, "K199.97", "Altri proventi straordinari non soggetti Redditi / Irap"},
      {51, "K199.99", "Altri ricavi non soggetti Redditi / Irap"},
      {52, "K200", "Costi per acquisto materie prime/sussid./semilav/merci"},
      {56, "K210", "Spese acquisto servizi (Irap servizi)"},
      {59, "K220", "Altri interessi ed oneri finanziari ( int. su c/c )"},
      {61, "K231", "Altri costi per servizi"},
      {69, "K231.10", "Spese di pubblicita'"},
      {78, "K232", "Spese per lavoro dipendente afferenti l'attivita'"},
      {82, "K235", "Oneri diversi di gestione"},
      {93, "K250", "Esist.ze iniz: merci, materie prime e semilavorati commercio"},
      {100, "K260", "Altri componenti negativi"},
      {103, "K270", "Leasing beni Immobili: capitale"},
      {110, "K280", "Quote ammortamento: immobilizzazioni materiali"},
      {115, "K286", "Quote ammortamento: beni valore inferiore 516,46 Euro"},
      {116, "K288", "Spese manut.cespiti quota deducibile nell'esercizio"},
      {124, "K290", "Accantonamento fondi rischi ( no IRAP )"},
      {136, "K299", "Altri componenti negativi non deducibili Redditi"},
      {147, "K299.29", "ICI (no redditi, no Irap)"},
      {181, "K299.99", "Altri oneri di gestione non deducibili Redditi / Irap"},
      {182, "K300", "Immobilizzazioni immateriali ( a lordo del fondo )"},
      {188, "K306", "Disponibilita' liquide"},
      {190, "K320", "Rim. materie prime, suss.,cons.,in corso lav.,prod.fin."},
      {191, "K400", "Patrimonio netto"},
      {196, "K405", "Debiti verso fornitori"},
      {200, "K409", "Fondo ammortamento: beni materiali"},
      {201, "X100", "Compensi lordi"},
      {202, "X101", "Altri proventi lordi"},
      {207, "X199", "Compensi e altri proventi non soggetti"},
      {208, "X200", "Quote amm.to e spese beni valore inferiore 516,46 Euro"},
      {213, "X230", "Spese per lavoro dipendente e assimilato"},
      {223, "X280", "Altre spese documentate"},
      {232, "X299", "Costi e spese non deducibili"},
      {233, "X300", "Valore complessivo dei beni strumentali"},
  };
  for (const Given& g : given) {
    const records::TaxReturnCode entry = records::taxReturnCode(g.index);
    EXPECT_EQ(entry.code, g.code) << "entry " << g.index;
    EXPECT_EQ(entry.description, g.description) << "entry " << g.index;
  }
}

TEST(TaxReturnCatalogue, EveryEntryFitsItsStoredWidthsAndCodesAreUnique) {
  std::set<std::string_view> seen;
  for (const records::TaxReturnCode& entry : records::taxReturnCodes()) {
    EXPECT_LE(entry.code.size(), records::kTaxCodeWidth) << entry.code;
    EXPECT_FALSE(entry.description.empty()) << entry.code;
    EXPECT_LE(entry.description.size(), records::kTaxDescriptionWidth) << entry.code;
    EXPECT_TRUE(seen.insert(entry.code).second) << "twice: " << entry.code;
    // Descriptions are shown through code page 437 as they are: plain ASCII only.
    for (char c : entry.description) EXPECT_TRUE(c >= ' ' && c <= '~') << entry.code;
  }
}

TEST(TaxReturnCatalogue, LookUpAndStoredForms) {
  struct Case {
    std::string_view code;
    int index;
  };
  const Case cases[] = {
      {"K100", 1}, {"K199.03", 33}, {"K199.03   ", 33}, {"X101.1", 203}, {"X300", 233},
      {"K199.3", 0}, {"k100", 0}, {"", 0}, {"K9999", 0},
  };
  for (const Case& c : cases) EXPECT_EQ(records::findTaxReturnCode(c.code), c.index) << "'" << c.code << "'";

  EXPECT_EQ(records::storedTaxCode(1), "K100   ");
  EXPECT_EQ(records::storedTaxCode(33), "K199.03");
  EXPECT_EQ(records::storedTaxDescription(201), "Compensi lordi" + std::string(46, ' '));
  for (int outside : {0, -1, 234}) {
    EXPECT_EQ(records::taxReturnCode(outside).code, "");
    EXPECT_EQ(records::storedTaxCode(outside), std::string(7, ' '));
  }
}

}  // namespace
}  // namespace vellano::master
