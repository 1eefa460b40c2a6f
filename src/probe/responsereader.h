#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

// Reads an HTTP/1.1 response as its bytes arrive, with no socket: skips interim (1xx) answers, reads the final
// header and tells from its framing whether the page is whole. Body bytes are counted; only as many as the
// kept limit are stored (chunk framing removed).
class ResponseReader
{
public:
    // Longest header (characters before the blank line) that is still recognised; a longer one makes the
    // whole response count as body.
    static constexpr qsizetype MaxHeaderLength = 32766;
    // Body bytes kept of an error page (status 400 and above) whatever the kept limit.
    static constexpr qint64 errorPageKept = 16 * 1024;

    enum class Framing {
        Unknown, // no header recognised yet, or none that will be: the page ends with the connection
        Length, // Content-Length
        Chunked,
        UntilClose, // neither given, or chunk framing that cannot be read
        Empty, // a status that has no body
    };

    void reset();
    void setKeptBodyLimit(qint64 bytes) { m_keptLimit = m_responseLimit = qMax<qint64>(0, bytes); }
    void feed(QByteArrayView data);

    // How many of the bytes that come next can only be the page's, all kept: after a header that gave the body's
    // length, while some of it is still to come and kept. 0 when they must go through feed().
    qint64 directRoom() const;
    // Reads up to directRoom() bytes straight to the end of the kept body with read(where, most), which returns how
    // many came (0 or less for none), sparing feed()'s copy; they count as fed. Returns what read did.
    template <typename Read> qint64 readDirect(Read &&read)
    {
        const qsizetype start = m_body.size();
        m_body.resize(start + qsizetype(directRoom()));
        const qint64 got = read(m_body.data() + start, qint64(m_body.size() - start));
        m_body.resize(start + qsizetype(qMax<qint64>(0, got)));
        if (got > 0) {
            m_received += got;
            m_bodySeen += got;
        }
        return got;
    }

    qint64 received() const { return m_received; }
    bool headerSeen() const { return m_headerEnd >= 0; }
    // The first bytes cannot start a status line: whatever answered is no web server.
    bool isNotHttp() const { return m_notHttp; }
    // Bytes after the final header's blank line (all bytes while none was recognised).
    qint64 bodyCount() const { return m_received - qMax<qint64>(m_headerEnd, 0); }
    Framing framing() const { return m_framing; }
    // The framing says the page is complete.
    bool isWhole() const;
    // The page is complete if the connection ends now.
    bool isWholeAtClose() const;
    // For a page that is not whole: how much is missing, in the user's words.
    QString shortfall() const;

    int status() const { return m_status; }
    // Content-Length of the final header as the panels show it (0 when absent or beyond 32 bits).
    qint32 contentLength() const { return m_shownLength; }
    QString location() const { return m_location; }
    QByteArray contentType() const { return m_contentType; }
    // The header says a bot check stopped the request (as some site shields tell).
    bool isChallenge() const { return m_challenge; }
    QByteArray body() const { return m_body; }
    bool bodyTruncated() const { return m_bodyTruncated; }

    // Content-Length of a header (the text before its blank line): the first field of that name in any letter
    // case; 0 when absent or not a number.
    static qint32 contentLengthOf(QByteArrayView header);
    // Status code of a header's status line; 0 when it has none.
    static int statusOf(QByteArrayView header);
    // The Location header's value (any letter case); empty when absent.
    static QString locationOf(QByteArrayView header);
    // The first field of that name (any letter case), trimmed; null when absent.
    static QByteArray fieldOf(QByteArrayView header, QByteArrayView name);

private:
    void takeHeader(qsizetype end);
    void takeBody(QByteArrayView data);
    void takeChunked(QByteArrayView data);
    void keep(QByteArrayView data);

    enum class ChunkState { Size, Data, DataEnd, Trailer, Done };

    qint64 m_keptLimit = 0;
    qint64 m_responseLimit = 0; // the kept limit for the response being read
    qint64 m_received = 0;
    // Bytes before the final header (interim answers included) plus the header itself; -1 while unseen.
    qint64 m_headerEnd = -1;
    qint64 m_consumed = 0; // bytes up to the start of the header being read
    qint64 m_bodySeen = 0; // bytes after the final header
    QByteArray m_header;
    bool m_headerGivenUp = false;
    bool m_notHttp = false;
    Framing m_framing = Framing::Unknown;
    qint64 m_length = 0;
    qint32 m_shownLength = 0;
    int m_status = 0;
    QString m_location;
    QByteArray m_contentType;
    bool m_challenge = false;
    ChunkState m_chunkState = ChunkState::Size;
    QByteArray m_chunkLine;
    qint64 m_chunkLeft = 0;
    QByteArray m_body;
    bool m_bodyTruncated = false;
};
