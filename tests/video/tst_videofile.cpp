// SPDX-License-Identifier: GPL-3.0-or-later
#include "video/videofile.h"

#include "framecode.h"
#include "videowriter.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>

namespace {

constexpr int kFrames = 40;

// Times of a phone recording at about 30 images/s whose gaps wander by up
// to 30 %, on the 1/90000 s grid of MP4 files.
QList<double> variableTimes(int count)
{
    QList<double> times {0.0};
    while (times.size() < count) {
        const double gap = (1.0 + 0.3 * std::sin(times.size() * 1.7)) / 30.0;
        times.append(std::round((times.last() + gap) * 90000.0) / 90000.0);
    }
    return times;
}

// Writes frames carrying their numbers; an empty path (and a warning) on failure.
QString makeVideo(const QTemporaryDir &dir, const QString &name, const VideoRecipe &recipe,
                  const QList<double> &times)
{
    const QString path = dir.filePath(name);
    QString error;
    if (!writeVideo(
            path, recipe, times, [&recipe](int i) { return FrameCode::picture(recipe.size, i); },
            &error)) {
        qWarning("cannot write %s: %s", qPrintable(name), qPrintable(error));
        return {};
    }
    return path;
}

// Every frame in an order that jumps back and forth across keyframes, then a
// run forwards, then backwards.
QList<int> visitingOrder(int count)
{
    QList<int> order;
    for (int i = 0; i < count; ++i)
        order.append((i * 17 + 5) % count);
    for (int i = 0; i < count; ++i)
        order.append(i);
    for (int i = count - 1; i >= 0; --i)
        order.append(i);
    return order;
}

bool truncateTo(const QString &path, double share)
{
    QFile file(path);
    return file.open(QIODevice::ReadWrite) && file.resize(qint64(file.size() * share));
}

} // namespace

Q_DECLARE_METATYPE(VideoRecipe)

class TestVideoFile : public QObject
{
    Q_OBJECT

private slots:
    void frames_data();
    void frames();
    void captureRate_data();
    void captureRate();
    void speedRamps_data();
    void speedRamps();
    void refused_data();
    void refused();
    void garbledPictures();
    void fromBytes();
    void pictureOfAnotherSize();

private:
    QTemporaryDir m_dir;
};

void TestVideoFile::frames_data()
{
    QTest::addColumn<VideoRecipe>("recipe");
    QTest::addColumn<QList<double>>("times");
    QTest::addColumn<bool>("grey");

    const VideoRecipe h264;
    VideoRecipe noBFrames;
    noBFrames.maxBFrames = 0;
    VideoRecipe indexFirst;
    indexFirst.indexFirst = true;
    VideoRecipe mjpeg;
    mjpeg.codec = VideoRecipe::Codec::Mjpeg;
    QTest::newRow("H.264 with B-frames, variable rate") << h264 << variableTimes(kFrames) << false;
    QTest::newRow("H.264 without B-frames, 30 images/s")
        << noBFrames << regularTimes(kFrames, 30) << false;
    QTest::newRow("H.264, index first") << indexFirst << variableTimes(kFrames) << false;
    QTest::newRow("H.264 in grey") << h264 << regularTimes(kFrames, 60) << true;
    QTest::newRow("MJPEG in AVI") << mjpeg << regularTimes(kFrames, 25) << false;
    for (int rotation : {90, 180, 270}) {
        VideoRecipe turned;
        turned.rotation = rotation;
        QTest::addRow("H.264 turned %d°", rotation) << turned << variableTimes(kFrames) << false;
    }
    QTest::newRow("MJPEG in grey") << mjpeg << regularTimes(kFrames, 25) << true;
}

