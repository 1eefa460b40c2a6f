#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHash>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QTextEdit>
#include <QToolButton>
#include <QTreeView>

#include <functional>

#include "ui/skin.h"
#include "ui/windowicon.h"

namespace {

const QColor c2(0x11, 0x22, 0x33);
const QColor c3(0x44, 0x55, 0x66);
const QColor c4(0x77, 0x88, 0x99);

template <typename W> W *named(W *widget, const char *name)
{
    widget->setObjectName(QLatin1String(name));
    return widget;
}

QLabel *label(QWidget *parent, const char *name, const QString &text, const QRect &geometry)
{
    auto *l = named(new QLabel(text, parent), name);
    l->setGeometry(geometry);
    return l;
}

bool ownPalette(const QWidget *widget)
{
    return widget->testAttribute(Qt::WA_SetPalette);
}

SkinFile testSkin()
{
    SkinFile file;
    file.name = QStringLiteral("Test");
    file.colours = { 0x112233u, 0x445566u, 0x778899u, 0xaabbccu };
    file.window = 0xeeeeddu;
    file.windowText = 0x101010u;
    return file;
}

} // namespace

class TestSkin : public QObject
{
    Q_OBJECT

private slots:
    void recoloursEachKindOfControl()
    {
        QWidget window;
        auto *frame = named(new QGroupBox(&window), "messageEditor");
        auto *push = named(new QPushButton(QStringLiteral("Go"), frame), "push");
        auto *tool = named(new QToolButton(&window), "tool");
        auto *line = named(new QLineEdit(frame), "line");
        auto *plain = named(new QPlainTextEdit(&window), "plain");
        auto *rich = named(new QTextEdit(&window), "rich");
        auto *combo = named(new QComboBox(&window), "combo");
        auto *list = named(new QListWidget(frame), "list");
        auto *listView = named(new QListView(&window), "listView");
        auto *tree = named(new QTreeView(&window), "tree");
        auto *picture = named(new QLabel(&window), "picture");
        picture->setPixmap(programIcon().pixmap(32, 32));
        auto *image = named(new QLabel(&window), "image");
        image->setPixmap(programIcon().pixmap(32, 32));
        image->setProperty("controlType", QStringLiteral("Image"));
        auto *plainLabel = named(new QLabel(QStringLiteral("Label"), frame), "plainLabel");
        auto *tabs = named(new QTabBar(&window), "tabs");
        tabs->addTab(QStringLiteral("One"));
        auto *check = named(new QCheckBox(&window), "check");
        auto *status = named(new QStatusBar(&window), "status");
        auto *viewer = named(new QTextBrowser(&window), "viewer");

        recolourControls(&window, c2, c3, c4);

        for (QWidget *button : { static_cast<QWidget *>(push), static_cast<QWidget *>(tool) }) {
            QCOMPARE(button->palette().color(QPalette::Button), c2);
        }
        for (QWidget *box : { static_cast<QWidget *>(line), static_cast<QWidget *>(plain), static_cast<QWidget *>(rich),
                 static_cast<QWidget *>(combo), static_cast<QWidget *>(list), static_cast<QWidget *>(listView),
                 static_cast<QWidget *>(tree) }) {
            QCOMPARE(box->palette().color(QPalette::Base), c2);
            QCOMPARE(box->palette().color(QPalette::Text), c3);
        }
        QCOMPARE(combo->palette().color(QPalette::Button), c2);
        QCOMPARE(combo->palette().color(QPalette::ButtonText), c3);
        QCOMPARE(picture->palette().color(QPalette::Window), c4);
        QVERIFY(picture->autoFillBackground());
        // Buttons keep their text colour; only lists and text boxes take colour 3.
        QVERIFY(push->palette().color(QPalette::ButtonText) != c3);

        for (QWidget *untouched : { static_cast<QWidget *>(&window), static_cast<QWidget *>(frame),
                 static_cast<QWidget *>(image), static_cast<QWidget *>(plainLabel), static_cast<QWidget *>(tabs),
                 static_cast<QWidget *>(check), static_cast<QWidget *>(status), static_cast<QWidget *>(viewer) }) {
            QVERIFY2(!ownPalette(untouched), qPrintable(untouched->objectName()));
        }
    }

