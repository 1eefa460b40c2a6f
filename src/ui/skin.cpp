#include "ui/skin.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFrame>
#include <QGroupBox>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QMainWindow>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegion>
#include <QSplitter>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTextBrowser>
#include <QTextEdit>
#include <QToolButton>
#include <QTreeView>

#include "base/twips.h"
#include "ui/listbox.h"
#include "ui/windowicon.h"

namespace {

const char *const s_skinnedProperty = "postavoSkin";
const char *const s_controlTypeProperty = "controlType";

QColor fromRgb(const std::optional<quint32> &rgb)
{
    return rgb ? QColor::fromRgb(QRgb(*rgb | 0xff000000u)) : QColor();
}

bool isContainer(const QWidget *widget)
{
    // A panel of the program's own that calls itself a frame holds controls as a frame does.
    if (qobject_cast<const QGroupBox *>(widget) || widget->property(s_controlTypeProperty).toString() == QLatin1String("Frame")
        || qobject_cast<const QStackedWidget *>(widget)
        || qobject_cast<const QTabWidget *>(widget) || qobject_cast<const QSplitter *>(widget)) {
        return true;
    }
    const QMetaObject *type = widget->metaObject();
    return type == &QWidget::staticMetaObject || type == &QFrame::staticMetaObject;
}

void collectControls(QWidget *parent, QList<QWidget *> &controls)
{
    const QObjectList &children = parent->children();
    for (QObject *child : children) {
        auto *widget = qobject_cast<QWidget *>(child);
        if (!widget || widget->isWindow()) {
            continue;
        }
        controls.append(widget);
        if (isContainer(widget)) {
            collectControls(widget, controls);
        }
    }
}

void setRoles(QWidget *control, std::initializer_list<QPalette::ColorRole> roles, const QColor &colour)
{
    if (!colour.isValid()) {
        return;
    }
    QPalette palette = control->palette();
    for (QPalette::ColorRole role : roles) {
        palette.setColor(role, colour);
    }
    control->setPalette(palette);
}

int highestIndex(const QList<SkinLabel *> &array)
{
    int highest = -1;
    for (const SkinLabel *element : array) {
        highest = qMax(highest, element->index());
    }
    return highest;
}

void copyLabel(QLabel *label, SkinLabel *copy)
{
    copy->follow(label);
    copy->setFont(label->font());
    copy->setTextFormat(label->textFormat());
    copy->setAlignment(label->alignment());
    copy->setWordWrap(label->wordWrap());
    copy->setText(label->text());
    // The copy draws the label's mnemonic as the label does; either one's shortcut reaches the same box.
    copy->setBuddy(label->buddy());
    copy->setVisible(!label->isHidden());
    copy->raise();
}

QList<QLabel *> plainLabels(QWidget *window)
{
    QList<QLabel *> labels;
    const QList<QWidget *> controls = windowControls(window);
    for (QWidget *control : controls) {
        if (controlTypeName(control) == QLatin1String("Label")) {
            labels.append(static_cast<QLabel *>(control));
        }
    }
    return labels;
}

} // namespace

Skin::Skin(QObject *parent)
    : QObject(parent)
{ }

bool Skin::load(const QString &path, QString *error)
{
    std::optional<SkinFile> file = readSkinFile(path, error);
    if (!file) {
        return false;
    }
    m_file = *file;
    return true;
}

QColor Skin::colour(int member) const
{
    return fromRgb(m_file.colour(member));
}

void Skin::apply(QWidget *window)
{
    if (!window) {
        return;
    }
    QPalette palette = window->palette();
    const QColor background = fromRgb(m_file.window);
    const QColor text = fromRgb(m_file.windowText);
    if (background.isValid()) {
        palette.setColor(QPalette::Window, background);
    }
    if (text.isValid()) {
        palette.setColor(QPalette::WindowText, text);
        palette.setColor(QPalette::ButtonText, text);
    }
    window->setPalette(palette);
    window->setProperty(s_skinnedProperty, m_file.name.isEmpty() ? QStringLiteral("skin") : m_file.name);
}

