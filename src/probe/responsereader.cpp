#include "probe/responsereader.h"

#include <QCoreApplication>
#include <QList>

namespace {

// Longest chunk-size or trailer line still read; a longer one is no chunk framing this reader trusts.
constexpr qsizetype maxChunkLine = 4096;

// The lines of a header (the text before its blank line), line ends removed.
QList<QByteArray> headerLines(QByteArrayView header)
{
    QList<QByteArray> lines = header.toByteArray().split('\n');
    for (QByteArray &line : lines) {
        if (line.endsWith('\r')) {
            line.chop(1);
        }
    }
    return lines;
}

bool isInterim(int status)
{
    // 101 switches protocols: what follows is no longer a page, so it is taken as the final answer.
    return status >= 100 && status <= 199 && status != 101;
}

} // namespace

void ResponseReader::reset()
{
    const qint64 limit = m_keptLimit;
    *this = ResponseReader();
    setKeptBodyLimit(limit);
}

void ResponseReader::feed(QByteArrayView data)
{
    m_received += data.size();
    if (headerSeen()) {
        takeBody(data);
        return;
    }
    if (m_headerGivenUp || m_notHttp) {
        return;
    }
    // Only the bytes that can still hold the end of a header that is short enough are kept.
    constexpr qsizetype keepLimit = MaxHeaderLength + 4;
    QByteArray pending;
    while (!data.isEmpty()) {
        const qsizetype searchFrom = qMax<qsizetype>(0, m_header.size() - 3);
        const qsizetype taken = qMin(data.size(), keepLimit - m_header.size());
        m_header.append(data.first(taken));
        data = data.sliced(taken);
        if (!QByteArrayView("HTTP/").startsWith(QByteArrayView(m_header).first(qMin<qsizetype>(m_header.size(), 5)))) {
            m_notHttp = true;
            m_header = QByteArray();
            return;
        }
        const qsizetype end = m_header.indexOf("\r\n\r\n", searchFrom);
        if (end >= 0) {
            const QByteArray rest = m_header.mid(end + 4);
            if (!isInterim(statusOf(QByteArrayView(m_header).first(end)))) {
                takeHeader(end);
                takeBody(rest);
                takeBody(data);
                return;
            }
            // An interim answer is neither the page nor part of its size: read on from the bytes after it.
            m_consumed += end + 4;
            m_header.clear();
            pending = rest + data.toByteArray();
            data = pending;
        } else if (m_header.size() >= keepLimit) {
            // Too long to be a header: the whole response counts as body.
            m_headerGivenUp = true;
            m_header = QByteArray();
            return;
        }
    }
}

void ResponseReader::takeHeader(qsizetype end)
{
    const QByteArrayView header = QByteArrayView(m_header).first(end);
    m_headerEnd = m_consumed + end + 4;
    m_status = statusOf(header);
    m_shownLength = contentLengthOf(header);
    m_location = locationOf(header);
    m_contentType = fieldOf(header, "Content-Type");
    m_challenge = !fieldOf(header, "cf-mitigated").isNull();
    // An error page is never the post's page, but its beginning tells a browser check from a plain refusal.
    m_responseLimit = m_status >= 400 ? qMax(m_keptLimit, errorPageKept) : m_keptLimit;
    const QByteArray coding = fieldOf(header, "Transfer-Encoding").toLower();
    const QByteArray length = fieldOf(header, "Content-Length");
    bool lengthOk = false;
    m_length = length.toLongLong(&lengthOk);
    if (m_status == 204 || m_status == 304) {
        m_framing = Framing::Empty;
    } else if (coding.trimmed().endsWith("chunked")) {
        m_framing = Framing::Chunked;
    } else if (lengthOk && m_length >= 0) {
        m_framing = Framing::Length;
        // Kept in one piece from the start, rather than copied as it grows.
        if (m_responseLimit > 0) {
            m_body.reserve(qsizetype(qMin(m_length, m_responseLimit)));
        }
    } else {
        m_framing = Framing::UntilClose;
    }
    m_header = QByteArray();
}

void ResponseReader::takeBody(QByteArrayView data)
{
    if (data.isEmpty()) {
        return;
    }
    const qint64 before = m_bodySeen;
    m_bodySeen += data.size();
    switch (m_framing) {
    case Framing::Chunked:
        takeChunked(data);
        return;
    case Framing::Length:
        // Bytes beyond the announced length are counted as ever, but are not the page's.
        keep(data.first(qsizetype(qBound<qint64>(0, m_length - before, data.size()))));
        return;
    case Framing::Empty:
        return;
    case Framing::Unknown:
    case Framing::UntilClose:
        keep(data);
        return;
    }
}

