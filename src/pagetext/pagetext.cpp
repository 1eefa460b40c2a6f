#include "pagetext/pagetext.h"

#include <QHash>

#include <algorithm>
#include <iterator>
#include <vector>

#include "base/characterreferences.h"
#include "pagetext/markuptokenizer.h"
#include "pagetext/pageencoding.h"

namespace PageText {

namespace {

using namespace Qt::Literals::StringLiterals;
using Token = MarkupTokenizer::Token;

// What an element does to the page's text.
enum Role : quint16 {
    Block = 1 << 0, // begins and ends a line
    Hidden = 1 << 1, // its text never shows
    RawText = 1 << 2, // its text runs to its end tag, read as it is
    EscapableRawText = 1 << 3, // the same, character references read
    ScriptData = 1 << 4, // a script's text
    PlainText = 1 << 5, // the rest of the page is its text
    Template = 1 << 6, // its content, markup and all, never shows
    Void = 1 << 7, // has no content
    LeavesForeign = 1 << 8, // in SVG or MathML, ends them: the HTML elements that the Standard lets break out
    HeadContent = 1 << 9, // may stand in a page's head; any other start tag begins its body
};

struct ElementRoles
{
    QStringView name;
    quint16 roles;
};

constexpr ElementRoles s_elements[] = {
    { u"address", Block },
    { u"area", Void },
    { u"article", Block },
    { u"aside", Block },
    { u"b", LeavesForeign },
    { u"base", Void | HeadContent },
    { u"basefont", Void | HeadContent },
    { u"bgsound", Void | HeadContent },
    { u"big", LeavesForeign },
    { u"blockquote", Block | LeavesForeign },
    { u"body", Block | LeavesForeign },
    { u"br", Block | Void | LeavesForeign },
    { u"caption", Block },
    { u"center", Block | LeavesForeign },
    { u"code", LeavesForeign },
    { u"col", Void },
    { u"dd", Block | LeavesForeign },
    { u"details", Block },
    { u"dialog", Block },
    { u"dir", Block },
    { u"div", Block | LeavesForeign },
    { u"dl", Block | LeavesForeign },
    { u"dt", Block | LeavesForeign },
    { u"em", LeavesForeign },
    { u"embed", Void | LeavesForeign },
    { u"fieldset", Block },
    { u"figcaption", Block },
    { u"figure", Block },
    { u"footer", Block },
    { u"form", Block },
    { u"frame", Void },
    { u"h1", Block | LeavesForeign },
    { u"h2", Block | LeavesForeign },
    { u"h3", Block | LeavesForeign },
    { u"h4", Block | LeavesForeign },
    { u"h5", Block | LeavesForeign },
    { u"h6", Block | LeavesForeign },
    { u"head", Block | LeavesForeign | HeadContent },
    { u"header", Block },
    { u"hgroup", Block },
    { u"hr", Block | Void | LeavesForeign },
    { u"html", Block | HeadContent },
    { u"i", LeavesForeign },
    { u"iframe", Hidden | RawText },
    { u"img", Void | LeavesForeign },
    { u"input", Void },
    { u"keygen", Void },
    { u"legend", Block },
    { u"li", Block | LeavesForeign },
    { u"link", Void | HeadContent },
    { u"listing", Block | LeavesForeign },
    { u"main", Block },
    { u"menu", Block | LeavesForeign },
    { u"meta", Void | LeavesForeign | HeadContent },
    { u"nav", Block },
    { u"nobr", LeavesForeign },
    { u"noembed", Hidden | RawText },
    { u"noframes", Hidden | RawText | HeadContent },
    // As a browser that runs scripts reads it.
    { u"noscript", Hidden | RawText | HeadContent },
    { u"ol", Block | LeavesForeign },
    { u"option", Block },
    { u"p", Block | LeavesForeign },
    { u"param", Void },
    { u"plaintext", Block | PlainText },
    { u"pre", Block | LeavesForeign },
    { u"ruby", LeavesForeign },
    { u"s", LeavesForeign },
    { u"script", Hidden | ScriptData | HeadContent },
    { u"search", Block },
    { u"section", Block },
    { u"small", LeavesForeign },
    { u"source", Void },
    { u"span", LeavesForeign },
    { u"strike", LeavesForeign },
    { u"strong", LeavesForeign },
    { u"style", Hidden | RawText | HeadContent },
    { u"sub", LeavesForeign },
    { u"summary", Block },
    { u"sup", LeavesForeign },
    { u"table", Block | LeavesForeign },
    { u"tbody", Block },
    { u"td", Block },
    { u"template", Template | HeadContent },
    { u"textarea", EscapableRawText },
    { u"th", Block },
    // Shown, as a line of its own: a thread's title tells which thread a text is of.
    { u"title", Block | EscapableRawText | HeadContent },
    { u"tr", Block },
    { u"track", Void },
    { u"tt", LeavesForeign },
    { u"u", LeavesForeign },
    { u"ul", Block | LeavesForeign },
    { u"var", LeavesForeign },
    { u"wbr", Void },
    { u"xmp", Block | RawText },
};
quint16 rolesOf(QStringView name)
{
    static const QHash<QStringView, quint16> roles = [] {
        QHash<QStringView, quint16> byName;
        for (const ElementRoles &element : s_elements) {
            byName.insert(element.name, element.roles);
        }
        return byName;
    }();
    return roles.value(name);
}

bool equalsFolded(QStringView text, QLatin1StringView lowerCase)
{
    return text.size() == lowerCase.size()
        && std::equal(text.begin(), text.end(), lowerCase.begin(), [](QChar a, char b) {
               return (a.unicode() >= 'A' && a.unicode() <= 'Z' ? a.unicode() + 32 : a.unicode()) == char16_t(b);
           });
}

// The tag's first attribute of that name; nullptr when it has none.
const MarkupTokenizer::Attribute *attributeOf(const Token &tag, QLatin1StringView name)
{
    const auto found = std::find_if(tag.attributes.begin(), tag.attributes.end(),
        [name](const MarkupTokenizer::Attribute &attribute) { return equalsFolded(attribute.name, name); });
    return found == tag.attributes.end() ? nullptr : &*found;
}

QByteArray attributeBytes(const MarkupTokenizer::Attribute *attribute)
{
    return CharacterReferences::decoded(attribute->value, CharacterReferences::Place::AttributeValue).toUtf8();
}

// The lines of a page's text, each ended by "\n", taken from its text as it comes. White space collapses to one
// blank within a line and goes at its ends; controls go; half a surrogate pair becomes the replacement character.
class LineCollector
{
public:
    explicit LineCollector(qsizetype room)
        : m_text(room + 2, Qt::Uninitialized)
    { }

