#include "web/formscan.h"

#include <initializer_list>
#include <limits>

#include "base/textfile.h"

namespace FormScan {

namespace {

constexpr int s_maxIndex = std::numeric_limits<qint16>::max();

struct TagSplit
{
    QLatin1String tag;
    QString replacement;
};

// Gives what the replacements would give applied one after the other over the whole text, in one pass: each
// tag holds a single "<", at its start, so no replacement makes or breaks another's match and no two tags
// match at one "<". One pass keeps pages with many tags linear in their size.
QString splitAtTags(const QString &markup, std::initializer_list<TagSplit> splits)
{
    const QStringView text(markup);
    QString result;
    qsizetype from = 0;
    for (qsizetype at = text.indexOf(u'<'); at >= 0; at = text.indexOf(u'<', at + 1)) {
        const QStringView rest = text.sliced(at);
        // Most "<" start a tag none of these can match; letters outside ASCII are left to the full test,
        // since some fold to ASCII letters.
        if (rest.size() > 1 && rest[1].unicode() < 0x80 && !QStringView(u"fFiItT/").contains(rest[1])) {
            continue;
        }
        for (const TagSplit &split : splits) {
            if (rest.startsWith(split.tag, Qt::CaseInsensitive)) {
                if (result.isEmpty()) {
                    result.reserve(markup.size() + markup.size() / 8);
                }
                result.append(text.sliced(from, at - from));
                result.append(split.replacement);
                from = at + split.tag.size();
                break;
            }
        }
    }
    if (from == 0) {
        return markup;
    }
    result.append(text.sliced(from));
    return result;
}

bool contains(const QString &line, QLatin1String needle)
{
    return line.contains(needle, Qt::CaseInsensitive);
}

QString splitMarkup(const QString &markup, QLatin1String formEnd, const QString &inputStart)
{
    const QString &crlf = TextFile::crlf;
    return splitAtTags(markup,
        {
            { QLatin1String("<form"), crlf + QLatin1String("<form") + crlf },
            { formEnd, crlf + QLatin1String("</form>") + crlf },
            { QLatin1String("<input "), crlf + inputStart },
            { QLatin1String("<textarea"), crlf + QLatin1String("<textarea") },
        });
}

qint16 scanFile(const QString &scratchPath, const QString &splitMarkup, WriteFailure *failure)
{
    if (!writeScratch(scratchPath, splitMarkup, failure)) {
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

bool writeScratch(const QString &scratchPath, const QString &splitMarkup, WriteFailure *failure)
{
    // Replaced whole, so a full disk never leaves a cut markup to scan. A scratch file that nothing reads
    // after a restart needs no sync, which would cost more than the search itself.
    return replaceFile(scratchPath, (splitMarkup + TextFile::crlf).toUtf8(), {false, false}, failure);
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
    // Forms are counted as scanForMessageForm() counts them: a "<form" inside a form (in a comment, a script's
    // text or an unclosed form) starts no new one, so the index it returned names the form read here.
    bool inForm = false;
    int formCount = -1;
    int elementCount = -1;
    for (const QString &line : lines) {
        if (!inForm) {
            if (contains(line, QLatin1String("<form"))) {
                inForm = true;
                if (++formCount > formIndex) {
                    break; // past the form: nothing further can be found
                }
            }
            continue;
        }
        if (contains(line, QLatin1String("</form>"))) {
            inForm = false;
        }
        if (formCount < formIndex) {
            continue;
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

qint16 findMessageForm(const QString &outerHtml, const QString &innerHtml, const QString &scratchPath,
                       WriteFailure *failure)
{
    qint16 formIndex = -1;
    if (!outerHtml.isEmpty()) {
        formIndex = scanFile(scratchPath, splitOuterMarkup(outerHtml), failure);
    }
    if (formIndex < 0 && !innerHtml.isEmpty()) {
        formIndex = scanFile(scratchPath, splitInnerMarkup(innerHtml), failure);
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
