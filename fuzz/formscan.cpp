// The markup scan over any page markup. Checks that each split gives what its tag replacements give one after
// the other, and that the field search reads the form the form search found: the field's index is the count
// of input and textarea lines in that form, up to its first line holding the word "textarea".

#include "base/textfile.h"
#include "fuzzcheck.h"
#include "web/formscan.h"

namespace {

bool has(const QString &line, QLatin1String word)
{
    return line.contains(word, Qt::CaseInsensitive);
}

QString replacedInTurn(QString markup, QLatin1String formEnd, const QString &inputStart)
{
    const QString &crlf = TextFile::crlf;
    markup.replace(QLatin1String("<form"), crlf + QLatin1String("<form") + crlf, Qt::CaseInsensitive);
    markup.replace(formEnd, crlf + QLatin1String("</form>") + crlf, Qt::CaseInsensitive);
    markup.replace(QLatin1String("<input "), crlf + inputStart, Qt::CaseInsensitive);
    markup.replace(QLatin1String("<textarea"), crlf + QLatin1String("<textarea"), Qt::CaseInsensitive);
    return markup;
}

// Forms as the form search counts them: a "<form" outside a form opens one, a "</form>" inside closes it.
int expectedField(int formIndex, const QStringList &lines)
{
    bool inForm = false;
    int count = -1;
    int elements = -1;
    for (const QString &line : lines) {
        if (!inForm) {
            if (has(line, QLatin1String("<form"))) {
                inForm = true;
                ++count;
            }
            continue;
        }
        if (count == formIndex) {
            if (has(line, QLatin1String("<textarea")) || has(line, QLatin1String("<input"))) {
                ++elements;
            }
            if (has(line, QLatin1String("textarea"))) {
                return elements;
            }
        }
        if (has(line, QLatin1String("</form>"))) {
            inForm = false;
        }
    }
    return -1;
}

void checkScan(const QString &split)
{
    const QStringList lines = TextFile::splitLines(TextFile::encode(split + TextFile::crlf));
    const qint16 form = FormScan::scanForMessageForm(lines);
    FUZZ_CHECK(form >= -1);
    if (form >= 0) {
        FUZZ_CHECK(FormScan::scanForMessageField(form, lines) == expectedField(form, lines));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString markup = Fuzz::text(data, size);
    const QString outer = FormScan::splitOuterMarkup(markup);
    const QString inner = FormScan::splitInnerMarkup(markup);
    FUZZ_CHECK(outer == replacedInTurn(markup, QLatin1String("</form"), QStringLiteral("<input ")));
    FUZZ_CHECK(inner == replacedInTurn(markup, QLatin1String("</form>"), QStringLiteral("<input")));
    checkScan(outer);
    checkScan(inner);

    // Through the scratch file, as the browser pane runs it.
    const QString scratch = Fuzz::scratchFolder() + QStringLiteral("/scan.txt");
    const qint16 form = FormScan::findMessageForm(markup, markup, scratch);
    const qint16 field = FormScan::findMessageField(form, scratch);
    const qint16 outerForm = FormScan::scanForMessageForm(TextFile::splitLines(TextFile::encode(outer)));
    if (outerForm >= 0) {
        FUZZ_CHECK(form == outerForm);
    }
    if (form < 0) {
        FUZZ_CHECK(field == -1);
    } else {
        FUZZ_CHECK(field == expectedField(form, TextFile::readLines(scratch)));
    }
    return 0;
}
