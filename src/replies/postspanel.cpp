// The main window's page size probes and the reply check.
#include "app/form1.h"

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

void Form1::startSizeProbe(const QString &address, qint16 index)
{
    sizeProbeTargetIndex = index;
    sizeProbeAddress = address;
    wscSizes->start(address);
}

void Form1::startCheckProbe(const QString &address)
{
    wscPosts->start(address);
}

void Form1::wscSizes_Close()
{
    const QString size = QString::number(wscSizes->byteCount());
    const int target = sizeProbeTargetIndex;
    if (target < 0 && lstSizes->count() < lstPosts->count()) {
        lstSizes->addItem(size);
    } else {
        // The own posts may have changed while the page was measured: the size goes to the entry that still
        // holds the measured address, and nowhere when that post was removed.
        const QListWidgetItem *post = target >= 0 ? lstPosts->item(target) : nullptr;
        int index = -1;
        if (post && post->text() == sizeProbeAddress) {
            index = target;
        } else if (isPostWatched(sizeProbeAddress)) {
            index = watchedPostIndex(sizeProbeAddress);
        }
        if (index >= 0) {
            while (lstSizes->count() <= index) {
                lstSizes->addItem(ListFiles::unmeasuredSize);
            }
            lstSizes->item(index)->setText(size);
        }
    }
    setPanelText(2, QStringLiteral("Response completed"));
}

void Form1::probeStartFailed(int errorNumber, const QString &description)
{
    const QString crlf = QStringLiteral("\r\n");
    showProbeError(this, QStringLiteral("An error has occurred.") + crlf + QStringLiteral("Error #: ")
                             + QString::number(errorNumber) + crlf + QStringLiteral("Description: ") + description);
}

void Form1::probeSocketFailed(int errorNumber, const QString &description)
{
    const QString crlf = QStringLiteral("\r\n");
    showProbeError(this, QStringLiteral("Error occurred.") + crlf + QStringLiteral("Error #: ")
                             + QString::number(errorNumber) + crlf + description);
}
