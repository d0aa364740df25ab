// SPDX-License-Identifier: GPL-3.0-or-later
#include "recordfile.h"

#include "core/atomicsave.h"
#include "core/windows1252.h"

#include <QFile>

#include <cstring>

RecordFile::RecordFile(QString path)
    : m_path(std::move(path))
{ }

bool RecordFile::fail(const QString &message)
{
    m_error = message;
    return false;
}

bool RecordFile::load()
{
    m_data.clear();
    m_error.clear();
    QFile file(m_path);
    if (!file.exists())
        return true;
    if (!file.open(QIODevice::ReadOnly))
        return fail(file.errorString());
    return load(file);
}

bool RecordFile::load(QIODevice &device)
{
    return readFrom(device, qint64(maxRecords) * recordSize, true);
}

bool RecordFile::load(QIODevice &device, int records)
{
    return readFrom(device, qint64(qMax(records, 0)) * recordSize, false);
}

bool RecordFile::readFrom(QIODevice &device, qint64 limit, bool refuseLonger)
{
    m_data.clear();
    m_error.clear();
    if (!device.isReadable())
        return fail(QStringLiteral("Fichier non ouvert en lecture"));
    // One byte over the limit tells a longer file without reading the rest
    // of it; a file's own size bounds what is asked for, so that nothing is
    // allocated for bytes that are not there.
    qint64 wanted = refuseLonger ? limit + 1 : limit;
    if (!device.isSequential())
        wanted = qMin(wanted, qMax<qint64>(device.size() - device.pos(), 0));
    m_data = device.read(wanted);
    // QFileDevice reports a failed read through its error; other devices
    // through their error string.
    if (auto *file = qobject_cast<QFileDevice *>(&device)) {
        if (file->error() != QFileDevice::NoError) {
            m_data.clear();
            return fail(file->errorString());
        }
    }
    if (m_data.size() > limit) {
        m_data.clear();
        return fail(
            QStringLiteral("Fichier trop long : plus de %1 enregistrements").arg(maxRecords));
    }
    return true;
}

void RecordFile::setBytes(const QByteArray &bytes)
{
    m_data = bytes;
    m_error.clear();
}

bool RecordFile::holdsRecord(int record) const
{
    return record >= 1 && qint64(record - 1) * recordSize + 2 <= m_data.size();
}

std::optional<QString> RecordFile::read(int record)
{
    if (record < 1) {
        fail(QStringLiteral("Numéro d'enregistrement incorrect"));
        return std::nullopt;
    }
    const qint64 start = qint64(record - 1) * recordSize;
    // Fewer than the two length bytes: the record was never written.
    if (start + 2 > m_data.size())
        return QString();
    const auto *bytes = reinterpret_cast<const unsigned char *>(m_data.constData() + start);
    const int length = bytes[0] | (bytes[1] << 8);
    if (length > maxTextBytes || start + 2 + length > m_data.size()) {
        fail(QStringLiteral("Enregistrement endommagé"));
        return std::nullopt;
    }
    return fromWindows1252(m_data.mid(start + 2, length));
}

bool RecordFile::write(int record, const QString &text)
{
    if (record < 1)
        return fail(QStringLiteral("Numéro d'enregistrement incorrect"));
    const QByteArray bytes = toWindows1252(text);
    if (bytes.size() > maxTextBytes)
        return fail(QStringLiteral("Texte trop long pour un enregistrement"));
    const qint64 end = qint64(record) * recordSize;
    if (m_data.size() < end)
        m_data.append(QByteArray(end - m_data.size(), '\0'));
    const qint64 start = end - recordSize;
    char *data = m_data.data() + start;
    data[0] = char(bytes.size() & 0xFF);
    data[1] = char((bytes.size() >> 8) & 0xFF);
    std::memset(data + 2, 0, maxTextBytes);
    std::memcpy(data + 2, bytes.constData(), size_t(bytes.size()));
    return true;
}

bool RecordFile::save(QIODevice &device)
{
    m_error.clear();
    if (!device.isWritable())
        return fail(QStringLiteral("Fichier non ouvert en écriture"));
    if (device.write(m_data) != m_data.size())
        return fail(device.errorString());
    return true;
}

bool RecordFile::commit()
{
    m_error.clear();
    QString error;
    if (!AtomicSave::write(m_path, m_data, &error))
        return fail(error.isEmpty() ? QStringLiteral("Ecriture impossible") : error);
    return true;
}

std::optional<QString> RecordFile::readRecord(const QString &path, int record, QString *error)
{
    // Only the records up to the one asked for are read, whatever the size
    // of the file.
    RecordFile file(path);
    std::optional<QString> text;
    if (record < 1) {
        text = file.read(record);
    } else if (QFile device(path); !device.exists()) {
        text = QString();
    } else if (!device.open(QIODevice::ReadOnly)) {
        file.fail(device.errorString());
    } else if (file.load(device, record)) {
        text = file.read(record);
    }
    if (error)
        *error = file.errorString();
    return text;
}

bool RecordFile::writeRecord(const QString &path, int record, const QString &text, QString *error)
{
    RecordFile file(path);
    const bool ok = file.load() && file.write(record, text) && file.commit();
    if (error)
        *error = file.errorString();
    return ok;
}

QByteArray RecordFile::toWindows1252(const QString &text)
{
    return Windows1252::encode(text);
}

bool RecordFile::fitsWindows1252(const QString &text)
{
    return Windows1252::fits(text);
}

QString RecordFile::fromWindows1252(const QByteArray &bytes)
{
    return Windows1252::decode(bytes);
}
