// XXH3 built for AVX2, called only where the processor has it. Nothing else is built here: an inline function
// of another header built for AVX2 could stand in for its plain build elsewhere in the program. Hence no Qt
// types: quint64 and qsizetype, as bytehash.cpp declares this, are these.
#define XXH_INLINE_ALL
#include <xxhash.h>

namespace ByteHash {

unsigned long long ofAvx2(const char *data, long long length)
{
    return XXH3_64bits(data, static_cast<size_t>(length));
}

} // namespace ByteHash