SkinLabel::SkinLabel(const QString &arrayName, int index, QWidget *container)
    : QLabel(container)
    , m_index(index)
{
    setObjectName(arrayName);
    setProperty("index", index);
    // Opaque, so that the plain label underneath never shows through in another colour.
    setAutoFillBackground(true);
    // Clicks reach the label underneath, which keeps its behaviour (the about window's website link).
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void SkinLabel::follow(QLabel *label)
{
    m_label = label;
    setGeometry(label->geometry());
    label->installEventFilter(this);
}

bool SkinLabel::eventFilter(QObject *watched, QEvent *event)
{
    // The layout moves the label as the window's size and language ask; the copy stays over it.
    if (watched == m_label && (event->type() == QEvent::Move || event->type() == QEvent::Resize)) {
        setGeometry(m_label->geometry());
    }
    return QLabel::eventFilter(watched, event);
}

SkinCompanion::SkinCompanion(QObject *parent)
    : QObject(parent)
{ }

void SkinCompanion::start()
{
    if (m_running || !qApp) {
        return;
    }
    qApp->installEventFilter(this);
    m_running = true;
}

void SkinCompanion::stop()
{
    if (!m_running) {
        return;
    }
    if (qApp) {
        qApp->removeEventFilter(this);
    }
    m_running = false;
}

bool SkinCompanion::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Show && m_skin) {
        auto *widget = qobject_cast<QWidget *>(watched);
        if (widget && widget->isWindow() && !qobject_cast<QMenu *>(widget)
            && !(widget->windowType() == Qt::Popup || widget->windowType() == Qt::ToolTip)
            && !widget->property(s_skinnedProperty).isValid()) {
            applySkin(widget, m_skin);
        }
    }
    return QObject::eventFilter(watched, event);
}

Skinning::Skinning(const QString &skinPath, QObject *parent)
    : QObject(parent)
    , m_path(skinPath)
    , m_skin(this)
    , m_companion(this)
{
    m_skin.setObjectName(QStringLiteral("skin"));
    m_companion.setSkin(&m_skin);
}

void Skinning::start(QWidget *splash)
{
    initWindowResources();
    m_skin.load(m_path);
    applySkin(splash, &m_skin);
    m_companion.start();
}

void Skinning::apply(QWidget *window)
{
    applySkin(window, &m_skin);
}

void Skinning::applyWithLabels(QWidget *window)
{
    placeSkinLabel(window, QStringLiteral("SkinLabel1"));
    replaceLabelsWithSkinLabels(window);
    applySkin(window, &m_skin);
}

QString controlTypeName(const QWidget *control)
{
    if (!control) {
        return QString();
    }
    const QVariant declared = control->property(s_controlTypeProperty);
    if (declared.isValid()) {
        return declared.toString();
    }
    if (qobject_cast<const SkinLabel *>(control)) {
        return QStringLiteral("SkinLabel");
    }
    if (const auto *label = qobject_cast<const QLabel *>(control)) {
        return label->pixmap().isNull() ? QStringLiteral("Label") : QStringLiteral("PictureBox");
    }
    if (qobject_cast<const QPushButton *>(control) || qobject_cast<const QToolButton *>(control)) {
        return QStringLiteral("CommandButton");
    }
    if (qobject_cast<const QCheckBox *>(control)) {
        return QStringLiteral("CheckBox");
    }
    if (qobject_cast<const QRadioButton *>(control)) {
        return QStringLiteral("OptionButton");
    }
    if (qobject_cast<const QTextBrowser *>(control)) {
        return QStringLiteral("RichTextBox");
    }
    if (qobject_cast<const QLineEdit *>(control) || qobject_cast<const QPlainTextEdit *>(control)
        || qobject_cast<const QTextEdit *>(control)) {
        return QStringLiteral("TextBox");
    }
    if (qobject_cast<const QComboBox *>(control)) {
        return QStringLiteral("ComboBox");
    }
    if (qobject_cast<const QListWidget *>(control) || qobject_cast<const ListBox *>(control)) {
        return QStringLiteral("ListBox");
    }
    if (qobject_cast<const QListView *>(control) || qobject_cast<const QTreeView *>(control)) {
        return QStringLiteral("ListView");
    }
    if (qobject_cast<const QGroupBox *>(control)) {
        return QStringLiteral("Frame");
    }
    if (qobject_cast<const QTabBar *>(control) || qobject_cast<const QTabWidget *>(control)) {
        return QStringLiteral("TabStrip");
    }
    if (qobject_cast<const QStatusBar *>(control)) {
        return QStringLiteral("StatusBar");
    }
    if (control->inherits("QWebEngineView")) {
        return QStringLiteral("WebBrowser");
    }
    return QString::fromLatin1(control->metaObject()->className());
}

QList<QWidget *> windowControls(QWidget *window)
{
    QList<QWidget *> controls;
    if (window) {
        collectControls(window, controls);
    }
    return controls;
}

void applySkin(QWidget *window, Skin *skin)
{
    if (!window || !skin) {
        return;
    }
    const QColor colour2 = skin->colour(2);
    const QColor colour3 = skin->colour(3);
    const QColor colour4 = skin->colour(4);
    // Member 5 belongs to the skin's own drawing; it is read like the others and used for nothing here.
    Q_UNUSED(skin->colour(5));
    recolourControls(window, colour2, colour3, colour4);
    // The skin is there only when skinning is on.
    if (isVistaOrLater()) {
        setRectRegion(window);
    }
    skin->apply(window);
}

