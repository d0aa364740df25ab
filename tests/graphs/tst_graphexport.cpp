// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/animationclock.h"
#include "graphs/graphes.h"
#include "graphs/valuestable.h"
#include "output/fileexport.h"
#include "platform/surfacewidget.h"
#include "support/graphwindowrig.h"

#include <QAction>
#include <QFile>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>

namespace {

// The graph window over the default fall, with a folder to save into.
struct Fixture : GraphWindowRig
{
    QTemporaryDir dir;

    QString path(const QString &name) const { return dir.filePath(name); }
};

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

// The copy menu of the graph window also saves the table and the graph to
// files, through the platform's save dialog.
class TestGraphExport : public QObject
{
    Q_OBJECT

private slots:
    void menuItems();
    void tableAsCsv();
    void graphAsPng();
    void cancelWritesNothing();
};

void TestGraphExport::menuItems()
{
    Fixture f;
    QStringList texts;
    for (const QAction *action : f.window.copig->actions())
        if (!action->isSeparator())
            texts.append(action->text());
    QCOMPARE(
        texts,
        QStringList({QStringLiteral("Copier le contenu du &tableau"),
                     QStringLiteral("Copier le &graphe"), QStringLiteral("E&xporter le tableau…"),
                     QStringLiteral("En&registrer le graphe…")}));
    QCOMPARE(f.window.exptab->objectName(), QStringLiteral("exptab"));
    QCOMPARE(f.window.enrgra->objectName(), QStringLiteral("enrgra"));
}

void TestGraphExport::tableAsCsv()
{
    Fixture f;
    const QString path = f.path(QStringLiteral("valeurs.csv"));
    f.services.fileNames.enqueue(path);
    f.window.exptab->trigger();

    QCOMPARE(f.services.fileRequests.size(), 1);
    QCOMPARE(f.services.fileRequests[0].title, QStringLiteral("Exporter le tableau de valeurs"));
    const QByteArray bytes = contents(path);
    QVERIFY(bytes.startsWith("\xEF\xBB\xBF"));
    const QString text = QString::fromUtf8(bytes.mid(3));
    const QStringList lines = text.split(QStringLiteral("\r\n"));
    // The header, one line per row of the table, and the end of the last line.
    QCOMPARE(lines.size(), f.window.MSFlexGrid1->rowCount() + 1);
    QCOMPARE(lines.constFirst(), QStringLiteral("t (s);y (m);v (m/s);a (m/s²)"));
    QVERIFY(lines.constLast().isEmpty());
    // Each line holds the clipboard's cells without their two spaces.
    const QStringList clip = f.window.MSFlexGrid1->clipText().split(QLatin1Char('\n'));
    QCOMPARE(clip.size(), lines.size() - 1);
    for (qsizetype i = 0; i < clip.size(); ++i) {
        QString expected = clip[i];
        expected.replace(QStringLiteral("  \t"), QStringLiteral(";"));
        if (expected.endsWith(QStringLiteral("  ")))
            expected.chop(2);
        expected.replace(QLatin1Char('\t'), QLatin1Char(';'));
        QCOMPARE(lines[i], expected);
    }
    QVERIFY2(lines[1].startsWith(QStringLiteral("0,00;0;0;")), qPrintable(lines[1]));
    QVERIFY(f.services.messages.isEmpty());
}

void TestGraphExport::graphAsPng()
{
    Fixture f;
    const QString path = f.path(QStringLiteral("graphe.png"));
    f.services.fileNames.enqueue(path);
    f.window.enrgra->trigger();

    QCOMPARE(f.services.fileRequests.size(), 1);
    QCOMPARE(f.services.fileRequests[0].title, QStringLiteral("Enregistrer le graphe"));
    const QImage &surface = f.window.Picture1->surface().image();
    QImage saved(path, "PNG");
    QCOMPARE(saved.size(), surface.size());
    QCOMPARE(saved.convertToFormat(surface.format()), surface);
}

void TestGraphExport::cancelWritesNothing()
{
    Fixture f;
    f.window.exptab->trigger();
    f.window.enrgra->trigger();
    QCOMPARE(f.services.fileRequests.size(), 2);
    QVERIFY(QDir(f.dir.path()).isEmpty());
    QVERIFY(f.services.messages.isEmpty());
}

QTEST_MAIN(TestGraphExport)
#include "tst_graphexport.moc"
