#include "ui/rtfreader.h"

#include <QHash>
#include <QSet>
#include <QStringDecoder>
#include <QUrl>

#include <algorithm>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace {

// Real documents nest a few dozen groups at most; deeper groups share their parent's state.
constexpr int s_maxGroupDepth = 256;
// Absurd documents stop here instead of exhausting memory: text units, and runs plus paragraphs.
constexpr qsizetype s_maxTextUnits = 4 * 1024 * 1024;
constexpr qsizetype s_maxPieces = 400 * 1000;
constexpr qsizetype s_maxFieldInstruction = 4096;
constexpr qsizetype s_maxColours = 1024;
constexpr int s_maxParameterDigits = 10;

struct CharFormat
{
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strike = false;
    bool hidden = false;
    int vertical = 0; // 1 superscript, -1 subscript
    int halfPoints = 0; // 0: the viewer's own size
    int colour = 0; // index into the colour table; 0 is "automatic"
    int font = -1;
    bool monospace = false; // the font table calls the font fixed-pitch
    QString link;

    bool operator==(const CharFormat &) const = default;
};

struct ParaFormat
{
    enum Align { Left, Centre, Right, Justify };
    Align align = Left;
    // In twips.
    int leftIndent = 0;
    int rightIndent = 0;
    int firstIndent = 0;
    int spaceBefore = 0;
    int spaceAfter = 0;
};

enum class Destination { Text, Skip, FontTable, ColourTable, FieldInstruction };

struct GroupState
{
    CharFormat chr;
    ParaFormat para;
    Destination destination = Destination::Text;
    int unicodeSkip = 1;
};

struct Run
{
    CharFormat format;
    QString text; // '\n' stands for a line break inside the paragraph
};

struct Paragraph
{
    ParaFormat format;
    CharFormat markFormat;
    std::vector<Run> runs;
};

struct Colour
{
    int red = 0;
    int green = 0;
    int blue = 0;
    bool set = false;
};

enum class Word {
    Par, Line, Tab, Cell, Row, Char, Pard, Plain, Bold, Italic, Underline, UnderlineNone, Strike, Hidden, FontSize,
    ColourIndex, Font, Super, Sub, NoSuperSub, AlignLeft, AlignCentre, AlignRight, AlignJustify, LeftIndent,
    RightIndent, FirstIndent, SpaceBefore, SpaceAfter, UnicodeSkip, Unicode, Ansi, Mac, Pc, Pca, AnsiCodepage,
    DefaultFont, Field, FieldResult, FontTable, ColourTable, SkippedDestination, Bin,
};

struct WordInfo
{
    Word word;
    char16_t character = 0; // for Word::Char
};

