// The response reader: any bytes as a server's answer, fed whole and in pieces. It reads them without harm,
// and what it finds does not depend on how the bytes arrived.
#include "replies/responsereader.h"
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
        FUZZ_CHECK(reader->body().size() <= keptLimit);
        FUZZ_CHECK(reader->body().size() <= reader->bodyCount());
        FUZZ_CHECK(!reader->isWhole() || reader->isWholeAtClose());
        FUZZ_CHECK(reader->status() == 0 || (reader->status() >= 100 && reader->status() <= 999));
    }
    FUZZ_CHECK(whole.headerSeen() == pieces.headerSeen());
    FUZZ_CHECK(whole.isNotHttp() == pieces.isNotHttp());
    FUZZ_CHECK(whole.status() == pieces.status());
    FUZZ_CHECK(whole.bodyCount() == pieces.bodyCount());
    FUZZ_CHECK(whole.isWhole() == pieces.isWhole());
    FUZZ_CHECK(whole.isWholeAtClose() == pieces.isWholeAtClose());
    FUZZ_CHECK(whole.body() == pieces.body());
    FUZZ_CHECK(whole.bodyTruncated() == pieces.bodyTruncated());
    FUZZ_CHECK(whole.contentType() == pieces.contentType());
    return 0;
}