    void invalidColoursLeaveTheirRoleAlone()
    {
        QWidget window;
        auto *list = new QListWidget(&window);
        auto *button = new QPushButton(&window);
        const QColor text = list->palette().color(QPalette::Text);
        recolourControls(&window, QColor(), QColor(), QColor());
        QVERIFY(!ownPalette(list));
        QVERIFY(!ownPalette(button));
        recolourControls(&window, c2, QColor(), QColor());
        QCOMPARE(list->palette().color(QPalette::Base), c2);
        QCOMPARE(list->palette().color(QPalette::Text), text);
    }

    void controlsAreTheWindowsOwn()
    {
        QWidget window;
        auto *frame = new QGroupBox(&window);
        auto *combo = new QComboBox(frame);
        combo->setEditable(true);
        auto *tabs = new QTabBar(&window);
        for (int i = 0; i < 20; ++i) {
            tabs->addTab(QStringLiteral("Tab %1").arg(i));
        }
        auto *owned = new QWidget(&window, Qt::Window);
        auto *ownedButton = new QPushButton(owned);

        const QList<QWidget *> controls = windowControls(&window);
        QCOMPARE(controls, (QList<QWidget *> { frame, combo, tabs }));
        recolourControls(&window, c2, c3, c4);
        // Not the parts of compound controls, and not the controls of other windows.
        const QList<QToolButton *> scrollButtons = tabs->findChildren<QToolButton *>();
        for (QToolButton *button : scrollButtons) {
            QVERIFY(!ownPalette(button));
        }
        QVERIFY(!ownPalette(ownedButton));
    }

    void typeNames_data()
    {
        QTest::addColumn<QString>("type");
        QTest::addColumn<QString>("expected");
        QTest::newRow("button") << "QPushButton"
                                << "CommandButton";
        QTest::newRow("tool-button") << "QToolButton"
                                     << "CommandButton";
        QTest::newRow("line") << "QLineEdit"
                              << "TextBox";
        QTest::newRow("plain-text") << "QPlainTextEdit"
                                    << "TextBox";
        QTest::newRow("rich-viewer") << "QTextBrowser"
                                     << "RichTextBox";
        QTest::newRow("combo") << "QComboBox"
                               << "ComboBox";
        QTest::newRow("list") << "QListWidget"
                              << "ListBox";
        QTest::newRow("tree") << "QTreeView"
                              << "ListView";
        QTest::newRow("label") << "QLabel"
                               << "Label";
        QTest::newRow("frame") << "QGroupBox"
                               << "Frame";
        QTest::newRow("tabs") << "QTabBar"
                              << "TabStrip";
        QTest::newRow("check") << "QCheckBox"
                               << "CheckBox";
    }

    void typeNames()
    {
        QFETCH(QString, type);
        QFETCH(QString, expected);
        using Factory = std::function<QWidget *(QWidget *)>;
        static const QHash<QString, Factory> factories = {
            { QStringLiteral("QPushButton"), [](QWidget *p) -> QWidget * { return new QPushButton(p); } },
            { QStringLiteral("QToolButton"), [](QWidget *p) -> QWidget * { return new QToolButton(p); } },
            { QStringLiteral("QLineEdit"), [](QWidget *p) -> QWidget * { return new QLineEdit(p); } },
            { QStringLiteral("QPlainTextEdit"), [](QWidget *p) -> QWidget * { return new QPlainTextEdit(p); } },
            { QStringLiteral("QTextBrowser"), [](QWidget *p) -> QWidget * { return new QTextBrowser(p); } },
            { QStringLiteral("QComboBox"), [](QWidget *p) -> QWidget * { return new QComboBox(p); } },
            { QStringLiteral("QListWidget"), [](QWidget *p) -> QWidget * { return new QListWidget(p); } },
            { QStringLiteral("QTreeView"), [](QWidget *p) -> QWidget * { return new QTreeView(p); } },
            { QStringLiteral("QLabel"), [](QWidget *p) -> QWidget * { return new QLabel(p); } },
            { QStringLiteral("QGroupBox"), [](QWidget *p) -> QWidget * { return new QGroupBox(p); } },
            { QStringLiteral("QTabBar"), [](QWidget *p) -> QWidget * { return new QTabBar(p); } },
            { QStringLiteral("QCheckBox"), [](QWidget *p) -> QWidget * { return new QCheckBox(p); } },
        };
        QWidget window;
        QVERIFY(factories.contains(type));
        QWidget *control = factories.value(type)(&window);
        QVERIFY(control);
        QCOMPARE(controlTypeName(control), expected);
    }

