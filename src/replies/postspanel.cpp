// The main window's page size probes and the reply check.
#include "app/mainwindow.h"

#include <QListWidget>
#include <QMessageBox>

#include "forums/listfiles.h"
#include "replies/pagesizeprobe.h"

namespace {

void showProbeError(QWidget *parent, const QString &text)
{
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Error"), text, QMessageBox::Ok, parent);
    box.exec();
}

} // namespace

void MainWindow::startSizeProbe(const QString &address, qint16 index)
{
    sizeProbeTargetIndex = index;
    sizeProbeAddress = address;
    baselineProbe->start(address);
}

void MainWindow::startCheckProbe(const QString &address)
{
    checkProbe->start(address);
}

void MainWindow::baselineMeasured()
{
    const QString size = QString::number(baselineProbe->byteCount());
    const int target = sizeProbeTargetIndex;
    if (target < 0 && sizeList->count() < postList->count()) {
        sizeList->addItem(size);
    } else {
        // The own posts may have changed while the page was measured: the size goes to the entry that still
        // holds the measured address, and nowhere when that post was removed.
        const QListWidgetItem *post = target >= 0 ? postList->item(target) : nullptr;
        int index = -1;
        if (post && post->text() == sizeProbeAddress) {
            index = target;
        } else if (isPostWatched(sizeProbeAddress)) {
            index = watchedPostIndex(sizeProbeAddress);
        }
        if (index >= 0) {
            while (sizeList->count() <= index) {
                sizeList->addItem(ListFiles::unmeasuredSize);
            }
            sizeList->item(index)->setText(size);
        }
    }
    setPanelText(2, QStringLiteral("Response completed"));
}

void MainWindow::probeStartFailed(int errorNumber, const QString &description)
{
    const QString crlf = QStringLiteral("\r\n");
    showProbeError(this, QStringLiteral("An error has occurred.") + crlf + QStringLiteral("Error #: ")
                             + QString::number(errorNumber) + crlf + QStringLiteral("Description: ") + description);
}

void MainWindow::probeSocketFailed(int errorNumber, const QString &description)
{
    const QString crlf = QStringLiteral("\r\n");
    showProbeError(this, QStringLiteral("Error occurred.") + crlf + QStringLiteral("Error #: ")
                             + QString::number(errorNumber) + crlf + description);
}