void ResponseReader::takeChunked(QByteArrayView data)
{
    while (!data.isEmpty() && m_chunkState != ChunkState::Done) {
        if (m_chunkState == ChunkState::Data) {
            const qsizetype n = qsizetype(qMin<qint64>(m_chunkLeft, data.size()));
            keep(data.first(n));
            data = data.sliced(n);
            m_chunkLeft -= n;
            if (m_chunkLeft == 0) {
                m_chunkState = ChunkState::DataEnd;
            }
            continue;
        }
        const qsizetype newline = data.indexOf('\n');
        const qsizetype n = newline < 0 ? data.size() : newline + 1;
        if (m_chunkLine.size() + n > maxChunkLine) {
            // Not framing this reader understands: the page ends with the connection, as without any.
            m_framing = Framing::UntilClose;
            keep(m_chunkLine);
            keep(data);
            m_chunkLine.clear();
            return;
        }
        m_chunkLine.append(data.first(n));
        data = data.sliced(n);
        if (newline < 0) {
            return;
        }
        const QByteArray line = m_chunkLine.trimmed();
        m_chunkLine.clear();
        if (m_chunkState == ChunkState::DataEnd) {
            m_chunkState = ChunkState::Size;
        } else if (m_chunkState == ChunkState::Trailer) {
            if (line.isEmpty()) {
                m_chunkState = ChunkState::Done;
            }
        } else {
            const qsizetype semicolon = line.indexOf(';');
            bool ok = false;
            m_chunkLeft = (semicolon < 0 ? line : line.first(semicolon)).trimmed().toLongLong(&ok, 16);
            if (!ok || m_chunkLeft < 0) {
                m_framing = Framing::UntilClose;
                keep(data);
                return;
            }
            m_chunkState = m_chunkLeft == 0 ? ChunkState::Trailer : ChunkState::Data;
        }
    }
}

qint64 ResponseReader::directRoom() const
{
    // Every byte of such a body is kept from the first, so the kept body is as long as the body seen.
    if (!headerSeen() || m_framing != Framing::Length || m_bodySeen >= m_length || m_body.size() >= m_responseLimit) {
        return 0;
    }
    return qMin(m_length - m_bodySeen, m_responseLimit - m_body.size());
}

void ResponseReader::keep(QByteArrayView data)
{
    const qint64 room = m_responseLimit - m_body.size();
    if (data.size() > room) {
        m_bodyTruncated = true;
    }
    if (room > 0) {
        m_body.append(data.first(qsizetype(qMin<qint64>(room, data.size()))));
    }
}

bool ResponseReader::isWhole() const
{
    switch (m_framing) {
    case Framing::Length:
        return bodyCount() >= m_length;
    case Framing::Chunked:
        return m_chunkState == ChunkState::Trailer || m_chunkState == ChunkState::Done;
    case Framing::Empty:
        return true;
    case Framing::Unknown:
    case Framing::UntilClose:
        break;
    }
    return false;
}

bool ResponseReader::isWholeAtClose() const
{
    switch (m_framing) {
    case Framing::UntilClose:
        return true;
    case Framing::Unknown:
        if (m_notHttp) {
            return false;
        }
        // A header too long to read, or one ended by bare line feeds, is counted whole as it came; a header
        // that simply stops is not.
        return m_headerGivenUp || m_header.contains("\n\n");
    default:
        return isWhole();
    }
}

QString ResponseReader::shortfall() const
{
    switch (m_framing) {
    case Framing::Length:
        return QCoreApplication::translate("ResponseReader", "%1 of %2 bytes").arg(bodyCount()).arg(m_length);
    case Framing::Chunked:
        return QCoreApplication::translate("ResponseReader", "the last chunk never came");
    default:
        return QCoreApplication::translate("ResponseReader", "the header never ended");
    }
}

QByteArray ResponseReader::fieldOf(QByteArrayView header, QByteArrayView name)
{
    const QList<QByteArray> lines = headerLines(header);
    for (qsizetype i = 1; i < lines.size(); ++i) {
        // Header names ignore letter case, and the blank after the colon is optional.
        const QByteArray &line = lines.at(i);
        const qsizetype colon = line.indexOf(':');
        if (colon > 0 && line.first(colon).trimmed().compare(name, Qt::CaseInsensitive) == 0) {
            return line.mid(colon + 1).trimmed();
        }
    }
    return QByteArray();
}

qint32 ResponseReader::contentLengthOf(QByteArrayView header)
{
    bool ok = false;
    const qint32 value = fieldOf(header, "Content-Length").toInt(&ok);
    return ok ? value : 0;
}

int ResponseReader::statusOf(QByteArrayView header)
{
    const QList<QByteArray> words = headerLines(header).value(0).split(' ');
    if (words.size() < 2 || !words.at(0).startsWith("HTTP/") || words.at(1).size() != 3) {
        return 0;
    }
    bool ok = false;
    const int status = words.at(1).toInt(&ok);
    return ok && status >= 100 ? status : 0;
}

QString ResponseReader::locationOf(QByteArrayView header)
{
    return QString::fromUtf8(fieldOf(header, "Location"));
}
