#include "format/ident.h"

#include <cstring>

namespace terrova {
namespace {

constexpr char kRegionAlphabet[] = "  0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";

char ident_digit(uint32_t d) {
  if (d == 0) return '.';
  if (d == 1) return '/';
  if (d < 12) return static_cast<char>(d + 46);
  return static_cast<char>(d + 53);
}

// Writes the base-38 digits of n, most significant first.
void write_base38(uint32_t n, char* out) {
  size_t len = 0;
  while (n != 0) {
    out[len++] = ident_digit(n % 38);
    n /= 38;
  }
  out[len] = 0;
  reverse_in_place(out);
}

}  // namespace

IdentText decode_ident(uint32_t word) {
  IdentText t;
  uint32_t n = word >> 5;
  if (n == 0) {
    t.text[0] = '0';
    return t;
  }
  write_base38(n, t.text);
  return t;
}

IdentText decode_raw_ident(uint32_t word) {
  IdentText t;
  write_base38(word, t.text);
  return t;
}

RegionText decode_region(uint32_t word) {
  RegionText t;
  uint32_t r = word;
  if (r > 1443) r &= 0x7FF;
  if (r == 0) return t;
  if (r < 2 || r > 1443) {
    t.text[0] = 'A';
    t.text[1] = 'A';
    return t;
  }
  t.text[0] = kRegionAlphabet[r / 38];
  t.text[1] = kRegionAlphabet[r % 38];
  if (t.text[0] == ' ') {
    t.text[0] = t.text[1];
    t.text[1] = 0;
  }
  return t;
}

void reverse_in_place(char* text) {
  size_t len = std::strlen(text);
  for (size_t i = 0; i < len / 2; ++i) {
    char c = text[i];
    text[i] = text[len - 1 - i];
    text[len - 1 - i] = c;
  }
}

void trim_trailing_blanks(char* text) {
  size_t len = std::strlen(text);
  while (len > 0 && static_cast<signed char>(text[len - 1]) <= 32) text[--len] = 0;
}

void write_registry_guid(Output& out, const Record& record, uint64_t at) {
  out.format("{%0.8x-%0.4x-%0.4x-", record.u32(at), record.u16(at + 4), record.u16(at + 6));
  for (uint32_t i = 0; i < 8; ++i) {
    out.format("%0.2x", record.u8(at + 8 + i));
    if (i == 1) out.put('-');
  }
  out.put('}');
}

bool guid_is_zero(const Record& record, uint64_t at) {
  // Bytes past the record read as zero, so only those inside it are compared.
  static constexpr char kZeros[16] = {};
  const std::string_view bytes = record.bytes(at, sizeof kZeros);
  return std::memcmp(bytes.data(), kZeros, bytes.size()) == 0;
}

}  // namespace terrova
