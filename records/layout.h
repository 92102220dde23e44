// Record layouts as tables: each row names a field, how its bytes become a value (the kind)
// and the member that holds the value, so that loading and storing a record both come from
// the one declaration. Kinds are the few ways the data files hold a value; a rule no kind
// expresses stays a named function beside the table that needs it.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <string>
#include <string_view>
#include <tuple>
#include <type_traits>
#include <utility>

#include "records/record_file.h"

namespace vellano::records {

enum class Kind {
  // Texts (std::string). All are written left-aligned, blank-padded and cut to the width,
  // except kBytes.
  kTrimmed,  // NULs as blanks, trailing blanks removed
  kPadded,   // NULs as blanks, the whole width
  kShown,    // control bytes as blanks, trailing blanks removed: what a screen may show
  kRaw,      // the bytes as stored, NULs included
  kBytes,    // the bytes as stored; written back as given, NUL-padded, so they survive a rewrite
  kCopy,     // never read: a copy of a value another file owns, written like kTrimmed
  // One character (char).
  kLetter,  // the first character, NUL as blank
  kByte,    // the first byte as stored, NUL included
  // Numbers.
  kAmount,       // double: numeric value; written in standard text form fitted to the width
                 // (error 6 when it cannot fit)
  kCents,        // double: as kAmount, rounded to cents before it is written
  kSingle,       // float: numeric value; written in single-precision standard text form
  kSingleBare,   // float: as kSingle, written without the leading blank
  kValue,        // float: numeric value of a field whose text another row holds; never written
  kCounter,      // int: a count or counter in 0..9999 (damage reads inside that range);
                 // written like kSingle
  // No member.
  kBlank,   // reserved: written as blanks on every save
  kKept,    // reserved: left as read
  kByRule,  // read and written by a named rule beside the table
};

// One row of a layout: the field, its kind and the member of S it goes to. The makers below
// pair each kind with the member type it needs.
template <class S>
struct Column {
  Field field;
  Kind kind = Kind::kKept;
  std::string S::*text = nullptr;
  char S::*letter = nullptr;
  double S::*amount = nullptr;
  float S::*single = nullptr;
  int S::*counter = nullptr;
};

template <class S>
constexpr Column<S> textColumn(Field f, Kind kind, std::string S::*m) {
  return {f, kind, m, nullptr, nullptr, nullptr, nullptr};
}
template <class S>
constexpr Column<S> trimmed(Field f, std::string S::*m) { return textColumn(f, Kind::kTrimmed, m); }
template <class S>
constexpr Column<S> padded(Field f, std::string S::*m) { return textColumn(f, Kind::kPadded, m); }
template <class S>
constexpr Column<S> shown(Field f, std::string S::*m) { return textColumn(f, Kind::kShown, m); }
template <class S>
constexpr Column<S> raw(Field f, std::string S::*m) { return textColumn(f, Kind::kRaw, m); }
template <class S>
constexpr Column<S> bytes(Field f, std::string S::*m) { return textColumn(f, Kind::kBytes, m); }
template <class S>
constexpr Column<S> copy(Field f, std::string S::*m) { return textColumn(f, Kind::kCopy, m); }
template <class S>
constexpr Column<S> letter(Field f, char S::*m) { return {f, Kind::kLetter, nullptr, m, nullptr, nullptr, nullptr}; }
template <class S>
constexpr Column<S> amount(Field f, double S::*m) { return {f, Kind::kAmount, nullptr, nullptr, m, nullptr, nullptr}; }
template <class S>
constexpr Column<S> cents(Field f, double S::*m) { return {f, Kind::kCents, nullptr, nullptr, m, nullptr, nullptr}; }
template <class S>
constexpr Column<S> numericValue(Field f, float S::*m) { return {f, Kind::kValue, nullptr, nullptr, nullptr, m, nullptr}; }
template <class S>
constexpr Column<S> counter(Field f, int S::*m) { return {f, Kind::kCounter, nullptr, nullptr, nullptr, nullptr, m}; }
template <class S>
constexpr Column<S> blank(Field f) { return {f, Kind::kBlank}; }
template <class S>
constexpr Column<S> kept(Field f) { return {f, Kind::kKept}; }
template <class S>
constexpr Column<S> byRule(Field f) { return {f, Kind::kByRule}; }

// A field of a one-value record (a counter file), or a run of fields of one kind that fill
// an array (settings records, the months and days of the yearly files).
struct Cell {
  Field field;
  Kind kind;
};

namespace detail {
// The bytes of a field that exist in the record; a field past the end of a short buffer has
// fewer, and what is missing reads as never written.
inline std::string_view fieldBytes(std::string_view record, Field f) {
  if (f.offset >= record.size()) return {};
  return record.substr(f.offset, std::min(f.width, record.size() - f.offset));
}

// Where the text of a field ends once its trailing blanks and NULs are gone. Most fields end
// in a run of them, so the run is skipped eight bytes at a time: a byte is a blank or a NUL
// exactly when nothing but the blank's bit is set in it.
inline std::size_t trimmedEnd(std::string_view bytes) {
  std::size_t end = bytes.size();
  constexpr std::uint64_t kNotBlankBits = 0xDFDFDFDFDFDFDFDFULL;
  while (end >= 8) {
    std::uint64_t eight;
    std::memcpy(&eight, bytes.data() + end - 8, 8);
    if ((eight & kNotBlankBits) != 0) break;
    end -= 8;
  }
  while (end > 0 && (bytes[end - 1] == ' ' || bytes[end - 1] == '\0')) --end;
  return end;
}
}  // namespace detail

// kTrimmed, the kind of most fields, kept inline for passes over whole files: trailing blanks
// and NULs removed, NULs inside as blanks, assigned in place so a string keeps its storage.
inline void loadTrimmed(std::string_view record, Field f, std::string& value) {
  const std::string_view bytes = detail::fieldBytes(record, f);
  const std::size_t end = detail::trimmedEnd(bytes);
  if (end == 0) {
    value.clear();  // the common blank field, without the general assignment
    return;
  }
  value.assign(bytes.data(), end);
  for (char& c : value)
    if (c == '\0') c = ' ';
}

// ---- One value ----
// Reading a field past the end of a short buffer gives what a never-written field gives.
// Values load from the bytes of a record: a record buffer, or one record of a block read in
// one call (a view into it, so no copy is made of the record).
void loadValue(std::string_view record, Field f, Kind kind, std::string& value);
void loadValue(std::string_view record, Field f, Kind kind, char& value);
void loadValue(std::string_view record, Field f, Kind kind, double& value);
void loadValue(std::string_view record, Field f, Kind kind, float& value);
void loadValue(std::string_view record, Field f, Kind kind, int& value);
template <class T>
void loadValue(const Record& record, Field f, Kind kind, T& value) {
  loadValue(std::string_view(record.bytes()), f, kind, value);
}

// The bytes a value is stored as; empty for a kind that is not written. Amounts that cannot
// fit are error 6 in `routine`.
struct Encoded {
  Field field;
  Kind kind = Kind::kKept;
  std::string bytes;
};
Encoded encodeValue(Field f, Kind kind, const std::string& value, const char* routine);
Encoded encodeValue(Field f, Kind kind, char value, const char* routine);
Encoded encodeValue(Field f, Kind kind, double value, const char* routine);
Encoded encodeValue(Field f, Kind kind, float value, const char* routine);
Encoded encodeValue(Field f, Kind kind, int value, const char* routine);
Encoded encodeNone(Field f, Kind kind);
// Puts encoded bytes into the buffer; kinds that are not written leave it alone.
void put(Record& record, const Encoded& encoded);

template <class T>
void load(std::string_view record, Cell cell, T& value) {
  loadValue(record, cell.field, cell.kind, value);
}
template <class T>
void load(const Record& record, Cell cell, T& value) {
  loadValue(record, cell.field, cell.kind, value);
}
template <class T>
void store(Record& record, Cell cell, const T& value, const char* routine) {
  put(record, encodeValue(cell.field, cell.kind, value, routine));
}
// A cell without a value: kBlank blanks it, kKept leaves it.
inline void store(Record& record, Cell cell) { put(record, encodeNone(cell.field, cell.kind)); }

// ---- A run of fields into an array ----
// Field i to values[i]; `values` is an array of one value type.
template <class Values>
void loadRun(std::string_view record, std::span<const Field> fields, Kind kind, Values& values) {
  for (std::size_t i = 0; i < fields.size() && i < values.size(); ++i) loadValue(record, fields[i], kind, values[i]);
}
template <class Values>
void loadRun(const Record& record, std::span<const Field> fields, Kind kind, Values& values) {
  loadRun(std::string_view(record.bytes()), fields, kind, values);
}
template <class Values>
void storeRun(Record& record, std::span<const Field> fields, Kind kind, const Values& values,
              const char* routine) {
  for (std::size_t i = 0; i < fields.size() && i < values.size(); ++i)
    put(record, encodeValue(fields[i], kind, values[i], routine));
}

// ---- A table ----
namespace detail {
template <class S, class V>
void loadColumn(std::string_view record, const Column<S>& c, V& value) {
  if (c.text && c.kind == Kind::kTrimmed) loadTrimmed(record, c.field, value.*c.text);
  else if (c.text) loadValue(record, c.field, c.kind, value.*c.text);
  else if (c.letter) loadValue(record, c.field, c.kind, value.*c.letter);
  else if (c.amount) loadValue(record, c.field, c.kind, value.*c.amount);
  else if (c.single) loadValue(record, c.field, c.kind, value.*c.single);
  else if (c.counter) loadValue(record, c.field, c.kind, value.*c.counter);
}
template <class S>
Encoded encodeColumn(const Column<S>& c, const S& value, const char* routine) {
  if (c.text) return encodeValue(c.field, c.kind, value.*c.text, routine);
  if (c.letter) return encodeValue(c.field, c.kind, value.*c.letter, routine);
  if (c.amount) return encodeValue(c.field, c.kind, value.*c.amount, routine);
  if (c.single) return encodeValue(c.field, c.kind, value.*c.single, routine);
  if (c.counter) return encodeValue(c.field, c.kind, value.*c.counter, routine);
  return encodeNone(c.field, c.kind);
}
}  // namespace detail

// Buffer to value: every row that has a member (kCopy rows are not read).
template <class S, std::size_t N>
void load(std::string_view record, const std::array<Column<S>, N>& table, S& value) {
  for (const Column<S>& c : table)
    if (c.kind != Kind::kCopy) detail::loadColumn(record, c, value);
}
template <class S, std::size_t N>
void load(const Record& record, const std::array<Column<S>, N>& table, S& value) {
  load(std::string_view(record.bytes()), table, value);
}

// The same for a table known when compiling, named by reference: each row becomes its own
// code, so a pass that unpacks every record of a file pays no walk over the table.
template <const auto& Table, class S>
void loadEach(std::string_view record, S& value) {
  [&]<std::size_t... I>(std::index_sequence<I...>) {
    ((Table[I].kind != Kind::kCopy ? detail::loadColumn(record, Table[I], value) : void()), ...);
  }(std::make_index_sequence<std::tuple_size_v<std::remove_cvref_t<decltype(Table)>>>{});
}

// Value to buffer. Every field is encoded before any is set: an amount too wide for its
// field stops the write with the buffer as it was.
template <class S, std::size_t N>
void store(Record& record, const std::array<Column<S>, N>& table, const S& value, const char* routine) {
  std::array<Encoded, N> encoded;
  for (std::size_t i = 0; i < N; ++i) encoded[i] = detail::encodeColumn(table[i], value, routine);
  for (const Encoded& e : encoded) put(record, e);
}

// ---- Checks of a declaration ----

// True when the fields, in any order, cover bytes 0..length exactly once.
constexpr bool tiles(std::span<const Field> fields, std::size_t length) {
  std::size_t at = 0;
  std::size_t used = 0;
  while (at < length) {
    bool found = false;
    for (const Field& f : fields) {
      if (f.offset == at && f.width > 0) {
        if (found) return false;  // two fields start here
        found = true;
        at += f.width;
        ++used;
        break;
      }
    }
    if (!found) return false;
  }
  return at == length && used == fields.size();
}

// A table tiles its record when its fields do; kValue rows read a field another row holds.
template <class S, std::size_t N>
constexpr bool tiles(const std::array<Column<S>, N>& table, std::size_t length) {
  std::array<Field, N> fields{};
  std::size_t n = 0;
  for (const Column<S>& c : table)
    if (c.kind != Kind::kValue) fields[n++] = c.field;
  return tiles(std::span<const Field>(fields.data(), n), length);
}

// The table with one more row: a record that starts with another record's fields.
template <class S, std::size_t N>
constexpr std::array<Column<S>, N + 1> withRow(const std::array<Column<S>, N>& table, Column<S> row) {
  std::array<Column<S>, N + 1> out{};
  for (std::size_t i = 0; i < N; ++i) out[i] = table[i];
  out[N] = row;
  return out;
}

// The fields of a table, in its order.
template <class S, std::size_t N>
constexpr std::array<Field, N> fieldsOf(const std::array<Column<S>, N>& table) {
  std::array<Field, N> fields{};
  for (std::size_t i = 0; i < N; ++i) fields[i] = table[i].field;
  return fields;
}

// Two lists of fields as one, for a record read through a table and a run.
template <std::size_t N, std::size_t M>
constexpr std::array<Field, N + M> joined(const std::array<Field, N>& a, const std::array<Field, M>& b) {
  std::array<Field, N + M> out{};
  for (std::size_t i = 0; i < N; ++i) out[i] = a[i];
  for (std::size_t i = 0; i < M; ++i) out[N + i] = b[i];
  return out;
}

// Consecutive equal fields: `count` fields of `width` from `offset`.
template <std::size_t N>
constexpr std::array<Field, N> repeatedFields(std::size_t offset, std::size_t width) {
  std::array<Field, N> fields{};
  for (std::size_t i = 0; i < N; ++i) fields[i] = Field{offset + i * width, width};
  return fields;
}

}  // namespace vellano::records
