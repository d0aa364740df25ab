// SPDX-License-Identifier: GPL-3.0-or-later
#include "output/fileexport.h"
#include "support/diskfull.h"
#include "support/scriptedservices.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>

namespace {

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeContents(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QImage picture()
{
    QImage image(40, 30, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setPen(Qt::red);
    painter.drawLine(0, 0, 39, 29);
    painter.fillRect(5, 20, 8, 6, QColor(0, 0, 200));
    return image;
}

} // namespace

class tst_FileExport : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void csvText_data();
    void csvText();
    void csvBytes();
    void saveCsv();
    void savePngEqualsPicture();
    void extensionAdded_data();
    void extensionAdded();
    void cancelledDialog();
    void overwrite_data();
    void overwrite();
    void failureKeepsTheOldFile_data();
    void failureKeepsTheOldFile();
    void failureInMissingFolder();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<ScriptedServices> m_s;
};

void tst_FileExport::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_s = std::make_unique<ScriptedServices>();
}

void tst_FileExport::csvText_data()
{
    using Rows = QList<QStringList>;
    QTest::addColumn<Rows>("rows");
    QTest::addColumn<QString>("expected");

    QTest::newRow("values table") << Rows {{QStringLiteral("t (s)"), QStringLiteral("y (m)"),
                                            QStringLiteral("v (m/s)"), QStringLiteral("a (m/s²)")},
                                           {QStringLiteral("0,00  "), QStringLiteral("0  "),
                                            QStringLiteral("0  "), QStringLiteral("9,53  ")},
                                           {QStringLiteral("0,05  "), QStringLiteral("0,0117  "),
                                            QStringLiteral("0,459  "), QStringLiteral("8,84  ")},
                                           {QStringLiteral("1,00  "), QStringLiteral("1,07E-05  "),
                                            QStringLiteral("1E-06  "), QStringLiteral("1160  ")}}
                                  << QStringLiteral("t (s);y (m);v (m/s);a (m/s²)\r\n"
                                                    "0,00;0;0;9,53\r\n"
                                                    "0,05;0,0117;0,459;8,84\r\n"
                                                    "1,00;1,07E-05;1E-06;1160\r\n");
    QTest::newRow("nothing") << Rows() << QString();
    QTest::newRow("empty cells") << Rows {{QString(), QStringLiteral("  "), QString()}}
                                 << QStringLiteral(";;\r\n");
    // Only the end of a cell is trimmed; separators and quotes are quoted.
    QTest::newRow("quoted") << Rows {{QStringLiteral(" a; b "), QStringLiteral("dit \"oui\""),
                                      QStringLiteral("deux\nlignes")}}
                            << QStringLiteral("\" a; b\";\"dit \"\"oui\"\"\";\"deux\nlignes\"\r\n");
}

void tst_FileExport::csvText()
{
    QFETCH(QList<QStringList>, rows);
    QFETCH(QString, expected);
    QCOMPARE(FileExport::csvText(rows), expected);
}

void tst_FileExport::csvBytes()
{
    QCOMPARE(FileExport::csvBytes(QStringLiteral("a (m/s²)\r\n")),
             QByteArray("\xEF\xBB\xBF"
                        "a (m/s\xC2\xB2)\r\n"));
}

void tst_FileExport::saveCsv()
{
    const QString path = m_dir->filePath(QStringLiteral("valeurs.csv"));
    m_s->fileNames.enqueue(path);
    const QString csv = QStringLiteral("t (s);y (m)\r\n0,00;0\r\n");
    QCOMPARE(FileExport::saveCsv(csv, *m_s, QStringLiteral("Exporter")), FileExport::Result::Saved);
    QCOMPARE(contents(path), FileExport::csvBytes(csv));

    QCOMPARE(m_s->fileRequests.size(), 1);
    const FileDialogRequest &request = m_s->fileRequests.constFirst();
    QCOMPARE(request.title, QStringLiteral("Exporter"));
    QCOMPARE(request.filter, QStringLiteral("Tableaux CSV (*.csv)"));
    QCOMPARE(request.defaultExtension, QStringLiteral("csv"));
    QCOMPARE(request.fileName, QStringLiteral("tableau.csv"));
    QVERIFY(m_s->messages.isEmpty());
}

