// Time of the message-field search on large pages, scratch-file round trips included.
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTextStream>

#include "benchutil.h"
#include "web/formscan.h"
#include "web/postedmessage.h"

namespace {

QString repeated(const QString &piece, qsizetype size)
{
    QString text;
    text.reserve(size + piece.size());
    while (text.size() < size) {
        text += piece;
    }
    return text;
}

template <typename F> double milliseconds(F &&work)
{
    QElapsedTimer timer;
    timer.start();
    work();
    return timer.nsecsElapsed() / 1e6;
}

} // namespace

int main()
{
    QTextStream out(stdout);
    QTemporaryDir dir;
    const QString scratch = dir.filePath(QStringLiteral("htmltemp.txt"));
    const qsizetype size = 5 * 1024 * 1024;
    const QString posting
        = QStringLiteral("<form><input type=\"text\" name=\"subject\"><textarea name=\"m\"></textarea></form>");

    const struct
    {
        const char *name;
        QString inner;
    } pages[] = {
        { "5 MB of replies, posting form last",
            repeated(QStringLiteral("<div class=\"post\"><p>An earlier reply with <b>markup</b>.</p></div>\n"), size)
                + posting },
        { "5 MB of small forms, no posting form (both passes)",
            repeated(QStringLiteral("<form action=\"/s\"><input type=\"text\" name=\"q\"></form>"), size) },
        { "5 MB, one form of 100k fields",
            QStringLiteral("<form>") + repeated(QStringLiteral("<input type=\"hidden\" name=\"x\">"), size)
                + QStringLiteral("<textarea></textarea></form>") },
    };

    for (const auto &page : pages) {
        const QString outer = QStringLiteral("<body>") + page.inner + QStringLiteral("</body>");
        qint16 form = -1;
        qint16 field = -1;
        const double formMs = milliseconds([&] { form = FormScan::findMessageForm(outer, page.inner, scratch); });
        const double fieldMs = milliseconds([&] { field = FormScan::findMessageField(form, scratch); });
        out << page.name << ": form " << form << " in " << formMs << " ms, field " << field << " in " << fieldMs
            << " ms, total " << formMs + fieldMs << " ms\n";
        out.flush();
    }

    // Qt's own case-insensitive replace, for comparison with the single-pass one the scan uses.
    const QString forms = repeated(QStringLiteral("<FORM><INPUT type=x></FORM>"), size);
    QString copy = forms;
    const double qtMs = milliseconds(
        [&] { copy.replace(QStringLiteral("<form"), QStringLiteral("\r\n<form\r\n"), Qt::CaseInsensitive); });
    const double ownMs = milliseconds([&] { copy = FormScan::splitOuterMarkup(forms); });
    out << "5 MB, 190k forms: QString::replace (one needle) " << qtMs << " ms; split (four needles) " << ownMs
        << " ms\n";

    const QString key = QStringLiteral("A sentence that is nowhere on the page");
    const QString inner = pages[0].inner;
    const QString outer = QStringLiteral("<body>") + inner + QStringLiteral("</body>");
    bool found = true;
    const double keyMs = milliseconds([&] { found = PostedMessage::pageTextContainsKey(outer, inner, key); });
    out << "posted-message search over 2 x 5 MB (absent key): " << keyMs << " ms, found " << found << "\n";
    out << "peak memory " << peakMemoryMiB() << " MiB\n";
    return 0;
}
