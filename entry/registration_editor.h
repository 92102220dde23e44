// Inside the registration screen: one object per opened register, its drawing, the fields of
// a registration in tab order, the VAT lines and saving. Only the entry library includes this.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "records/registration_files.h"
#include "screen/field_editor.h"
#include "screen/field_sequence.h"
#include "screen/session.h"
#include "platform/screen_buffer.h"

namespace vellano::entry {

// The empty grid line of a VAT line, UTF-8.
inline constexpr std::string_view kLineTemplate =
    "···.·· ·························│·· ····· ··· ··.· │···│··········│··········│··········";

// ESC and Up leave most fields; any other key that ends one confirms it, Tab as Enter.
inline std::optional<screen::Go> leaving(int exitCode) {
  if (exitCode == screen::kExitEsc) return screen::Go::abandon();
  if (exitCode == screen::kExitUp) return screen::Go::back();
  return std::nullopt;
}

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
  std::optional<int> numberKey(int key);
  void select(int n);
  void protocolCounters();
  void save();
  void moveBalance(long code, double amount);

  // The fields of one registration (registration_fields.cpp). Each field is one step of the
  // sequence: it is typed once and says where to go.
  bool editRegistration();  // true when saved
  screen::Go askDate();
  screen::Go askCounterparty();
  long chooseCounterparty(bool suppliers);  // -1 nothing chosen
  bool counterpartyAccepted(double code) const;
  screen::Go askDocumentNumber();
  screen::Go askDocumentDate();
  screen::Go askNote();
  screen::Go askLetter();
  screen::Go askSection();
  screen::Go askProtocol();
  screen::Go askQuantity();
  bool dateAccepted(std::string_view date) const;

  // The VAT lines (registration_lines.cpp).
  screen::Go editLines();
  screen::Go askCausal(int k);
  screen::Go askSubAccount(int k);
  screen::Go askVatCode(int k);
  screen::Go askRate(int k);
  screen::Go askTaxable(int k);
  screen::Go askTotal(int k);
  screen::Go lineDone(int k);
  std::string subAccountDescription(int causal, int subAccount);

  // Fields are typed in the screen's editing colour over the colour their cells have.
  void fieldColours(const screen::FieldSpec& field);
  screen::FieldResult type(const screen::FieldSpec& field, std::string_view initial);
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