void tst_FileExport::savePngEqualsPicture()
{
    const QString path = m_dir->filePath(QStringLiteral("graphe.png"));
    m_s->fileNames.enqueue(path);
    const QImage image = picture();
    QCOMPARE(FileExport::savePng(image, *m_s, QStringLiteral("Enregistrer")),
             FileExport::Result::Saved);
    QImage read(path, "PNG");
    QVERIFY(!read.isNull());
    QCOMPARE(read.convertToFormat(QImage::Format_RGB32), image);
    const FileDialogRequest &request = m_s->fileRequests.constFirst();
    QCOMPARE(request.filter, QStringLiteral("Images PNG (*.png)"));
    QCOMPARE(request.defaultExtension, QStringLiteral("png"));
    QCOMPARE(request.fileName, QStringLiteral("graphe.png"));
}

void tst_FileExport::extensionAdded_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("written");
    QTest::newRow("no extension") << QStringLiteral("chute") << QStringLiteral("chute.png");
    QTest::newRow("ends with a dot") << QStringLiteral("chute.") << QStringLiteral("chute.png");
    QTest::newRow("png kept") << QStringLiteral("chute.png") << QStringLiteral("chute.png");
    QTest::newRow("other kept") << QStringLiteral("chute.PNG") << QStringLiteral("chute.PNG");
    QTest::newRow("dotted folder")
        << QStringLiteral("v1.2/chute") << QStringLiteral("v1.2/chute.png");
}

void tst_FileExport::extensionAdded()
{
    QFETCH(QString, typed);
    QFETCH(QString, written);
    QVERIFY(QDir(m_dir->path()).mkpath(QStringLiteral("v1.2")));
    m_s->fileNames.enqueue(m_dir->filePath(typed));
    QCOMPARE(FileExport::savePng(picture(), *m_s, QStringLiteral("Enregistrer")),
             FileExport::Result::Saved);
    QCOMPARE(QImage(m_dir->filePath(written), "PNG").convertToFormat(QImage::Format_RGB32),
             picture());
    if (typed != written)
        QVERIFY(!QFile::exists(m_dir->filePath(typed)));
}

void tst_FileExport::cancelledDialog()
{
    QCOMPARE(FileExport::savePng(picture(), *m_s, QStringLiteral("Enregistrer")),
             FileExport::Result::Cancelled);
    QCOMPARE(FileExport::saveCsv(QStringLiteral("a\r\n"), *m_s, QStringLiteral("Exporter")),
             FileExport::Result::Cancelled);
    QCOMPARE(m_s->fileRequests.size(), 2);
    QVERIFY(m_s->messages.isEmpty());
    QVERIFY(QDir(m_dir->path()).isEmpty());
}

void tst_FileExport::overwrite_data()
{
    QTest::addColumn<MessageAnswer>("answer");
    QTest::addColumn<bool>("replaced");
    QTest::newRow("yes") << MessageAnswer::Yes << true;
    QTest::newRow("no") << MessageAnswer::No << false;
}

void tst_FileExport::overwrite()
{
    QFETCH(MessageAnswer, answer);
    QFETCH(bool, replaced);
    const QString path = m_dir->filePath(QStringLiteral("tableau.csv"));
    writeContents(path, "ancien");
    m_s->fileNames.enqueue(path);
    m_s->answers.enqueue(answer);

    const FileExport::Result result
        = FileExport::saveCsv(QStringLiteral("nouveau\r\n"), *m_s, QStringLiteral("E"));
    QCOMPARE(result, replaced ? FileExport::Result::Saved : FileExport::Result::Cancelled);
    QCOMPARE(contents(path),
             replaced ? FileExport::csvBytes(QStringLiteral("nouveau\r\n")) : QByteArray("ancien"));
    QCOMPARE(m_s->messages.size(), 1);
    QCOMPARE(m_s->messages[0].icon, MessageIcon::Warning);
    QCOMPARE(m_s->messages[0].title, QStringLiteral("Ce fichier existe déjà!"));
    QCOMPARE(m_s->messages[0].text, QStringLiteral("Ecraser le fichier existant?"));
    QCOMPARE(m_s->messages[0].buttons, MessageButtons::YesNo);
}