const std::unordered_map<std::string_view, WordInfo> &wordTable()
{
    static const std::unordered_map<std::string_view, WordInfo> table = [] {
        std::unordered_map<std::string_view, WordInfo> t;
        for (const char *w : {"par", "sect", "page", "column"}) {
            t[w] = {Word::Par};
        }
        t["line"] = {Word::Line};
        t["tab"] = {Word::Tab};
        t["cell"] = {Word::Cell};
        t["nestcell"] = {Word::Cell};
        t["row"] = {Word::Row};
        t["nestrow"] = {Word::Row};
        const std::pair<const char *, char16_t> characters[] = {
            {"emdash", 0x2014}, {"endash", 0x2013}, {"bullet", 0x2022}, {"lquote", 0x2018}, {"rquote", 0x2019},
            {"ldblquote", 0x201C}, {"rdblquote", 0x201D}, {"emspace", 0x2003}, {"enspace", 0x2002},
            {"qmspace", 0x2005}, {"zwj", 0x200D}, {"zwnj", 0x200C}, {"ltrmark", 0x200E}, {"rtlmark", 0x200F},
        };
        for (const auto &[name, ch] : characters) {
            t[name] = {Word::Char, ch};
        }
        t["pard"] = {Word::Pard};
        t["plain"] = {Word::Plain};
        t["b"] = {Word::Bold};
        t["i"] = {Word::Italic};
        for (const char *w : {"ul", "uld", "uldash", "uldashd", "uldashdd", "uldb", "ulhwave", "ulldash", "ulth",
                              "ulthd", "ulthdash", "ulthdashd", "ulthdashdd", "ulthldash", "ululdbwave", "ulw",
                              "ulwave"}) {
            t[w] = {Word::Underline};
        }
        t["ulnone"] = {Word::UnderlineNone};
        t["strike"] = {Word::Strike};
        t["striked"] = {Word::Strike};
        t["v"] = {Word::Hidden};
        t["fs"] = {Word::FontSize};
        t["cf"] = {Word::ColourIndex};
        t["f"] = {Word::Font};
        t["super"] = {Word::Super};
        t["sub"] = {Word::Sub};
        t["nosupersub"] = {Word::NoSuperSub};
        t["ql"] = {Word::AlignLeft};
        t["qc"] = {Word::AlignCentre};
        t["qr"] = {Word::AlignRight};
        t["qj"] = {Word::AlignJustify};
        t["qd"] = {Word::AlignJustify};
        t["li"] = {Word::LeftIndent};
        t["ri"] = {Word::RightIndent};
        t["fi"] = {Word::FirstIndent};
        t["sb"] = {Word::SpaceBefore};
        t["sa"] = {Word::SpaceAfter};
        t["uc"] = {Word::UnicodeSkip};
        t["u"] = {Word::Unicode};
        t["ansi"] = {Word::Ansi};
        t["mac"] = {Word::Mac};
        t["pc"] = {Word::Pc};
        t["pca"] = {Word::Pca};
        t["ansicpg"] = {Word::AnsiCodepage};
        t["deff"] = {Word::DefaultFont};
        t["field"] = {Word::Field};
        t["fldrslt"] = {Word::FieldResult};
        t["fonttbl"] = {Word::FontTable};
        t["colortbl"] = {Word::ColourTable};
        t["bin"] = {Word::Bin};
        // Destinations whose text is not part of the document, also when a writer leaves out the "\*".
        for (const char *w :
             {"stylesheet", "info", "pict", "object", "objdata", "header", "headerl", "headerr", "headerf", "footer",
              "footerl", "footerr", "footerf", "footnote", "listtable", "listoverridetable", "revtbl", "rsidtbl",
              "filetbl", "themedata", "colorschememapping", "datastore", "latentstyles", "nonshppict", "shp",
              "shpinst", "sp", "xe", "tc", "txe", "private", "pn", "author", "operator", "title", "subject",
              "keywords", "comment", "doccomm", "bkmkstart", "bkmkend", "template", "docvar", "userprops",
              "fldtype", "do", "pgdsctbl", "mmathPr", "xmlnstbl", "listpicture", "generator", "ftnsep", "ftnsepc",
              "aftnsep", "aftnsepc", "ftncn", "aftncn", "annotation", "atnid", "atnauthor", "protusertbl"}) {
            t[w] = {Word::SkippedDestination};
        }
        return t;
    }();
    return table;
}

int codepageForCharset(int charset)
{
    switch (charset) {
    case 77: return 10000;
    case 128: return 932;
    case 129: return 949;
    case 130: return 1361;
    case 134: return 936;
    case 136: return 950;
    case 161: return 1253;
    case 162: return 1254;
    case 163: return 1258;
    case 177: return 1255;
    case 178: return 1256;
    case 186: return 1257;
    case 204: return 1251;
    case 222: return 874;
    case 238: return 1250;
    case 254: return 437;
    case 255: return 850;
    default: return 0; // ANSI, default, symbol and the unknown: the document's own code page
    }
}

