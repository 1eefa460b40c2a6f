#pragma once

#include <QObject>
#include <QString>

class QWebEngineView;

// Notices the page where a new post appears: for the next four completed loads after an Auto-Insert (or after
// an own post is opened), it looks for the inserted message's key in the page, outside its form fields and
// editing areas.
class PostedMessageWatcher : public QObject
{
    Q_OBJECT

public:
    explicit PostedMessageWatcher(QWebEngineView *view, QObject *parent = nullptr);

    // Watches the next four loads for the message last inserted.
    void arm() { countdown = 4; }
    void armFor(const QString &insertedMessage);

    qint16 countdown = 0;
    QString lastInsertedMessage;

public slots:
    // A load has completed.
    void checkPage();

signals:
    // The page shows the inserted message: it is the page of the new post.
    void postedMessageFound();

private:
    QWebEngineView *m_view;
};
