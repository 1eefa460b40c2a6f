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

    QLabel *iconLabel = nullptr;
    QLabel *titleLabel = nullptr;
    QLabel *versionCaption = nullptr;
    QLabel *ownerCaption = nullptr;
    QLabel *websiteCaption = nullptr;
    QLabel *versionLabel = nullptr;
    QLabel *companyLabel = nullptr;
    LinkLabel *websiteLink = nullptr;
    QPushButton *okButton = nullptr;

private slots:
    void fillIn();
    void openWebsite();
};