    void add(QStringView text, bool references)
    {
        // A character reference is never shorter than what it stands for, and a blank stands for white space:
        // the text takes no more room than it has, but for a blank before it and a line end after.
        if (m_size + text.size() + 2 > m_text.size()) {
            m_text.resize(std::max(m_text.size() * 2, m_size + text.size() + 2));
        }
        m_out = m_text.data() + m_size;
        for (qsizetype i = 0; i < text.size(); ++i) {
            const char16_t c = text[i].unicode();
            if (c > ' ' && c < 0x7F && (c != '&' || !references)) {
                addVisible(c);
            } else if (c == '&') {
                const CharacterReferences::Reference reference = CharacterReferences::referenceAt(text.sliced(i));
                if (reference.length == 0) {
                    addVisible(c);
                    continue;
                }
                add(reference.first);
                if (reference.second != 0) {
                    add(reference.second);
                }
                i += reference.length - 1;
            } else if (QChar::isHighSurrogate(c) && i + 1 < text.size()
                && QChar::isLowSurrogate(text[i + 1].unicode())) {
                add(QChar::surrogateToUcs4(c, text[++i].unicode()));
            } else {
                add(QChar::isSurrogate(c) ? char32_t(QChar::ReplacementCharacter) : char32_t(c));
            }
        }
        m_size = m_out - m_text.data();
    }

