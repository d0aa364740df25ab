// SPDX-License-Identifier: GPL-3.0-or-later
// Finding and loading the decoding module: what the user reads when it is
// missing, broken or from another version, then a video opened through it.
// The refusals come first: once the module is loaded it stays loaded.
#include "video/videoloader.h"

#include "framecode.h"
#include "videowriter.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TestVideoLoader : public QObject
{
    Q_OBJECT

private slots:
    void defaultDirectories();
    void refusals_data();
    void refusals();
    void opensThroughTheModule();

private:
    QTemporaryDir m_dir;
};

// Beside the program (the build tree), then where the installation puts the
// module: <prefix>/lib/lorva-avec-frottement seen from <prefix>/bin.
void TestVideoLoader::defaultDirectories()
{
    const QString program = QCoreApplication::applicationDirPath();
    QDir prefix(program);
    QVERIFY(prefix.cdUp());
    QCOMPARE(VideoLoader::defaultDirectories(),
             QStringList({program, prefix.filePath(QStringLiteral("lib/lorva-avec-frottement"))}));
}

void TestVideoLoader::refusals_data()
{
    QTest::addColumn<QString>("content"); // what lies in the module's place
    QTest::addColumn<QString>("reason");  // a part of the French message

    QTest::newRow("missing") << QString() << QStringLiteral("module introuvable (%1)");
    // The dynamic loader's own words name the file it could not map.
    QTest::newRow("not a library")
        << QStringLiteral("garbage") << QStringLiteral("%1: file too short");
    QTest::newRow("other version")
        << QStringLiteral(LORVA_OTHER_VERSION_MODULE)
        << QStringLiteral("%1 vient d'une autre version du programme (version 2 au lieu de 1)");
}

void TestVideoLoader::refusals()
{
    QFETCH(QString, content);
    QFETCH(QString, reason);
    QTemporaryDir folder;
    const QString module = folder.filePath(QStringLiteral("lorva-video.so"));
    if (content == QLatin1String("garbage")) {
        QFile file(module);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("\x7f"
                   "ELF");
    } else if (!content.isEmpty()) {
        QVERIFY(QFile::copy(content, module));
    }
    VideoLoader::setSearchDirectories({folder.path()});

    QString error;
    QVERIFY(!VideoLoader::open(m_dir.filePath(QStringLiteral("any.mp4")), {}, &error));
    QVERIFY2(error.startsWith(QStringLiteral("La lecture des vidéos n'est pas installée : ")),
             qPrintable(error));
    QVERIFY2(error.contains(reason.arg(module)), qPrintable(error));
    QVERIFY(!VideoLoader::isLoaded());
}

void TestVideoLoader::opensThroughTheModule()
{
    VideoRecipe recipe;
    const QString path = m_dir.filePath(QStringLiteral("court.mp4"));
    QString error;
    QVERIFY2(writeVideo(
                 path, recipe, regularTimes(30, 30),
                 [&recipe](int i) { return FrameCode::picture(recipe.size, i); }, &error),
             qPrintable(error));

    VideoLoader::setSearchDirectories({QStringLiteral(LORVA_VIDEO_MODULE_DIR)});
    std::unique_ptr<OpenedVideo> video = VideoLoader::open(path, {}, &error);
    QVERIFY2(video, qPrintable(error));
    QVERIFY(VideoLoader::isLoaded());
    QCOMPARE(video->frameCount(), 30);
    QCOMPARE(video->frameSize(), recipe.size);
    QCOMPARE(video->timeOf(15), 0.5);
    QCOMPARE(FrameCode::read(video->frame(20)), 20);
    // The module's own messages come through as they are.
    QVERIFY(!VideoLoader::open(m_dir.filePath(QStringLiteral("absent.mp4")), {}, &error));
    QCOMPARE(error, QStringLiteral("Le fichier « absent.mp4 » n'existe pas."));
}

QTEST_MAIN(TestVideoLoader)
#include "tst_videoloader.moc"
