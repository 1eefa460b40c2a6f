#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTest>

#include "app/branding.h"
#include "ui/frmabout.h"
#include "ui/frmwebsite.h"
#include "ui/linklabel.h"
#include "ui/sitekey.h"
#include "ui/skin.h"

class TestAbout : public QObject
{
    Q_OBJECT

private:
    QList<QUrl> m_opened;

private slots:
    void initTestCase()
    {
        frmWebsite::opener() = [this](const QUrl &url) { m_opened.append(url); };
    }

    void init()
    {
        m_opened.clear();
        setSkinConfigured(false);
        loadBranding();
    }

    void showsTheBranding()
    {
        frmAbout about;
        about.setAttribute(Qt::WA_DeleteOnClose, false);
        QCOMPARE(about.windowTitle(), QStringLiteral("About Postavo"));
        QCOMPARE(about.Label1->text(), brandingInfo().programName);
        QCOMPARE(about.lblCompany->text(), QStringLiteral("Lantern Hill Software"));
        QCOMPARE(about.lblWebsite->text(), brandingInfo().website);
        QCOMPARE(about.Label2->text(), QStringLiteral("Version:"));
        QCOMPARE(about.Label3->text(), QStringLiteral("Owned By:"));
        QCOMPARE(about.Label4->text(), QStringLiteral("Website:"));
        QVERIFY(!about.Picture1->pixmap().isNull());
        QVERIFY(!about.isModal());
        QCOMPARE(about.size(), QSize(497, 169));
        QCOMPARE(about.minimumSize(), about.maximumSize());
    }

    void versionOfTheProject()
    {
        // The project's VERSION is 1.0.0.
        frmAbout about;
        about.setAttribute(Qt::WA_DeleteOnClose, false);
        QCOMPARE(about.lblVersion->text(), QStringLiteral("1.0"));
    }

    void versionShowsMajorAndMinorOnly()
    {
        // A build whose version information says 2.3.0.0.
        brandingInfo().versionMajor = 2;
        brandingInfo().versionMinor = 3;
        frmAbout about;
        about.setAttribute(Qt::WA_DeleteOnClose, false);
        QCOMPARE(about.lblVersion->text(), QStringLiteral("2.3"));
    }

    void brandingTextIsShownPlain()
    {
        brandingInfo().companyName = QStringLiteral("<b>Bold</b> & Co");
        frmAbout about;
        about.setAttribute(Qt::WA_DeleteOnClose, false);
        QCOMPARE(about.lblCompany->textFormat(), Qt::PlainText);
        QCOMPARE(about.lblWebsite->textFormat(), Qt::PlainText);
    }

    void websiteClickShowsTheLauncher()
    {
        frmAbout about;
        about.setAttribute(Qt::WA_DeleteOnClose, false);
        about.show();
        QVERIFY(QTest::qWaitForWindowExposed(&about));
        QTest::mouseClick(about.lblWebsite, Qt::LeftButton);
        QCOMPARE(m_opened.size(), 1);
        QCOMPARE(m_opened.first().toString(), QStringLiteral("http://") + brandingInfo().website);
        QVERIFY(siteKey().isEmpty());
        QPointer<frmWebsite> launcher = frmWebsite::visibleLauncher();
        QVERIFY(launcher);
        QTRY_VERIFY_WITH_TIMEOUT(launcher.isNull(), 5000);
    }

    void websiteOpensFromTheKeyboard()
    {
        frmAbout about;
        about.setAttribute(Qt::WA_DeleteOnClose, false);
        about.show();
        QVERIFY(QTest::qWaitForWindowExposed(&about));
        QTest::keyClick(about.lblWebsite, Qt::Key_Space);
        QCOMPARE(m_opened.size(), 1);
        QPointer<frmWebsite> launcher = frmWebsite::visibleLauncher();
        QTRY_VERIFY_WITH_TIMEOUT(launcher.isNull(), 5000);
    }

    void closesAndDeletesItself()
    {
        QPointer<frmAbout> about = new frmAbout;
        about->show();
        about->close();
        QTRY_VERIFY_WITH_TIMEOUT(about.isNull(), 2000);
    }

    void skinnedAboutWindow()
    {
        Skin skin;
        SkinFile file;
        file.colours = { 0x102030u, 0x405060u, 0x708090u, 0xa0b0c0u };
        file.window = 0xf0f0e0u;
        skin.setSkinFile(file);
        setSkinObject(&skin);
        setSkinConfigured(true);
        loadBranding();

        frmAbout about;
        about.setAttribute(Qt::WA_DeleteOnClose, false);
        // Element 0 and one copy for each of the seven plain labels (the website link included, the picture not).
        const QList<SkinLabel *> copies = skinLabelArray(&about, QStringLiteral("SkinLabel1"));
        QCOMPARE(copies.size(), 8);
        QCOMPARE(copies.at(0)->index(), 0);
        QCOMPARE(copies.last()->index(), 7);
        QStringList texts;
        for (const SkinLabel *copy : copies) {
            texts.append(copy->text());
        }
        QVERIFY(texts.contains(QStringLiteral("Owned By:")));
        QVERIFY(texts.contains(brandingInfo().website));
        QCOMPARE(about.Picture1->palette().color(QPalette::Window), QColor(0x70, 0x80, 0x90));
        QCOMPARE(about.cmdOK->palette().color(QPalette::Button), QColor(0x10, 0x20, 0x30));
        QCOMPARE(about.palette().color(QPalette::Window), QColor(0xf0, 0xf0, 0xe0));

        // The link still works under its skin copy.
        about.show();
        QVERIFY(QTest::qWaitForWindowExposed(&about));
        const QPoint link = about.lblWebsite->geometry().center();
        QCOMPARE(about.childAt(link), about.lblWebsite);
        QTest::mouseClick(about.windowHandle(), Qt::LeftButton, {}, link);
        QCOMPARE(m_opened.size(), 1);
        QPointer<frmWebsite> launcher = frmWebsite::visibleLauncher();
        QTRY_VERIFY_WITH_TIMEOUT(launcher.isNull(), 5000);

        setSkinObject(nullptr);
        setSkinConfigured(false);
        loadBranding();
    }
};

QTEST_MAIN(TestAbout)
#include "tst_about.moc"
