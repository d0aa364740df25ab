// SPDX-License-Identifier: GPL-3.0-or-later
#include "video/videoloader.h"
#include "video/videoopener.h"

#include "framecode.h"
#include "videowriter.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

class TestVideoOpener : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void opens();
    void fails_data();
    void fails();

private:
    QTemporaryDir m_dir;
    QString m_path;
};

void TestVideoOpener::initTestCase()
{
    VideoLoader::setSearchDirectories({QStringLiteral(LORVA_VIDEO_MODULE_DIR)});
    VideoRecipe recipe;
    m_path = m_dir.filePath(QStringLiteral("long.mp4"));
    QString error;
    QVERIFY2(writeVideo(
                 m_path, recipe, regularTimes(300, 60),
                 [&recipe](int i) { return FrameCode::picture(recipe.size, i); }, &error),
             qPrintable(error));
}

void TestVideoOpener::opens()
{
    VideoOpener opener(m_path);
    QSignalSpy progress(&opener, &VideoOpener::progress);
    QSignalSpy finished(&opener, &QThread::finished);
    opener.start();
    QVERIFY(finished.wait(60000));

    QVERIFY(progress.size() >= 2);
    int previous = -1;
    for (const QList<QVariant> &signal : std::as_const(progress)) {
        QVERIFY(signal.first().toInt() > previous);
        previous = signal.first().toInt();
    }
    QCOMPARE(previous, 100);
    QVERIFY(opener.errorString().isEmpty());
    std::unique_ptr<OpenedVideo> video = opener.takeVideo();
    QVERIFY(video);
    QCOMPARE(video->frameCount(), 300);
    QCOMPARE(FrameCode::read(video->frame(250)), 250);
    QVERIFY(!opener.takeVideo());
}

void TestVideoOpener::fails_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("cancelled");
    QTest::addColumn<QString>("message");

    QTest::newRow("cancelled") << "long.mp4" << true
                               << QStringLiteral("Ouverture de la vidéo annulée.");
    QTest::newRow("missing") << "absent.mp4" << false
                             << QStringLiteral("Le fichier « absent.mp4 » n'existe pas.");
}

void TestVideoOpener::fails()
{
    QFETCH(QString, name);
    QFETCH(bool, cancelled);
    QFETCH(QString, message);
    VideoOpener opener(m_dir.filePath(name));
    QSignalSpy finished(&opener, &QThread::finished);
    if (cancelled)
        opener.cancel();
    opener.start();
    QVERIFY(finished.wait(60000));
    QVERIFY(!opener.takeVideo());
    QCOMPARE(opener.errorString(), message);
}

QTEST_MAIN(TestVideoOpener)
#include "tst_videoopener.moc"
