#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTest>

#include "support/controls.h"
#include "base/branding.h"
#include "ui/aboutwindow.h"
#include "support/openedsites.h"
#include "ui/websitelauncher.h"
#include "ui/linklabel.h"
#include "ui/skin.h"

class TestAbout : public QObject
{
    Q_OBJECT

private:
    BrandingInfo m_branding;
    Website m_website { BrandingInfo::ofThisBuild().website };
    OpenedSites m_opened { m_website };

private slots:
    void init()
    {
        m_opened.clear();
        m_branding = BrandingInfo::ofThisBuild();
    }

    void showsTheBranding()
    {
        AboutWindow about(m_branding, m_website);
        about.setAttribute(Qt::WA_DeleteOnClose, false);
        QCOMPARE(about.windowTitle(), QStringLiteral("About Postavo"));
        QCOMPARE(control<QLabel>(about, "titleLabel")->text(), m_branding.programName);
        QCOMPARE(control<QLabel>(about, "companyLabel")->text(), QStringLiteral("Lantern Hill Software"));
        QCOMPARE(control<LinkLabel>(about, "websiteLink")->text(), m_branding.website);
        QCOMPARE(control<QLabel>(about, "versionCaption")->text(), QStringLiteral("Version:"));
        QCOMPARE(control<QLabel>(about, "ownerCaption")->text(), QStringLiteral("Owned By:"));
        QCOMPARE(control<QLabel>(about, "websiteCaption")->text(), QStringLiteral("Website:"));
        QVERIFY(!control<QLabel>(about, "iconLabel")->pixmap().isNull());
        QVERIFY(!about.isModal());
        QCOMPARE(about.size(), QSize(497, 169));
        QCOMPARE(about.minimumSize(), about.maximumSize());
    }

    void versionOfTheProject()
    {
        // The project's VERSION is 1.0.0.
        AboutWindow about(m_branding, m_website);
        about.setAttribute(Qt::WA_DeleteOnClose, false);
        QCOMPARE(control<QLabel>(about, "versionLabel")->text(), QStringLiteral("1.0"));
    }

    void versionShowsMajorAndMinorOnly()
    {
        // A build whose version information says 2.3.0.0.
        m_branding.versionMajor = 2;
        m_branding.versionMinor = 3;
        AboutWindow about(m_branding, m_website);
        about.setAttribute(Qt::WA_DeleteOnClose, false);
        QCOMPARE(control<QLabel>(about, "versionLabel")->text(), QStringLiteral("2.3"));
    }

    void brandingTextIsShownPlain()
    {
        m_branding.companyName = QStringLiteral("<b>Bold</b> & Co");
        AboutWindow about(m_branding, m_website);
        about.setAttribute(Qt::WA_DeleteOnClose, false);
        QCOMPARE(control<QLabel>(about, "companyLabel")->textFormat(), Qt::PlainText);
        QCOMPARE(control<LinkLabel>(about, "websiteLink")->textFormat(), Qt::PlainText);
    }

    void websiteClickShowsTheLauncher()
    {
        AboutWindow about(m_branding, m_website);
        about.setAttribute(Qt::WA_DeleteOnClose, false);
        about.show();
        QVERIFY(QTest::qWaitForWindowExposed(&about));
        QTest::mouseClick(control<LinkLabel>(about, "websiteLink"), Qt::LeftButton);
        QCOMPARE(m_opened.size(), 1);
        QCOMPARE(m_opened.first().toString(), QStringLiteral("http://") + m_branding.website);
        QPointer<WebsiteLauncher> launcher = m_website.visibleLauncher();
        QVERIFY(launcher);
        QTRY_VERIFY_WITH_TIMEOUT(launcher.isNull(), 5000);
    }

    void websiteOpensFromTheKeyboard()
    {
        AboutWindow about(m_branding, m_website);
        about.setAttribute(Qt::WA_DeleteOnClose, false);
        about.show();
        QVERIFY(QTest::qWaitForWindowExposed(&about));
        QTest::keyClick(control<LinkLabel>(about, "websiteLink"), Qt::Key_Space);
        QCOMPARE(m_opened.size(), 1);
        QPointer<WebsiteLauncher> launcher = m_website.visibleLauncher();
        QTRY_VERIFY_WITH_TIMEOUT(launcher.isNull(), 5000);
    }

    void closesAndDeletesItself()
    {
        QPointer<AboutWindow> about = new AboutWindow(m_branding, m_website);
        about->show();
        about->close();
        QTRY_VERIFY_WITH_TIMEOUT(about.isNull(), 2000);
    }

    void skinnedAboutWindow()
    {
        Skinning skinning;
        SkinFile file;
        file.colours = { 0x102030u, 0x405060u, 0x708090u, 0xa0b0c0u };
        file.window = 0xf0f0e0u;
        skinning.skin()->setSkinFile(file);

        AboutWindow about(m_branding, m_website, &skinning);
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
        QVERIFY(texts.contains(m_branding.website));
        QCOMPARE(control<QLabel>(about, "iconLabel")->palette().color(QPalette::Window), QColor(0x70, 0x80, 0x90));
        QCOMPARE(control<QPushButton>(about, "okButton")->palette().color(QPalette::Button), QColor(0x10, 0x20, 0x30));
        QCOMPARE(about.palette().color(QPalette::Window), QColor(0xf0, 0xf0, 0xe0));

        // The link still works under its skin copy.
        about.show();
        QVERIFY(QTest::qWaitForWindowExposed(&about));
        const QPoint link = control<LinkLabel>(about, "websiteLink")->geometry().center();
        QCOMPARE(about.childAt(link), control<LinkLabel>(about, "websiteLink"));
        QTest::mouseClick(about.windowHandle(), Qt::LeftButton, {}, link);
        QCOMPARE(m_opened.size(), 1);
        QPointer<WebsiteLauncher> launcher = m_website.visibleLauncher();
        QTRY_VERIFY_WITH_TIMEOUT(launcher.isNull(), 5000);
    }
};

QTEST_MAIN(TestAbout)
#include "tst_about.moc"
