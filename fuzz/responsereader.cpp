// The response reader: any bytes as a server's answer, fed whole and in pieces, and in pieces read as a probe
// reads them (straight into the kept body where the reader offers room). It reads them without harm, and what it
// finds does not depend on how the bytes arrived.
#include <cstring>

#include "probe/responsereader.h"
#include "fuzzcheck.h"

namespace {

ResponseReader read(QByteArrayView bytes, qsizetype pieceSize, qint64 keptLimit)
{
    ResponseReader reader;
    reader.setKeptBodyLimit(keptLimit);
    for (qsizetype at = 0; at < bytes.size(); at += pieceSize) {
        reader.feed(bytes.sliced(at, qMin(pieceSize, bytes.size() - at)));
    }
    return reader;
}

ResponseReader readAsProbe(QByteArrayView bytes, qsizetype pieceSize, qint64 keptLimit)
{
    ResponseReader reader;
    reader.setKeptBodyLimit(keptLimit);
    for (qsizetype at = 0; at < bytes.size();) {
        const qsizetype piece = qMin(pieceSize, bytes.size() - at);
        if (reader.directRoom() > 0) {
            at += reader.readDirect([&](char *data, qint64 most) {
                const qsizetype n = qMin<qsizetype>(piece, qsizetype(most));
                std::memcpy(data, bytes.data() + at, size_t(n));
                return qint64(n);
            });
        } else {
            reader.feed(bytes.sliced(at, piece));
            at += piece;
        }
    }
    return reader;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 1) {
        return 0;
    }
    // The first byte picks the piece size and the kept limit; the rest is the answer.
    const QByteArray bytes = Fuzz::bytes(data + 1, size - 1);
    const qsizetype pieceSize = 1 + data[0] % 16;
    const qint64 keptLimit = data[0] / 16 * 64;

    const ResponseReader whole = read(bytes, qMax<qsizetype>(1, bytes.size()), keptLimit);
    const ResponseReader pieces = read(bytes, pieceSize, keptLimit);
    for (const ResponseReader *reader : { &whole, &pieces }) {
        FUZZ_CHECK(reader->received() == bytes.size());
        FUZZ_CHECK(reader->bodyCount() >= 0 && reader->bodyCount() <= reader->received());
        // An error page's beginning is kept whatever the limit.
        const qint64 limit = reader->status() >= 400 ? qMax(keptLimit, ResponseReader::errorPageKept) : keptLimit;
        FUZZ_CHECK(reader->body().size() <= limit);
        FUZZ_CHECK(reader->body().size() <= reader->bodyCount());
        FUZZ_CHECK(!reader->isWhole() || reader->isWholeAtClose());
        FUZZ_CHECK(reader->status() == 0 || (reader->status() >= 100 && reader->status() <= 999));
    }
    const ResponseReader probe = readAsProbe(bytes, pieceSize, keptLimit);
    for (const ResponseReader *other : { &pieces, &probe }) {
        FUZZ_CHECK(whole.received() == other->received());
        FUZZ_CHECK(whole.headerSeen() == other->headerSeen());
        FUZZ_CHECK(whole.isNotHttp() == other->isNotHttp());
        FUZZ_CHECK(whole.status() == other->status());
        FUZZ_CHECK(whole.bodyCount() == other->bodyCount());
        FUZZ_CHECK(whole.isWhole() == other->isWhole());
        FUZZ_CHECK(whole.isWholeAtClose() == other->isWholeAtClose());
        FUZZ_CHECK(whole.body() == other->body());
        FUZZ_CHECK(whole.bodyTruncated() == other->bodyTruncated());
        FUZZ_CHECK(whole.contentType() == other->contentType());
    }
    return 0;
}
