// Post addresses and the probe's reading of response headers. Any text as an address: its identity is
// stable, it is the same post as itself and under any fragment, and what goes into the request line and the
// Host header cannot end the line or carry a fragment. Any bytes as a header: read without harm.
#include "fuzzcheck.h"
#include "probe/pagesizeprobe.h"
#include "probe/postaddress.h"
#include "probe/responsereader.h"

#include <QUrl>

namespace {

bool travelsInRequestLine(const QByteArray &bytes)
{
    for (const char byte : bytes) {
        const auto c = uchar(byte);
        if (c <= 0x20 || c >= 0x7f || c == '#') {
            return false;
        }
    }
    return true;
}

void checkAddress(const QString &address)
{
    // As the href of a page's canonical link: kept only as an address of the page's own site.
    const QString canonical = PostAddress::canonicalAddress(QUrl(QStringLiteral("http://forum.example/t/1?p=2#p2")), address);
    if (!canonical.isEmpty()) {
        FUZZ_CHECK(PostAddress::split(canonical).host.compare(QLatin1String("forum.example"), Qt::CaseInsensitive) == 0);
        FUZZ_CHECK(!canonical.contains(QLatin1Char('#')));
    }

    const QString identity = PostAddress::identity(address);
    FUZZ_CHECK(PostAddress::identity(identity) == identity);
    FUZZ_CHECK(PostAddress::isSamePost(address, address));

    const PostAddress::Parts parts = PostAddress::split(address);
    if (!parts.valid) {
        return;
    }
    FUZZ_CHECK(PostAddress::split(identity).valid);
    FUZZ_CHECK(PostAddress::isSamePost(address, address.trimmed() + QStringLiteral("#Reply_3")));
    const QByteArray target = PostAddress::requestTarget(parts.target);
    FUZZ_CHECK(target.startsWith('/'));
    FUZZ_CHECK(travelsInRequestLine(target));
    FUZZ_CHECK(travelsInRequestLine(PostAddress::requestTarget(parts.hostHeader())));
    // Exactly the request's own line ends: nothing from the address adds a header.
    const QByteArray request = PageSizeProbe::requestText(parts.hostHeader(), parts.target);
    FUZZ_CHECK(request.count('\n') == 5 && request.count('\r') == 5);
    const QByteArray requestLine = QByteArray("GET ") + target + QByteArray(" HTTP/1.1\r\n");
    FUZZ_CHECK(request.startsWith(requestLine));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes = Fuzz::bytes(data, size);
    for (const QString &address : Fuzz::text(data, size).split(QLatin1Char('\n'))) {
        checkAddress(address);
    }

    const int status = ResponseReader::statusOf(bytes);
    FUZZ_CHECK(status == 0 || (status >= 100 && status <= 999));
    ResponseReader::contentLengthOf(bytes);
    const QString location = ResponseReader::locationOf(bytes);
    FUZZ_CHECK(!location.contains(QLatin1Char('\n')));
    return 0;
}
