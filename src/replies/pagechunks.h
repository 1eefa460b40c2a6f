#pragma once

#include <QByteArrayView>
#include <QList>
#include <QtGlobal>

#include <array>
#include <utility>
#include <vector>

// A page read as its bytes is cut, where a block ends, into chunks of a few kilobytes. Each chunk is kept with
// where it starts in the page and in the page's text, and a hash of its bytes. Reading a later page of the same
// post, a chunk found there byte for byte gives its text from the kept text, unread: a thread page that gained a
// reply, or changed its header's clock and counters, is mostly the chunks it had. Reading starts afresh at a
// block's end, whatever came before, so a chunk's text depends on its bytes alone.
struct PageChunk
{
    quint32 start = 0; // in the page's bytes
    quint32 length = 0;
    quint32 textStart = 0; // in the page's text: whole lines
    quint32 textLength = 0;
    quint64 lead = 0; // its first eight bytes
    quint64 opening = 0; // a hash of its first openingLength bytes, by which it is found again
    quint64 hash = 0; // of all its bytes

    bool operator==(const PageChunk &other) const = default;
};

namespace PageChunks {

// Bytes at the start of a chunk that find it again: enough that a thread's repeated markup (a post's frame) and
// the author's name after it both are in them.
inline constexpr qsizetype openingLength = 64;
// Raised whenever reading a page gives other text than it did: chunks cut by another reading are not taken.
inline constexpr quint32 readingVersion = 1;
// A chunk is at least this long: a changed one costs little to read again, and there are few to keep.
inline constexpr qsizetype defaultSpacing = 2048;

} // namespace PageChunks

// Cuts a page into chunks as it is read, told each place where the reading starts afresh.
class ChunkRecorder
{
public:
    ChunkRecorder(const char *begin, const char *end, qsizetype spacing);

    // p: where reading starts afresh; textSize: the bytes of text read before it.
    void at(const char *p, qsizetype textSize);
    // The chunks that ended; the page's tail, which no place ends, is none.
    QList<PageChunk> take() { return std::move(m_chunks); }

private:
    const char *m_begin;
    const char *m_end;
    qsizetype m_spacing;
    bool m_enabled;
    bool m_open = false;
    PageChunk m_current;
    QList<PageChunk> m_chunks;
};

// Finds an earlier page's chunks in a page as it is read. Chunks that do not fit the earlier text (a damaged
// file) are none.
class ChunkFinder
{
public:
    ChunkFinder(QByteArrayView earlierText, const QList<PageChunk> &chunks);

    bool isEmpty() const { return m_chunks.isEmpty(); }
    // The earlier chunk whose bytes the page has at p, a place where reading starts afresh; nullptr when none.
    const PageChunk *at(const char *p, const char *end);

private:
    static size_t leadBit(quint64 lead);

    QList<PageChunk> m_chunks;
    std::vector<std::pair<quint64, qsizetype>> m_openings; // sorted, to the chunk's index
    std::array<quint64, 4> m_leads {}; // a bit for each chunk's lead: most places are passed by at a glance
    qsizetype m_next = -1; // the chunk that followed the one found last, expected where it ended
    int m_looks = 0;
    int m_misses = 0;
};
