// SPDX-License-Identifier: GPL-3.0-or-later
#include "mainwindow/chronopanel.h"
#include "mainwindow/colourswatch.h"

#include <QCheckBox>
#include <QLabel>
#include <QToolButton>
#include <QToolTip>
#include <QtTest>

class TestChronoPanel : public QObject
{
    Q_OBJECT

private slots:
    void longCaptionsTakeTwoLines();
    void captionClickIsCameraClick();
    void shownCameraTooltipFollowsItsText();
};

void TestChronoPanel::longCaptionsTakeTwoLines()
{
    ChronoPanel panel;
    for (QCheckBox *box : {panel.Check9(), panel.Check2()}) {
        QCOMPARE(box->text().count(QLatin1Char('\n')), 1);
        QVERIFY(box->sizeHint().width() <= box->width());
    }
    // Both captions of the camera fit beside it.
    const QFontMetrics metrics(panel.Label5()->font());
    QVERIFY(metrics.horizontalAdvance(QStringLiteral("Arrêter la chronophotographie"))
            <= panel.Label5()->width());
}

void TestChronoPanel::captionClickIsCameraClick()
{
    ChronoPanel panel;
    panel.show();
    QVERIFY(QTest::qWaitForWindowExposed(&panel));
    QSignalSpy clicked(&panel, &ChronoPanel::label5Clicked);

    QTest::mouseClick(panel.Label5(), Qt::LeftButton, {}, QPoint(10, 6));
    QCOMPARE(clicked.count(), 1);
    QTest::mouseClick(panel.Label5(), Qt::RightButton, {}, QPoint(10, 6));
    QCOMPARE(clicked.count(), 1);
    // A click beside the caption, on the panel, is not one.
    QTest::mouseClick(&panel, Qt::LeftButton, {}, QPoint(200, 270));
    QCOMPARE(clicked.count(), 1);
}

void TestChronoPanel::shownCameraTooltipFollowsItsText()
{
    ChronoPanel panel;
    panel.show();
    QVERIFY(QTest::qWaitForWindowExposed(&panel));
    QToolButton *camera = panel.command12();
    const QString start = QStringLiteral("Chronophotographie");
    const QString stop = QStringLiteral("Arrêter la chronophotographie");
    const QPoint onCamera = camera->mapToGlobal(camera->rect().center());

    // The pointer rests on the camera: the bubble takes the new text. (The
    // offscreen platform hides a bubble as soon as events run, so the case of
    // a pointer gone elsewhere cannot be told apart here.)
    QCursor::setPos(onCamera);
    panel.setCameraToolTip(stop);
    QToolTip::showText(onCamera, stop, camera);
    QVERIFY(QToolTip::isVisible());
    panel.setCameraToolTip(start);
    QCOMPARE(camera->toolTip(), start);
    QVERIFY(QToolTip::isVisible());
    QCOMPARE(QToolTip::text(), start);
}

QTEST_MAIN(TestChronoPanel)
#include "tst_chronopanel.moc"
