// The main window and the options dialog as laid out in each shipped language: at the first-start size and at
// the smallest the window allows, every caption has the room it needs and no two controls overlap; the web view
// fills its pane; the splitters the user drags come back after a restart.
#include <QAbstractScrollArea>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSplitter>
#include <QStatusBar>
#include <QTabBar>
#include <QTest>
#include <QToolButton>
#include <QWebEngineView>
#include <memory>

#include "app/mainwindow.h"
#include "options/optionsdialog.h"
#include "support/controls.h"
#include "support/programlanguage.h"
#include "support/programstate.h"
#include "web/browserpane.h"

namespace {

// What a caption shows: a label's or button's mnemonic marker is not drawn.
QString shownText(QString text)
{
    text.replace(QLatin1String("&&"), QLatin1String("\x01")).remove(QLatin1Char('&'));
    return text.replace(QLatin1Char('\x01'), QLatin1Char('&'));
}

// Controls whose insides are their own business: scroll areas, the page, editable and drop-down boxes.
bool isOpaque(const QWidget *widget)
{
    return qobject_cast<const QAbstractScrollArea *>(widget) || qobject_cast<const QWebEngineView *>(widget)
        || qobject_cast<const QComboBox *>(widget) || qobject_cast<const QLineEdit *>(widget)
        || qobject_cast<const QTabBar *>(widget);
}

// Every shown control under root whose caption is cut or that overlaps a sibling or leaves its parent.
QStringList layoutFaults(QWidget *root)
{
    QStringList faults;
    const auto visibleChildren = [](QWidget *parent) {
        QList<QWidget *> shown;
        for (QWidget *child : parent->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
            if (child->isVisible() && !child->isWindow() && !qobject_cast<QSplitterHandle *>(child)) {
                shown.append(child);
            }
        }
        return shown;
    };
    const QString name = root->objectName();
    if (auto *button = qobject_cast<QAbstractButton *>(root); button && !button->text().isEmpty()) {
        const int needed = qobject_cast<QCheckBox *>(button)
            ? button->sizeHint().width()
            : button->fontMetrics().horizontalAdvance(shownText(button->text())) + 4;
        if (needed > button->width()) {
            faults << QStringLiteral("%1 \"%2\": needs %3, has %4").arg(name, button->text()).arg(needed).arg(button->width());
        }
    } else if (auto *label = qobject_cast<QLabel *>(root); label && !label->wordWrap() && label->pixmap().isNull()) {
        const QString text = label->textFormat() == Qt::RichText || Qt::mightBeRichText(label->text())
            ? QString() : shownText(label->text());
        const int needed = label->fontMetrics().horizontalAdvance(text);
        if (needed > label->width()) {
            faults << QStringLiteral("%1 \"%2\": needs %3, has %4").arg(name, text).arg(needed).arg(label->width());
        }
    } else if (auto *tabs = qobject_cast<QTabBar *>(root)) {
        // A tab shorter than its caption would elide it or bring scroll buttons.
        for (int i = 0; i < tabs->count(); ++i) {
            const int needed = tabs->fontMetrics().horizontalAdvance(shownText(tabs->tabText(i)));
            if (tabs->tabRect(i).width() < needed || tabs->tabRect(i).right() >= tabs->width()) {
                faults << QStringLiteral("%1 tab \"%2\" is cut").arg(name, tabs->tabText(i));
            }
        }
    } else if (auto *frame = qobject_cast<QGroupBox *>(root); frame && !frame->title().isEmpty()) {
        if (frame->fontMetrics().horizontalAdvance(frame->title()) > frame->width()) {
            faults << QStringLiteral("%1 title is cut").arg(name);
        }
    }
    if (isOpaque(root)) {
        return faults;
    }
    const QList<QWidget *> shown = visibleChildren(root);
    for (qsizetype i = 0; i < shown.size(); ++i) {
        if (!root->rect().contains(shown[i]->geometry())) {
            faults << QStringLiteral("%1 leaves %2").arg(shown[i]->objectName(), name);
        }
        for (qsizetype j = i + 1; j < shown.size(); ++j) {
            if (shown[i]->geometry().intersects(shown[j]->geometry())) {
                faults << QStringLiteral("%1 overlaps %2").arg(shown[i]->objectName(), shown[j]->objectName());
            }
        }
        faults << layoutFaults(shown[i]);
    }
    return faults;
}

// Starts the window as the program does at first start: placed on the screen, shown. False when it did not come.
bool bringUp(MainWindow &w)
{
    if (!w.startUp()) {
        return false;
    }
    w.restorePlacement();
    w.show();
    return QTest::qWaitForWindowExposed(&w);
}

} // namespace

