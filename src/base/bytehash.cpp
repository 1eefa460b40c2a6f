#include "base/bytehash.h"

#include <type_traits>

// Inlined from its header.
#define XXH_INLINE_ALL
#include <xxhash.h>

namespace ByteHash {

#if defined(POSTAVO_BYTEHASH_AVX2)
// bytehash_avx2.cpp, built for AVX2, which names these types as they are.
static_assert(std::is_same_v<quint64, unsigned long long> && std::is_same_v<qsizetype, long long>);
quint64 ofAvx2(const char *data, qsizetype length);
#endif

namespace {

using Hash = quint64 (*)(const char *, qsizetype);

quint64 ofAny(const char *data, qsizetype length)
{
    return XXH3_64bits(data, size_t(length));
}

Hash chosen()
{
#if defined(POSTAVO_BYTEHASH_AVX2)
    if (__builtin_cpu_supports("avx2")) {
        return ofAvx2;
    }
#endif
    return ofAny;
}

} // namespace

quint64 of(const char *data, qsizetype length)
{
    static const Hash hash = chosen();
    return hash(data, length);
}

} // namespace ByteHash
