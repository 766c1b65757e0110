#include "xml_check.h"

#include <cstdint>
#include <set>
#include <vector>

namespace terrova::testkit {
namespace {

bool is_name_char(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
         c == ':' || c == '-' || c == '.';
}

bool is_space(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// The characters XML 1.0 allows in a document, as they are or as a character reference.
bool is_xml_char(uint32_t c) {
  return c == 0x09 || c == 0x0A || c == 0x0D || (c >= 0x20 && c <= 0xD7FF) ||
         (c >= 0xE000 && c <= 0xFFFD) || (c >= 0x10000 && c <= 0x10FFFF);
}

// The byte position of the first character that is not well-formed UTF-8 or not allowed by XML,
// with what is wrong; npos when every character is fine.
size_t bad_character(std::string_view d, std::string& what) {
  size_t i = 0;
  while (i < d.size()) {
    const unsigned char b = static_cast<unsigned char>(d[i]);
    uint32_t c = b;
    size_t length = 1;
    uint32_t smallest = 0;
    if (b >= 0x80) {
      if (b >= 0xC2 && b <= 0xDF) {
        length = 2, c = b & 0x1Fu, smallest = 0x80;
      } else if (b >= 0xE0 && b <= 0xEF) {
        length = 3, c = b & 0x0Fu, smallest = 0x800;
      } else if (b >= 0xF0 && b <= 0xF4) {
        length = 4, c = b & 0x07u, smallest = 0x10000;
      } else {
        what = "byte " + std::to_string(b) + " that does not start a UTF-8 character";
        return i;
      }
      if (i + length > d.size()) {
        what = "UTF-8 character cut off by the end";
        return i;
      }
      for (size_t k = 1; k < length; ++k) {
        const unsigned char next = static_cast<unsigned char>(d[i + k]);
        if ((next & 0xC0) != 0x80) {
          what = "UTF-8 character cut short";
          return i;
        }
        c = (c << 6) | (next & 0x3Fu);
      }
      if (c < smallest || (c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF) {
        what = "overlong or invalid UTF-8 sequence";
        return i;
      }
    }
    if (!is_xml_char(c)) {
      what = "character U+" + std::to_string(c) + " (decimal) that XML does not allow";
      return i;
    }
    i += length;
  }
  return std::string_view::npos;
}

class Checker {
 public:
  explicit Checker(std::string_view doc) : d_(doc) {}

  std::string run() {
    std::string what;
    if (size_t at = bad_character(d_, what); at != std::string_view::npos) {
      p_ = at;
      return fail(what);
    }
    int roots = 0;
    while (p_ < d_.size()) {
      if (d_[p_] != '<') {
        if (!text()) return error_;
        continue;
      }
      if (d_.compare(p_, 4, "<!--") == 0) {
        if (!comment()) return error_;
      } else if (d_.compare(p_, 2, "<?") == 0) {
        size_t end = d_.find("?>", p_);
        if (end == std::string_view::npos) return fail("unterminated processing instruction");
        p_ = end + 2;
      } else if (d_.compare(p_, 2, "</") == 0) {
        if (!close_tag()) return error_;
      } else {
        if (stack_.empty()) ++roots;
        if (roots > 1) return fail("second root element");
        if (!open_tag()) return error_;
      }
    }
    if (!stack_.empty()) return fail("element <" + stack_.back() + "> not closed");
    if (roots != 1) return fail("no root element");
    return {};
  }

 private:
  std::string fail(const std::string& what) {
    error_ = what + " at byte " + std::to_string(p_);
    return error_;
  }

  bool entity() {
    size_t end = d_.find(';', p_);
    if (end == std::string_view::npos || end - p_ > 10) return fail("bad entity"), false;
    std::string_view name = d_.substr(p_ + 1, end - p_ - 1);
    bool ok = name == "lt" || name == "gt" || name == "amp" || name == "quot" || name == "apos";
    if (!ok && name.size() > 1 && name[0] == '#') {
      ok = true;
      bool hex = name[1] == 'x';
      std::string_view digits = name.substr(hex ? 2 : 1);
      if (digits.empty()) ok = false;
      uint32_t value = 0;
      for (char c : digits) {
        uint32_t digit = 99;
        if (c >= '0' && c <= '9') digit = static_cast<uint32_t>(c - '0');
        if (hex && c >= 'a' && c <= 'f') digit = static_cast<uint32_t>(c - 'a' + 10);
        if (hex && c >= 'A' && c <= 'F') digit = static_cast<uint32_t>(c - 'A' + 10);
        if (digit >= (hex ? 16u : 10u)) ok = false;
        if (value <= 0x10FFFF) value = value * (hex ? 16u : 10u) + digit;
      }
      if (ok && !is_xml_char(value)) {
        return fail("reference &" + std::string(name) + "; to a character XML does not allow"),
               false;
      }
    }
    if (!ok) return fail("bad entity &" + std::string(name) + ";"), false;
    p_ = end + 1;
    return true;
  }

  bool text() {
    while (p_ < d_.size() && d_[p_] != '<') {
      if (d_[p_] == '&') {
        if (!entity()) return false;
        continue;
      }
      if (stack_.empty() && !is_space(d_[p_])) return fail("text outside the root element"), false;
      if (d_.compare(p_, 3, "]]>") == 0) return fail("\"]]>\" in text"), false;
      ++p_;
    }
    return true;
  }

  bool comment() {
    size_t body = p_ + 4;
    size_t end = d_.find("--", body);
    if (end == std::string_view::npos) return fail("unterminated comment"), false;
    if (end + 2 >= d_.size() || d_[end + 2] != '>') return fail("\"--\" inside a comment"), false;
    p_ = end + 3;
    return true;
  }

  bool name(std::string& out) {
    size_t start = p_;
    while (p_ < d_.size() && is_name_char(d_[p_])) ++p_;
    if (p_ == start) return fail("expected a name"), false;
    out.assign(d_.substr(start, p_ - start));
    return true;
  }

  void spaces() {
    while (p_ < d_.size() && is_space(d_[p_])) ++p_;
  }

  bool open_tag() {
    ++p_;
    std::string tag;
    if (!name(tag)) return false;
    std::set<std::string> seen;
    for (;;) {
      spaces();
      if (p_ >= d_.size()) return fail("unterminated tag <" + tag + ">"), false;
      if (d_[p_] == '>') {
        ++p_;
        stack_.push_back(tag);
        return true;
      }
      if (d_.compare(p_, 2, "/>") == 0) {
        p_ += 2;
        return true;
      }
      std::string attribute;
      if (!name(attribute)) return false;
      if (!seen.insert(attribute).second) {
        return fail("attribute " + attribute + " twice in <" + tag + ">"), false;
      }
      spaces();
      if (p_ >= d_.size() || d_[p_] != '=') return fail("expected '=' after " + attribute), false;
      ++p_;
      spaces();
      if (p_ >= d_.size() || (d_[p_] != '"' && d_[p_] != '\'')) {
        return fail("unquoted value of " + attribute), false;
      }
      const char quote = d_[p_++];
      while (p_ < d_.size() && d_[p_] != quote) {
        if (d_[p_] == '<') return fail("'<' in the value of " + attribute), false;
        if (d_[p_] == '&') {
          if (!entity()) return false;
          continue;
        }
        ++p_;
      }
      if (p_ >= d_.size()) return fail("unterminated value of " + attribute), false;
      ++p_;
      if (p_ < d_.size() && !is_space(d_[p_]) && d_[p_] != '>' && d_[p_] != '/') {
        return fail("no space after the value of " + attribute), false;
      }
    }
  }

  bool close_tag() {
    p_ += 2;
    std::string tag;
    if (!name(tag)) return false;
    spaces();
    if (p_ >= d_.size() || d_[p_] != '>') return fail("unterminated end tag"), false;
    ++p_;
    if (stack_.empty() || stack_.back() != tag) return fail("unexpected </" + tag + ">"), false;
    stack_.pop_back();
    return true;
  }

  std::string_view d_;
  size_t p_ = 0;
  std::vector<std::string> stack_;
  std::string error_;
};

}  // namespace

std::string xml_problem(std::string_view document) { return Checker(document).run(); }

}  // namespace terrova::testkit
