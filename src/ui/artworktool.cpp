// Draws the program icon's images and shows single windows for screenshots.
//   postavo_artwork icons <folder>      writes <folder>/<size>.png for every icon size
//   postavo_artwork show splash|about   shows that window until it is closed

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QTimer>

#include <cstdio>

#include "base/branding.h"
#include "ui/artwork.h"
#include "ui/aboutwindow.h"
#include "ui/splashwindow.h"
#include "ui/websitelauncher.h"
#include "ui/windowicon.h"

namespace {

int writeIcons(const QString &folder)
{
    QDir().mkpath(folder);
    for (int size : programIconSizes) {
        QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        paintProgramIcon(&painter, QRectF(0, 0, size, size));
        painter.end();
        const QString path = QDir(folder).filePath(QString::number(size) + QStringLiteral(".png"));
        if (!image.save(path)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            return 1;
        }
    }
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 3 && args.at(1) == QLatin1String("icons")) {
        return writeIcons(args.at(2));
    }
    if (args.size() != 3 || args.at(1) != QLatin1String("show")) {
        std::fprintf(stderr, "usage: postavo_artwork icons <folder> | show splash|about\n");
        return 2;
    }
    QApplication::setWindowIcon(programIcon());
    const BrandingInfo branding = BrandingInfo::ofThisBuild();
    if (args.at(2) == QLatin1String("splash")) {
        SplashWindow splash(branding);
        splash.load();
        splash.show();
        return app.exec();
    }
    Website website(branding.website);
    AboutWindow about(branding, website);
    about.setAttribute(Qt::WA_DeleteOnClose, false);
    about.show();
    return app.exec();
}
