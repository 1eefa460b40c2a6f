#pragma once

#include <QApplication>
#include <QMessageBox>
#include <QObject>
#include <QStringList>
#include <QTimer>

// Answers every message box that opens while it lives, recording its title and text, so that code which
// shows modal boxes can run inside a test.
class ModalWatcher : public QObject
{
public:
    explicit ModalWatcher(QObject *parent = nullptr)
        : QObject(parent)
    {
        m_timer.setInterval(20);
        connect(&m_timer, &QTimer::timeout, this, [this] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            if (!box) {
                return;
            }
            titles.append(box->windowTitle());
            texts.append(box->text());
            box->done(QMessageBox::Ok);
        });
        m_timer.start();
    }

    QStringList titles;
    QStringList texts;

private:
    QTimer m_timer;
};
