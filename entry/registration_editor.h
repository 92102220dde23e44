// Inside the registration screen: one object per opened register, its drawing, the fields of
// a registration in tab order, the VAT lines and saving. Only the entry library includes this.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "records/registration_files.h"
#include "screen/field_editor.h"
#include "records/numbers.h"
#include "screen/session.h"
#include "platform/screen_buffer.h"

namespace vellano::entry {

// What a field leaves behind: the next field, the previous one, or the registration abandoned.
enum class Step { Next, Back, Abandon };

using records::wholeNumberIn;

// The empty grid line of a VAT line, UTF-8.
inline constexpr std::string_view kLineTemplate =
    "···.·· ·························│·· ····· ··· ··.· │···│··········│··········│··········";

class RegistrationEditor {
 public:
  RegistrationEditor(screen::Session& session, records::RegisterKind kind);
  void run();

 private:
  // Drawing (registration_screen.cpp).
  void drawScreen();
  void drawTemplates();
  void showHeader();
  void showRecordNumber();
  void showRegistration();
  void showCounterparty();
  void showLine(int k);
  void showTotals();
  void put(int row, int col, std::string_view cp437Text);
  void putField(int row, int col, std::string_view text, std::size_t width);
  void showLegend(std::string_view legend);

  // Browsing (registration_screen.cpp).
  int askNumber();  // the registration chosen, or 0 to leave
  void select(int n);
  void protocolCounters();
  void save();
  void moveBalance(long code, double amount);

  // The fields of one registration (registration_fields.cpp).
  bool editRegistration();  // true when saved
  Step askField(int field);
  Step askDate();
  Step askCounterparty();
  long chooseCounterparty(bool suppliers);  // -1 nothing chosen
  bool counterpartyAccepted(double code) const;
  Step askDocumentNumber();
  Step askDocumentDate();
  Step askNote();
  Step askLetter();
  Step askSection();
  Step askProtocol();
  Step askQuantity();
  bool dateAccepted(std::string_view date) const;

  // The VAT lines (registration_lines.cpp).
  Step editLines();
  Step askCausal(int k);
  Step askSubAccount(int k);
  Step askVatCode(int k);
  Step askRate(int k);
  Step askTaxable(int k, bool& askTotal);
  Step askTotal(int k);
  std::string subAccountDescription(int causal, int subAccount);

  screen::FieldResult edit(int row, int col, int length, std::string_view mask, int pageMode,
                          std::string_view initial, bool capitals = false);
  bool sales() const { return kind_ == records::RegisterKind::Sales; }
  int customers() const;
  int suppliers() const;
  int causals() const;

  screen::Session& session_;
  records::RegisterKind kind_;
  platform::ScreenBuffer& screen_;
  std::uint8_t textAttr_;
  std::uint8_t borderAttr_;
  std::uint8_t titleAttr_;
  std::uint8_t editAttr_;
  std::uint8_t gridAttr_;

  records::RegisterHeader header_;
  int current_ = 0;          // record on show, count + 1 for a new one, 0 before the first choice
  records::Registration work_;
  long loadedCounterparty_ = 0;  // as loaded, undone from the balances on saving
  double loadedTotal_ = 0;
};

}  // namespace vellano::entry
