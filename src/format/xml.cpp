#include "format/xml.h"

#include <cstddef>

namespace terrova {
namespace {

// Unicode code points of the Windows-1252 characters 0x80 to 0x9F. The five bytes that code page
// leaves undefined stand for the C1 control of the same number, which XML allows.
constexpr uint16_t kWindows1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

constexpr uint32_t kReplacementCharacter = 0xFFFD;

// Control bytes that XML 1.0 does not allow anywhere, neither as they are nor as a reference.
constexpr bool is_forbidden_control(unsigned b) {
  return b < 0x20 && b != 0x09 && b != 0x0A && b != 0x0D;
}

constexpr uint32_t windows_1252_code_point(unsigned b) {
  return b >= 0x80 && b < 0xA0 ? kWindows1252High[b - 0x80] : b;
}

// The two characters beyond the controls that XML 1.0 does not allow in a document: they are
// written as U+FFFD, as the forbidden controls are.
constexpr bool is_forbidden_character(uint32_t c) { return c == 0xFFFE || c == 0xFFFF; }

// The length of the valid UTF-8 sequence at `p` (before `end`) and its code point, or 0 when the
// bytes there are not one: no overlong form, no surrogate, nothing above U+10FFFF, no sequence
// cut short.
uint32_t utf8_sequence(const char* p, const char* end, uint32_t& code_point) {
  const unsigned lead = static_cast<unsigned char>(*p);
  uint32_t length = 0;
  uint32_t c = 0;
  unsigned low = 0x80;  // the range of the second byte; the later ones are 0x80 to 0xBF
  unsigned high = 0xBF;
  if (lead < 0x80) {
    code_point = lead;
    return 1;
  } else if (lead < 0xC2) {
    return 0;  // a continuation byte, or the lead of an overlong two-byte form
  } else if (lead < 0xE0) {
    length = 2;
    c = lead & 0x1F;
  } else if (lead < 0xF0) {
    length = 3;
    c = lead & 0x0F;
    if (lead == 0xE0) low = 0xA0;   // overlong below U+0800
    if (lead == 0xED) high = 0x9F;  // surrogates
  } else if (lead < 0xF5) {
    length = 4;
    c = lead & 0x07;
    if (lead == 0xF0) low = 0x90;   // overlong below U+10000
    if (lead == 0xF4) high = 0x8F;  // above U+10FFFF
  } else {
    return 0;
  }
  if (end - p < static_cast<std::ptrdiff_t>(length)) return 0;
  for (uint32_t i = 1; i < length; ++i) {
    const unsigned b = static_cast<unsigned char>(p[i]);
    if (b < low || b > high) return 0;
    low = 0x80;
    high = 0xBF;
    c = c << 6 | (b & 0x3F);
  }
  code_point = c;
  return length;
}

// What one byte becomes: nothing (copied with the run of plain bytes around it) or a short text.
struct Replacement {
  uint8_t size = 0;
  char text[8] = {};

