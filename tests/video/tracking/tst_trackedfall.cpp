// SPDX-License-Identifier: GPL-3.0-or-later
#include <QTest>
class TestTrackedFall : public QObject { Q_OBJECT };
QTEST_MAIN(TestTrackedFall)
#include "tst_trackedfall.moc"
