#include "library/xml_elements.h"

#include <cstdint>

#include "library/library_paths.h"
#include "library/text_encoding.h"

namespace terrova::library {
namespace {

bool is_white(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

bool is_name_char(char c) {
  return c != 0 && !is_white(c) && c != '<' && c != '>' && c != '/' && c != '=' && c != '"' &&
         c != '\'' && c != '&' && c != '?' && c != '!';
}

class Reader {
 public:
  explicit Reader(std::string_view text) : text_(text) {}

  XmlDocument read() {
    XmlDocument doc;
    if (skip_prolog() && element(doc.root, 1) && skip_misc() && at_ < text_.size()) {
      fail("text after the root element");
    }
    doc.error = error_;
    doc.error_offset = error_offset_;
    return doc;
  }

 private:
  bool fail(const std::string& what) {
    if (error_.empty()) {
      error_ = what;
      error_offset_ = at_;
    }
    return false;
  }
  bool starts(std::string_view s) const { return text_.substr(at_, s.size()) == s; }
  void skip_white() {
    while (at_ < text_.size() && is_white(text_[at_])) ++at_;
  }
  // Passes over everything up to and including `end`.
  bool skip_past(std::string_view end, const char* what) {
    const size_t found = text_.find(end, at_);
    if (found == std::string_view::npos) return fail(std::string("an unclosed ") + what);
    at_ = found + end.size();
    return true;
  }
  // Comments, processing instructions and white space between elements.
  bool skip_misc() {
    for (;;) {
      skip_white();
      if (starts("<!--")) {
        if (!skip_past("-->", "comment")) return false;
      } else if (starts("<?")) {
        if (!skip_past("?>", "processing instruction")) return false;
      } else {
        return true;
      }
    }
  }
  bool skip_prolog() {
    for (;;) {
      if (!skip_misc()) return false;
      if (!starts("<!DOCTYPE") && !starts("<!doctype")) break;
      // An internal subset in brackets may hold '>' of its own.
      int depth = 0;
      for (; at_ < text_.size(); ++at_) {
        if (text_[at_] == '[') ++depth;
        if (text_[at_] == ']') --depth;
        if (text_[at_] == '>' && depth <= 0) break;
      }
      if (at_ >= text_.size()) return fail("an unclosed document type declaration");
      ++at_;
    }
    if (at_ >= text_.size()) return fail("no root element");
    return true;
  }
  std::string name() {
    const size_t start = at_;
    while (at_ < text_.size() && is_name_char(text_[at_])) ++at_;
    return std::string(text_.substr(start, at_ - start));
  }
  // Appends `raw` with its character references replaced; an unknown one stays as written.
  static void append_text(std::string& out, std::string_view raw) {
    for (size_t i = 0; i < raw.size(); ++i) {
      if (raw[i] != '&') {
        out += raw[i];
        continue;
      }
      const size_t semicolon = raw.find(';', i);
      if (semicolon == std::string_view::npos || semicolon - i > 12) {
        out += '&';
        continue;
      }
      const std::string_view ref = raw.substr(i + 1, semicolon - i - 1);
      uint32_t code = 0;
      bool known = true;
      if (ref == "lt") {
        code = '<';
      } else if (ref == "gt") {
        code = '>';
      } else if (ref == "amp") {
        code = '&';
      } else if (ref == "quot") {
        code = '"';
      } else if (ref == "apos") {
        code = '\'';
      } else if (ref.size() >= 2 && ref[0] == '#') {
        const bool hex = ref[1] == 'x' || ref[1] == 'X';
        const std::string_view digits = ref.substr(hex ? 2 : 1);
        known = !digits.empty();
        for (const char c : digits) {
          uint32_t d;
          if (c >= '0' && c <= '9') {
            d = static_cast<uint32_t>(c - '0');
          } else if (hex && (c | 0x20) >= 'a' && (c | 0x20) <= 'f') {
            d = static_cast<uint32_t>((c | 0x20) - 'a' + 10);
          } else {
            known = false;
            break;
          }
          code = code * (hex ? 16 : 10) + d;
          if (code > 0x10FFFF) known = false;
        }
        if (code == 0 || (code >= 0xD800 && code <= 0xDFFF)) known = false;
      } else {
        known = false;
      }
      if (!known) {
        out += '&';
        continue;
      }
      append_utf8(out, code);
      i = semicolon;
    }
  }
  bool attributes(XmlElement& e) {
    for (;;) {
      skip_white();
      if (at_ >= text_.size()) return fail("an unclosed start tag <" + e.name + ">");
      if (text_[at_] == '>' || starts("/>")) return true;
      std::string key = name();
      if (key.empty()) return fail("a bad attribute in <" + e.name + ">");
      skip_white();
      if (at_ >= text_.size() || text_[at_] != '=') {
        return fail("attribute " + key + " without a value");
      }
      ++at_;
      skip_white();
      if (at_ >= text_.size() || (text_[at_] != '"' && text_[at_] != '\'')) {
        return fail("attribute " + key + " without quotes");
      }
      const char quote = text_[at_++];
      const size_t close = text_.find(quote, at_);
      if (close == std::string_view::npos) return fail("an unclosed attribute value");
      std::string value;
      append_text(value, text_.substr(at_, close - at_));
      at_ = close + 1;
      e.attributes.emplace_back(std::move(key), std::move(value));
    }
  }
  // One element from its '<'. Iterative over siblings, recursive over depth (bounded).
  bool element(XmlElement& e, size_t depth) {
    if (depth > kXmlMaxDepth) return fail("elements nested too deep");
    if (at_ >= text_.size() || text_[at_] != '<') return fail("no element where one belongs");
    ++at_;
    e.name = name();
    if (e.name.empty()) return fail("a bad element name");
    if (!attributes(e)) return false;
    if (starts("/>")) {
      at_ += 2;
      e.complete = true;
      return true;
    }
    ++at_;  // '>'
    for (;;) {
      const size_t lt = text_.find('<', at_);
      if (lt == std::string_view::npos) {
        at_ = text_.size();
        return fail("element <" + e.name + "> is not closed");
      }
      append_text(e.text, text_.substr(at_, lt - at_));
      at_ = lt;
      if (starts("</")) {
        at_ += 2;
        const std::string end = name();
        skip_white();
        if (end != e.name || at_ >= text_.size() || text_[at_] != '>') {
          return fail("element <" + e.name + "> closed by </" + end + ">");
        }
        ++at_;
        e.complete = true;
        return true;
      }
      if (starts("<!--")) {
        if (!skip_past("-->", "comment")) return false;
      } else if (starts("<![CDATA[")) {
        const size_t start = at_ + 9;
        if (!skip_past("]]>", "CDATA section")) return false;
        e.text.append(text_.substr(start, at_ - 3 - start));
      } else if (starts("<?")) {
        if (!skip_past("?>", "processing instruction")) return false;
      } else {
        e.children.emplace_back();
        if (!element(e.children.back(), depth + 1)) return false;
      }
    }
  }

  std::string_view text_;
  size_t at_ = 0;
  std::string error_;
  size_t error_offset_ = 0;
};

}  // namespace

const XmlElement* XmlElement::child(std::string_view child_name) const {
  for (const XmlElement& c : children) {
    if (equal_ignoring_case(c.name, child_name)) return &c;
  }
  return nullptr;
}

std::string XmlElement::child_text(std::string_view child_name) const {
  const XmlElement* c = child(child_name);
  return c == nullptr ? std::string() : trim_white(c->text);
}

const std::string* XmlElement::attribute(std::string_view attribute_name) const {
  for (const auto& [key, value] : attributes) {
    if (equal_ignoring_case(key, attribute_name)) return &value;
  }
  return nullptr;
}

std::string trim_white(std::string_view text) {
  while (!text.empty() && is_white(text.front())) text.remove_prefix(1);
  while (!text.empty() && is_white(text.back())) text.remove_suffix(1);
  return std::string(text);
}

XmlDocument parse_xml(std::string_view text) { return Reader(text).read(); }

}  // namespace terrova::library
