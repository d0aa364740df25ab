// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QString>

#include <optional>

// A file of fixed 128-byte records numbered from 1, each holding one text: a
// 16-bit little-endian length followed by that many Windows-1252 bytes, the
// rest of the record being filler. Configuration files, exercise descriptors
// and the running-flag file shared with the launcher all use it.
//
// The whole file is held in memory: records are read from and written into
// that copy. The copy comes from bytes or a device and goes back to bytes or
// a device; the path-taking load() and commit() sit on top, and commit()
// replaces the file atomically, so a failed write never damages the previous
// file. A file is read with bounded memory: one of more than maxRecords
// records is refused.
class RecordFile
{
public:
    static constexpr int recordSize = 128;
    static constexpr int maxTextBytes = recordSize - 2;
    // The longest file read: 64 KiB, far more than any file of the program
    // (24 records for a configuration, 31 for the running flag).
    static constexpr int maxRecords = 512;

    // An empty copy without a path: fill it with setBytes() or load(device).
    RecordFile() = default;
    explicit RecordFile(QString path);

    // Reads the file at path() into memory. A missing file counts as an empty
    // one (nothing is created); a file that exists but cannot be read is an
    // error.
    bool load();
    // Reads everything the device holds from its current position; the
    // device must be open for reading. More than maxRecords records is an
    // error.
    bool load(QIODevice &device);
    // Reads at most the first records records from the device and ignores
    // whatever follows them.
    bool load(QIODevice &device, int records);

    // The copy in memory, as it would be written.
    QByteArray bytes() const { return m_data; }
    void setBytes(const QByteArray &bytes);

    // Whether the copy reaches the length bytes of record n, that is whether
    // record n was ever written (a shorter copy reads it as empty).
    bool holdsRecord(int record) const;

    // Text of record n (from 1). A record past the end of the file reads as
    // empty. A stored length over 126, or one running past the end of the
    // file, is an error: nothing is returned and errorString() says why.
    std::optional<QString> read(int record);

    // Puts text into record n, extending the copy with empty records when
    // needed and leaving the other records as they were. A text over 126
    // bytes is refused. Characters outside Windows-1252 are written as "?".
    bool write(int record, const QString &text);

    // Writes the copy to the device, which must be open for writing.
    bool save(QIODevice &device);
    // Writes the copy to path() atomically.
    bool commit();

    QString errorString() const { return m_error; }
    QString path() const { return m_path; }

    // One record read from a file (only the records up to it are read), or
    // written into it (load, write, commit).
    static std::optional<QString> readRecord(const QString &path, int record,
                                             QString *error = nullptr);
    static bool writeRecord(const QString &path, int record, const QString &text,
                            QString *error = nullptr);

    // Windows-1252 conversions; unmapped characters become "?".
    static QByteArray toWindows1252(const QString &text);
    // Whether every character of text has a Windows-1252 byte, so that it is
    // stored without a "?".
    static bool fitsWindows1252(const QString &text);
    static QString fromWindows1252(const QByteArray &bytes);

private:
    bool fail(const QString &message);
    bool readFrom(QIODevice &device, qint64 limit, bool refuseLonger);

    QString m_path;
    QByteArray m_data;
    QString m_error;
};
