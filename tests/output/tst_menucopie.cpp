// SPDX-License-Identifier: GPL-3.0-or-later
#include "output/menucopie.h"
#include "support/scriptedservices.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>

namespace {

// A picture whose every pixel differs from its neighbours', so that any
// scaling, conversion or redraw shows.
QImage patterned(int width, int height, int seed)
{
    QImage picture(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x)
            picture.setPixel(x, y,
                             qRgb((x * 7 + seed) % 256, (y * 13) % 256, (x * y + seed) % 256));
    }
    return picture;
}

// A menu over two patterned pictures that counts how often each is taken.
struct Fixture
{
    Fixture()
        : menu(
            services,
            [this] {
                ++sceneRequests;
                return scene;
            },
            [this] {
                ++graphRequests;
                return smallGraph;
            },
            &window)
    { }
    const QImage scene = patterned(301, 497, 1);
    const QImage smallGraph = patterned(357, 261, 2);
    int sceneRequests = 0;
    int graphRequests = 0;
    ScriptedServices services;
    QWidget window;
    MenuCopie menu;
};

} // namespace

class TestMenuCopie : public QObject
{
    Q_OBJECT

private slots:
    void items();
    void copy_data();
    void copy();
    void popupDoesNotWait();
    void save_data();
    void save();
    void saveAddsExtension();
    void saveCancelled();
    void saveFailure();
};

void TestMenuCopie::items()
{
    ScriptedServices services;
    QWidget window;
    MenuCopie menu(services, {}, {}, &window);
    QCOMPARE(menu.menucopie()->objectName(), QStringLiteral("menucopie"));
    QVERIFY(!menu.menucopie()->accessibleName().isEmpty());
    const QList<QAction *> actions = menu.menucopie()->actions();
    QCOMPARE(actions.size(), 5);
    QCOMPARE(actions.at(0), menu.copim());
    QCOMPARE(actions.at(1), menu.copigraph());
    QVERIFY(actions.at(2)->isSeparator());
    QCOMPARE(actions.at(3), menu.enrim());
    QCOMPARE(actions.at(4), menu.enrgraph());
    QCOMPARE(actions.at(0)->objectName(), QStringLiteral("copim"));
    QCOMPARE(actions.at(1)->objectName(), QStringLiteral("copigraph"));
    QCOMPARE(actions.at(3)->objectName(), QStringLiteral("enrim"));
    QCOMPARE(actions.at(4)->objectName(), QStringLiteral("enrgraph"));
    QCOMPARE(actions.at(0)->text(), QStringLiteral("Copier l'&animation"));
    QCOMPARE(actions.at(1)->text(), QStringLiteral("Copier le &graphe"));
    QCOMPARE(actions.at(3)->text(), QStringLiteral("Enregistrer l'&image…"));
    QCOMPARE(actions.at(4)->text(), QStringLiteral("En&registrer le graphe…"));
}

void TestMenuCopie::copy_data()
{
    QTest::addColumn<bool>("graph");
    QTest::newRow("copim: the scene") << false;
    QTest::newRow("copigraph: the small graph") << true;
}

void TestMenuCopie::copy()
{
    QFETCH(bool, graph);
    const QImage scene = patterned(301, 497, 1);
    const QImage smallGraph = patterned(357, 261, 2);
    int sceneRequests = 0;
    int graphRequests = 0;
    ScriptedServices services;
    QWidget window;
    MenuCopie menu(
        services,
        [&] {
            ++sceneRequests;
            return scene;
        },
        [&] {
            ++graphRequests;
            return smallGraph;
        },
        &window);

    (graph ? menu.copigraph() : menu.copim())->trigger();

    const QImage &expected = graph ? smallGraph : scene;
    QCOMPARE(services.clipboardImage.size(), expected.size());
    QCOMPARE(services.clipboardImage.convertToFormat(QImage::Format_RGB32), expected);
    // Only the chosen picture is taken, once: nothing else is redrawn.
    QCOMPARE(sceneRequests, graph ? 0 : 1);
    QCOMPARE(graphRequests, graph ? 1 : 0);
    QVERIFY(services.messages.isEmpty());
}

