#include "replies/pagechunks.h"

#include <algorithm>
#include <cstring>
#include <limits>

#include "base/bytehash.h"

namespace {

// A page whose every chunk changed is looked through little longer than it takes to read: after so many looks
// that found nothing, or so many chunks found changed, no more are looked for.
constexpr int s_lookLimit = 512;
constexpr int s_missLimit = 16;

quint64 leadOf(const char *p)
{
    quint64 lead = 0;
    std::memcpy(&lead, p, sizeof lead);
    return lead;
}

// Offsets are kept in 32 bits.
constexpr quint64 s_largestOffset = std::numeric_limits<quint32>::max();

} // namespace

ChunkRecorder::ChunkRecorder(const char *begin, const char *end, qsizetype spacing)
    : m_begin(begin)
    , m_end(end)
    , m_spacing(std::max(spacing, PageChunks::openingLength))
    , m_enabled(quint64(end - begin) <= s_largestOffset)
{ }

void ChunkRecorder::at(const char *p, qsizetype textSize)
{
    const qsizetype offset = p - m_begin;
    if (!m_enabled || (m_open && offset - qsizetype(m_current.start) < m_spacing)
        || m_end - p < PageChunks::openingLength || quint64(textSize) > s_largestOffset) {
        return;
    }
    // A chunk is found again by its opening: no two of a page share one. Looked through one by one: a page whose
    // text is kept has a few thousand chunks at most.
    const quint64 opening = ByteHash::of(p, PageChunks::openingLength);
    if ((m_open && m_current.opening == opening)
        || std::any_of(m_chunks.cbegin(), m_chunks.cend(),
            [opening](const PageChunk &chunk) { return chunk.opening == opening; })) {
        return;
    }
    if (m_open) {
        m_current.length = quint32(offset - qsizetype(m_current.start));
        m_current.hash = ByteHash::of(m_begin + m_current.start, m_current.length);
        m_current.textLength = quint32(textSize - qsizetype(m_current.textStart));
        m_chunks.append(m_current);
    }
    m_current = { quint32(offset), 0, quint32(textSize), 0, leadOf(p), opening, 0 };
    m_open = true;
}

ChunkFinder::ChunkFinder(QByteArrayView earlierText, const QList<PageChunk> &chunks)
{
    const auto fits = [earlierText](const PageChunk &chunk) {
        const quint64 textEnd = quint64(chunk.textStart) + chunk.textLength;
        const auto endsLine
            = [earlierText](quint64 at) { return at == 0 || earlierText.at(qsizetype(at) - 1) == '\n'; };
        return chunk.length >= PageChunks::openingLength && textEnd <= quint64(earlierText.size())
            && endsLine(chunk.textStart) && endsLine(textEnd);
    };
    if (!std::all_of(chunks.cbegin(), chunks.cend(), fits)) {
        return;
    }
    m_chunks = chunks;
    m_openings.reserve(size_t(chunks.size()));
    for (qsizetype i = 0; i < chunks.size(); ++i) {
        m_openings.emplace_back(chunks.at(i).opening, i);
        const size_t bit = leadBit(chunks.at(i).lead);
        m_leads[bit / 64] |= quint64(1) << (bit % 64);
    }
    std::sort(m_openings.begin(), m_openings.end());
}

size_t ChunkFinder::leadBit(quint64 lead)
{
    return size_t((lead * 0x9E3779B97F4A7C15ULL) >> 56);
}

const PageChunk *ChunkFinder::at(const char *p, const char *end)
{
    qsizetype index = std::exchange(m_next, -1);
    if (index < 0) {
        if (m_looks >= s_lookLimit || m_misses >= s_missLimit || end - p < PageChunks::openingLength) {
            return nullptr;
        }
        const size_t bit = leadBit(leadOf(p));
        if ((m_leads[bit / 64] >> (bit % 64) & 1) == 0) {
            return nullptr;
        }
        ++m_looks;
        const quint64 opening = ByteHash::of(p, PageChunks::openingLength);
        const auto found
            = std::lower_bound(m_openings.cbegin(), m_openings.cend(), std::pair<quint64, qsizetype>(opening, 0));
        if (found == m_openings.cend() || found->first != opening) {
            return nullptr;
        }
        index = found->second;
    }
    const PageChunk &chunk = m_chunks.at(index);
    if (end - p < qsizetype(chunk.length) || leadOf(p) != chunk.lead || ByteHash::of(p, chunk.length) != chunk.hash) {
        ++m_misses;
        return nullptr;
    }
    m_looks = 0;
    if (index + 1 < m_chunks.size() && quint64(m_chunks.at(index + 1).start) == quint64(chunk.start) + chunk.length) {
        m_next = index + 1;
    }
    return &chunk;
}
