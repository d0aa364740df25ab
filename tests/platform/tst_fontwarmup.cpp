// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/fontwarmup.h"

#include <QFontDatabase>
#include <QTest>

class TestFontWarmup : public QObject
{
    Q_OBJECT

private slots:
    void startsOnceAndWaits();
};

void TestFontWarmup::startsOnceAndWaits()
{
    FontWarmup::start();
    // A second start while the first one loads is ignored.
    FontWarmup::start();
    FontWarmup::wait();
    // Nothing is left to wait for, and a new start after the load is harmless.
    FontWarmup::wait();
    FontWarmup::start();
    FontWarmup::wait();
    // The configuration Qt reads its fonts from is whole.
    QVERIFY(!QFontDatabase::families().isEmpty());
}

QTEST_MAIN(TestFontWarmup)
#include "tst_fontwarmup.moc"
