#pragma once

#include <QString>
#include <QWebEnginePage>
#include <functional>

class QCheckBox;

// The page of every browser view in the program. It decides whether a page may open a window of its own,
// words the status text shown while pages load and while the mouse rests on a link, and answers for the user
// what a page asks about the message Auto-Insert is putting in.
class BrowserPage : public QWebEnginePage
{
    Q_OBJECT

public:
    // Asked each time a page wants a new window; true lets it open.
    using PopupPolicy = std::function<bool()>;

    BrowserPage(QWebEngineProfile *profile, PopupPolicy allowPopups, QObject *parent = nullptr);

    // New windows open while the box is unchecked; once the box is gone they never do.
    static PopupPolicy popupsUnlessChecked(QCheckBox *noPopups);

    QString statusText() const;
    const PopupPolicy &popupPolicy() const { return m_allowPopups; }

signals:
    void statusTextChanged(const QString &text);

protected:
    QWebEnginePage *createWindow(WebWindowType type) override;
    bool javaScriptConfirm(const QUrl &securityOrigin, const QString &msg) override;

private:
    void setLoadStatus(const QString &text);
    void setHoveredLink(const QString &address);

    PopupPolicy m_allowPopups;
    QString m_loadStatus;
    QString m_hoveredLink;
};
