#include "format/xml.h"

namespace terrova {
namespace {

// 0: written as it is; 1: written as a character reference; 2: written as a named entity.
struct EscapeTable {
  unsigned char kind[256];
  constexpr EscapeTable() : kind() {
    for (int b = 0; b < 256; ++b) kind[b] = (b < 0x20 || b > 0x7F || b == 0x60) ? 1 : 0;
    kind[0x3C] = kind[0x3E] = kind[0x26] = kind[0x22] = 2;  // < > & "
  }
};
constexpr EscapeTable kEscapes;

}  // namespace

void write_escaped_text(Output& out, std::string_view text) {
  const char* p = text.data();
  const char* end = p + text.size();
  while (p < end) {
    const char* run = p;
    while (p < end && kEscapes.kind[static_cast<unsigned char>(*p)] == 0) ++p;
    out.write(run, static_cast<size_t>(p - run));
    if (p == end) break;
    const unsigned char b = static_cast<unsigned char>(*p++);
    switch (b) {
      case '<':
        out.write("&lt;");
        break;
      case '>':
        out.write("&gt;");
        break;
      case '&':
        out.write("&amp;");
        break;
      case '"':
        out.write("&quot;");
        break;
      default:
        out.format("&#x%0.2X;", b);
        break;
    }
  }
}

void write_quoted_text(Output& out, std::string_view text) {
  out.put('"');
  write_escaped_text(out, text);
  out.put('"');
}

void write_plain_text(Output& out, std::string_view text) { out.write(text); }

void write_comment_text(Output& out, std::string_view text) {
  char previous = 0;
  for (char c : text) {
    if (c == '-' && previous == '-') out.put(' ');
    out.put(c);
    previous = c;
  }
  if (previous == '-') out.put(' ');
}

void write_hex_dump(Output& out, const Image& image, uint64_t offset, uint64_t count) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string_view bytes = image.bytes(offset, count);
  out.write("\t\t<!--");
  unsigned column = 0;
  for (char c : bytes) {
    const unsigned char b = static_cast<unsigned char>(c);
    char* p = out.reserve(8);
    if (column == 0) {
      *p++ = '\n';
      *p++ = '\t';
      *p++ = '\t';
      *p++ = '\t';
    } else if (column == 8) {
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