    void labelCopiesGoToTheArrayOfTheirContainer()
    {
        QWidget window;
        window.resize(600, 400);
        auto *frameA = named(new QGroupBox(&window), "FrameA");
        auto *frameB = named(new QGroupBox(&window), "FrameB");
        auto *frameC = named(new QGroupBox(&window), "FrameC");
        placeSkinLabel(frameA, QStringLiteral("SkinLabel1"));
        placeSkinLabel(frameB, QStringLiteral("SkinLabel2"));
        placeSkinLabel(&window, QStringLiteral("SkinLabel3"));

        QLabel *a1 = label(frameA, "a1", QStringLiteral("Subject:"), QRect(8, 20, 70, 17));
        QFont bold = a1->font();
        bold.setBold(true);
        bold.setPointSize(13);
        a1->setFont(bold);
        QLabel *a2 = label(frameA, "a2", QStringLiteral("Hidden"), QRect(8, 50, 90, 19));
        a2->hide();
        QLabel *b1 = label(frameB, "b1", QStringLiteral("Username:"), QRect(4, 30, 60, 17));
        QLabel *c1 = label(frameC, "c1", QStringLiteral("URL:"), QRect(4, 10, 30, 17));
        QLabel *w1 = label(&window, "w1", QStringLiteral("On the window"), QRect(300, 5, 100, 20));
        auto *picture = named(new QLabel(frameA), "picture");
        picture->setPixmap(programIcon().pixmap(16, 16));

        replaceLabelsWithSkinLabels(
            &window, { QStringLiteral("SkinLabel1"), QStringLiteral("SkinLabel2"), QStringLiteral("SkinLabel3") });

        const QList<SkinLabel *> one = skinLabelArray(&window, QStringLiteral("SkinLabel1"));
        QCOMPARE(one.size(), 3);
        QCOMPARE(one.at(1)->index(), 1);
        QCOMPARE(one.at(1)->parentWidget(), frameA);
        QCOMPARE(one.at(1)->geometry(), a1->geometry());
        QCOMPARE(one.at(1)->font(), a1->font());
        QCOMPARE(one.at(1)->text(), a1->text());
        QVERIFY(!one.at(1)->isHidden());
        QCOMPARE(one.at(2)->text(), a2->text());
        QCOMPARE(one.at(2)->geometry(), a2->geometry());
        QVERIFY(one.at(2)->isHidden());

        const QList<SkinLabel *> two = skinLabelArray(&window, QStringLiteral("SkinLabel2"));
        QCOMPARE(two.size(), 2);
        QCOMPARE(two.at(1)->text(), b1->text());
        const QList<SkinLabel *> three = skinLabelArray(&window, QStringLiteral("SkinLabel3"));
        QCOMPARE(three.size(), 2);
        QCOMPARE(three.at(1)->text(), w1->text());
        QCOMPARE(three.at(1)->parentWidget(), &window);

        // A label in a container without element 0 gets no copy; the label itself is left as it was.
        QVERIFY(frameC->findChildren<SkinLabel *>().isEmpty());
        QCOMPARE(c1->text(), QStringLiteral("URL:"));
        QVERIFY(!a1->isHidden());
        // The copy lies over its label and lets clicks through to it.
        QVERIFY(frameA->children().indexOf(one.at(1)) > frameA->children().indexOf(a1));
        QVERIFY(one.at(1)->testAttribute(Qt::WA_TransparentForMouseEvents));
    }

    void singleArrayFormCopiesEveryLabel()
    {
        QWidget window;
        label(&window, "x", QStringLiteral("One"), QRect(10, 10, 50, 20));
        auto *frame = new QGroupBox(&window);
        QLabel *inFrame = label(frame, "y", QStringLiteral("Two"), QRect(5, 25, 50, 20));

        replaceLabelsWithSkinLabels(&window);

        const QList<SkinLabel *> array = skinLabelArray(&window, QStringLiteral("SkinLabel1"));
        QCOMPARE(array.size(), 3);
        QCOMPARE(array.at(0)->index(), 0);
        QVERIFY(array.at(0)->isHidden());
        QCOMPARE(array.at(1)->text(), QStringLiteral("One"));
        QCOMPARE(array.at(2)->text(), QStringLiteral("Two"));
        // Each copy sits where its label is.
        QCOMPARE(array.at(2)->parentWidget(), frame);
        QCOMPARE(array.at(2)->geometry(), inFrame->geometry());
    }

