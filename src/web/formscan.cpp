#include "web/formscan.h"

#include <QFile>
#include <QStringMatcher>

#include <limits>

#include "app/textfile.h"

namespace FormScan {

namespace {

constexpr int s_maxIndex = std::numeric_limits<qint16>::max();

// One left-to-right pass building a new string, so pages with many tags stay linear in their size.
QString replaceIgnoringCase(const QString &text, QLatin1String before, const QString &after)
{
    const QStringMatcher matcher(before, Qt::CaseInsensitive);
    qsizetype match = matcher.indexIn(text, 0);
    if (match < 0) {
        return text;
    }
    QString result;
    result.reserve(text.size() + text.size() / 8);
    qsizetype from = 0;
    while (match >= 0) {
        result.append(QStringView(text).sliced(from, match - from));
        result.append(after);
        from = match + before.size();
        match = matcher.indexIn(text, from);
    }
    result.append(QStringView(text).sliced(from));
    return result;
}

bool contains(const QString &line, QLatin1String needle)
{
    return line.contains(needle, Qt::CaseInsensitive);
}

QString splitMarkup(const QString &markup, QLatin1String formEnd, const QString &inputStart)
{
    const QString &crlf = TextFile::crlf;
    QString text = replaceIgnoringCase(markup, QLatin1String("<form"), crlf + QLatin1String("<form") + crlf);
    text = replaceIgnoringCase(text, formEnd, crlf + QLatin1String("</form>") + crlf);
    text = replaceIgnoringCase(text, QLatin1String("<input "), crlf + inputStart);
    return replaceIgnoringCase(text, QLatin1String("<textarea"), crlf + QLatin1String("<textarea"));
}

qint16 scanFile(const QString &scratchPath, const QString &splitMarkup)
{
    if (!writeScratch(scratchPath, splitMarkup)) {
        return -1;
    }
    bool ok = false;
    const QStringList lines = TextFile::readLines(scratchPath, &ok);
    return ok ? scanForMessageForm(lines) : qint16(-1);
}

} // namespace

QString splitOuterMarkup(const QString &outerHtml)
{
    // A closing tag leaves its own ">" on the next line; the scan relies only on the "</form>" line.
    return splitMarkup(outerHtml, QLatin1String("</form"), QStringLiteral("<input "));
}

QString splitInnerMarkup(const QString &innerHtml)
{
    return splitMarkup(innerHtml, QLatin1String("</form>"), QStringLiteral("<input"));
}

bool writeScratch(const QString &scratchPath, const QString &splitMarkup)
{
    // A scratch file only this search reads: a plain overwrite is enough, and much quicker than a synced one.
    QFile file(scratchPath);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        return false;
    }
    const QByteArray bytes = (splitMarkup + TextFile::crlf).toUtf8();
    if (file.write(bytes) != bytes.size()) {
        return false;
    }
    file.close();
    return file.error() == QFileDevice::NoError;
}

qint16 scanForMessageForm(const QStringList &lines)
{
    bool inForm = false;
    int count = -1;
    bool found = false;
    for (const QString &line : lines) {
        if (found) {
            break;
        }
        if (!inForm) {
            if (contains(line, QLatin1String("<form"))) {
                inForm = true;
                if (++count > s_maxIndex) {
                    return -1;
                }
            }
        } else {
            if (contains(line, QLatin1String("textarea"))) {
                found = true;
            }
            if (contains(line, QLatin1String("</form>"))) {
                inForm = false;
            }
        }
    }
    return found ? qint16(count) : qint16(-1);
}

qint16 scanForMessageField(qint16 formIndex, const QStringList &lines)
{
    if (formIndex < 0) {
        return -1;
    }
    int formCount = -1;
    int elementCount = -1;
    for (const QString &line : lines) {
        if (contains(line, QLatin1String("<form"))) {
            ++formCount;
        }
        if (formCount < formIndex) {
            continue;
        }
        if (formCount > formIndex) {
            break; // past the form: nothing further can be found
        }
        if (contains(line, QLatin1String("<textarea")) || contains(line, QLatin1String("<input"))) {
            if (++elementCount > s_maxIndex) {
                return -1;
            }
        }
        if (contains(line, QLatin1String("textarea"))) {
            return qint16(elementCount);
        }
    }
    return -1;
}

qint16 findMessageForm(const QString &outerHtml, const QString &innerHtml, const QString &scratchPath)
{
    qint16 formIndex = -1;
    if (!outerHtml.isEmpty()) {
        formIndex = scanFile(scratchPath, splitOuterMarkup(outerHtml));
    }
    if (formIndex < 0 && !innerHtml.isEmpty()) {
        formIndex = scanFile(scratchPath, splitInnerMarkup(innerHtml));
    }
    return formIndex;
}

qint16 findMessageField(qint16 formIndex, const QString &scratchPath)
{
    if (formIndex < 0) {
        return -1;
    }
    bool ok = false;
    const QStringList lines = TextFile::readLines(scratchPath, &ok);
    return ok ? scanForMessageField(formIndex, lines) : qint16(-1);
}

} // namespace FormScan