void recolourControls(QWidget *window, const QColor &colour2, const QColor &colour3, const QColor &colour4)
{
    const QList<QWidget *> controls = windowControls(window);
    for (QWidget *control : controls) {
        const QString type = controlTypeName(control);
        if (type == QLatin1String("CommandButton")) {
            setRoles(control, { QPalette::Button }, colour2);
        } else if (type == QLatin1String("TextBox") || type == QLatin1String("ComboBox")
            || type == QLatin1String("FileListBox") || type == QLatin1String("DirListBox")
            || type == QLatin1String("DriveListBox") || type == QLatin1String("ListBox")
            || type == QLatin1String("ListView")) {
            // A closed drop-down list draws itself with the button colours.
            setRoles(control, { QPalette::Base, QPalette::Button }, colour2);
            setRoles(control, { QPalette::Text, QPalette::ButtonText }, colour3);
        } else if (type == QLatin1String("PictureBox")) {
            setRoles(control, { QPalette::Window }, colour4);
            if (colour4.isValid()) {
                control->setAutoFillBackground(true);
            }
        }
    }
}

bool isVistaOrLater()
{
    return false;
}

void setRectRegion(QWidget *window)
{
    if (!window) {
        return;
    }
    const QRect outer = window->frameGeometry();
    window->setMask(QRegion(0, 0, pixelsToTwips(outer.width()), pixelsToTwips(outer.height())));
}

SkinLabel *placeSkinLabel(QWidget *container, const QString &arrayName)
{
    if (!container) {
        return nullptr;
    }
    const QList<SkinLabel *> existing = container->findChildren<SkinLabel *>(arrayName, Qt::FindDirectChildrenOnly);
    for (SkinLabel *element : existing) {
        if (element->index() == 0) {
            return element;
        }
    }
    auto *element = new SkinLabel(arrayName, 0, container);
    element->hide();
    return element;
}

QList<SkinLabel *> skinLabelArray(QWidget *window, const QString &arrayName)
{
    QList<SkinLabel *> array = window ? window->findChildren<SkinLabel *>(arrayName) : QList<SkinLabel *>();
    // Windows owned by this one (an about box over the main window) keep their own arrays.
    array.removeIf([window](const SkinLabel *element) { return element->window() != window; });
    std::stable_sort(
        array.begin(), array.end(), [](const SkinLabel *a, const SkinLabel *b) { return a->index() < b->index(); });
    return array;
}

void replaceLabelsWithSkinLabels(QWidget *window, const QStringList &arrayNames)
{
    if (!window) {
        return;
    }
    const QList<QLabel *> labels = plainLabels(window);
    for (QLabel *label : labels) {
        for (const QString &name : arrayNames) {
            const QList<SkinLabel *> array = skinLabelArray(window, name);
            if (array.isEmpty() || array.first()->index() != 0
                || array.first()->parentWidget() != label->parentWidget()) {
                continue;
            }
            copyLabel(label, new SkinLabel(name, highestIndex(array) + 1, label->parentWidget()));
            break;
        }
    }
}

void replaceLabelsWithSkinLabels(QWidget *window)
{
    if (!window) {
        return;
    }
    const QString name = QStringLiteral("SkinLabel1");
    const QList<QLabel *> labels = plainLabels(window);
    if (skinLabelArray(window, name).isEmpty()) {
        placeSkinLabel(window, name);
    }
    int next = highestIndex(skinLabelArray(window, name)) + 1;
    for (QLabel *label : labels) {
        // The copy sits beside its label, so label positions inside frames stay right.
        copyLabel(label, new SkinLabel(name, next++, label->parentWidget()));
    }
}

void skinMainWindow(QWidget *mainWindow, Skin *skin)
{
    if (!mainWindow) {
        return;
    }
    auto *main = qobject_cast<QMainWindow *>(mainWindow);
    QWidget *client = main ? main->centralWidget() : mainWindow;
    placeSkinLabel(mainWindow->findChild<QWidget *>(QStringLiteral("messageEditor")), QStringLiteral("SkinLabel1"));
    placeSkinLabel(mainWindow->findChild<QWidget *>(QStringLiteral("forumsFrame")), QStringLiteral("SkinLabel2"));
    placeSkinLabel(client, QStringLiteral("SkinLabel3"));
    replaceLabelsWithSkinLabels(
        mainWindow, { QStringLiteral("SkinLabel1"), QStringLiteral("SkinLabel2"), QStringLiteral("SkinLabel3") });
    applySkin(mainWindow, skin);
}