    void applyWithoutSkinChangesNothing()
    {
        QWidget window;
        auto *list = new QListWidget(&window);
        applySkin(&window, nullptr);
        QVERIFY(!ownPalette(list));
        QVERIFY(!ownPalette(&window));
        applySkin(nullptr, nullptr);
    }

    void applyUsesTheSkinsColours()
    {
        Skin skin;
        skin.setSkinFile(testSkin());
        QWidget window;
        auto *list = new QListWidget(&window);
        auto *button = new QPushButton(&window);
        auto *plainLabel = new QLabel(QStringLiteral("x"), &window);
        applySkin(&window, &skin);
        QCOMPARE(list->palette().color(QPalette::Base), c2);
        QCOMPARE(list->palette().color(QPalette::Text), c3);
        QCOMPARE(button->palette().color(QPalette::Button), c2);
        QCOMPARE(window.palette().color(QPalette::Window), QColor(0xee, 0xee, 0xdd));
        // Labels take the window's text colour from the skin, not a colour of their own.
        QVERIFY(!ownPalette(plainLabel));
        QCOMPARE(plainLabel->palette().color(QPalette::WindowText), QColor(0x10, 0x10, 0x10));
        // No region on this platform.
        QVERIFY(window.mask().isEmpty());
    }

    void skinLackingMembersSkinsPartly()
    {
        Skin skin;
        SkinFile file;
        file.colours[0] = 0x112233u;
        skin.setSkinFile(file);
        QWidget window;
        auto *list = new QListWidget(&window);
        const QColor text = list->palette().color(QPalette::Text);
        applySkin(&window, &skin);
        QCOMPARE(list->palette().color(QPalette::Base), c2);
        QCOMPARE(list->palette().color(QPalette::Text), text);
        QVERIFY(!skin.colour(5).isValid());
    }

    void skinLoadsFromFiles()
    {
        QTemporaryDir tmp;
        const QString path = tmp.filePath(QStringLiteral("t.skin"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("[skin]\nname=Mine\ncolour2=#112233\n");
        file.close();
        Skin skin;
        QVERIFY(skin.load(path));
        QCOMPARE(skin.name(), QStringLiteral("Mine"));
        QCOMPARE(skin.colour(2), c2);
        // A failed load keeps the skin it had.
        QString error;
        QVERIFY(!skin.load(tmp.filePath(QStringLiteral("none.skin")), &error));
        QCOMPARE(skin.colour(2), c2);

        initWindowResources();
        Skin design;
        QVERIFY(design.load(Skinning::designSkinPath()));
        for (int member = 2; member <= 5; ++member) {
            QVERIFY(design.colour(member).isValid());
        }
    }

    void rectRegionIsTheOuterSizeInTwips()
    {
        QWidget window;
        window.resize(200, 100);
        setRectRegion(&window);
        const QRect bounds = window.mask().boundingRect();
        QCOMPARE(bounds.topLeft(), QPoint(0, 0));
        QCOMPARE(bounds.width(), window.frameGeometry().width() * 15);
        QCOMPARE(bounds.height(), window.frameGeometry().height() * 15);
        QVERIFY(!isVistaOrLater());
    }

    void companionSkinsOtherWindowsWhileRunning()
    {
        QTemporaryDir tmp;
        const QString path = tmp.filePath(QStringLiteral("test.skin"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("[skin]\nname=Test\ncolour2=#112233\ncolour3=#445566\ncolour4=#778899\nwindow=#eeeedd\n");
        file.close();
        Skinning skinning(path);
        QWidget splash;
        auto *picture = new QLabel(&splash);
        picture->setPixmap(programIcon().pixmap(16, 16));
        skinning.start(&splash);
        QCOMPARE(skinning.skin()->name(), QStringLiteral("Test"));
        QCOMPARE(picture->palette().color(QPalette::Window), c4);
        QVERIFY(skinning.companion()->isRunning());

        QMessageBox box(QMessageBox::Information, QStringLiteral("t"), QStringLiteral("text"));
        box.show();
        QCOMPARE(box.palette().color(QPalette::Window), QColor(0xee, 0xee, 0xdd));

        skinning.stop();
        QVERIFY(!skinning.companion()->isRunning());
        QMessageBox later(QMessageBox::Information, QStringLiteral("t"), QStringLiteral("text"));
        later.show();
        QVERIFY(!ownPalette(&later));
    }
};

QTEST_MAIN(TestSkin)
#include "tst_skin.moc"