  constexpr void append(char c) { text[size++] = c; }
  constexpr void append(const char* s) {
    while (*s != 0) append(*s++);
  }
  constexpr void append_utf8(uint32_t c) {
    if (c < 0x80) {
      append(static_cast<char>(c));
    } else if (c < 0x800) {
      append(static_cast<char>(0xC0 | (c >> 6)));
      append(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
      append(static_cast<char>(0xE0 | (c >> 12)));
      append(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
      append(static_cast<char>(0x80 | (c & 0x3F)));
    }
  }
  // "&#x%0.2X;" of the byte.
  constexpr void append_reference(unsigned b) {
    constexpr char kHex[] = "0123456789ABCDEF";
    append("&#x");
    append(kHex[b >> 4]);
    append(kHex[b & 15]);
    append(';');
  }
};

enum class TextKind {
  kQuoted,   // attribute value with character references for everything outside printable ASCII
  kEscaped,  // attribute value text written in UTF-8
  kComment,  // inside a comment: nothing to escape but forbidden controls and "--"
  kPlain,    // as it stands, with the markup characters escaped
};

// One row per byte value: `plain` bytes are copied as they are, in runs; the others are written
// as their replacement. In comments a "-" is neither: the writer decides on its own. The
// replacements of bytes above 0x7F are those of Windows-1252 text.
struct TextTable {
  TextKind kind;
  bool plain[256] = {};
  Replacement with[256] = {};

  constexpr explicit TextTable(TextKind kind_) : kind(kind_) {
    const bool markup = kind != TextKind::kComment;
    for (unsigned b = 0; b < 256; ++b) {
      Replacement& r = with[b];
      if (is_forbidden_control(b)) {
        if (kind == TextKind::kQuoted || kind == TextKind::kEscaped) {
          r.append("&#xFFFD;");
        } else {
          r.append_utf8(kReplacementCharacter);
        }
      } else if (markup && b == '<') {
        r.append("&lt;");
      } else if (markup && b == '>') {
        r.append("&gt;");
      } else if (markup && b == '&') {
        r.append("&amp;");
      } else if (markup && b == '"') {
        r.append("&quot;");
      } else if ((kind == TextKind::kQuoted || kind == TextKind::kEscaped) &&
                 (b < 0x20 || b == 0x60)) {
        r.append_reference(b);  // tab, line feed, carriage return and the grave accent
      } else if (b > 0x7F) {
        if (kind == TextKind::kQuoted) {
          r.append_reference(b);
        } else {
          r.append_utf8(windows_1252_code_point(b));
        }
      } else if (!(kind == TextKind::kComment && b == '-')) {
        plain[b] = true;
      }
    }
  }
};

constexpr TextTable kQuotedTable(TextKind::kQuoted);
constexpr TextTable kEscapedTable(TextKind::kEscaped);
constexpr TextTable kCommentTable(TextKind::kComment);
constexpr TextTable kPlainTable(TextKind::kPlain);

void write_reference(Output& out, uint32_t code_point) { out.format("&#x%0.2X;", code_point); }

// Writes the character of UTF-8 text at `p`, whose byte is above 0x7F, and returns where the next
// one starts: a valid sequence as it is (as a reference in quoted text), any other byte as its
// Windows-1252 character.
const char* write_utf8_character(Output& out, const TextTable& table, const char* p,
                                 const char* end) {
  uint32_t c = 0;
  const uint32_t length = utf8_sequence(p, end, c);
  if (length == 0) {
    const unsigned char b = static_cast<unsigned char>(*p);
    if (table.kind == TextKind::kQuoted) {
      write_reference(out, windows_1252_code_point(b));
    } else {
      out.write(table.with[b].text, table.with[b].size);
    }
    return p + 1;
  }
  if (is_forbidden_character(c)) {
    const Replacement& r = table.with[0];  // the replacement of a forbidden control
    out.write(r.text, r.size);
  } else if (table.kind == TextKind::kQuoted) {
    write_reference(out, c);
  } else {
    out.write(p, length);
  }
  return p + length;
}

// Copies runs of plain bytes at once and writes the replacement of each other byte, or of each
// character above 0x7F of UTF-8 text.
void write_through(Output& out, const TextTable& table, std::string_view text,
                   TextEncoding encoding) {
  const bool utf8 = encoding == TextEncoding::kUtf8;
  const char* p = text.data();
  const char* end = p + text.size();
  while (p < end) {
    const char* run = p;
    while (p < end && table.plain[static_cast<unsigned char>(*p)]) ++p;
    if (p != run) out.write(run, static_cast<size_t>(p - run));
    if (p == end) break;
    if (utf8 && static_cast<unsigned char>(*p) > 0x7F) {
      p = write_utf8_character(out, table, p, end);
      continue;
    }
    const Replacement& r = table.with[static_cast<unsigned char>(*p++)];
    out.write(r.text, r.size);
  }
}

}  // namespace

void write_escaped_text(Output& out, std::string_view text) {
  write_escaped_text(out, text, out.text_encoding());
}

void write_escaped_text(Output& out, std::string_view text, TextEncoding encoding) {
  write_through(out, kEscapedTable, text, encoding);
}

void write_quoted_text(Output& out, std::string_view text) {
  write_quoted_text(out, text, out.text_encoding());
}

void write_quoted_text(Output& out, std::string_view text, TextEncoding encoding) {
  out.put('"');
  write_through(out, kQuotedTable, text, encoding);
  out.put('"');
}

void write_plain_text(Output& out, std::string_view text) {
  write_plain_text(out, text, out.text_encoding());
}

void write_plain_text(Output& out, std::string_view text, TextEncoding encoding) {
  write_through(out, kPlainTable, text, encoding);
}

void write_comment_text(Output& out, std::string_view text) {
  write_comment_text(out, text, out.text_encoding());
}

void write_comment_text(Output& out, std::string_view text, TextEncoding encoding) {
  const TextTable& table = kCommentTable;
  const bool utf8 = encoding == TextEncoding::kUtf8;
  const char* p = text.data();
  const char* end = p + text.size();
  bool after_hyphen = false;
  while (p < end) {
    const char* run = p;
    while (p < end && table.plain[static_cast<unsigned char>(*p)]) ++p;
    if (p != run) {
      out.write(run, static_cast<size_t>(p - run));
      after_hyphen = false;
    }
    if (p == end) break;
    const unsigned char b = static_cast<unsigned char>(*p);
    if (b == '-') {
      if (after_hyphen) out.put(' ');
      out.put('-');
      after_hyphen = true;
      ++p;
      continue;
    }
    if (utf8 && b > 0x7F) {
      p = write_utf8_character(out, table, p, end);
    } else {
      out.write(table.with[b].text, table.with[b].size);
      ++p;
    }
    after_hyphen = false;
  }
  if (after_hyphen) out.put(' ');
}

TextCharacter first_character(std::string_view text, TextEncoding encoding) {
  if (text.empty()) return {};
  const unsigned char b = static_cast<unsigned char>(text[0]);
  if (encoding != TextEncoding::kUtf8 || b < 0x80) return {b, 1};
  uint32_t c = 0;
  const uint32_t length = utf8_sequence(text.data(), text.data() + text.size(), c);
  if (length == 0) return {windows_1252_code_point(b), 1};
  return {is_forbidden_character(c) ? kReplacementCharacter : c, length};
}

std::string utf8_from_windows_1252(std::string_view text) {
  std::string result;
  result.reserve(text.size());
  for (char c : text) {
    const unsigned char b = static_cast<unsigned char>(c);
    const Replacement& r = kCommentTable.with[b];
    if (r.size == 0) {
      result += c;
    } else {
      result.append(r.text, r.size);
    }
  }
  return result;
}

void write_hex_dump(Output& out, const Image& image, uint64_t offset, uint64_t count) {
  out.write("\t\t<!--");
  write_hex_lines(out, image.bytes(offset, count), true);
}

void write_hex_lines(Output& out, std::string_view bytes, bool middle_gap) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  unsigned column = 0;
  for (char c : bytes) {
    const unsigned char b = static_cast<unsigned char>(c);
    char* p = out.reserve(8);
    if (column == 0) {
      *p++ = '\n';
      *p++ = '\t';
      *p++ = '\t';
      *p++ = '\t';
    } else if (column == 8 && middle_gap) {
      *p++ = ' ';
    }
    *p++ = kHex[b >> 4];
    *p++ = kHex[b & 15];
    *p++ = ' ';
    out.commit(p);
    column = (column + 1) & 15;
  }
  out.write("\n\t\t-->\n\n");
}

void write_record_comment(Output& out, std::string_view kind, uint32_t offset) {
  out.format("\n\t<!-- %s, offset 0x%.8X (%d) -->\n", kind, offset, offset);
}

}  // namespace terrova
