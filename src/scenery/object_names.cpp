#include "scenery/object_names.h"

#include <string>

namespace terrova {
namespace {

constexpr size_t kGuidTextLength = 36;

// Blanks are the bytes whose value as a signed byte is at most 32: control characters, the
// space and the bytes 0x80-0xFF.
bool is_blank(char c) { return static_cast<signed char>(c) <= 32; }

std::string_view trim_leading(std::string_view s) {
  size_t i = 0;
  while (i < s.size() && is_blank(s[i])) ++i;
  return s.substr(i);
}

std::string_view trim_trailing(std::string_view s) {
  size_t n = s.size();
  while (n > 0 && is_blank(s[n - 1])) --n;
  return s.substr(0, n);
}

char lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; }

// The key of the GUID text g (8-4-4-4-12): the groups are reordered as the record's four
// little-endian words read: first group; third and second group; then the bytes of the fourth
// and last groups, each word's bytes in reverse.
void build_key(std::string_view g, char key[32]) {
  static constexpr uint8_t kFrom[12] = {14, 16, 9, 11, 26, 24, 21, 19, 34, 32, 30, 28};
  for (size_t i = 0; i < 8; ++i) key[i] = lower(g[i]);
  for (size_t pair = 0; pair < 12; ++pair) {
    key[8 + 2 * pair] = lower(g[kFrom[pair]]);
    key[9 + 2 * pair] = lower(g[kFrom[pair] + 1u]);
  }
}

void add_line(std::string_view line, StringTable& names) {
  const size_t open = line.find('{');
  if (open == std::string_view::npos) return;
  const std::string_view name = trim_trailing(trim_leading(line.substr(0, open)));
  if (name.empty()) return;
  std::string_view guid = line.substr(open + 1);
  guid = trim_leading(guid.substr(0, guid.find('}')));
  if (guid.size() < kGuidTextLength) return;
  char key[32];
  build_key(guid, key);
  // A key that is already present keeps its first name.
  table_add(names, std::string_view(key, sizeof key), 0, std::string(name));
}

}  // namespace

void parse_object_names(std::string_view text, StringTable& names) {
  size_t i = 0;
  while (i < text.size()) {
    const char c = text[i];
    if (c == ';') {
      while (i < text.size() && text[i] != '\r' && text[i] != '\n') ++i;
    } else if (c == '\r' || c == '\n') {
      ++i;
    } else {
      const size_t start = i;
      while (i < text.size() && text[i] != '\r' && text[i] != '\n' && text[i] != ';') ++i;
      std::string_view line = text.substr(start, i - start);
      // The line is handled as text: a zero byte ends it.
      line = line.substr(0, line.find('\0'));
      add_line(line, names);
    }
  }
}

}  // namespace terrova