const char *encodingNameForCodepage(int codepage)
{
    switch (codepage) {
    case 437: return "IBM437";
    case 850: return "IBM850";
    case 852: return "IBM852";
    case 866: return "IBM866";
    case 874: return "windows-874";
    case 932: return "Shift_JIS";
    case 936: return "GBK";
    case 949: return "windows-949";
    case 950: return "Big5";
    case 1250: return "windows-1250";
    case 1251: return "windows-1251";
    case 1253: return "windows-1253";
    case 1254: return "windows-1254";
    case 1255: return "windows-1255";
    case 1256: return "windows-1256";
    case 1257: return "windows-1257";
    case 1258: return "windows-1258";
    case 10000: return "macintosh";
    default: return nullptr;
    }
}

// Windows-1252 is decoded without the platform's converters so that the common case never depends on them.
QString decodeWindows1252(const QByteArray &bytes)
{
    static const char16_t high[32] = {
        0x20AC, 0xFFFD, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
        0x2039, 0x0152, 0xFFFD, 0x017D, 0xFFFD, 0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
        0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0xFFFD, 0x017E, 0x0178,
    };
    QString text;
    text.reserve(bytes.size());
    for (const char c : bytes) {
        const auto b = uchar(c);
        text += (b >= 0x80 && b < 0xA0) ? QChar(high[b - 0x80]) : QChar(b);
    }
    return text;
}

QString decodeBytes(const QByteArray &bytes, int codepage)
{
    if (std::all_of(bytes.cbegin(), bytes.cend(), [](char c) { return uchar(c) < 0x80; })) {
        return QString::fromLatin1(bytes);
    }
    if (codepage == 65001) {
        return QString::fromUtf8(bytes);
    }
    if (codepage != 1252 && codepage != 0) {
        // Stateless, so that a lead byte left over from one piece of text never swallows the next piece.
        const char *name = encodingNameForCodepage(codepage);
        const QByteArray fallbackName = "cp" + QByteArray::number(codepage);
        QStringDecoder decoder(name ? name : fallbackName.constData(), QStringConverter::Flag::Stateless);
        if (decoder.isValid()) {
            QString text = decoder.decode(bytes);
            if (!decoder.hasError()) {
                return text;
            }
        }
    }
    return decodeWindows1252(bytes);
}

// Pairs broken by damaged input would make invalid UTF-16; they show as replacement characters.
QString withValidSurrogates(const QString &text)
{
    QString result = text;
    for (qsizetype i = 0; i < result.size(); ++i) {
        const QChar c = result.at(i);
        if (c.isHighSurrogate() && i + 1 < result.size() && result.at(i + 1).isLowSurrogate()) {
            ++i;
        } else if (c.isSurrogate()) {
            result[i] = QChar(QChar::ReplacementCharacter);
        }
    }
    return result;
}

// Only links the system browser or mail program can take; bookmarks and local files are not links here.
QString linkFromFieldInstruction(const QString &instruction)
{
    QString rest = instruction.trimmed();
    if (!rest.startsWith(QLatin1String("HYPERLINK"), Qt::CaseInsensitive)) {
        return QString();
    }
    rest = rest.mid(9).trimmed();
    QString target;
    if (rest.startsWith(QLatin1Char('"'))) {
        const qsizetype end = rest.indexOf(QLatin1Char('"'), 1);
        target = rest.mid(1, end < 0 ? -1 : end - 1);
    } else {
        const qsizetype end = rest.indexOf(QLatin1Char(' '));
        target = rest.left(end < 0 ? rest.size() : end);
    }
    const QUrl url(target.trimmed(), QUrl::StrictMode);
    const QString scheme = url.scheme().toLower();
    if (!url.isValid() || (scheme != QLatin1String("http") && scheme != QLatin1String("https")
                           && scheme != QLatin1String("mailto"))) {
        return QString();
    }
    return url.toString(QUrl::FullyEncoded);
}

class RtfParser
{
public:
    explicit RtfParser(const QByteArray &rtf)
        : m_rtf(rtf)
    {
        m_stack.reserve(64);
        m_stack.push_back(GroupState());
    }

    void parse();

    const std::vector<Paragraph> &paragraphs() const { return m_paragraphs; }
    const std::vector<Colour> &colours() const { return m_colours; }

private:
    GroupState &state() { return m_stack.back(); }

