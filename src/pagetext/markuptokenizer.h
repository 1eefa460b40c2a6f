#pragma once

#include <QString>
#include <QStringView>

#include <vector>

// Cuts a page's characters into text and tags the way the HTML Standard's tokenizer does. Comments (ended by
// "-->", "--!>", or at once by "<!-->" and "<!--->"), DOCTYPEs, bogus comments ("<!x>", "<?x>", "</ x>") and,
// outside SVG and MathML, CDATA sections give no token. The text of an element such as a script or a title runs
// to its own end tag, past a script's escapes: the reader of the tokens says which elements those are, as a
// browser's tree builder does. Linear in the page's length.
class MarkupTokenizer
{
public:
    // What follows a start tag, as the element says.
    enum class Content {
        Markup, // text and tags
        EscapableRawText, // text with character references, to the element's end tag (title, textarea)
        RawText, // text as it is, to the element's end tag (style, xmp, iframe, noembed, noframes, noscript)
        ScriptData, // a script's text, to the end tag that is not inside its escapes
        PlainText, // the rest of the page as it is (plaintext)
    };

    // An attribute as written: its name in any letter case, its value's character references not yet read.
    struct Attribute
    {
        QStringView name;
        QStringView value;
    };

    struct Token
    {
        enum class Kind { Text, StartTag, EndTag, End };
        Kind kind = Kind::End;
        QStringView text; // of Text, as written
        bool references = false; // whether the character references in text are read
        QStringView name; // of a tag, lower case
        bool selfClosing = false;
        std::vector<Attribute> attributes; // a name again after the first is none; past attributesKept, none
    };

    // Attributes of a tag kept, however many it has: what a page's text depends on is among the first few.
    static constexpr size_t attributesKept = 64;

    explicit MarkupTokenizer(QStringView page);

    // The next token, valid until the next call; Kind::End at the end of the page, and from then on. A tag cut off
    // by the page's end is none, nor is anything after it.
    const Token &next();

    // How the page goes on after the start tag just read.
    void setContent(Content content);
    // Whether a CDATA section holds text, as it does in SVG and MathML, rather than being a bogus comment.
    void setForeignContent(bool foreign) { m_foreign = foreign; }

private:
    char16_t at(qsizetype i) const { return i < m_page.size() ? m_page[i].unicode() : char16_t(0); }
    bool startsMarkup(qsizetype lt) const;
    bool isEndTagOf(qsizetype lt, QStringView name) const;
    bool startsWithFolded(qsizetype i, QStringView word) const;
    qsizetype commentEnd(qsizetype from) const;
    qsizetype scriptDataEnd(qsizetype from) const;
    qsizetype rawTextEnd(qsizetype from) const;
    qsizetype afterNext(char16_t c, qsizetype from) const;
    const Token &text(qsizetype from, qsizetype to, bool references);
    const Token &tag(qsizetype nameStart, Token::Kind kind);
    const Token &end();

    QStringView m_page;
    qsizetype m_position = 0;
    Content m_content = Content::Markup;
    QString m_endName; // of the element whose text is read as it is
    bool m_foreign = false;
    QString m_name;
    Token m_token;
};
