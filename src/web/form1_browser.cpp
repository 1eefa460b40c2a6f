// The main window's browser pane, web form filling and posted-message detection.
#include "app/form1.h"

#include <QLineEdit>
#include <QUrl>
#include <QWebEngineView>

void Form1::navigate(const QString &address)
{
    WebBrowser1->setUrl(QUrl::fromUserInput(address));
}

QString Form1::currentAddress() const
{
    return WebBrowser1->url().toString();
}

void Form1::Command3_Click()
{
    navigate(Text5->text());
}

void Form1::Command4_Click()
{
}

void Form1::Command5_Click()
{
}

void Form1::Command6_Click()
{
}

void Form1::Command7_Click()
{
}

void Form1::WebBrowser1_DownloadBegin()
{
}

void Form1::WebBrowser1_DownloadComplete(bool ok)
{
    Q_UNUSED(ok)
}

void Form1::WebBrowser1_StatusTextChange(const QString &text)
{
    Q_UNUSED(text)
}

void Form1::WebBrowser1_TitleChange()
{
}