    void pushGroup();
    void popGroup();
    void readControl();
    void controlWord(std::string_view word, bool hasParameter, int parameter);
    void controlSymbol(char symbol);
    void textByte(uchar byte);
    void character(char16_t unit);
    void appendText(const QString &text);
    void flushBytes();
    // atMark: ended by a paragraph mark, which carries the paragraph's format; otherwise by the end of input.
    void endParagraph(bool atMark);
    int codepageForFont(int font) const;

    const QByteArray &m_rtf;
    qsizetype m_pos = 0;
    std::vector<GroupState> m_stack;
    int m_overflowDepth = 0;
    bool m_starred = false;
    int m_skipChars = 0;
    bool m_full = false;

    QByteArray m_bytes; // text bytes waiting to be decoded in the current format
    int m_codepage = 1252;
    int m_defaultFont = 0;
    int m_fontEntry = 0;
    QHash<int, int> m_fontCodepages;
    QSet<int> m_monospaceFonts;
    std::vector<Colour> m_colours;
    Colour m_colour;
    QString m_fieldInstruction;

    std::vector<Paragraph> m_paragraphs;
    Paragraph m_current;
    qsizetype m_textUnits = 0;
    qsizetype m_pieces = 0;
};

void RtfParser::parse()
{
    const char *data = m_rtf.constData();
    const qsizetype size = m_rtf.size();
    while (m_pos < size && !m_full) {
        const char c = data[m_pos];
        ++m_pos;
        if (c == '{') {
            pushGroup();
        } else if (c == '}') {
            popGroup();
        } else if (c == '\\') {
            readControl();
        } else if (c != '\r' && c != '\n') {
            textByte(uchar(c));
        }
    }
    flushBytes();
    if (!m_current.runs.empty()) {
        endParagraph(false);
    }
}

void RtfParser::pushGroup()
{
    flushBytes();
    m_starred = false;
    m_skipChars = 0;
    if (int(m_stack.size()) >= s_maxGroupDepth) {
        ++m_overflowDepth;
    } else {
        m_stack.push_back(m_stack.back());
    }
}

void RtfParser::popGroup()
{
    flushBytes();
    m_starred = false;
    m_skipChars = 0;
    if (m_overflowDepth > 0) {
        --m_overflowDepth;
    } else if (m_stack.size() > 1) {
        m_stack.pop_back();
    }
}

void RtfParser::readControl()
{
    const char *data = m_rtf.constData();
    const qsizetype size = m_rtf.size();
    if (m_pos >= size) {
        return;
    }
    const auto isLetter = [](char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); };
    const auto isDigit = [](char c) { return c >= '0' && c <= '9'; };
    const char first = data[m_pos];
    if (isLetter(first)) {
        const qsizetype start = m_pos;
        while (m_pos < size && isLetter(data[m_pos])) {
            ++m_pos;
        }
        // Names longer than any real control word are still read whole, but never match.
        const std::string_view word(data + start, std::min<qsizetype>(m_pos - start, 33));
        bool negative = false;
        if (m_pos + 1 < size && data[m_pos] == '-' && isDigit(data[m_pos + 1])) {
            negative = true;
            ++m_pos;
        }
        bool hasParameter = false;
        qint64 value = 0;
        int digits = 0;
        while (m_pos < size && isDigit(data[m_pos])) {
            hasParameter = true;
            if (digits < s_maxParameterDigits) {
                value = value * 10 + (data[m_pos] - '0');
                ++digits;
            }
            ++m_pos;
        }
        value = std::clamp<qint64>(negative ? -value : value, INT_MIN, INT_MAX);
        if (m_pos < size && data[m_pos] == ' ') {
            ++m_pos;
        }
        controlWord(word, hasParameter, int(value));
    } else if (first == '\'') {
        ++m_pos;
        const auto hexValue = [](char c) {
            if (c >= '0' && c <= '9') {
                return c - '0';
            }
            if (c >= 'a' && c <= 'f') {
                return c - 'a' + 10;
            }
            if (c >= 'A' && c <= 'F') {
                return c - 'A' + 10;
            }
            return -1;
        };
        // An escape cut short by damage is dropped with the one digit it has.
        const int high = m_pos < size ? hexValue(data[m_pos]) : -1;
        if (high < 0) {
            return;
        }
        ++m_pos;
        const int low = m_pos < size ? hexValue(data[m_pos]) : -1;
        if (low >= 0) {
            ++m_pos;
            textByte(uchar(high * 16 + low));
        }
    } else {
        ++m_pos;
        controlSymbol(first);
    }
}

