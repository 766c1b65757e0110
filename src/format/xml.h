// Text other than fixed templates: names from the file as escaped attribute values, raw bytes as
// hexadecimal comments, and the one-line comment that precedes each decoded record.
//
// The document is UTF-8. Text from the input file is read as the sink's text encoding says:
// Windows-1252 (FS2004, FSX and Prepar3D files), or UTF-8 (MSFS files, whose compiler stores the
// author's text as it is), where a byte that does not begin a valid UTF-8 sequence is read as
// its Windows-1252 character. Text from the names file is always Windows-1252. Every writer keeps
// the document well-formed whatever bytes the text holds: control bytes that XML does not allow
// (all below 0x20 except tab, line feed and carriage return) never reach the document as they
// are, nor do U+FFFE and U+FFFF.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "bgl/image.h"
#include "text/output.h"

namespace terrova {

// Each writer reads the text as `out.text_encoding()` says, or as the encoding given.

// Writes text from the file as a double-quoted attribute value: "<" "&lt;", ">" "&gt;", "&"
// "&amp;", '"' "&quot;"; tab, line feed, carriage return, the grave accent and every character
// above 0x7F as "&#x%0.2X;" (in Windows-1252 text the byte, in UTF-8 text the character's code
// point); every other control byte as "&#xFFFD;"; every other byte as it is.
void write_quoted_text(Output& out, std::string_view text);
void write_quoted_text(Output& out, std::string_view text, TextEncoding encoding);
// The same escaping without the quotes, for file text placed inside a template's quotes, except
// that characters above 0x7F are written in UTF-8.
void write_escaped_text(Output& out, std::string_view text);
void write_escaped_text(Output& out, std::string_view text, TextEncoding encoding);
// File text placed inside a comment: a "-" right after a written "-" becomes " -", and a text
// ending in "-" gets a space after it, so the text never ends the comment early. Characters
// above 0x7F are written in UTF-8, control bytes other than tab, line feed and carriage return
// as U+FFFD.
void write_comment_text(Output& out, std::string_view text);
void write_comment_text(Output& out, std::string_view text, TextEncoding encoding);

// File text that the document holds as it stands, outside attribute values and comments (effect
// parameters, for one): characters above 0x7F in UTF-8, control bytes other than tab, line feed
// and carriage return as U+FFFD, and the markup characters < > & " as their named entities.
void write_plain_text(Output& out, std::string_view text);
void write_plain_text(Output& out, std::string_view text, TextEncoding encoding);

// The character at the start of file text that is not empty, for writers that give it as a
// character reference, and the number of bytes it takes: in Windows-1252 text one byte and its
// value, the form the documents of those files have always had; in UTF-8 text a valid sequence
// and its code point (U+FFFD for U+FFFE and U+FFFF, which XML forbids), or else one byte and
// its Windows-1252 character.
struct TextCharacter {
  uint32_t code_point = 0;
  uint32_t size = 0;
};
TextCharacter first_character(std::string_view text, TextEncoding encoding);

// The UTF-8 form of Windows-1252 text, with U+FFFD for the control bytes XML does not allow: the
// same text as `write_comment_text` gives, for names used outside the document (file names on
// disk and on the console).
std::string utf8_from_windows_1252(std::string_view text);

// Bytes of the image as a comment block, 16 to a line, with a second space after the eighth.
// Only bytes inside the image are shown.
void write_hex_dump(Output& out, const Image& image, uint64_t offset, uint64_t count);
// The lines of a hex dump inside a comment that the caller has opened: 16 bytes to a line
// ("\n\t\t\t" then "XX " each, a second space after the eighth when `middle_gap`), then the
// line that closes the comment and an empty line.
void write_hex_lines(Output& out, std::string_view bytes, bool middle_gap);

// "\n\t<!-- %s, offset 0x%.8X (%d) -->\n" with the kind and the record's file offset.
void write_record_comment(Output& out, std::string_view kind, uint32_t offset);
// The same with a kind text composed from a template.
template <class... Args>
void write_record_comment_f(Output& out, uint32_t offset,
                            FormatString<std::type_identity_t<Args>...> kind_pattern,
                            const Args&... args) {
  out.write("\n\t<!-- ");
  out.format(kind_pattern, args...);
  out.format(", offset 0x%.8X (%d) -->\n", offset, offset);
}

}  // namespace terrova