    void endLine()
    {
        if (m_size > m_lineStart) {
            m_text[m_size++] = u'\n';
            m_lineStart = m_size;
        }
        m_pendingBlank = false;
    }

    TextLines take()
    {
        endLine();
        m_text.truncate(m_size);
        return TextLines::fromText(m_text.toUtf8());
    }

private:
    void addVisible(char16_t c)
    {
        if (m_pendingBlank) {
            *m_out++ = u' ';
            m_pendingBlank = false;
        }
        *m_out++ = QChar(c);
    }

    void add(char32_t c)
    {
        if (QChar::isSpace(c)) {
            m_pendingBlank = m_out > m_text.data() + m_lineStart;
        } else if (QChar::category(c) != QChar::Other_Control) {
            if (QChar::requiresSurrogates(c)) {
                addVisible(QChar::highSurrogate(c));
                *m_out++ = QChar(QChar::lowSurrogate(c));
            } else {
                addVisible(char16_t(c));
            }
        }
    }

    QString m_text; // the lines so far, each ended by "\n", in its first m_size characters
    QChar *m_out = nullptr; // while text is added
    qsizetype m_size = 0;
    qsizetype m_lineStart = 0; // where the line being collected starts
    bool m_pendingBlank = false;
};

// An element of SVG or MathML that is open.
struct ForeignElement
{
    QString name;
    bool mathMl = false; // else SVG
    bool htmlInside = false; // start tags within are HTML's: foreignObject, MathML's text elements
    bool shows = true; // whether its text is drawn: SVG draws only that of <text>
};

// Reads a page's characters into its lines, as a browser builds the page from its tokens: which elements' text
// shows, which elements end a line, where SVG and MathML begin and end. The elements are not nested into a tree:
// what the page shows needs only the open elements that hide text or are foreign.
class PageReader
{
public:
    // encodingMayChange: whether a <meta> in the page's head may name another encoding than the one it was read
    // in (empty for the legacy code page).
    explicit PageReader(QStringView page, bool encodingMayChange = false, const QByteArray &encoding = {})
        : m_tokens(page)
        , m_lines(page.size())
        , m_encoding(encoding)
        , m_encodingMayChange(encodingMayChange)
    { }

    // The page's lines; none when a <meta> in its head names another encoding (see changedEncoding).
    TextLines read()
    {
        for (const Token *token = &m_tokens.next(); token->kind != Token::Kind::End; token = &m_tokens.next()) {
            const Following following = std::exchange(m_following, Following::Markup);
            if (token->kind == Token::Kind::Text) {
                text(*token, following);
            } else if (token->kind == Token::Kind::StartTag) {
                startTag(*token);
            } else {
                endTag(*token);
            }
            if (!m_changedEncoding.isEmpty()) {
                return {};
            }
        }
        return m_lines.take();
    }

    // The encoding a <meta> in the page's head names, other than the one it was read in; empty when none does.
    QByteArray changedEncoding() const { return m_changedEncoding; }

private:
    // What follows the start tag just read: markup, or text read as it is, shown or not.
    enum class Following { Markup, ShownText, HiddenText };

    // Elements in SVG or MathML deeper than this are read as empty: nothing a page shows is that deep.
    static constexpr size_t s_foreignDepth = 512;

    // Hidden content takes no room: nothing in it ends a line.
    bool hiding() const { return m_templates > 0 || m_hidden > 0; }
    bool shows() const { return !hiding() && (m_foreign.empty() || m_foreign.back().shows); }
    bool inForeignMarkup() const { return !m_foreign.empty() && !m_foreign.back().htmlInside; }

