// The ventilation of takings: the monthly takings, the purchases for resale by rate and
// month, the monthly coefficient and the takings attributed to each rate with their VAT.
// The tables are single precision, as the CALCOLI screen has always computed them.
#pragma once

#include <array>
#include <string>

#include "records/catalogue.h"

namespace vellano::entry {

inline constexpr int kMonths = 12;
inline constexpr int kMaxRate = 100;  // purchases are filed by whole rate 0-100

// What the computation starts from.
struct VentilationInput {
  // Monthly sums of the four takings columns, index 1-12 (0 unused).
  std::array<float, kMonths + 1> c4{};
  std::array<float, kMonths + 1> c10{};
  std::array<float, kMonths + 1> c20{};
  std::array<float, kMonths + 1> v{};
  // P(m, r): purchases for resale of month m at rate r, gross of VAT.
  std::array<std::array<float, kMaxRate + 1>, kMonths + 1> p{};
  // Rimanenze Anno Precedente at 4, 10 and 20 %, and K(0).
  float stock4 = 0;
  float stock10 = 0;
  float stock20 = 0;
  float previousCoefficient = 0;

  // Adds a purchase line's gross amount; months outside 1-12 and rates outside 0-100 are
  // not purchases any table can hold and are left out.
  void addPurchase(int month, float rate, double gross);
  float stockAt(int rate) const;  // the Rimanenze of 4/10/20 %, 0 for other rates
};

struct VentilationTables {
  std::array<float, kMonths + 1> total{};  // TOTALE(m) = C4 + C10 + C20
  std::array<float, kMonths + 1> m{};      // M(m)
  std::array<float, kMonths + 1> pm{};     // PM(m)
  std::array<std::array<float, kMaxRate + 1>, kMonths + 1> pp{};  // PP(m, r)
  std::array<float, kMonths + 1> k{};      // K(m), k[0] = previous-year coefficient
  std::array<std::array<float, kMaxRate + 1>, kMonths + 1> l{};   // L(m, r)
  std::array<std::array<float, kMaxRate + 1>, kMonths + 1> i{};   // I(m, r)
  std::array<float, kMonths + 1> monthVat{};                      // Σ_r I(m, r)

  // Yearly totals.
  float c4 = 0, c10 = 0, c20 = 0, v = 0, totalYear = 0;
  std::array<float, kMaxRate + 1> purchasesYear{};  // Σ_m P(m, r)
  float mYear = 0;
  std::array<float, kMaxRate + 1> vatYear{};        // Σ_m I(m, r)
  std::array<float, kMaxRate + 1> taxableYear{};    // Σ_m (L − I)
  float vatTotalYear = 0;

  float taxable(int month, int rate) const { return l[month][rate] - i[month][rate]; }
};

VentilationTables computeVentilation(const VentilationInput& input);

// Gathers the input from the files: the purchase header (INDACQ record 1), the twelve
// takings records (CORRIS) and the purchase register (ACQUIS) with the causals' ventilation
// flag. Leaves channels 3 and 4 open on the purchase register and channel 27 open.
VentilationInput readVentilationInput(records::Catalogue& catalogue);

}  // namespace vellano::entry
