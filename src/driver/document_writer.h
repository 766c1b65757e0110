// Writes a document file while the decoder goes on. The decoder's output sink hands each full
// buffer to the writer, which writes it on a thread of its own while the next buffer fills, so
// that a large document takes about as long as the slower of decoding and writing, not their sum.
// Small documents are written on the decoder's thread: a thread is not worth its start for them.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/platform.h"

namespace terrova {

// The two buffers that a background writer passes between the threads, kept by an owner that
// writes many documents so that each keeps the capacity of the ones before.
struct WriterStorage {
  std::vector<char> pending;
  std::vector<char> writing;
};

class DocumentWriter {
 public:
  // Writes into `file`; in the background when `background` is set, with the buffers of
  // `storage` when it is given (they go back to it when the writer ends).
  DocumentWriter(platform::OutputFile& file, bool background, WriterStorage* storage = nullptr);
  DocumentWriter(const DocumentWriter&) = delete;
  DocumentWriter& operator=(const DocumentWriter&) = delete;
  ~DocumentWriter();

  // The drain function of the document's output sink; `context` is the writer.
  static void drain(void* context, const char* data, size_t size);
  // Waits until every byte handed over is written; returns 0 or the first error code.
  int finish();

 private:
  void write(const char* data, size_t size);
  void run();

  platform::OutputFile& file_;
  WriterStorage* storage_;
  int error_ = 0;  // the first write error; later buffers are dropped
  bool background_;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::vector<char> pending_;  // filled by the decoder, waiting for the writer
  std::vector<char> writing_;  // being written by the writer
  bool has_pending_ = false;
  bool closing_ = false;
  std::thread thread_;
};

}  // namespace terrova
