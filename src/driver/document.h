// The document of one decode: head, body and tail, written in-process into an output sink.
#pragma once

#include <cstdint>

#include "bgl/context.h"
#include "platform/platform.h"

namespace terrova {

// "<!--\n\tdecoded by terrova on ...-->" and the FSData start tag.
void write_document_head(Output& out, const platform::LocalTime& time);

// Writes the whole document for the image: head, every section in walker order, and the tail.
// Library objects are named from `object_names` and model files go to `extra_files` when they are
// given, the ground layout of each airport to `geometry` and the facts of the library index to
// `facts`. Returns the number of damaged
// structures that were skipped.
uint32_t write_document(const Image& image, const DecodeOptions& options, SharedTables& tables,
                        const platform::LocalTime& time, Output& out,
                        const StringTable* object_names = nullptr,
                        ExtraFileSink* extra_files = nullptr, GeometryListener* geometry = nullptr,
                        FactsListener* facts = nullptr);

}  // namespace terrova
