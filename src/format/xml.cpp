#include "format/xml.h"

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
  kUtf8,     // attribute value of UTF-8 text: as kQuoted, with the bytes above 0x7F as they are
};

// One row per byte value: `plain` bytes are copied as they are, in runs; the others are written
// as their replacement. In comments a "-" is neither: the writer decides on its own.
struct TextTable {
  bool plain[256] = {};
  Replacement with[256] = {};

  constexpr explicit TextTable(TextKind kind) {
    const bool markup = kind != TextKind::kComment;
    for (unsigned b = 0; b < 256; ++b) {
      Replacement& r = with[b];
      if (is_forbidden_control(b)) {
        if (kind == TextKind::kQuoted || kind == TextKind::kEscaped || kind == TextKind::kUtf8) {
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
      } else if ((kind == TextKind::kQuoted || kind == TextKind::kEscaped ||
                  kind == TextKind::kUtf8) &&
                 (b < 0x20 || b == 0x60)) {
        r.append_reference(b);  // tab, line feed, carriage return and the grave accent
      } else if (b > 0x7F && kind != TextKind::kUtf8) {
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
constexpr TextTable kUtf8Table(TextKind::kUtf8);

// True when the text is well-formed UTF-8 of characters XML allows: no overlong form, no
// surrogate, nothing above U+10FFFF, neither U+FFFE nor U+FFFF.
bool is_xml_utf8(std::string_view text) {
  const auto* p = reinterpret_cast<const unsigned char*>(text.data());
  const unsigned char* end = p + text.size();
  while (p < end) {
    const unsigned b = *p++;
    if (b < 0x80) continue;
    size_t more = 0;
    uint32_t c = 0;
    uint32_t least = 0;
    if (b >= 0xC2 && b <= 0xDF) {
      more = 1, c = b & 0x1F, least = 0x80;
    } else if (b >= 0xE0 && b <= 0xEF) {
      more = 2, c = b & 0x0F, least = 0x800;
    } else if (b >= 0xF0 && b <= 0xF4) {
      more = 3, c = b & 0x07, least = 0x10000;
    } else {
      return false;
    }
    if (static_cast<size_t>(end - p) < more) return false;
    for (size_t i = 0; i < more; ++i, ++p) {
      if ((*p & 0xC0) != 0x80) return false;
      c = c << 6 | (*p & 0x3Fu);
    }
    if (c < least || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF) || c == 0xFFFE || c == 0xFFFF) {
      return false;
    }
  }
  return true;
}

// Copies runs of plain bytes at once and writes the replacement of each other byte.
void write_through(Output& out, const TextTable& table, std::string_view text) {
  const char* p = text.data();
  const char* end = p + text.size();
  while (p < end) {
    const char* run = p;
    while (p < end && table.plain[static_cast<unsigned char>(*p)]) ++p;
    if (p != run) out.write(run, static_cast<size_t>(p - run));
    if (p == end) break;
    const Replacement& r = table.with[static_cast<unsigned char>(*p++)];
    out.write(r.text, r.size);
  }
}

}  // namespace

void write_escaped_text(Output& out, std::string_view text) {
  write_through(out, kEscapedTable, text);
}

void write_quoted_text(Output& out, std::string_view text) {
  out.put('"');
  write_through(out, kQuotedTable, text);
  out.put('"');
}

void write_quoted_utf8_text(Output& out, std::string_view text) {
  if (!is_xml_utf8(text)) {
    write_quoted_text(out, text);
    return;
  }
  out.put('"');
  write_through(out, kUtf8Table, text);
  out.put('"');
}

void write_escaped_utf8_text(Output& out, std::string_view text) {
  if (is_xml_utf8(text)) {
    write_through(out, kUtf8Table, text);
  } else {
    write_escaped_text(out, text);
  }
}

void write_plain_text(Output& out, std::string_view text) { write_through(out, kPlainTable, text); }

void write_comment_text(Output& out, std::string_view text) {
  const TextTable& table = kCommentTable;
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
    const unsigned char b = static_cast<unsigned char>(*p++);
    if (b == '-') {
      if (after_hyphen) out.put(' ');
      out.put('-');
      after_hyphen = true;
    } else {
      out.write(table.with[b].text, table.with[b].size);
      after_hyphen = false;
    }
  }
  if (after_hyphen) out.put(' ');
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
