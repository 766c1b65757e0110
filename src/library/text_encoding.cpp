#include "library/text_encoding.h"

namespace terrova::library {
namespace {

constexpr uint32_t kReplacement = 0xFFFD;

// Windows-1252 from 0x80 to 0x9F; the five bytes the code page leaves free keep their C1 code
// points, as the system's own conversion does.
constexpr uint16_t kWindows1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

// The length of the UTF-8 sequence at `at`, or 0 when none starts there (overlong forms,
// surrogates and code points past U+10FFFF are refused).
size_t utf8_sequence(std::string_view bytes, size_t at) {
  const auto byte = [&](size_t i) { return static_cast<unsigned char>(bytes[i]); };
  const unsigned char lead = byte(at);
  if (lead < 0x80) return 1;
  size_t length;
  uint32_t minimum;
  uint32_t code;
  if ((lead & 0xE0) == 0xC0) {
    length = 2, minimum = 0x80, code = lead & 0x1Fu;
  } else if ((lead & 0xF0) == 0xE0) {
    length = 3, minimum = 0x800, code = lead & 0x0Fu;
  } else if ((lead & 0xF8) == 0xF0) {
    length = 4, minimum = 0x10000, code = lead & 0x07u;
  } else {
    return 0;
  }
  if (bytes.size() - at < length) return 0;
  for (size_t i = 1; i < length; ++i) {
    if ((byte(at + i) & 0xC0) != 0x80) return 0;
    code = (code << 6) | (byte(at + i) & 0x3Fu);
  }
  if (code < minimum || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return 0;
  return length;
}

void decode_utf16(std::string_view bytes, bool little_endian, DecodedText& out) {
  const size_t units = bytes.size() / 2;
  const auto unit = [&](size_t i) -> uint32_t {
    const auto lo = static_cast<unsigned char>(bytes[2 * i + (little_endian ? 0 : 1)]);
    const auto hi = static_cast<unsigned char>(bytes[2 * i + (little_endian ? 1 : 0)]);
    return static_cast<uint32_t>(lo | (hi << 8));
  };
  out.text.reserve(units);
  for (size_t i = 0; i < units; ++i) {
    const uint32_t u = unit(i);
    if (u >= 0xD800 && u <= 0xDBFF && i + 1 < units && unit(i + 1) >= 0xDC00 &&
        unit(i + 1) <= 0xDFFF) {
      append_utf8(out.text, 0x10000 + ((u - 0xD800) << 10) + (unit(i + 1) - 0xDC00));
      ++i;
    } else if (u >= 0xD800 && u <= 0xDFFF) {
      append_utf8(out.text, kReplacement);
      out.damaged = true;
    } else {
      append_utf8(out.text, u);
    }
  }
  if (bytes.size() % 2 != 0) {
    append_utf8(out.text, kReplacement);
    out.damaged = true;
  }
}

void decode_windows1252(std::string_view bytes, std::string& out) {
  out.reserve(bytes.size() + bytes.size() / 8);
  for (const char c : bytes) {
    const auto b = static_cast<unsigned char>(c);
    if (b < 0x80) {
      out += c;
    } else if (b < 0xA0) {
      append_utf8(out, kWindows1252High[b - 0x80]);
    } else {
      append_utf8(out, b);
    }
  }
}

bool has_prefix(std::string_view bytes, std::string_view prefix) {
  return bytes.substr(0, prefix.size()) == prefix;
}

}  // namespace

void append_utf8(std::string& out, uint32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

bool is_valid_utf8(std::string_view bytes) {
  for (size_t at = 0; at < bytes.size();) {
    const size_t length = utf8_sequence(bytes, at);
    if (length == 0) return false;
    at += length;
  }
  return true;
}

DecodedText decode_text(std::string_view bytes) {
  DecodedText out;
  if (has_prefix(bytes, "\xEF\xBB\xBF")) {
    out.encoding = TextEncoding::kUtf8Bom;
    bytes.remove_prefix(3);
    // A mark followed by bytes that are not UTF-8 is a file an editor saved wrongly: its bytes
    // are read as the code page the simulators write.
    if (is_valid_utf8(bytes)) {
      out.text = bytes;
    } else {
      decode_windows1252(bytes, out.text);
      out.damaged = true;
    }
  } else if (has_prefix(bytes, "\xFF\xFE")) {
    out.encoding = TextEncoding::kUtf16Le;
    decode_utf16(bytes.substr(2), true, out);
  } else if (has_prefix(bytes, "\xFE\xFF")) {
    out.encoding = TextEncoding::kUtf16Be;
    decode_utf16(bytes.substr(2), false, out);
  } else if (bytes.size() >= 2 && bytes[0] != 0 && bytes[1] == 0) {
    out.encoding = TextEncoding::kUtf16Le;
    decode_utf16(bytes, true, out);
  } else if (is_valid_utf8(bytes)) {
    out.encoding = TextEncoding::kUtf8;
    out.text = bytes;
  } else {
    out.encoding = TextEncoding::kWindows1252;
    decode_windows1252(bytes, out.text);
  }
  return out;
}

}  // namespace terrova::library
