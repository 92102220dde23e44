// The kinds of a record layout: how each turns field bytes into a value and back.
#include "records/layout.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "records/numbers.h"
#include "records/text.h"

namespace vellano::records {
namespace {

constexpr int kMostCounter = 9999;  // what a 5-character counter with its blank holds

[[noreturn]] void wrongKind(const char* what) {
  // Only a table declared against the makers' pairing gets here.
  throw std::logic_error(std::string("record layout: kind does not fit a ") + what);
}

// The bytes of a field that exist in the record; a field past the end of a short buffer has
// fewer, and what is missing reads as never written.
std::string_view fieldBytes(std::string_view record, Field f) { return detail::fieldBytes(record, f); }

bool isControl(char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; }

// Control bytes of a damaged record become blanks, so a screen never draws them.
void assignShown(std::string_view bytes, std::string& value) {
  std::size_t end = bytes.size();
  while (end > 0 && (isControl(bytes[end - 1]) || bytes[end - 1] == ' ')) --end;
  value.assign(bytes.data(), end);
  for (char& c : value)
    if (isControl(c)) c = ' ';
}

// The whole width: blanks (kPadded) or NULs (raw kinds) where the record is short.
void assignWhole(std::string_view bytes, std::size_t width, char pad, bool nulAsBlank, std::string& value) {
  value.assign(bytes.data(), bytes.size());
  value.resize(width, pad);
  if (nulAsBlank) std::replace(value.begin(), value.end(), '\0', ' ');
}

// Counts live in 0..9999; anything else is damage and reads inside the range.
int counterField(std::string_view record, Field f) {
  const double v = val(fieldBytes(record, f));
  if (!(v > 0)) return 0;
  if (v > kMostCounter) return kMostCounter;
  return static_cast<int>(std::floor(v));
}

// The written bytes go in as given, NUL-padded, the buffer grown when it is short.
void putBytes(Record& record, Field f, const std::string& bytes) {
  std::string value = bytes;
  value.resize(f.width, '\0');
  if (record.bytes().size() < f.offset + f.width) record.bytes().resize(f.offset + f.width, '\0');
  record.bytes().replace(f.offset, f.width, value);
}

}  // namespace

void loadValue(std::string_view record, Field f, Kind kind, std::string& value) {
  const std::string_view bytes = fieldBytes(record, f);
  switch (kind) {
    case Kind::kTrimmed: loadTrimmed(record, f, value); return;
    case Kind::kPadded: assignWhole(bytes, f.width, ' ', true, value); return;
    case Kind::kShown: assignShown(bytes, value); return;
    case Kind::kRaw:
    case Kind::kBytes: assignWhole(bytes, f.width, '\0', false, value); return;
    case Kind::kCopy: return;
    default: wrongKind("text");
  }
}

void loadValue(std::string_view record, Field f, Kind kind, char& value) {
  const std::string_view bytes = fieldBytes(record, f);
  switch (kind) {
    case Kind::kLetter:
      // A zero-width field has no character: what an empty text gives.
      value = !bytes.empty() ? (bytes[0] == '\0' ? ' ' : bytes[0]) : (f.width > 0 ? ' ' : '\0');
      return;
    case Kind::kByte: value = bytes.empty() ? '\0' : bytes[0]; return;
    default: wrongKind("character");
  }
}

void loadValue(std::string_view record, Field f, Kind kind, double& value) {
  if (kind != Kind::kAmount && kind != Kind::kCents) wrongKind("double");
  value = val(fieldBytes(record, f));
}

void loadValue(std::string_view record, Field f, Kind kind, float& value) {
  if (kind != Kind::kSingle && kind != Kind::kSingleBare && kind != Kind::kValue) wrongKind("float");
  value = static_cast<float>(val(fieldBytes(record, f)));
}

void loadValue(std::string_view record, Field f, Kind kind, int& value) {
  if (kind != Kind::kCounter) wrongKind("counter");
  value = counterField(record, f);
}

Encoded encodeValue(Field f, Kind kind, const std::string& value, const char*) {
  switch (kind) {
    case Kind::kTrimmed:
    case Kind::kPadded:
    case Kind::kShown:
    case Kind::kRaw:
    case Kind::kBytes:
    case Kind::kCopy: return {f, kind, value};
    default: wrongKind("text");
  }
}

Encoded encodeValue(Field f, Kind kind, char value, const char*) {
  if (kind != Kind::kLetter && kind != Kind::kByte) wrongKind("character");
  return {f, kind, std::string(1, value)};
}

Encoded encodeValue(Field f, Kind kind, double value, const char* routine) {
  switch (kind) {
    case Kind::kAmount: return {f, kind, amountField(value, f.width, routine)};
    case Kind::kCents: return {f, kind, amountField(round2(value), f.width, routine)};
    default: wrongKind("double");
  }
}

Encoded encodeValue(Field f, Kind kind, float value, const char*) {
  switch (kind) {
    case Kind::kSingle: return {f, kind, strSingle(value)};
    case Kind::kSingleBare: return {f, kind, trimLeft(strSingle(value))};
    case Kind::kValue: return {f, kind, {}};
    default: wrongKind("float");
  }
}

Encoded encodeValue(Field f, Kind kind, int value, const char*) {
  if (kind != Kind::kCounter) wrongKind("counter");
  return {f, kind, strSingle(static_cast<float>(value))};
}

Encoded encodeNone(Field f, Kind kind) {
  switch (kind) {
    case Kind::kBlank:
    case Kind::kKept:
    case Kind::kByRule: return {f, kind, {}};
    default: wrongKind("row without a member");
  }
}

void put(Record& record, const Encoded& e) {
  switch (e.kind) {
    case Kind::kKept:
    case Kind::kByRule:
    case Kind::kValue: return;
    case Kind::kBytes: putBytes(record, e.field, e.bytes); return;
    case Kind::kByte:
      if (e.field.offset < record.bytes().size()) record.bytes()[e.field.offset] = e.bytes[0];
      return;
    default: record.set(e.field, e.bytes); return;  // kBlank sets "": blanks
  }
}

}  // namespace vellano::records
