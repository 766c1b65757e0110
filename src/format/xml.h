// Text other than fixed templates: names from the file as escaped attribute values, raw bytes as
// hexadecimal comments, and the one-line comment that precedes each decoded record.
//
// Text from the input file and the names file is Windows-1252; the document is UTF-8. Every
// writer keeps the document well-formed whatever bytes the text holds: control bytes that XML
// does not allow (all below 0x20 except tab, line feed and carriage return) never reach the
// document as they are.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "bgl/image.h"
#include "text/output.h"

namespace terrova {

// Writes text from the file as a double-quoted attribute value: "<" "&lt;", ">" "&gt;", "&"
// "&amp;", '"' "&quot;"; tab, line feed, carriage return, the grave accent and bytes above 0x7F
// as "&#x%0.2X;"; every other control byte as "&#xFFFD;"; every other byte as it is.
void write_quoted_text(Output& out, std::string_view text);
// The same escaping without the quotes, for file text placed inside a template's quotes, except
// that bytes above 0x7F are written as the UTF-8 form of their Windows-1252 character.
void write_escaped_text(Output& out, std::string_view text);
// Text that the file holds in UTF-8 (the names of MSFS 2024 airports), quoted and escaped as
// `write_quoted_text` does but with its characters above U+007F written as they are; text that is
// not well-formed UTF-8 is written by `write_quoted_text`, so nothing is lost.
void write_quoted_utf8_text(Output& out, std::string_view text);
// The same without the quotes; text that is not well-formed UTF-8 is written by
// `write_escaped_text`.
void write_escaped_utf8_text(Output& out, std::string_view text);
// File text placed inside a comment: a "-" right after a written "-" becomes " -", and a text
// ending in "-" gets a space after it, so the text never ends the comment early. Bytes above 0x7F
// are written in UTF-8, control bytes other than tab, line feed and carriage return as U+FFFD.
void write_comment_text(Output& out, std::string_view text);

// File text that the document holds as it stands, outside attribute values and comments (effect
// parameters, for one): bytes above 0x7F in UTF-8, control bytes other than tab, line feed and
// carriage return as U+FFFD, and the markup characters < > & " as their named entities.
void write_plain_text(Output& out, std::string_view text);

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