void TestVideoFile::frames()
{
    QFETCH(VideoRecipe, recipe);
    QFETCH(QList<double>, times);
    QFETCH(bool, grey);
    const QString path = makeVideo(m_dir, QStringLiteral("frames"), recipe, times);
    QVERIFY(!path.isEmpty());
    if (recipe.rotation == 90) {
        // The matrix of a phone held upright: (0 1 0; -1 0 0; …) in 16.16.
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(file.readAll().contains(QByteArray::fromHex("000000000001000000000000ffff0000")));
    }

    VideoFile video;
    if (grey)
        video.setPixelFormat(QImage::Format_Grayscale8);
    QVERIFY2(video.open(path), qPrintable(video.errorString()));
    QCOMPARE(video.frameCount(), times.size());
    QCOMPARE(video.frameSize(), recipe.size);
    QCOMPARE(video.orientation().rotation, recipe.rotation % 360);
    QVERIFY(!video.orientation().mirrored);
    QVERIFY(!video.hasSpeedRamps());
    for (int i = 0; i < times.size(); ++i)
        QVERIFY2(std::abs(video.timeOf(i) - times[i]) < 1e-6, qPrintable(QString::number(i)));

    // Forwards, one frame after the other, the decoder goes on without seeking.
    const int seeksAtOpening = video.seekCount();
    for (int i = 1; i < video.frameCount(); ++i)
        QCOMPARE(FrameCode::read(video.frame(i)), i);
    QCOMPARE(video.seekCount(), seeksAtOpening);

    for (int wanted : visitingOrder(video.frameCount())) {
        const QImage picture = video.frame(wanted);
        QCOMPARE(picture.size(), recipe.size);
        QCOMPARE(picture.format(), grey ? QImage::Format_Grayscale8 : QImage::Format_RGB32);
        QCOMPARE(FrameCode::read(picture), wanted);
    }
    QVERIFY(video.frame(-1).isNull());
    QVERIFY(video.frame(video.frameCount()).isNull());
}

void TestVideoFile::captureRate_data()
{
    QTest::addColumn<QByteArray>("stated");   // com.android.capture.fps, empty for none
    QTest::addColumn<double>("storedRate");   // images/s of the time stamps
    QTest::addColumn<double>("typed");        // a capture rate set by hand, 0 for none
    QTest::addColumn<double>("expectedRate"); // the capture rate in use
    QTest::addColumn<double>("realRate");     // images/s of the real times

    QTest::newRow("slow motion played at 30")
        << QByteArray("240.000000") << 30.0 << 0.0 << 240.0 << 240.0;
    QTest::newRow("slow motion stored at its rate")
        << QByteArray("240.000000") << 240.0 << 0.0 << 240.0 << 240.0;
    QTest::newRow("ordinary video stating its rate")
        << QByteArray("30.000000") << 29.97 << 0.0 << 30.0 << 29.97;
    QTest::newRow("nothing stated, nothing typed") << QByteArray() << 30.0 << 0.0 << 0.0 << 30.0;
    QTest::newRow("nothing stated, 120 typed") << QByteArray() << 30.0 << 120.0 << 120.0 << 120.0;
    QTest::newRow("typed over the stated rate")
        << QByteArray("240") << 30.0 << 120.0 << 120.0 << 120.0;
    QTest::newRow("stated rate unreadable") << QByteArray("vite") << 30.0 << 0.0 << 0.0 << 30.0;
}

void TestVideoFile::captureRate()
{
    QFETCH(QByteArray, stated);
    QFETCH(double, storedRate);
    QFETCH(double, typed);
    QFETCH(double, expectedRate);
    QFETCH(double, realRate);
    VideoRecipe recipe;
    recipe.captureFps = stated;
    const QString path
        = makeVideo(m_dir, QStringLiteral("capture.mp4"), recipe, regularTimes(20, storedRate));
    QVERIFY(!path.isEmpty());

    VideoFile video;
    QVERIFY2(video.open(path), qPrintable(video.errorString()));
    QCOMPARE(video.statedCaptureRate(), stated.toDouble());
    QVERIFY(std::abs(video.playbackRate() - storedRate) < 0.01);
    if (typed > 0)
        video.setCaptureRate(typed);
    QCOMPARE(video.captureRate(), expectedRate);
    QVERIFY2(std::abs(video.timeOf(10) - 10 / realRate) < 1e-4,
             qPrintable(QString::number(video.timeOf(10))));

    // Clearing the rate brings back the stored times.
    video.setCaptureRate(0);
    QVERIFY(std::abs(video.timeOf(10) - 10 / storedRate) < 1e-4);
}