void TestMenuCopie::popupDoesNotWait()
{
    ScriptedServices services;
    QWidget window;
    window.show();
    MenuCopie menu(services, {}, {}, &window);
    menu.popup(window.mapToGlobal(QPoint(10, 10)));
    QVERIFY(menu.menucopie()->isVisible());
    menu.menucopie()->hide();
    QVERIFY(services.clipboardImage.isNull());
}

void TestMenuCopie::save_data()
{
    QTest::addColumn<bool>("graph");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("defaultName");
    QTest::newRow("enrim: the scene")
        << false << QStringLiteral("Enregistrer l'image") << QStringLiteral("animation.png");
    QTest::newRow("enrgraph: the small graph")
        << true << QStringLiteral("Enregistrer le graphe") << QStringLiteral("graphe.png");
}

void TestMenuCopie::save()
{
    QFETCH(bool, graph);
    QFETCH(QString, title);
    QFETCH(QString, defaultName);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    Fixture f;
    const QString path = dir.filePath(QStringLiteral("chute.png"));
    f.services.fileNames.enqueue(path);

    (graph ? f.menu.enrgraph() : f.menu.enrim())->trigger();

    QCOMPARE(f.services.fileRequests.size(), 1);
    const FileDialogRequest &request = f.services.fileRequests.constFirst();
    QCOMPARE(request.title, title);
    QCOMPARE(request.filter, QStringLiteral("Images PNG (*.png)"));
    QCOMPARE(request.defaultExtension, QStringLiteral("png"));
    QCOMPARE(request.fileName, defaultName);
    const QImage written(path, "PNG");
    const QImage &expected = graph ? f.smallGraph : f.scene;
    QCOMPARE(written.size(), expected.size());
    QCOMPARE(written.convertToFormat(QImage::Format_RGB32), expected);
    // Only the chosen picture is taken, once; the clipboard is left alone.
    QCOMPARE(f.sceneRequests, graph ? 0 : 1);
    QCOMPARE(f.graphRequests, graph ? 1 : 0);
    QVERIFY(f.services.clipboardImage.isNull());
    QVERIFY(f.services.messages.isEmpty());
}

void TestMenuCopie::saveAddsExtension()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    Fixture f;
    f.services.fileNames.enqueue(dir.filePath(QStringLiteral("chute")));
    f.menu.enrim_Click();
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList {QStringLiteral("chute.png")});
    QCOMPARE(QImage(dir.filePath(QStringLiteral("chute.png")), "PNG")
                 .convertToFormat(QImage::Format_RGB32),
             f.scene);
}

void TestMenuCopie::saveCancelled()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    Fixture f;
    // An empty queue answers as a cancelled dialog.
    f.menu.enrim_Click();
    f.menu.enrgraph_Click();
    QCOMPARE(f.services.fileRequests.size(), 2);
    QVERIFY(f.services.messages.isEmpty());
    QVERIFY(QDir(dir.path()).isEmpty());
}

void TestMenuCopie::saveFailure()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    Fixture f;
    const QString path = dir.filePath(QStringLiteral("absent/graphe.png"));
    f.services.fileNames.enqueue(path);
    f.menu.enrgraph_Click();
    QCOMPARE(f.services.messages.size(), 1);
    const ScriptedServices::Message &message = f.services.messages.constFirst();
    QCOMPARE(message.icon, MessageIcon::Error);
    QCOMPARE(message.title, QStringLiteral("Enregistrement impossible"));
    QVERIFY2(message.text.startsWith(QStringLiteral("Le fichier « %1 » n'a pas pu être écrit.")
                                         .arg(QDir::toNativeSeparators(path))),
             qPrintable(message.text));
    QVERIFY(!QFile::exists(path));
    QVERIFY(QDir(dir.path()).isEmpty());
}

QTEST_MAIN(TestMenuCopie)
#include "tst_menucopie.moc"
