// SPDX-License-Identifier: GPL-3.0-or-later
#include "pdfpages.h"

#include <QProcess>
#include <QStandardPaths>

namespace {

// Output of a poppler tool, or a null array when it cannot run.
QByteArray run(const QString &tool, const QStringList &arguments)
{
    QProcess process;
    process.start(tool, arguments);
    if (!process.waitForFinished(60000) || process.exitCode() != 0)
        return QByteArray();
    return process.readAllStandardOutput();
}

} // namespace

namespace PdfPages {

bool available()
{
    for (const char *tool : {"pdfinfo", "pdftotext", "pdfimages", "pdftoppm"}) {
        if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty())
            return false;
    }
    return true;
}

int count(const QString &path)
{
    const QByteArray info = run(QStringLiteral("pdfinfo"), {path});
    for (const QByteArray &line : info.split('\n')) {
        if (line.startsWith("Pages:"))
            return line.mid(6).trimmed().toInt();
    }
    return -1;
}

QString text(const QString &path, int page)
{
    const QString number = QString::number(page);
    return QString::fromUtf8(run(
        QStringLiteral("pdftotext"),
        {QStringLiteral("-f"), number, QStringLiteral("-l"), number, path, QStringLiteral("-")}));
}

QList<QPair<int, QSize>> images(const QString &path)
{
    QList<QPair<int, QSize>> found;
    const QList<QByteArray> lines
        = run(QStringLiteral("pdfimages"), {QStringLiteral("-list"), path}).split('\n');
    // Two header lines, then "page num type width height ...".
    for (qsizetype i = 2; i < lines.size(); ++i) {
        const QList<QByteArray> cells = lines.at(i).simplified().split(' ');
        if (cells.size() > 4 && cells.at(2) == "image")
            found.append({cells.at(0).toInt(), QSize(cells.at(3).toInt(), cells.at(4).toInt())});
    }
    return found;
}

QList<QImage> imagePixels(const QString &path, const QString &folder)
{
    const QString prefix = folder + QStringLiteral("/image");
    run(QStringLiteral("pdfimages"), {QStringLiteral("-png"), path, prefix});
    QList<QImage> found;
    for (int i = 0;; ++i) {
        const QImage image(prefix + QStringLiteral("-%1.png").arg(i, 3, 10, QLatin1Char('0')));
        if (image.isNull())
            return found;
        found.append(image);
    }
}

QImage render(const QString &path, int page, int dpi, const QString &folder)
{
    const QString prefix = folder + QStringLiteral("/page") + QString::number(page);
    const QString number = QString::number(page);
    run(QStringLiteral("pdftoppm"),
        {QStringLiteral("-r"), QString::number(dpi), QStringLiteral("-f"), number,
         QStringLiteral("-l"), number, QStringLiteral("-singlefile"), QStringLiteral("-png"), path,
         prefix});
    return QImage(prefix + QStringLiteral(".png"));
}

} // namespace PdfPages