void RtfParser::controlSymbol(char symbol)
{
    switch (symbol) {
    case '\\':
    case '{':
    case '}':
        textByte(uchar(symbol));
        return;
    case '*':
        flushBytes();
        m_starred = true;
        return;
    case '~':
        character(0x00A0);
        return;
    case '_':
        character(0x2011);
        return;
    case '\r':
    case '\n':
        controlWord("par", false, 0);
        return;
    default:
        // Optional hyphens, formula and index marks: nothing to show, but they stand in for a character.
        m_starred = false;
        if (m_skipChars > 0) {
            --m_skipChars;
        }
        return;
    }
}

void RtfParser::controlWord(std::string_view word, bool hasParameter, int parameter)
{
    flushBytes();
    const bool starred = m_starred;
    m_starred = false;

    const auto &table = wordTable();
    const auto found = table.find(word);
    if (found != table.end() && found->second.word == Word::Bin) {
        // Binary data is skipped as a whole, never read as control words; a length beyond the end stops there.
        const qsizetype length = hasParameter ? std::max(parameter, 0) : 0;
        m_pos += std::min(length, m_rtf.size() - m_pos);
        if (m_skipChars > 0) {
            --m_skipChars;
        }
        return;
    }
    if (m_skipChars > 0) {
        --m_skipChars;
        return;
    }
    GroupState &s = state();
    if (s.destination == Destination::Skip) {
        return;
    }
    if (starred) {
        if (word == "fldinst" && s.destination == Destination::Text) {
            s.destination = Destination::FieldInstruction;
            m_fieldInstruction.clear();
        } else {
            s.destination = Destination::Skip;
        }
        return;
    }
    switch (s.destination) {
    case Destination::FontTable:
        if (word == "f") {
            m_fontEntry = parameter;
        } else if (word == "fcharset") {
            const int codepage = codepageForCharset(parameter);
            if (codepage > 0) {
                m_fontCodepages.insert(m_fontEntry, codepage);
            }
        } else if (word == "cpg" && parameter > 0) {
            m_fontCodepages.insert(m_fontEntry, parameter);
        } else if (word == "fmodern" || (word == "fprq" && parameter == 1)) {
            m_monospaceFonts.insert(m_fontEntry);
        }
        return;
    case Destination::ColourTable:
        if (word == "red") {
            m_colour.red = std::clamp(parameter, 0, 255);
        } else if (word == "green") {
            m_colour.green = std::clamp(parameter, 0, 255);
        } else if (word == "blue") {
            m_colour.blue = std::clamp(parameter, 0, 255);
        } else {
            return;
        }
        m_colour.set = true;
        return;
    case Destination::FieldInstruction:
        if (word == "u" && hasParameter) {
            character(char16_t(parameter < 0 ? parameter + 65536 : parameter));
            m_skipChars = s.unicodeSkip;
        }
        return;
    case Destination::Text:
    case Destination::Skip:
        break;
    }
    if (found == table.end()) {
        return;
    }
    const Word kind = found->second.word;
    switch (kind) {
    case Word::SkippedDestination:
        s.destination = Destination::Skip;
        return;
    case Word::FontTable:
        s.destination = Destination::FontTable;
        return;
    case Word::ColourTable:
        s.destination = Destination::ColourTable;
        m_colours.clear();
        m_colour = Colour();
        return;
    default:
        break;
    }

    const bool on = !hasParameter || parameter != 0;
    const auto twips = [&] { return std::clamp(parameter, -31680, 31680); };
    switch (kind) {
    case Word::Par:
    case Word::Row:
        endParagraph(true);
        break;
    case Word::Line:
        character(u'\n');
        break;
    case Word::Tab:
    case Word::Cell:
        character(u'\t');
        break;
    case Word::Char:
        character(found->second.character);
        break;
    case Word::Pard:
        s.para = ParaFormat();
        break;
    case Word::Plain: {
        const QString link = s.chr.link;
        s.chr = CharFormat();
        s.chr.font = m_defaultFont;
        s.chr.monospace = m_monospaceFonts.contains(m_defaultFont);
        s.chr.link = link;
        break;
    }
    case Word::Bold:
        s.chr.bold = on;
        break;
    case Word::Italic:
        s.chr.italic = on;
        break;
    case Word::Underline:
        s.chr.underline = on;
        break;
    case Word::UnderlineNone:
        s.chr.underline = false;
        break;
    case Word::Strike:
        s.chr.strike = on;
        break;
    case Word::Hidden:
        s.chr.hidden = on;
        break;
    case Word::FontSize:
        s.chr.halfPoints = hasParameter && parameter > 0 ? std::clamp(parameter, 2, 800) : 24;
        break;
    case Word::ColourIndex:
        s.chr.colour = std::max(parameter, 0);
        break;
    case Word::Font:
        s.chr.font = parameter;
        s.chr.monospace = m_monospaceFonts.contains(parameter);
        break;
    case Word::Super:
        s.chr.vertical = 1;
        break;
    case Word::Sub:
        s.chr.vertical = -1;
        break;
    case Word::NoSuperSub:
        s.chr.vertical = 0;
        break;
    case Word::AlignLeft:
        s.para.align = ParaFormat::Left;
        break;
    case Word::AlignCentre:
        s.para.align = ParaFormat::Centre;
        break;
    case Word::AlignRight:
        s.para.align = ParaFormat::Right;
        break;
    case Word::AlignJustify:
        s.para.align = ParaFormat::Justify;
        break;
    case Word::LeftIndent:
        s.para.leftIndent = twips();
        break;
    case Word::RightIndent:
        s.para.rightIndent = twips();
        break;
    case Word::FirstIndent:
        s.para.firstIndent = twips();
        break;
    case Word::SpaceBefore:
        s.para.spaceBefore = std::max(twips(), 0);
        break;
    case Word::SpaceAfter:
        s.para.spaceAfter = std::max(twips(), 0);
        break;
    case Word::UnicodeSkip:
        s.unicodeSkip = hasParameter ? std::clamp(parameter, 0, 16) : 1;
        break;
    case Word::Unicode:
        if (hasParameter) {
            const int unit = parameter < 0 ? parameter + 65536 : parameter;
            if ((unit >= 0x20 && unit <= 0xFFFF && unit != 0x7F) || unit == '\t') {
                character(char16_t(unit));
            }
            m_skipChars = s.unicodeSkip;
        }
        break;
    case Word::Ansi:
        m_codepage = 1252;
        break;
    case Word::Mac:
        m_codepage = 10000;
        break;
    case Word::Pc:
        m_codepage = 437;
        break;
    case Word::Pca:
        m_codepage = 850;
        break;
    case Word::AnsiCodepage:
        if (parameter > 0) {
            m_codepage = parameter;
        }
        break;
    case Word::DefaultFont:
        m_defaultFont = parameter;
        if (m_stack.size() <= 2 && s.chr.font < 0) {
            s.chr.font = parameter;
        }
        break;
    case Word::Field:
        m_fieldInstruction.clear();
        break;
    case Word::FieldResult:
        if (!m_fieldInstruction.isEmpty()) {
            const QString link = linkFromFieldInstruction(m_fieldInstruction);
            if (!link.isEmpty()) {
                s.chr.link = link;
            }
            m_fieldInstruction.clear();
        }
        break;
    default:
        break;
    }
}

