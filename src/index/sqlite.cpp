#include "index/sqlite.h"

#include <sqlite3.h>

#include <cmath>

namespace terrova::index {

Statement::~Statement() {
  if (stmt_ != nullptr) sqlite3_finalize(stmt_);
}

Statement& Statement::operator=(Statement&& other) noexcept {
  if (this != &other) {
    if (stmt_ != nullptr) sqlite3_finalize(stmt_);
    stmt_ = other.stmt_;
    db_ = other.db_;
    other.stmt_ = nullptr;
  }
  return *this;
}

void Statement::bind(int at, int64_t value) { sqlite3_bind_int64(stmt_, at, value); }

void Statement::bind(int at, double value) {
  if (std::isnan(value)) {
    sqlite3_bind_null(stmt_, at);
  } else {
    sqlite3_bind_double(stmt_, at, value);
  }
}

void Statement::bind(int at, std::string_view text) {
  sqlite3_bind_text(stmt_, at, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
}

void Statement::bind_null(int at) { sqlite3_bind_null(stmt_, at); }

bool Statement::step() {
  if (stmt_ == nullptr) return false;
  const int code = sqlite3_step(stmt_);
  if (code == SQLITE_ROW) return true;
  if (code != SQLITE_DONE) db_->note_error("step");
  return false;
}

bool Statement::run() {
  if (stmt_ == nullptr) return false;
  const int code = sqlite3_step(stmt_);
  sqlite3_reset(stmt_);
  if (code == SQLITE_DONE || code == SQLITE_ROW) return true;
  db_->note_error("write");
  return false;
}

void Statement::reset() {
  if (stmt_ != nullptr) sqlite3_reset(stmt_);
}

int Statement::columns() const { return sqlite3_column_count(stmt_); }
int64_t Statement::integer(int column) const { return sqlite3_column_int64(stmt_, column); }
double Statement::real(int column) const { return sqlite3_column_double(stmt_, column); }
std::string Statement::text(int column) const {
  const unsigned char* text = sqlite3_column_text(stmt_, column);
  if (text == nullptr) return std::string();
  return std::string(reinterpret_cast<const char*>(text),
                     static_cast<size_t>(sqlite3_column_bytes(stmt_, column)));
}
bool Statement::is_null(int column) const {
  return sqlite3_column_type(stmt_, column) == SQLITE_NULL;
}

bool Database::open(const std::string& path, bool create) {
  close();
  const int flags = create ? SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE : SQLITE_OPEN_READONLY;
  if (sqlite3_open_v2(path.c_str(), &db_, flags, nullptr) != SQLITE_OK) {
    error_ = db_ != nullptr ? sqlite3_errmsg(db_) : "out of memory";
    close();
    return false;
  }
  sqlite3_extended_result_codes(db_, 1);
  return true;
}

void Database::close() {
  if (db_ != nullptr) sqlite3_close_v2(db_);
  db_ = nullptr;
}

bool Database::exec(const char* sql) {
  char* message = nullptr;
  if (sqlite3_exec(db_, sql, nullptr, nullptr, &message) == SQLITE_OK) return true;
  if (error_.empty()) error_ = message != nullptr ? message : sqlite3_errmsg(db_);
  sqlite3_free(message);
  return false;
}

Statement Database::prepare(const char* sql) {
  Statement statement;
  statement.db_ = this;
  if (sqlite3_prepare_v2(db_, sql, -1, &statement.stmt_, nullptr) != SQLITE_OK) {
    note_error("prepare");
    if (statement.stmt_ != nullptr) sqlite3_finalize(statement.stmt_);
    statement.stmt_ = nullptr;
  }
  return statement;
}

int64_t Database::changes() const { return sqlite3_changes64(db_); }

void Database::note_error(const char*) {
  if (error_.empty() && db_ != nullptr) error_ = sqlite3_errmsg(db_);
}

}  // namespace terrova::index
