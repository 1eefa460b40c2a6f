#pragma once

#include <QtGlobal>

// A 64-bit hash of bytes (XXH3), to tell bytes seen before from others: several gigabytes a second, and about
// twice that where the processor has AVX2. The same bytes hash the same on every processor.
namespace ByteHash {

quint64 of(const char *data, qsizetype length);

} // namespace ByteHash
