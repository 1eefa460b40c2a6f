#include "pagetext/markuptokenizer.h"

namespace {

// White space as markup has it. The Standard reads a carriage return as a line feed before it tokenizes.
bool isSpace(char16_t c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}

bool isAsciiLetter(char16_t c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

char16_t asciiLower(char16_t c)
{
    return c >= 'A' && c <= 'Z' ? char16_t(c - 'A' + 'a') : c;
}

} // namespace

MarkupTokenizer::MarkupTokenizer(QStringView page)
    : m_page(page)
{ }

void MarkupTokenizer::setContent(Content content)
{
    m_content = content;
    m_endName = m_token.name.toString();
}

bool MarkupTokenizer::startsWithFolded(qsizetype i, QStringView word) const
{
    if (m_page.size() - i < word.size()) {
        return false;
    }
    for (qsizetype k = 0; k < word.size(); ++k) {
        if (asciiLower(m_page[i + k].unicode()) != word[k].unicode()) {
            return false;
        }
    }
    return true;
}

// Whether the "<" at lt starts an end tag of name (lower case): "</", the name in any case, then white space,
// "/" or ">".
bool MarkupTokenizer::isEndTagOf(qsizetype lt, QStringView name) const
{
    const qsizetype after = lt + 2 + name.size();
    const char16_t next = at(after);
    return at(lt + 1) == '/' && startsWithFolded(lt + 2, name) && after < m_page.size()
        && (isSpace(next) || next == '/' || next == '>');
}

// Whether the "<" at lt starts a tag, a comment or the like rather than being text.
bool MarkupTokenizer::startsMarkup(qsizetype lt) const
{
    const char16_t next = at(lt + 1);
    return isAsciiLetter(next) || next == '!' || next == '?' || (next == '/' && lt + 2 < m_page.size());
}

qsizetype MarkupTokenizer::afterNext(char16_t c, qsizetype from) const
{
    const qsizetype found = m_page.indexOf(QChar(c), from);
    return found < 0 ? m_page.size() : found + 1;
}

// Where the comment whose "<!--" ends at from ends, as the comment states of the Standard have it.
qsizetype MarkupTokenizer::commentEnd(qsizetype from) const
{
    if (at(from) == '>') {
        return from + 1;
    }
    if (at(from) == '-' && at(from + 1) == '>') {
        return from + 2;
    }
    int dashes = 0;
    for (qsizetype i = from; i < m_page.size(); ++i) {
        const char16_t c = m_page[i].unicode();
        if (c == '-') {
            ++dashes;
        } else if (c == '>' && dashes >= 2) {
            return i + 1;
        } else if (c == '!' && dashes >= 2 && at(i + 1) == '>') {
            return i + 2;
        } else {
            dashes = 0;
        }
    }
    return m_page.size();
}

// Where a script's text that starts at from ends: at the "<" of "</script" that is not inside the escapes of
// the Standard's script data states ("<!--" opens one, and "<script" within it another, which "</script" closes).
qsizetype MarkupTokenizer::scriptDataEnd(qsizetype from) const
{
    enum class State { Plain, Escaped, DoubleEscaped };
    State state = State::Plain;
    int dashes = 0; // just read, in the escaped states
    for (qsizetype i = from; i < m_page.size();) {
        if (state == State::Plain) {
            i = m_page.indexOf(u'<', i);
            if (i < 0 || isEndTagOf(i, u"script")) {
                return i < 0 ? m_page.size() : i;
            }
            if (at(i + 1) == '!' && at(i + 2) == '-' && at(i + 3) == '-') {
                state = State::Escaped;
                dashes = 2;
                i += 4;
            } else {
                ++i;
            }
            continue;
        }
        const char16_t c = m_page[i].unicode();
        if (c == '-') {
            ++dashes;
            ++i;
            continue;
        }
        if (c == '>' && dashes >= 2) {
            state = State::Plain;
            ++i;
            continue;
        }
        dashes = 0;
        if (c == '<') {
            if (state == State::Escaped && isEndTagOf(i, u"script")) {
                return i;
            }
            // "<script" opens an escape within the escape, "</script" closes it, each followed by white space,
            // "/" or ">".
            const bool closing = at(i + 1) == '/';
            const qsizetype name = i + (closing ? 2 : 1);
            const char16_t after = at(name + 6);
            if (closing == (state == State::DoubleEscaped) && startsWithFolded(name, u"script")
                && (isSpace(after) || after == '/' || after == '>')) {
                state = closing ? State::Escaped : State::DoubleEscaped;
                i = name + 7;
                continue;
            }
        }
        ++i;
    }
    return m_page.size();
}

// Where the text of the element named m_endName that starts at from ends: at the "<" of its end tag.
qsizetype MarkupTokenizer::rawTextEnd(qsizetype from) const
{
    for (qsizetype lt = m_page.indexOf(u'<', from); lt >= 0; lt = m_page.indexOf(u'<', lt + 1)) {
        if (isEndTagOf(lt, m_endName)) {
            return lt;
        }
    }
    return m_page.size();
}

const MarkupTokenizer::Token &MarkupTokenizer::text(qsizetype from, qsizetype to, bool references)
{
    m_token.kind = Token::Kind::Text;
    m_token.text = m_page.sliced(from, to - from);
    m_token.references = references;
    m_position = to;
    return m_token;
}

const MarkupTokenizer::Token &MarkupTokenizer::end()
{
    m_position = m_page.size();
    m_token.kind = Token::Kind::End;
    return m_token;
}

const MarkupTokenizer::Token &MarkupTokenizer::next()
{
    while (m_position < m_page.size()) {
        const Content content = m_content;
        m_content = Content::Markup;
        switch (content) {
        case Content::Markup:
            break;
        case Content::PlainText:
            return text(m_position, m_page.size(), false);
        case Content::EscapableRawText:
        case Content::RawText:
        case Content::ScriptData: {
            const qsizetype textEnd
                = content == Content::ScriptData ? scriptDataEnd(m_position) : rawTextEnd(m_position);
            if (textEnd > m_position) {
                return text(m_position, textEnd, content == Content::EscapableRawText);
            }
            continue;
        }
        }
        const qsizetype p = m_position;
        if (m_page[p] != u'<' || !startsMarkup(p)) {
            qsizetype lt = p;
            do {
                lt = m_page.indexOf(u'<', lt + 1);
            } while (lt >= 0 && !startsMarkup(lt));
            return text(p, lt < 0 ? m_page.size() : lt, true);
        }
        const char16_t next = at(p + 1);
        if (isAsciiLetter(next)) {
            return tag(p + 1, Token::Kind::StartTag);
        }
        if (next == '/' && isAsciiLetter(at(p + 2))) {
            return tag(p + 2, Token::Kind::EndTag);
        }
        if (next == '/' && at(p + 2) == '>') {
            m_position = p + 3;
        } else if (next == '!' && at(p + 2) == '-' && at(p + 3) == '-') {
            m_position = commentEnd(p + 4);
        } else if (next == '!' && m_foreign && m_page.sliced(p).startsWith(u"<![CDATA[")) {
            const qsizetype close = m_page.indexOf(u"]]>", p + 9);
            const qsizetype textEnd = close < 0 ? m_page.size() : close;
            if (textEnd > p + 9) {
                text(p + 9, textEnd, false);
            }
            m_position = close < 0 ? textEnd : close + 3;
            if (textEnd > p + 9) {
                return m_token;
            }
        } else {
            // A DOCTYPE, a bogus comment or a processing instruction: to the next ">", quotes or not.
            m_position = afterNext(u'>', p + 2);
        }
    }
    return end();
}

// The tag whose name starts at nameStart, with its attributes, as the tag and attribute states of the Standard
// read them.
const MarkupTokenizer::Token &MarkupTokenizer::tag(qsizetype nameStart, Token::Kind kind)
{
    m_token.kind = kind;
    m_token.selfClosing = false;
    m_token.attributes.clear();
    qsizetype p = nameStart;
    bool lowerCase = true;
    for (char16_t c; p < m_page.size() && !isSpace(c = m_page[p].unicode()) && c != '/' && c != '>'; ++p) {
        lowerCase = lowerCase && c != 0 && asciiLower(c) == c;
    }
    m_token.name = m_page.sliced(nameStart, p - nameStart);
    if (!lowerCase) {
        m_name.resize(0);
        for (const QChar c : m_token.name) {
            m_name += QChar(c.unicode() == 0 ? char16_t(0xFFFD) : asciiLower(c.unicode()));
        }
        m_token.name = m_name;
    }
    const qsizetype size = m_page.size();
    while (true) {
        while (p < size && isSpace(m_page[p].unicode())) {
            ++p;
        }
        if (p >= size) {
            return end();
        }
        if (m_page[p] == u'>') {
            m_position = p + 1;
            return m_token;
        }
        if (m_page[p] == u'/') {
            // "/>" closes the tag; a "/" before anything else goes.
            if (at(p + 1) == '>') {
                m_token.selfClosing = true;
                m_position = p + 2;
                return m_token;
            }
            ++p;
            continue;
        }
        // A name's first character may be "=".
        const qsizetype name = p++;
        for (char16_t c; p < size && !isSpace(c = m_page[p].unicode()) && c != '/' && c != '>' && c != '='; ++p) { }
        Attribute attribute { m_page.sliced(name, p - name), {} };
        while (p < size && isSpace(m_page[p].unicode())) {
            ++p;
        }
        if (p < size && m_page[p] == u'=') {
            ++p;
            while (p < size && isSpace(m_page[p].unicode())) {
                ++p;
            }
            if (p >= size) {
                return end();
            }
            const char16_t quote = m_page[p].unicode();
            if (quote == '"' || quote == '\'') {
                const qsizetype close = m_page.indexOf(QChar(quote), p + 1);
                if (close < 0) {
                    return end();
                }
                attribute.value = m_page.sliced(p + 1, close - p - 1);
                p = close + 1;
            } else {
                const qsizetype value = p;
                for (char16_t c; p < size && !isSpace(c = m_page[p].unicode()) && c != '>'; ++p) { }
                attribute.value = m_page.sliced(value, p - value);
            }
        }
        if (m_token.attributes.size() < attributesKept) {
            m_token.attributes.push_back(attribute);
        }
    }
}
