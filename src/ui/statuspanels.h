#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <array>

class QLabel;
class QStatusBar;
class QTimer;

// The three text panels of the status bar. Texts may come in bursts far faster than the screen can show
// them; text() always answers with the last one written, the labels catch up at most a frame later.
class StatusPanels : public QObject
{
    Q_OBJECT

public:
    explicit StatusPanels(QStatusBar *bar);

    // Puts the panels into the bar; the last one takes the width the first two leave.
    void addToBar();
    // Panels 1 to 3.
    QString text(int panel) const;
    // Panel widths in pixels, as shown now and as the layout sets them.
    int width(int panel) const;
    void setFixedWidth(int panel, int pixels);

public slots:
    void show(int panel, const QString &text);

private:
    void showTexts();

    QStatusBar *m_bar;
    std::array<QLabel *, 3> m_labels {};
    std::array<QString, 3> m_texts;
    QTimer *m_refresh;
    QElapsedTimer m_shown;
};