void tst_FileExport::failureKeepsTheOldFile_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("failure");
    // An empty picture cannot be written.
    QTest::newRow("empty picture") << QStringLiteral("graphe.png") << QStringLiteral("empty");
    // The disk fills up: the bytes are refused when the file is flushed,
    // after every write was accepted.
    QTest::newRow("PNG, disk full") << QStringLiteral("graphe.png") << QStringLiteral("full");
    QTest::newRow("CSV, disk full") << QStringLiteral("tableau.csv") << QStringLiteral("full");
    // A folder is not a file to overwrite: no question, the write fails.
    QTest::newRow("folder of that name")
        << QStringLiteral("graphe.png") << QStringLiteral("folder");
}

void tst_FileExport::failureKeepsTheOldFile()
{
    QFETCH(QString, name);
    QFETCH(QString, failure);
    const QString path = m_dir->filePath(name);
    const QByteArray old(300, 'a');
    if (failure == QStringLiteral("folder"))
        QVERIFY(QDir(m_dir->path()).mkdir(name));
    else
        writeContents(path, old);
    m_s->fileNames.enqueue(path);
    m_s->answers.enqueue(MessageAnswer::Yes);
    FileExport::Result result = FileExport::Result::Saved;
    {
        const FileSizeLimit limit(failure == QStringLiteral("full") ? 16 : RLIM_INFINITY);
        QVERIFY(limit.isActive());
        const QImage image = failure == QStringLiteral("empty") ? QImage() : picture();
        result = name.endsWith(QStringLiteral(".csv"))
            ? FileExport::saveCsv(QString(200, QLatin1Char('x')), *m_s, QStringLiteral("E"))
            : FileExport::savePng(image, *m_s, QStringLiteral("Enregistrer"));
    }
    QCOMPARE(result, FileExport::Result::Failed);
    const int question = failure == QStringLiteral("folder") ? 0 : 1;
    QCOMPARE(m_s->messages.size(), question + 1);
    const ScriptedServices::Message &error = m_s->messages.last();
    QCOMPARE(error.icon, MessageIcon::Error);
    QCOMPARE(error.title, QStringLiteral("Enregistrement impossible"));
    QVERIFY2(error.text.startsWith(QStringLiteral("Le fichier « %1 » n'a pas pu être écrit.\n")
                                       .arg(QDir::toNativeSeparators(path))),
             qPrintable(error.text));
    if (failure == QStringLiteral("folder")) {
        QVERIFY(QFileInfo(path).isDir());
        return;
    }
    QCOMPARE(contents(path), old);
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files), QStringList {name});
}

void tst_FileExport::failureInMissingFolder()
{
    const QString path = m_dir->filePath(QStringLiteral("absent/tableau.csv"));
    m_s->fileNames.enqueue(path);
    QCOMPARE(FileExport::saveCsv(QStringLiteral("a\r\n"), *m_s, QStringLiteral("E")),
             FileExport::Result::Failed);
    QCOMPARE(m_s->messages.size(), 1);
    QCOMPARE(m_s->messages[0].title, QStringLiteral("Enregistrement impossible"));
    QVERIFY(m_s->messages[0].text.startsWith(
        QStringLiteral("Le fichier « %1 » n'a pas pu être écrit.").arg(path)));
    QVERIFY(!QFile::exists(path));
}

QTEST_MAIN(tst_FileExport)
#include "tst_fileexport.moc"
