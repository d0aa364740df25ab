// SPDX-License-Identifier: GPL-3.0-or-later
// Renders the scalable icon into square PNG pictures of the given sizes, for
// the icon theme folders that want a bitmap: rendericon <svg> <folder> <sizes...>
// writes <folder>/<size>.png for each size.
#include <QCoreApplication>
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() < 4) {
        std::fputs("usage: rendericon <svg> <folder> <sizes...>\n", stderr);
        return 2;
    }
    QSvgRenderer renderer(args.at(1));
    if (!renderer.isValid()) {
        std::fprintf(stderr, "rendericon: cannot read %s\n", qPrintable(args.at(1)));
        return 1;
    }
    const QDir folder(args.at(2));
    for (qsizetype i = 3; i < args.size(); ++i) {
        bool ok = false;
        const int size = args.at(i).toInt(&ok);
        if (!ok || size <= 0 || size > 4096) {
            std::fprintf(stderr, "rendericon: bad size %s\n", qPrintable(args.at(i)));
            return 2;
        }
        QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        renderer.render(&painter);
        painter.end();
        const QString name = folder.filePath(QString::number(size) + QStringLiteral(".png"));
        if (!image.save(name, "PNG")) {
            std::fprintf(stderr, "rendericon: cannot write %s\n", qPrintable(name));
            return 1;
        }
    }
    return 0;
}
