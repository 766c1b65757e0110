#include "driver/document_writer.h"

namespace terrova {

DocumentWriter::DocumentWriter(platform::OutputFile& file, bool background, WriterStorage* storage)
    : file_(file), storage_(storage), background_(background) {
  if (storage_ != nullptr) {
    pending_.swap(storage_->pending);
    writing_.swap(storage_->writing);
  }
  if (background_) thread_ = std::thread(&DocumentWriter::run, this);
}

DocumentWriter::~DocumentWriter() {
  finish();
  if (storage_ != nullptr) {
    pending_.swap(storage_->pending);
    writing_.swap(storage_->writing);
  }
}

void DocumentWriter::drain(void* context, const char* data, size_t size) {
  static_cast<DocumentWriter*>(context)->write(data, size);
}

void DocumentWriter::write(const char* data, size_t size) {
  if (!background_) {
    if (error_ == 0) error_ = platform::write_output(file_, data, size);
    return;
  }
  std::unique_lock<std::mutex> lock(mutex_);
  // One buffer may wait while the other is written; the decoder waits for a free one.
  changed_.wait(lock, [this] { return !has_pending_; });
  if (error_ != 0) return;
  pending_.assign(data, data + size);
  has_pending_ = true;
  changed_.notify_all();
}

void DocumentWriter::run() {
  std::unique_lock<std::mutex> lock(mutex_);
  for (;;) {
    changed_.wait(lock, [this] { return has_pending_ || closing_; });
    if (!has_pending_) return;  // closing, and everything is written
    writing_.swap(pending_);
    has_pending_ = false;
    changed_.notify_all();
    const int error = error_;
    lock.unlock();
    const int code =
        error == 0 ? platform::write_output(file_, writing_.data(), writing_.size()) : 0;
    lock.lock();
    if (error_ == 0) error_ = code;
  }
}

int DocumentWriter::finish() {
  if (thread_.joinable()) {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      closing_ = true;
    }
    changed_.notify_all();
    thread_.join();
  }
  return error_;
}

}  // namespace terrova
