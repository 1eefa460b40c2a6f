#pragma once

#include <QDialog>

#include "base/branding.h"

class QLabel;
class QPushButton;
class LinkLabel;
class Skinning;
class Website;

// Who made the program, its version and where to find the maker; the website opens from here.
class AboutWindow : public QDialog
{
    Q_OBJECT

public:
    // skinning: the program's, when skinning is on.
    AboutWindow(const BrandingInfo &branding, Website &website, Skinning *skinning = nullptr, QWidget *parent = nullptr);

private slots:
    void fillIn();
    void openWebsite();

private:
    BrandingInfo m_branding;
    Website &m_website;
    Skinning *m_skinning;
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