void TestVideoFile::speedRamps_data()
{
    QTest::addColumn<QList<int>>("gaps"); // stretches of (count, gap in 1/240 s)
    QTest::addColumn<bool>("ramps");

    QTest::newRow("flattened with ramps") << QList<int> {40, 8, 40, 1, 40, 8} << true;
    QTest::newRow("one stretch at another speed") << QList<int> {50, 8, 20, 2} << true;
    QTest::newRow("steady slow motion") << QList<int> {120, 1} << false;
    QTest::newRow("dropped frames") << QList<int> {30, 8, 1, 16, 30, 8, 1, 24, 30, 8} << false;
}

void TestVideoFile::speedRamps()
{
    QFETCH(QList<int>, gaps);
    QFETCH(bool, ramps);
    QList<double> times {0.0};
    for (qsizetype i = 0; i + 1 < gaps.size(); i += 2) {
        for (int n = 0; n < gaps[i]; ++n)
            times.append(times.last() + gaps[i + 1] / 240.0);
    }
    VideoRecipe recipe;
    recipe.captureFps = "240";
    const QString path = makeVideo(m_dir, QStringLiteral("ramps.mp4"), recipe, times);
    QVERIFY(!path.isEmpty());

    VideoFile video;
    QVERIFY2(video.open(path), qPrintable(video.errorString()));
    QCOMPARE(video.hasSpeedRamps(), ramps);
    QCOMPARE(video.warning(),
             ramps ? QStringLiteral("Les instants des images sont irréguliers : cette vidéo "
                                    "semble être un ralenti aplati par la galerie du téléphone, "
                                    "avec des changements de vitesse. Elle ne peut pas servir à "
                                    "une mesure ; utilisez la vidéo ralentie d'origine.")
                   : QString());
}

void TestVideoFile::refused_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("message");

    const QString notAVideo
        = QStringLiteral("Ce fichier n'est pas une vidéo que le programme sait lire.");
    const QString damaged = QStringLiteral("Le fichier vidéo est tronqué ou endommagé : il ne "
                                           "peut pas être lu jusqu'au bout.");
    QTest::newRow("empty file") << "empty" << QStringLiteral("Le fichier est vide.");
    QTest::newRow("text") << "text" << notAVideo;
    QTest::newRow("picture") << "png" << notAVideo;
    QTest::newRow("random bytes") << "random" << notAVideo;
    QTest::newRow("MP4 cut before its index") << "cut mp4" << damaged;
    QTest::newRow("MP4 cut after its index") << "cut mp4 index first" << damaged;
    QTest::newRow("AVI cut") << "cut avi" << damaged;
    QTest::newRow("AVI cut between two pictures") << "cut avi between" << damaged;
    // MP4 leaves out a track without samples; AVI keeps it.
    QTest::newRow("MP4 without frames")
        << "no frame mp4" << QStringLiteral("Ce fichier ne contient aucune piste vidéo.");
    QTest::newRow("AVI stream without frames")
        << "no frame avi"
        << QStringLiteral("La piste vidéo de ce fichier ne contient aucune image.");
    QTest::newRow("4 GB sparse file")
        << "sparse"
        << QStringLiteral("Le fichier est trop gros : une vidéo de mesure ne dépasse pas 2 Go.");
    // Pictures whose data belie their size are refused, not decoded.
    QTest::newRow("pictures claiming 8000 × 8000") << "huge pictures" << damaged;
    QTest::newRow("header and pictures claiming 8000 × 8000")
        << "huge pictures and header"
        << QStringLiteral("Les images de cette vidéo sont trop grandes (8000 × 8000 pixels).");
    QTest::newRow("folder") << "folder"
                            << QStringLiteral("« folder » est un dossier, pas une vidéo.");
    QTest::newRow("missing file") << "missing"
                                  << QStringLiteral("Le fichier « missing » n'existe pas.");
}

