// SPDX-License-Identifier: GPL-3.0-or-later
// "Ouvrir une vidéo…" in the video window, through the decoding module that
// the first opening loads on the reading thread: without the module the
// user is told and nothing else changes; with it the video opens. The
// missing module comes first: once loaded, the module stays loaded.
#include "framecode.h"
#include "measures/measurementholder.h"
#include "scriptedservices.h"
#include "video/videoloader.h"
#include "videoui/videodialog.h"
#include "videowriter.h"

#include <QDir>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

class TestVideoOpening : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void withoutTheModule();
    void throughTheModule();

private:
    QTemporaryDir m_dir;
    QString m_path;
};

void TestVideoOpening::initTestCase()
{
    VideoRecipe recipe;
    m_path = m_dir.filePath(QStringLiteral("chute.mp4"));
    QString error;
    QVERIFY2(writeVideo(
                 m_path, recipe, regularTimes(24, 24),
                 [&recipe](int i) { return FrameCode::picture(recipe.size, i); }, &error),
             qPrintable(error));
}

void TestVideoOpening::withoutTheModule()
{
    QTemporaryDir empty;
    VideoLoader::setSearchDirectories({empty.path()});
    MeasurementHolder holder;
    ScriptedServices services;
    VideoDialog dialog(holder, services);
    services.fileNames.enqueue(m_path);

    dialog.ouvrir_Click();
    // The bar is up before the loading starts.
    QVERIFY(dialog.progress->isVisibleTo(&dialog));
    QTRY_COMPARE(services.messages.size(), 1);
    const QString module = QDir(empty.path()).filePath(QStringLiteral("lorva-video.so"));
    QCOMPARE(services.messages[0].icon, MessageIcon::Error);
    QCOMPARE(services.messages[0].title, QStringLiteral("Vidéo de la chute"));
    QCOMPARE(services.messages[0].text,
             QStringLiteral("La lecture des vidéos n'est pas installée : module introuvable (%1)")
                 .arg(module));
    QTRY_VERIFY(dialog.ouvrir->isEnabled());
    QVERIFY(!dialog.progress->isVisibleTo(&dialog));
    QCOMPARE(dialog.fileLabel->text(), QStringLiteral("Aucune vidéo ouverte."));
    QVERIFY(!VideoLoader::isLoaded());
    // The synchronous opening says the same.
    QVERIFY(!dialog.openVideo(m_path));
    QCOMPARE(services.messages.size(), 2);
    QCOMPARE(services.messages[1].text, services.messages[0].text);
}

void TestVideoOpening::throughTheModule()
{
    VideoLoader::setSearchDirectories({QStringLiteral(LORVA_VIDEO_MODULE_DIR)});
    MeasurementHolder holder;
    ScriptedServices services;
    VideoDialog dialog(holder, services);
    services.fileNames.enqueue(m_path);

    dialog.ouvrir_Click();
    QTRY_COMPARE(dialog.fileLabel->text(), QStringLiteral("chute.mp4\n24 images, 192 × 112 px"));
    QVERIFY(services.messages.isEmpty());
    QVERIFY(VideoLoader::isLoaded());
    dialog.showFrame(10);
    QCOMPARE(dialog.currentFrame(), 10);
}

QTEST_MAIN(TestVideoOpening)
#include "tst_videoopening.moc"