class tst_MainLayout : public QObject
{
    Q_OBJECT

private slots:
    void captionsFitInEveryLanguage_data();
    void captionsFitInEveryLanguage();
    void webViewFillsItsPane();
    void splittersComeBackAfterARestart();
};

void tst_MainLayout::captionsFitInEveryLanguage_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<bool>("smallest"); // else at the first-start size
    for (const QString &language : shippedLanguages()) {
        QTest::newRow(qPrintable(language + QStringLiteral("-first-start"))) << language << false;
        QTest::newRow(qPrintable(language + QStringLiteral("-smallest"))) << language << true;
    }
}

void tst_MainLayout::captionsFitInEveryLanguage()
{
    QFETCH(QString, language);
    QFETCH(bool, smallest);
    ProgramLanguage shipped(language);
    QVERIFY(shipped.isLoaded());
    ProgramState state;
    MainWindow w(state.context);
    QVERIFY(bringUp(w));
    if (smallest) {
        w.resize(1, 1);
        QTRY_COMPARE(w.size(), w.minimumSize());
        QVERIFY(w.minimumWidth() > 300 && w.minimumHeight() > 300);
    }
    // Each list tab and each view of the own posts shows other controls.
    const auto check = [&w](const QString &view) {
        QCoreApplication::processEvents();
        const QStringList faults = layoutFaults(w.centralWidget()) + layoutFaults(static_cast<QWidget *>(w.statusBar()));
        QVERIFY2(faults.isEmpty(), qPrintable(view + QStringLiteral(": ") + faults.join(QStringLiteral("; "))));
    };
    check(QStringLiteral("forums"));
    control<QTabBar>(w, "listTabs")->setCurrentIndex(1);
    check(QStringLiteral("all posts"));
    control<QTabBar>(w, "postTabs")->setCurrentIndex(1);
    check(QStringLiteral("new replies"));

    control<QToolButton>(w, "optionsButton")->click();
    OptionsDialog *options = nullptr;
    for (QWidget *top : QApplication::topLevelWidgets()) {
        options = options ? options : qobject_cast<OptionsDialog *>(top);
    }
    QVERIFY(options && options->isVisible());
    if (smallest) {
        options->resize(1, 1);
        QTRY_COMPARE(options->size(), options->minimumSizeHint().expandedTo(options->minimumSize()));
    }
    QCoreApplication::processEvents();
    const QStringList faults = layoutFaults(options);
    QVERIFY2(faults.isEmpty(), qPrintable(QStringLiteral("options: ") + faults.join(QStringLiteral("; "))));
    options->close();
}

void tst_MainLayout::webViewFillsItsPane()
{
    ProgramState state;
    MainWindow w(state.context);
    QVERIFY(bringUp(w));
    auto *pane = control<BrowserPane>(w, "browserFrame");
    auto *view = control<QWebEngineView>(w, "webView");
    // The same margin below the page as beside it, at any size.
    for (const QSize &windowSize : { w.size(), w.minimumSize(), w.size() * 1.3 }) {
        w.resize(windowSize);
        QTRY_VERIFY(w.size() == windowSize.expandedTo(w.minimumSize()));
        QCoreApplication::processEvents();
        const int left = view->x();
        const int right = pane->width() - view->geometry().right() - 1;
        const int bottom = pane->height() - view->geometry().bottom() - 1;
        QVERIFY2(left == right && bottom == right, qPrintable(QStringLiteral("%1 %2 %3").arg(left).arg(right).arg(bottom)));
    }
}

void tst_MainLayout::splittersComeBackAfterARestart()
{
    ProgramState state;
    QList<int> column;
    QList<int> editor;
    {
        MainWindow w(state.context);
        QVERIFY(bringUp(w));
        auto *columnSplitter = control<QSplitter>(w, "columnSplitter");
        auto *editorSplitter = control<QSplitter>(w, "editorSplitter");
        // Dragged as the user drags them: the left column wider, the editor lower.
        columnSplitter->setSizes({ columnSplitter->sizes().at(0) + 150, columnSplitter->sizes().at(1) - 150 });
        editorSplitter->setSizes({ editorSplitter->sizes().at(0) - 60, editorSplitter->sizes().at(1) + 60 });
        column = columnSplitter->sizes();
        editor = editorSplitter->sizes();
        w.close();
    }
    MainWindow again(state.context);
    QVERIFY(bringUp(again));
    QTRY_COMPARE(control<QSplitter>(again, "columnSplitter")->sizes(), column);
    QTRY_COMPARE(control<QSplitter>(again, "editorSplitter")->sizes(), editor);
}

QTEST_MAIN(tst_MainLayout)
#include "tst_mainlayout.moc"