void TestVideoFile::refused()
{
    QFETCH(QString, kind);
    QFETCH(QString, message);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString good
        = makeVideo(dir, QStringLiteral("good.mp4"), VideoRecipe(), regularTimes(kFrames, 30));
    QVERIFY(!good.isEmpty());
    const QString path
        = dir.filePath(kind.section(u' ', 0, 0) == u"cut" ? QStringLiteral("bad") : kind);

    QFile file(path);
    VideoRecipe recipe;
    if (kind == u"empty") {
        QVERIFY(file.open(QIODevice::WriteOnly));
    } else if (kind == u"text") {
        QVERIFY(file.open(QIODevice::WriteOnly));
        QVERIFY(file.write("t;y\n0;0,1\n0,04;0,2\n") > 0);
    } else if (kind == u"png") {
        QVERIFY(FrameCode::picture(recipe.size, 3).save(path, "PNG"));
    } else if (kind == u"random") {
        QVERIFY(file.open(QIODevice::WriteOnly));
        QRandomGenerator random(23);
        QByteArray bytes(256 * 1024, Qt::Uninitialized);
        random.fillRange(reinterpret_cast<quint32 *>(bytes.data()), bytes.size() / 4);
        QCOMPARE(file.write(bytes), bytes.size());
    } else if (kind.startsWith(u"cut")) {
        recipe.indexFirst = kind.endsWith(u"index first");
        if (kind.startsWith(u"cut avi"))
            recipe.codec = VideoRecipe::Codec::Mjpeg;
        QVERIFY(
            !makeVideo(dir, QStringLiteral("bad"), recipe, regularTimes(kFrames, 25)).isEmpty());
        if (kind.endsWith(u"between")) {
            // Just before the chunk ("00dc") of the 20th picture: every
            // packet left is whole, only the count says frames are missing.
            QVERIFY(file.open(QIODevice::ReadWrite));
            const QByteArray bytes = file.readAll();
            qsizetype at = -1;
            for (int n = 0; n < 20; ++n)
                at = bytes.indexOf("00dc", at + 1);
            QVERIFY(at > 0);
            QVERIFY(file.resize(at));
        } else {
            QVERIFY(truncateTo(path, 0.6));
        }
    } else if (kind.startsWith(u"no frame")) {
        VideoRecipe empty;
        if (kind.endsWith(u"avi"))
            empty.codec = VideoRecipe::Codec::Mjpeg;
        QVERIFY(!makeVideo(dir, kind, empty, {}).isEmpty());
    } else if (kind.startsWith(u"huge pictures")) {
        // Every JPEG's frame header (FF C0, length, precision, height, width)
        // made to announce 8000 × 8000; with the header, AVI's stream format
        // too ("strf", size, header size, width, height, little-endian).
        recipe.codec = VideoRecipe::Codec::Mjpeg;
        QVERIFY(!makeVideo(dir, kind, recipe, regularTimes(5, 25)).isEmpty());
        QVERIFY(file.open(QIODevice::ReadWrite));
        QByteArray bytes = file.readAll();
        int patched = 0;
        for (qsizetype at = bytes.indexOf("\xff\xc0"); at >= 0;
             at = bytes.indexOf("\xff\xc0", at + 2), ++patched)
            bytes.replace(at + 5, 4, QByteArray::fromHex("1f401f40"));
        QVERIFY(patched >= 5);
        if (kind.endsWith(u"header")) {
            const qsizetype format = bytes.indexOf("strf");
            QVERIFY(format > 0);
            bytes.replace(format + 12, 8, QByteArray::fromHex("401f0000401f0000"));
        }
        QVERIFY(file.seek(0));
        QCOMPARE(file.write(bytes), bytes.size());
    } else if (kind == u"folder") {
        QVERIFY(QDir(dir.path()).mkdir(kind));
    } else if (kind == u"sparse") {
        QVERIFY(file.open(QIODevice::WriteOnly));
        QVERIFY(file.resize(qint64(4) << 30));
    }
    file.close();

    VideoFile video;
    QVERIFY2(video.open(good), qPrintable(video.errorString()));
    QVERIFY(!video.open(path));
    QCOMPARE(video.errorString(), message);
    // The video open before is still there, whole.
    QCOMPARE(video.frameCount(), kFrames);
    QCOMPARE(video.frameSize(), recipe.size);
    QCOMPARE(FrameCode::read(video.frame(7)), 7);
}