void RtfParser::textByte(uchar byte)
{
    m_starred = false;
    if (m_skipChars > 0) {
        --m_skipChars;
        return;
    }
    GroupState &s = state();
    switch (s.destination) {
    case Destination::Text:
        if (byte == '\t') {
            character(u'\t');
        } else if (byte >= 0x20 && byte != 0x7F && !s.chr.hidden) {
            m_bytes.append(char(byte));
        }
        return;
    case Destination::ColourTable:
        if (byte == ';') {
            if (qsizetype(m_colours.size()) < s_maxColours) {
                m_colours.push_back(m_colour);
            }
            m_colour = Colour();
        }
        return;
    case Destination::FieldInstruction:
        if (m_fieldInstruction.size() < s_maxFieldInstruction && byte >= 0x20) {
            m_fieldInstruction += QChar(byte);
        }
        return;
    case Destination::FontTable:
    case Destination::Skip:
        return;
    }
}

void RtfParser::character(char16_t unit)
{
    m_starred = false;
    if (m_skipChars > 0) {
        --m_skipChars;
        return;
    }
    GroupState &s = state();
    if (s.destination == Destination::FieldInstruction) {
        if (m_fieldInstruction.size() < s_maxFieldInstruction) {
            m_fieldInstruction += QChar(unit);
        }
        return;
    }
    if (s.destination != Destination::Text || s.chr.hidden) {
        return;
    }
    flushBytes();
    appendText(QString(QChar(unit)));
}