    void text(const Token &token, Following following)
    {
        if (following != Following::HiddenText && shows()) {
            m_lines.add(token.text, token.references);
        }
        // Only white space may stand in a page's head.
        if (following == Following::Markup && m_inHead) {
            m_inHead = std::all_of(token.text.begin(), token.text.end(),
                [](QChar c) { return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r' || c == u'\f'; });
        }
    }

    void startTag(const Token &tag)
    {
        const quint16 roles = rolesOf(tag.name);
        if (inForeignMarkup()) {
            const bool font = tag.name == u"font"
                && (attributeOf(tag, "color"_L1) || attributeOf(tag, "face"_L1) || attributeOf(tag, "size"_L1));
            if (!(roles & LeavesForeign) && !font) {
                openForeign(tag);
                return;
            }
            leaveForeign();
        }
        if (tag.name == u"svg" || tag.name == u"math") {
            m_inHead = false;
            openForeign(tag);
            return;
        }
        m_inHead = m_inHead && (roles & HeadContent);
        if (m_inHead && m_encodingMayChange && tag.name == u"meta") {
            metaInHead(tag);
        }
        if (roles & (RawText | EscapableRawText | ScriptData | PlainText)) {
            using Content = MarkupTokenizer::Content;
            m_tokens.setContent(roles & RawText ? Content::RawText
                    : roles & EscapableRawText  ? Content::EscapableRawText
                    : roles & ScriptData        ? Content::ScriptData
                                                : Content::PlainText);
            m_following = roles & Hidden ? Following::HiddenText : Following::ShownText;
        }
        if (roles & Template) {
            ++m_templates;
            return;
        }
        if (m_hidden > 0) {
            m_hidden += tag.name == m_hiddenName && !(roles & Void) ? 1 : 0;
        } else if (attributeOf(tag, "hidden"_L1)) {
            // Not shown at all: no line ends where it is.
            if (!(roles & Void)) {
                m_hiddenName = tag.name.toString();
                m_hidden = 1;
            }
            return;
        }
        if ((roles & Block) && !hiding()) {
            m_lines.endLine();
        }
    }

    void endTag(const Token &tag)
    {
        if (!m_foreign.empty()) {
            const QString name = tag.name.toString();
            if (m_foreignOpen.value(name) > 0) {
                closeForeign(name);
                return;
            }
        }
        const quint16 roles = rolesOf(tag.name);
        // No SVG or MathML element of its name is open. An HTML element's end tag most likely closes one around
        // them; any other is passed by, as it is where nothing of its name is open.
        if (inForeignMarkup()) {
            if (!(roles & (Block | LeavesForeign | Template)) && tag.name != u"a") {
                return;
            }
            leaveForeign();
        }
        if (roles & Template) {
            m_templates = std::max(0, m_templates - 1);
            return;
        }
        if (m_hidden > 0 && tag.name == m_hiddenName && --m_hidden == 0) {
            return;
        }
        if ((roles & Block) && !hiding()) {
            m_lines.endLine();
        }
    }

    void openForeign(const Token &tag)
    {
        if (tag.selfClosing || m_foreign.size() >= s_foreignDepth) {
            return;
        }
        const ForeignElement *parent = m_foreign.empty() ? nullptr : &m_foreign.back();
        ForeignElement element { tag.name.toString(),
            parent != nullptr && !parent->htmlInside ? parent->mathMl : tag.name == u"math" };
        element.shows = parent == nullptr || parent->shows;
        const QStringView name = tag.name;
        if (element.mathMl) {
            element.htmlInside = name == u"mi" || name == u"mo" || name == u"mn" || name == u"ms" || name == u"mtext";
            if (name == u"annotation-xml") {
                const auto *encoding = attributeOf(tag, "encoding"_L1);
                element.htmlInside = encoding != nullptr
                    && (equalsFolded(encoding->value, "text/html"_L1)
                        || equalsFolded(encoding->value, "application/xhtml+xml"_L1));
            }
            element.shows = element.shows && name != u"annotation" && name != u"annotation-xml";
        } else {
            element.htmlInside = name == u"foreignobject" || name == u"desc" || name == u"title";
            element.shows = name == u"text" || name == u"foreignobject"
                || (element.shows && name != u"svg" && name != u"desc" && name != u"title");
        }
        ++m_foreignOpen[element.name];
        m_foreign.push_back(std::move(element));
        m_tokens.setForeignContent(true);
    }

    void popForeign()
    {
        --m_foreignOpen[m_foreign.back().name];
        m_foreign.pop_back();
        m_tokens.setForeignContent(!m_foreign.empty());
    }

    void closeForeign(const QString &name)
    {
        while (m_foreign.back().name != name) {
            popForeign();
        }
        popForeign();
    }

    // Back to HTML: to the innermost foreignObject or MathML text element, or out of SVG and MathML.
    void leaveForeign()
    {
        while (inForeignMarkup()) {
            popForeign();
        }
    }

    // A browser reads the page again in the encoding a <meta> in its head names, unless it was certain of its
    // encoding; once it is the same, or it was read again, it is certain.
    void metaInHead(const Token &meta)
    {
        QByteArray label;
        const auto *equiv = attributeOf(meta, "http-equiv"_L1);
        const auto *content = attributeOf(meta, "content"_L1);
        if (const auto *charset = attributeOf(meta, "charset"_L1)) {
            label = PageEncoding::knownLabel(attributeBytes(charset));
        } else if (equiv != nullptr && content != nullptr && attributeBytes(equiv).toLower() == "content-type") {
            label = PageEncoding::knownLabel(PageEncoding::charsetOfContent(attributeBytes(content)));
        }
        if (label.isEmpty()) {
            return;
        }
        m_encodingMayChange = false;
        // A page whose markup was read as ASCII cannot be UTF-16.
        label = label.startsWith("utf-16") ? QByteArray("utf-8") : label;
        if (!PageEncoding::sameEncoding(label, m_encoding)) {
            m_changedEncoding = label;
        }
    }

    MarkupTokenizer m_tokens;
    LineCollector m_lines;
    QByteArray m_encoding;
    bool m_encodingMayChange;
    QByteArray m_changedEncoding;
    bool m_inHead = true; // no text or tag of the body yet
    Following m_following = Following::Markup;
    int m_templates = 0; // open <template> elements
    QString m_hiddenName; // of the element with the hidden attribute whose content is hidden
    int m_hidden = 0; // how many elements of that name are open, it included
    std::vector<ForeignElement> m_foreign;
    QHash<QString, int> m_foreignOpen; // how many of each name m_foreign holds
};

struct Reading
{
    QString page;
    TextLines lines;
};

Reading readPage(QByteArrayView contentType, QByteArrayView body, const LegacyCodePage &legacy)
{
    const PageEncoding::Declaration declaration = PageEncoding::declared(contentType, body);
    QByteArray encoding;
    QString page = PageEncoding::decoded(body, declaration.charset, &encoding, legacy);
    PageReader reader(page, !declaration.certain, encoding);
    TextLines lines = reader.read();
    if (reader.changedEncoding().isEmpty()) {
        return { std::move(page), std::move(lines) };
    }
    page = PageEncoding::decoded(body, reader.changedEncoding());
    lines = PageReader(page).read();
    return { std::move(page), std::move(lines) };
}

} // namespace

QByteArray declaredCharset(QByteArrayView contentType, QByteArrayView body)
{
    return PageEncoding::declared(contentType, body).charset;
}

QString decoded(QByteArrayView contentType, QByteArrayView body, const LegacyCodePage &legacy)
{
    return readPage(contentType, body, legacy).page;
}

QStringList linesOf(QStringView page)
{
    return PageReader(page).read().toList();
}

TextLines textLines(QByteArrayView contentType, QByteArrayView body, const LegacyCodePage &legacy)
{
    return readPage(contentType, body, legacy).lines;
}

} // namespace PageText
