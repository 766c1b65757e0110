// Configuration files come in whatever encoding the tool that wrote them chose: the simulators
// write scenery.cfg in Windows-1252 or UTF-16LE, editors add or drop a byte-order mark. Every
// reader turns the bytes into UTF-8 first.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace terrova::library {

enum class TextEncoding { kUtf8, kUtf8Bom, kWindows1252, kUtf16Le, kUtf16Be };

struct DecodedText {
  std::string text;  // UTF-8 without a byte-order mark
  TextEncoding encoding = TextEncoding::kUtf8;
  // Bytes that no character could be made of (an odd byte at the end of UTF-16, a lone
  // surrogate): each became U+FFFD.
  bool damaged = false;
};

// A byte-order mark settles the encoding (UTF-8, UTF-16LE, UTF-16BE). Without one, text whose
// second byte is 0 is taken as UTF-16LE, valid UTF-8 as UTF-8 and anything else as
// Windows-1252.
DecodedText decode_text(std::string_view bytes);

bool is_valid_utf8(std::string_view bytes);
void append_utf8(std::string& out, uint32_t code_point);

}  // namespace terrova::library