void RtfParser::flushBytes()
{
    if (m_bytes.isEmpty()) {
        return;
    }
    const QString text = decodeBytes(m_bytes, codepageForFont(state().chr.font));
    m_bytes.clear();
    appendText(text);
}

int RtfParser::codepageForFont(int font) const
{
    const int codepage = m_fontCodepages.value(font, 0);
    return codepage > 0 ? codepage : m_codepage;
}

void RtfParser::appendText(const QString &text)
{
    if (text.isEmpty() || m_full) {
        return;
    }
    const CharFormat &format = state().chr;
    if (m_current.runs.empty() || !(m_current.runs.back().format == format)) {
        if (++m_pieces > s_maxPieces) {
            m_full = true;
            return;
        }
        m_current.runs.push_back(Run{format, QString()});
    }
    // A last paragraph without its mark keeps the format its text was written in.
    m_current.format = state().para;
    m_current.runs.back().text += text;
    m_textUnits += text.size();
    if (m_textUnits > s_maxTextUnits) {
        m_full = true;
    }
}

void RtfParser::endParagraph(bool atMark)
{
    flushBytes();
    if (++m_pieces > s_maxPieces) {
        m_full = true;
        return;
    }
    if (atMark) {
        m_current.format = state().para;
        m_current.markFormat = state().chr;
    }
    m_paragraphs.push_back(std::move(m_current));
    m_current = Paragraph();
}

QString pixels(int twips)
{
    return QString::number(twips / 15) + QStringLiteral("px");
}

QString paragraphStyle(const ParaFormat &format)
{
    QString style = QStringLiteral("margin-top:") + pixels(format.spaceBefore) + QStringLiteral("; margin-bottom:")
        + pixels(format.spaceAfter) + QStringLiteral("; margin-left:") + pixels(std::max(format.leftIndent, 0))
        + QStringLiteral("; margin-right:") + pixels(std::max(format.rightIndent, 0))
        + QStringLiteral("; text-indent:") + pixels(format.firstIndent) + QStringLiteral("; white-space:pre-wrap;");
    switch (format.align) {
    case ParaFormat::Centre:
        style += QStringLiteral(" text-align:center;");
        break;
    case ParaFormat::Right:
        style += QStringLiteral(" text-align:right;");
        break;
    case ParaFormat::Justify:
        style += QStringLiteral(" text-align:justify;");
        break;
    case ParaFormat::Left:
        break;
    }
    return style;
}

