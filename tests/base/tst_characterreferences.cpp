#include <QTest>

#include "base/characterreferences.h"

Q_DECLARE_METATYPE(CharacterReferences::Place)

class TestCharacterReferences : public QObject
{
    Q_OBJECT

private slots:
    void decoded_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        QTest::newRow("none") << "It's plain"
                              << "It's plain";
        QTest::newRow("typographic-decimal")
            << "It&#8217;s &#8220;best&#8221; &#8212; try&#8230;" << QString::fromUtf8("It’s “best” — try…");
        QTest::newRow("hexadecimal-any-case") << "&#x2019;&#X2019;&#x2F;" << QString::fromUtf8("’’/");
        QTest::newRow("named") << "&lsquo;a&rsquo; &hellip; &mdash;&ndash;&apos;&eacute;"
                               << QString::fromUtf8("‘a’ … —–'é");
        QTest::newRow("legacy-without-semicolon") << "a&ampb &lt;p&gt; &nbsp;x" << QString::fromUtf8("a&b <p> \u00a0x");
        QTest::newRow("named-needs-semicolon") << "&hellip &mdash"
                                               << "&hellip &mdash";
        QTest::newRow("numeric-without-semicolon") << "&#39s"
                                                   << "'s";
        QTest::newRow("unknown-name-kept") << "&nosuch; & &; &#; &#x;"
                                           << "&nosuch; & &; &#; &#x;";
        QTest::newRow("windows-1252-range") << "&#150;&#146;&#128;" << QString::fromUtf8("–’€");
        QTest::newRow("to-nothing") << "&#0;&#xD800;&#1114112;&#99999999999999999999;"
                                    << QString::fromUtf8("\uFFFD\uFFFD\uFFFD\uFFFD");
        QTest::newRow("outside-basic-plane") << "&#128512;" << QString::fromUtf8("😀");
        QTest::newRow("not-twice") << "&amp;#8217;"
                                   << "&#8217;";
        QTest::newRow("ends-on-ampersand") << "a&"
                                           << "a&";
        QTest::newRow("long-name") << "&thetasym;&thetasymx;" << QString::fromUtf8("ϑ&thetasymx;");
        QTest::newRow("html5-names") << "Thanks&comma; that fixed it&excl; &NotEqualTilde;&fjlig;"
                                     << QString::fromUtf8("Thanks, that fixed it! ≂̸fj");
        QTest::newRow("legacy-names-without-semicolon")
            << "&copy2024 &notit; &Eacute&eacutex &ampx" << QString::fromUtf8("©2024 ¬it; Ééx &x");
        QTest::newRow("longest-name-wins") << "&notin; &notinva; &not;in" << QString::fromUtf8("∉ ∉ ¬in");
        QTest::newRow("angle-brackets-of-html5") << "&lang;&rang;" << QString::fromUtf8("⟨⟩");
        QTest::newRow("numbers-of-controls-and-noncharacters-kept")
            << "&#1;&#x0D;&#xFFFF;" << QString::fromUtf8("\u0001\r\uFFFF");
        QTest::newRow("names-in-their-letter-case") << "&AMP &COPY; &Amp; &am" << QString::fromUtf8("& © &Amp; &am");
        QTest::newRow("unassigned-of-windows-1252-stay") << "&#129;&#x9D;" << QString::fromUtf8("");
    }
    void decoded()
    {
        QFETCH(QString, text);
        QFETCH(QString, expected);
        QCOMPARE(CharacterReferences::decoded(text), expected);
    }
    void decodedInAttributeValue_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        QTest::newRow("legacy-name-before-letter-digit-or-equals") << "&copy2024 &notit &amp=x"
                                                                   << "&copy2024 &notit &amp=x";
        QTest::newRow("legacy-name-before-other") << "&copy-2024 &not; &amp" << QString::fromUtf8("©-2024 ¬ &");
        QTest::newRow("names-with-semicolon-and-numbers") << "&comma;x &#38;x"
                                                          << ",x &x";
    }
    void referenceAt_data()
    {
        using CharacterReferences::Place;
        QTest::addColumn<QString>("text");
        QTest::addColumn<Place>("place");
        QTest::addColumn<qsizetype>("length");
        QTest::addColumn<QString>("characters");
        QTest::newRow("name-with-semicolon") << "&amp;x" << Place::Text << qsizetype(5) << "&";
        QTest::newRow("legacy-name-without") << "&ampx" << Place::Text << qsizetype(4) << "&";
        QTest::newRow("legacy-name-in-attribute") << "&ampx" << Place::AttributeValue << qsizetype(0) << "";
        QTest::newRow("two-characters") << "&NotEqualTilde;" << Place::Text << qsizetype(15)
                                        << QString::fromUtf8("\u2242\u0338");
        QTest::newRow("hexadecimal-without-semicolon") << "&#x41g" << Place::Text << qsizetype(5) << "A";
        QTest::newRow("decimal-with-semicolon") << "&#65;;" << Place::Text << qsizetype(5) << "A";
        QTest::newRow("outside-basic-plane")
            << "&#x1F600;" << Place::AttributeValue << qsizetype(9) << QString::fromUtf8("😀");
        QTest::newRow("no-digits") << "&#x;" << Place::Text << qsizetype(0) << "";
        QTest::newRow("ampersand-alone") << "&" << Place::Text << qsizetype(0) << "";
    }
    void referenceAt()
    {
        QFETCH(QString, text);
        QFETCH(CharacterReferences::Place, place);
        QFETCH(qsizetype, length);
        QFETCH(QString, characters);
        const CharacterReferences::Reference reference = CharacterReferences::referenceAt(text, place);
        QCOMPARE(reference.length, length);
        QString found;
        for (const char32_t c : { reference.first, reference.second }) {
            found += c != 0 ? QString::fromUcs4(&c, 1) : QString();
        }
        QCOMPARE(found, characters);
    }
    void decodedInAttributeValue()
    {
        QFETCH(QString, text);
        QFETCH(QString, expected);
        QCOMPARE(CharacterReferences::decoded(text, CharacterReferences::Place::AttributeValue), expected);
    }
};

QTEST_GUILESS_MAIN(TestCharacterReferences)
#include "tst_characterreferences.moc"
