#include "output/menucopie.h"
#include "support/scriptedservices.h"

#include <QAction>
#include <QImage>
#include <QMenu>
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

} // namespace

class TestMenuCopie : public QObject
{
    Q_OBJECT

private slots:
    void items();
    void copy_data();
    void copy();
    void popupDoesNotWait();
};

void TestMenuCopie::items()
{
    ScriptedServices services;
    QWidget window;
    MenuCopie menu(services, {}, {}, &window);
    QCOMPARE(menu.menucopie()->objectName(), QStringLiteral("menucopie"));
    QVERIFY(!menu.menucopie()->accessibleName().isEmpty());
    const QList<QAction *> actions = menu.menucopie()->actions();
    QCOMPARE(actions.size(), 2);
    QCOMPARE(actions.at(0), menu.copim());
    QCOMPARE(actions.at(1), menu.copigraph());
    QCOMPARE(actions.at(0)->objectName(), QStringLiteral("copim"));
    QCOMPARE(actions.at(1)->objectName(), QStringLiteral("copigraph"));
    QCOMPARE(actions.at(0)->text().remove(QLatin1Char('&')), QStringLiteral("Copier l'animation"));
    QCOMPARE(actions.at(1)->text().remove(QLatin1Char('&')), QStringLiteral("Copier le graphe"));
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

QTEST_MAIN(TestMenuCopie)
#include "tst_menucopie.moc"
