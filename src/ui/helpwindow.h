#pragma once

#include <QWidget>

#include "base/appcontext.h"

class QCheckBox;
class QPushButton;
class QTextBrowser;
class QUrl;
class Skinning;

// The help window: shows the guide shipped with the program ("Help.rtf") and carries the "Show at Startup"
// choice. Without its guide the window never shows, whoever asks it to.
class HelpWindow : public QWidget
{
    Q_OBJECT

public:
    // skinning: the program's, when skinning is on.
    explicit HelpWindow(AppContext &context, Skinning *skinning = nullptr, QWidget *parent = nullptr);

    // True when the guide was found (see findHelpFile); only then can the window be shown.
    bool isLoaded() const { return m_loaded; }

    void setVisible(bool visible) override;

private slots:
    void storeShowAtStartup();
    void openLink(const QUrl &url);

private:
    void load();
    void loadHelpText(const QString &path);
    void centreOnScreen();

    AppContext &m_context;
    Skinning *m_skinning;
    bool m_loaded = false;
    // Controls, named as the window's design names them (also their objectNames).
    QTextBrowser *m_helpText = nullptr;
    QCheckBox *m_showAtStartupCheck = nullptr;
    QPushButton *m_closeButton = nullptr;
};
