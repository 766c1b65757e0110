#include "xml_check.h"

#include <set>
#include <vector>

namespace terrova::testkit {
namespace {

bool is_name_char(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
         c == ':' || c == '-' || c == '.';
}

bool is_space(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

class Checker {
 public:
  explicit Checker(std::string_view doc) : d_(doc) {}

  std::string run() {
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
      for (char c : digits) {
        bool digit =
            (c >= '0' && c <= '9') || (hex && ((c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F')));
        if (!digit) ok = false;
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