QString spanStyle(const CharFormat &format, const std::vector<Colour> &colours)
{
    QString style;
    if (format.monospace) {
        style += QStringLiteral("font-family:monospace;");
    }
    if (format.halfPoints > 0) {
        style += QStringLiteral("font-size:") + QString::number(format.halfPoints / 2.0) + QStringLiteral("pt;");
    }
    if (format.colour > 0 && format.colour < int(colours.size()) && colours[format.colour].set) {
        const Colour &c = colours[format.colour];
        style += QStringLiteral(" color:#") + QStringLiteral("%1%2%3")
                                                  .arg(c.red, 2, 16, QLatin1Char('0'))
                                                  .arg(c.green, 2, 16, QLatin1Char('0'))
                                                  .arg(c.blue, 2, 16, QLatin1Char('0'))
            + QLatin1Char(';');
    }
    return style;
}

struct Tags
{
    QString open;
    QString close;
};

Tags runTags(const CharFormat &format, const std::vector<Colour> &colours)
{
    Tags tags;
    const auto wrap = [&tags](const QString &open, const QString &close) {
        tags.open += open;
        tags.close.prepend(close);
    };
    if (!format.link.isEmpty()) {
        wrap(QStringLiteral("<a href=\"") + format.link.toHtmlEscaped() + QStringLiteral("\">"),
             QStringLiteral("</a>"));
    }
    const QString style = spanStyle(format, colours);
    if (!style.isEmpty()) {
        wrap(QStringLiteral("<span style=\"") + style + QStringLiteral("\">"), QStringLiteral("</span>"));
    }
    if (format.bold) {
        wrap(QStringLiteral("<b>"), QStringLiteral("</b>"));
    }
    if (format.italic) {
        wrap(QStringLiteral("<i>"), QStringLiteral("</i>"));
    }
    if (format.underline) {
        wrap(QStringLiteral("<u>"), QStringLiteral("</u>"));
    }
    if (format.strike) {
        wrap(QStringLiteral("<s>"), QStringLiteral("</s>"));
    }
    if (format.vertical > 0) {
        wrap(QStringLiteral("<sup>"), QStringLiteral("</sup>"));
    } else if (format.vertical < 0) {
        wrap(QStringLiteral("<sub>"), QStringLiteral("</sub>"));
    }
    return tags;
}

} // namespace

QString rtfToHtml(const QByteArray &rtf)
{
    RtfParser parser(rtf);
    parser.parse();

    QString html = QStringLiteral("<html><body>");
    for (const Paragraph &paragraph : parser.paragraphs()) {
        html += QStringLiteral("<p style=\"") + paragraphStyle(paragraph.format) + QStringLiteral("\">");
        bool empty = true;
        for (const Run &run : paragraph.runs) {
            const Tags tags = runTags(run.format, parser.colours());
            const QStringList lines = withValidSurrogates(run.text).split(QLatin1Char('\n'));
            html += tags.open;
            for (qsizetype i = 0; i < lines.size(); ++i) {
                if (i > 0) {
                    html += QStringLiteral("<br />");
                }
                html += lines.at(i).toHtmlEscaped();
            }
            html += tags.close;
            empty = empty && run.text.isEmpty();
        }
        if (empty) {
            // An empty paragraph keeps the height its own font gives it.
            const QString style = spanStyle(paragraph.markFormat, parser.colours());
            html += style.isEmpty() ? QStringLiteral("&nbsp;")
                                    : QStringLiteral("<span style=\"") + style + QStringLiteral("\">&nbsp;</span>");
        }
        html += QStringLiteral("</p>");
    }
    html += QStringLiteral("</body></html>");
    return html;
}

QString rtfToPlainText(const QByteArray &rtf)
{
    RtfParser parser(rtf);
    parser.parse();
    QString text;
    for (const Paragraph &paragraph : parser.paragraphs()) {
        for (const Run &run : paragraph.runs) {
            text += withValidSurrogates(run.text);
        }
        text += QLatin1Char('\n');
    }
    return text;
}

bool looksLikeRtf(const QByteArray &data)
{
    return data.trimmed().startsWith("{\\rtf");
}
