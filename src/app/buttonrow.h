#pragma once

#include <QList>
#include <QWidget>

class QComboBox;
class QToolButton;

// The row of picture buttons above the editor and the browser, with the format selector among them. The buttons
// only say they were pressed; the window wires them to whatever does the work.
class ButtonRow : public QWidget
{
    Q_OBJECT

public:
    explicit ButtonRow(QWidget *parent = nullptr);

    QComboBox *formatSelector() const { return m_formatSelector; }
    // The visit button names the website it opens.
    void setWebsite(const QString &website);
    // The controls from left to right, the order Tab reaches them in.
    QList<QWidget *> tabOrder() const;

signals:
    void autoInsertClicked();
    void previewClicked();
    void copyClicked();
    void saveClicked();
    void loadClicked();
    void optionsClicked();
    void visitClicked();

private:
    QToolButton *m_autoInsertButton;
    QComboBox *m_formatSelector;
    QToolButton *m_previewButton;
    QToolButton *m_copyButton;
    QToolButton *m_saveButton;
    QToolButton *m_loadButton;
    QToolButton *m_optionsButton;
    QToolButton *m_visitButton;
};
