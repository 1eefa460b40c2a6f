#pragma once

#include <QDialog>

class QLabel;
class QPushButton;
class LinkLabel;

// Who made the program, its version and where to find the maker; the website opens from here.
class frmAbout : public QDialog
{
    Q_OBJECT

public:
    explicit frmAbout(QWidget *parent = nullptr);

    QLabel *Picture1 = nullptr;
    QLabel *Label1 = nullptr;
    QLabel *Label2 = nullptr;
    QLabel *Label3 = nullptr;
    QLabel *Label4 = nullptr;
    QLabel *lblVersion = nullptr;
    QLabel *lblCompany = nullptr;
    LinkLabel *lblWebsite = nullptr;
    QPushButton *cmdOK = nullptr;

private slots:
    void Form_Load();
    void lblWebsite_Click();
};
