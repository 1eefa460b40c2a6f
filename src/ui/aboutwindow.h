#pragma once

#include <QDialog>

class QLabel;
class QPushButton;
class LinkLabel;

// Who made the program, its version and where to find the maker; the website opens from here.
class AboutWindow : public QDialog
{
    Q_OBJECT

public:
    explicit AboutWindow(QWidget *parent = nullptr);

private slots:
    void fillIn();
    void openWebsite();

private:
    QLabel *m_iconLabel = nullptr;
    QLabel *m_titleLabel = nullptr;
    QLabel *m_versionCaption = nullptr;
    QLabel *m_ownerCaption = nullptr;
    QLabel *m_websiteCaption = nullptr;
    QLabel *m_versionLabel = nullptr;
    QLabel *m_companyLabel = nullptr;
    LinkLabel *m_websiteLink = nullptr;
    QPushButton *m_okButton = nullptr;
};
