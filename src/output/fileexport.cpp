// SPDX-License-Identifier: GPL-3.0-or-later
#include "fileexport.h"

#include "core/csvtext.h"
#include "core/atomicsave.h"
#include "platform/filemessages.h"
#include "platform/platformservices.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QImageWriter>
#include <QStandardPaths>

#include <functional>

namespace {

QString startFolder()
{
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return QFileInfo(documents).isDir() ? documents : QDir::homePath();
}

// The name typed, with the request's extension added when it has none.
// The Qt dialog adds it already; other dialogs (native ones, portals) may
// not, and a picture saved as "animation" would open nowhere.
QString withExtension(const QString &name, const QString &extension)
{
    if (extension.isEmpty() || !QFileInfo(name).suffix().isEmpty())
        return name;
    if (name.endsWith(QLatin1Char('.')))
        return name + extension;
    return name + QLatin1Char('.') + extension;
}

// The common path of every export: the file dialog, the overwrite
// question, then write(device, error) into the file, replaced atomically.
FileExport::Result saveWith(PlatformServices &services, const FileDialogRequest &request,
                            const std::function<bool(QIODevice *, QString *)> &write)
{
    const std::optional<QString> chosen = services.saveFileName(request);
    if (!chosen || chosen->isEmpty())
        return FileExport::Result::Cancelled;
    const QString name = withExtension(*chosen, request.defaultExtension);
    if (!FileMessages::confirmOverwrite(services, name))
        return FileExport::Result::Cancelled;
    QString error;
    const bool written = AtomicSave::write(
        name, [&write](QIODevice &device, QString *why) { return write(&device, why); }, &error);
    if (!written) {
        services.message(MessageIcon::Error, QStringLiteral("Enregistrement impossible"),
                         FileMessages::notWritten(name, error));
        return FileExport::Result::Failed;
    }
    return FileExport::Result::Saved;
}

} // namespace

QString FileExport::csvText(const QList<QStringList> &rows)
{
    return CsvText::text(rows);
}

QByteArray FileExport::csvBytes(const QString &csv)
{
    return CsvText::bytes(csv);
}

bool FileExport::writePng(const QImage &image, QIODevice *device, QString *error)
{
    QImageWriter writer(device, "png");
    if (writer.write(image))
        return true;
    if (error)
        *error = writer.errorString();
    return false;
}

FileExport::Result FileExport::saveCsv(const QString &csv, PlatformServices &services,
                                       const QString &title)
{
    FileDialogRequest request;
    request.title = title;
    request.filter = QStringLiteral("Tableaux CSV (*.csv)");
    request.defaultExtension = QStringLiteral("csv");
    request.directory = startFolder();
    request.fileName = QStringLiteral("tableau.csv");
    const QByteArray bytes = csvBytes(csv);
    return saveWith(services, request, [&bytes](QIODevice *device, QString *error) {
        if (device->write(bytes) == bytes.size())
            return true;
        *error = device->errorString();
        return false;
    });
}

FileExport::Result FileExport::savePng(const QImage &image, PlatformServices &services,
                                       const QString &title, const QString &defaultName)
{
    FileDialogRequest request;
    request.title = title;
    request.filter = QStringLiteral("Images PNG (*.png)");
    request.defaultExtension = QStringLiteral("png");
    request.directory = startFolder();
    request.fileName = defaultName;
    return saveWith(services, request, [&image](QIODevice *device, QString *error) {
        return writePng(image, device, error);
    });
}
