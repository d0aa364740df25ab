// SPDX-License-Identifier: GPL-3.0-or-later
#include "config/configuration.h"
#include "core/parameterfields.h"
#include "mainwindow/feuillep.h"
#include "mainwindow/icons.h"
#include "mainwindow/program.h"
#include "platform/programpaths.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

// An icon theme holding the program's icon, as the installation does; the
// application's window icon is cleared.
void installIconTheme(const QTemporaryDir &themes)
{
    QVERIFY(QDir(themes.path()).mkpath(QStringLiteral("hicolor/48x48/apps")));
    QFile index(themes.filePath(QStringLiteral("hicolor/index.theme")));
    QVERIFY(index.open(QIODevice::WriteOnly));
    index.write("[Icon Theme]\nName=hicolor\nDirectories=48x48/apps\n\n"
                "[48x48/apps]\nSize=48\nType=Fixed\n");
    index.close();
    QImage picture(48, 48, QImage::Format_ARGB32);
    picture.fill(Qt::red);
    QVERIFY(
        picture.save(themes.filePath(QStringLiteral("hicolor/48x48/apps/")
                                     + ProgramPaths::applicationId() + QStringLiteral(".png"))));
    QIcon::setThemeSearchPaths({themes.path()});
    QIcon::setThemeName(QStringLiteral("hicolor"));
    QApplication::setWindowIcon(QIcon());
}

} // namespace

// The start-up sequence and the icons painted on demand.
class TestProgram : public QObject
{
    Q_OBJECT

private slots:
    void iconsArePaintedAtTheSizeAsked();
    void disabledIconsComeFromTheStyle();
    void windowIconComesAfterTheFirstFrame();
    void windowIconBesideTheProgram();
    void fileOnTheCommandLineOpensAfterTheFirstActivation();
};

void TestProgram::iconsArePaintedAtTheSizeAsked()
{
    const QIcon help = Icons::help();
    const QImage small = help.pixmap(QSize(20, 20), 1.0).toImage();
    const QImage large = help.pixmap(QSize(20, 20), 2.0).toImage();
    QCOMPARE(small.size(), QSize(20, 20));
    QCOMPARE(large.size(), QSize(40, 40));
    QCOMPARE(large.devicePixelRatio(), 2.0);
    // The blue disc at the same place at both densities.
    QCOMPARE(QColor(small.pixel(4, 10)), QColor(40, 90, 200));
    QCOMPARE(QColor(large.pixel(8, 20)), QColor(40, 90, 200));
    // Painted at 2x, not the 1x picture enlarged: the edges differ.
    const QImage enlarged = small.scaled(40, 40).convertToFormat(large.format());
    QVERIFY(enlarged != large);

    // The camera keeps its proportions (36 × 22) in any box.
    QCOMPARE(Icons::cameraIdle().actualSize(QSize(72, 72)), QSize(72, 44));
}

void TestProgram::disabledIconsComeFromTheStyle()
{
    const QIcon start = Icons::start();
    const QImage normal = start.pixmap(QSize(20, 20), 1.0).toImage();
    const QImage disabled = start.pixmap(QSize(20, 20), 1.0, QIcon::Disabled).toImage();
    QCOMPARE(disabled.size(), normal.size());
    QVERIFY(disabled != normal);
    // The style greys the picture out: no saturated pixel is left.
    for (int y = 0; y < disabled.height(); ++y) {
        for (int x = 0; x < disabled.width(); ++x)
            QVERIFY(QColor(disabled.pixel(x, y)).hsvSaturation() < 60);
    }
}

void TestProgram::windowIconComesAfterTheFirstFrame()
{
    QTemporaryDir themes;
    installIconTheme(themes);
    QTemporaryDir folder;
    Program program(*qApp, folder.path());
    QVERIFY(QApplication::windowIcon().isNull());
    program.start(CommandLine {});
    // Shown, not yet painted: the icon is not looked up yet.
    QVERIFY(program.window().isVisible());
    QVERIFY(QApplication::windowIcon().isNull());
    QTRY_VERIFY(!QApplication::windowIcon().isNull());
    QCOMPARE(QColor(QApplication::windowIcon().pixmap(48, 48).toImage().pixel(24, 24)),
             QColor(Qt::red));
    program.window().hide();
}

void TestProgram::windowIconBesideTheProgram()
{
    // No icon in the theme (a program run from its build folder): the
    // bitmaps beside the program.
    QTemporaryDir emptyThemes;
    QIcon::setThemeSearchPaths({emptyThemes.path()});
    QApplication::setWindowIcon(QIcon());
    QTemporaryDir folder;
    QVERIFY(QDir(folder.path()).mkpath(QStringLiteral("icones")));
    QImage picture(48, 48, QImage::Format_ARGB32);
    picture.fill(Qt::blue);
    QVERIFY(picture.save(folder.filePath(QStringLiteral("icones/48.png"))));

    Program program(*qApp, folder.path());
    program.start(CommandLine {});
    QTRY_VERIFY(!QApplication::windowIcon().isNull());
    QCOMPARE(QColor(QApplication::windowIcon().pixmap(48, 48).toImage().pixel(24, 24)),
             QColor(Qt::blue));
    program.window().hide();
}

void TestProgram::fileOnTheCommandLineOpensAfterTheFirstActivation()
{
    // A configuration unlike the start-up one (3,5 cm, 145 g, density 807):
    // opening it in the middle of the first activation's own checks once
    // left the old density in place and recomputed the mass from it.
    QTemporaryDir folder;
    Configuration configuration;
    configuration.fields = {QStringLiteral("2"), QStringLiteral("20"), QStringLiteral("1"),
                            QStringLiteral("0,001"), QStringLiteral("1000")};
    configuration.interval = QStringLiteral("30");
    const QString file = folder.filePath(QStringLiteral("boule.P18"));
    QVERIFY(ConfigurationWriter().save(configuration, file));

    Program program(*qApp, folder.path());
    CommandLine commandLine;
    commandLine.file = file;
    program.start(commandLine);
    ParameterFields &fields = program.window().fields();
    QTRY_COMPARE(program.window().windowTitle(), QStringLiteral("Lorva avec frottement - ") + file);
    // The file's values once the activation's own checks have run, and
    // still after what they posted.
    const auto texts = [&] {
        return QStringList {fields.text(ParameterFields::Radius),
                            fields.text(ParameterFields::Mass),
                            fields.text(ParameterFields::SphereDensity)};
    };
    const QStringList expected {QStringLiteral("2"), QStringLiteral("20"), QStringLiteral("597")};
    QTRY_COMPARE(texts(), expected);
    QCoreApplication::processEvents();
    QCOMPARE(texts(), expected);
    program.window().hide();
}

QTEST_MAIN(TestProgram)
#include "tst_program.moc"