// Random bytes over the middle of the pictures' data: whatever opens, every
// frame is either decoded or null, and nothing crashes.
void TestVideoFile::garbledPictures()
{
    VideoRecipe recipe;
    recipe.indexFirst = true;
    const QString path
        = makeVideo(m_dir, QStringLiteral("garbled.mp4"), recipe, regularTimes(kFrames, 30));
    QVERIFY(!path.isEmpty());
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadWrite));
    const qint64 size = file.size();
    QByteArray noise(int(size / 3), Qt::Uninitialized);
    QRandomGenerator(7).fillRange(reinterpret_cast<quint32 *>(noise.data()), noise.size() / 4);
    QVERIFY(file.seek(size / 2));
    QCOMPARE(file.write(noise), noise.size());
    file.close();

    VideoFile video;
    QVERIFY2(video.open(path), qPrintable(video.errorString()));
    QCOMPARE(video.frameCount(), kFrames);
    int decoded = 0;
    for (int wanted : visitingOrder(kFrames)) {
        const QImage picture = video.frame(wanted);
        if (!picture.isNull())
            ++decoded;
    }
    // The frames before the damage are intact.
    QCOMPARE(FrameCode::read(video.frame(0)), 0);
    QVERIFY(decoded > 0);
}

// The same reading over bytes in memory, as a reader of any device.
void TestVideoFile::fromBytes()
{
    const QString path
        = makeVideo(m_dir, QStringLiteral("bytes.mp4"), VideoRecipe(), variableTimes(kFrames));
    QVERIFY(!path.isEmpty());
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    auto buffer = std::make_unique<QBuffer>();
    buffer->setData(file.readAll());
    QVERIFY(buffer->open(QIODevice::ReadOnly));

    VideoFile video;
    QVERIFY2(video.open(std::move(buffer)), qPrintable(video.errorString()));
    QCOMPARE(video.frameCount(), kFrames);
    for (int wanted : {33, 2, 17, 18, 0})
        QCOMPARE(FrameCode::read(video.frame(wanted)), wanted);

    QVERIFY(!video.open(std::make_unique<QBuffer>()));
    QCOMPARE(video.errorString(), QStringLiteral("Le fichier ne peut pas être lu."));
}

// An MJPEG AVI of 32 × 24 pictures whose later pictures are stored at
// another size (found by fuzz_video): those read as pictures that cannot be
// decoded, never as pictures of a size the video does not announce.
void TestVideoFile::pictureOfAnotherSize()
{
    VideoFile video;
    QVERIFY2(video.open(QFINDTESTDATA("../data/video/size-change.avi")),
             qPrintable(video.errorString()));
    QCOMPARE(video.frameSize(), QSize(32, 24));
    QVERIFY(video.frameCount() > 1);
    int decoded = 0;
    for (int frame = 0; frame < video.frameCount(); ++frame) {
        const QImage picture = video.frame(frame);
        if (picture.isNull())
            continue;
        ++decoded;
        QCOMPARE(picture.size(), QSize(32, 24));
    }
    QVERIFY(decoded > 0);
    QVERIFY(decoded < video.frameCount());
}

QTEST_MAIN(TestVideoFile)
#include "tst_videofile.moc"
