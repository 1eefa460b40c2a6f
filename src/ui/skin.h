#pragma once

#include <QColor>
#include <QLabel>
#include <QObject>
#include <QPointer>
#include <QStringList>

#include "ui/skinfile.h"

// A window look: four colours for the controls (members 2 to 5) and the window's own colours, read from a skin
// file. apply() draws a window with it; the controls are recoloured by recolourControls().
class Skin : public QObject
{
    Q_OBJECT

public:
    explicit Skin(QObject *parent = nullptr);

    // Reads a skin file; on failure the skin keeps what it had and *error says why.
    bool load(const QString &path, QString *error = nullptr);
    void setSkinFile(const SkinFile &file) { m_file = file; }
    QString name() const { return m_file.name; }

    // Member 2 to 5 as a colour; an invalid colour when the skin lacks it.
    QColor colour(int member) const;

    // Gives the window the skin's background and text colours; its skin labels take them over. Marks the
    // window as skinned.
    void apply(QWidget *window);

private:
    SkinFile m_file;
};

// A label drawn by the skin: an opaque copy laid over a plain label. Skin labels form arrays by name (their
// objectName); element 0 of an array marks the container the array serves.
class SkinLabel : public QLabel
{
    Q_OBJECT

public:
    SkinLabel(const QString &arrayName, int index, QWidget *container);
    QString arrayName() const { return objectName(); }
    int index() const { return m_index; }
    // Keeps the copy over the label wherever the label is placed.
    void follow(QLabel *label);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    int m_index;
    QPointer<QLabel> m_label;
};

// Keeps windows that do not skin themselves (message boxes, standard dialogs) in the skin's look while it runs.
class SkinCompanion : public QObject
{
    Q_OBJECT

public:
    explicit SkinCompanion(QObject *parent = nullptr);
    void setSkin(Skin *skin) { m_skin = skin; }
    void start();
    void stop();
    bool isRunning() const { return m_running; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QPointer<Skin> m_skin;
    bool m_running = false;
};

// The program's skinning, when the configuration turns it on: the skin every window is drawn with, read from the
// design's skin file, and the companion that keeps the windows that do not skin themselves in its look. Handed
// to the windows that skin themselves; none means they keep their ordinary look.
class Skinning : public QObject
{
    Q_OBJECT

public:
    // The skin file the design names: a built-in skin.
    static QString designSkinPath() { return QStringLiteral(":/skins/postavo.skin"); }

    explicit Skinning(const QString &skinPath = designSkinPath(), QObject *parent = nullptr);

    Skin *skin() { return &m_skin; }
    SkinCompanion *companion() { return &m_companion; }
    // The splash window's start of skinning: the skin is read, the splash skinned, the companion starts.
    void start(QWidget *splash);
    // At the program's end.
    void stop() { m_companion.stop(); }

    // applySkin() with this skin; with labels, replaceLabelsWithSkinLabels() first, into the window's one array.
    void apply(QWidget *window);
    void applyWithLabels(QWidget *window);

private:
    QString m_path;
    Skin m_skin;
    SkinCompanion m_companion;
};

// The role a control plays, named as the window design names it: "CommandButton", "TextBox", "ComboBox",
// "ListBox", "ListView", "PictureBox", "Label", "SkinLabel", "Frame", "TabStrip", ... A dynamic property
// "controlType" on the widget overrides it.
QString controlTypeName(const QWidget *control);

// The window's controls in their order: its descendants reached through containers (frames, plain panels, tab
// pages), not the parts of compound widgets and not other windows.
QList<QWidget *> windowControls(QWidget *window);

// Recolours the window's controls from the skin, hands the window to the skin. Does nothing without a skin;
// whatever the skin lacks stays as it was.
void applySkin(QWidget *window, Skin *skin);

// Back colour c2 for buttons, lists and text controls, fore colour c3 for lists and text controls, back colour
// c4 for picture boxes. An invalid colour leaves its role alone; every other kind of control is left alone.
void recolourControls(QWidget *window, const QColor &colour2, const QColor &colour3, const QColor &colour4);

// Window regions are never needed on this platform.
bool isVistaOrLater();

// Makes the window's region a rectangle of its outer size in twips taken as pixels, so it is never smaller than
// the window.
void setRectRegion(QWidget *window);

// Places element 0 of a skin label array in a container (hidden, empty), unless the container has it already.
SkinLabel *placeSkinLabel(QWidget *container, const QString &arrayName);

// The elements of the named array anywhere in the window, ordered by index.
QList<SkinLabel *> skinLabelArray(QWidget *window, const QString &arrayName);

// Lays a skin label copy over every plain label of the window. With several arrays (the main window), a label
// goes to the first array whose element 0 sits in the label's container, and a label in no such container gets
// no copy. The single-array form copies every label into "SkinLabel1".
void replaceLabelsWithSkinLabels(QWidget *window, const QStringList &arrayNames);
void replaceLabelsWithSkinLabels(QWidget *window);

// The main window's skinning: its three skin label arrays (message editor, forum tab, the window's client
// area), the label copies, then applySkin().
void skinMainWindow(QWidget *mainWindow, Skin *skin);
