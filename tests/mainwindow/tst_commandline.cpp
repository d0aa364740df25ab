// SPDX-License-Identifier: GPL-3.0-or-later
#include "mainwindow/commandline.h"
#include "mainwindow/feuillep.h"
#include "scriptedservices.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

Q_DECLARE_METATYPE(CommandLine::Action)

namespace {

QByteArray goldenBytes()
{
    QFile file(QFINDTESTDATA("../data/golden.P18"));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace

class TestCommandLine : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void parse_data();
    void parse();
    void versionText();
    void opensConfiguration();
    void refusedFileReported_data();
    void refusedFileReported();
    void exerciseGoesToItsHook();
    void missingExerciseReported();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<ScriptedServices> m_services;
    std::unique_ptr<FeuilleP> m_window;
    QStringList m_requests;
};

void TestCommandLine::init()
{
    m_window.reset();
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_services = std::make_unique<ScriptedServices>();
    m_window = std::make_unique<FeuilleP>(*m_services, m_dir->path());
    m_requests.clear();
    m_window->hooks().requestedExercise = [this](const QString &path) { m_requests << path; };
}

void TestCommandLine::parse_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<CommandLine::Action>("action");
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("exitCode");
    using A = CommandLine::Action;
    const QString lorva = QStringLiteral("lorva");
    QTest::newRow("nothing") << QStringList {lorva} << A::Run << QString() << 0;
    QTest::newRow("file") << QStringList {lorva, QStringLiteral("a b.P18")} << A::Run
                          << QStringLiteral("a b.P18") << 0;
    QTest::newRow("--help") << QStringList {lorva, QStringLiteral("--help")} << A::ShowHelp
                            << QString() << 0;
    QTest::newRow("-h") << QStringList {lorva, QStringLiteral("-h")} << A::ShowHelp << QString()
                        << 0;
    QTest::newRow("--version") << QStringList {lorva, QStringLiteral("--version")} << A::ShowVersion
                               << QString() << 0;
    QTest::newRow("unknown option")
        << QStringList {lorva, QStringLiteral("--vite")} << A::Error << QString() << 1;
    QTest::newRow("two files") << QStringList {lorva, QStringLiteral("a.P18"),
                                               QStringLiteral("b.P18")}
                               << A::Error << QString() << 1;
    QTest::newRow("file after --")
        << QStringList {lorva, QStringLiteral("--"), QStringLiteral("--help")} << A::Run
        << QStringLiteral("--help") << 0;
}

void TestCommandLine::parse()
{
    QFETCH(QStringList, arguments);
    QFETCH(CommandLine::Action, action);
    QFETCH(QString, file);
    QFETCH(int, exitCode);
    const CommandLine line = CommandLine::parse(arguments);
    QCOMPARE(line.action, action);
    QCOMPARE(line.file, file);
    QCOMPARE(line.exitCode, exitCode);
    if (action == CommandLine::Action::ShowHelp)
        QVERIFY(
            line.output.startsWith(QStringLiteral("Utilisation : lorva [options] [fichier]\n")));
    if (action == CommandLine::Action::Error)
        QVERIFY(line.output.endsWith(QStringLiteral("Pour l'aide : lorva --help\n")));
}

void TestCommandLine::versionText()
{
    const CommandLine line
        = CommandLine::parse({QStringLiteral("/usr/bin/lorva"), QStringLiteral("-v")});
    QCOMPARE(line.output, CommandLine::versionText());
    static const QRegularExpression form(QStringLiteral(
        "^Lorva avec frottement \\d+\\.\\d+\\.\\d+ — logiciel libre, licence GNU GPL "
        "version 3 ou ultérieure \\(GPL-3\\.0-or-later\\)\\n$"));
    QVERIFY2(form.match(line.output).hasMatch(), qPrintable(line.output));
}

void TestCommandLine::opensConfiguration()
{
    QVERIFY(writeFile(m_dir->filePath(QStringLiteral("chute.P18")), goldenBytes()));
    m_window->fields().setText(ParameterFields::Mass, QStringLiteral("200"));
    // A relative name, as typed in a terminal, becomes the full path.
    const QString previous = QDir::currentPath();
    QDir::setCurrent(m_dir->path());
    const bool opened = openFromCommandLine(*m_window, QStringLiteral("chute.P18"));
    QDir::setCurrent(previous);
    QVERIFY(opened);
    const QString full = QDir(m_dir->path()).absoluteFilePath(QStringLiteral("chute.P18"));
    QVERIFY(m_services->messages.isEmpty());
    QCOMPARE(m_window->nomfichier(), full);
    QCOMPARE(m_window->windowTitle(), QStringLiteral("Lorva avec frottement - ") + full);
    QCOMPARE(m_window->fields().text(ParameterFields::Mass), QStringLiteral("145"));
    QCOMPARE(m_window->options().graphQuantity, int(DisplayOptions::Acceleration));
    QVERIFY(m_requests.isEmpty());
}

void TestCommandLine::refusedFileReported_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("text");
    QByteArray wrongMagic = goldenBytes();
    wrongMagic.replace(2, 5, "LARVA");
    const QString notThis = QStringLiteral("Ce fichier ne correspond pas à cette application");
    const QString invalid = QStringLiteral("Fichier non valide");
    QTest::newRow("wrong magic") << QStringLiteral("autre.P18") << wrongMagic << invalid << notThis;
    QTest::newRow("other extension")
        << QStringLiteral("notes.txt") << QByteArray("Bonjour\n") << invalid << notThis;
    QTest::newRow("missing") << QStringLiteral("absent.P18") << QByteArray()
                             << QStringLiteral("Erreur lors du chargement du fichier")
                             << QStringLiteral("Lecture impossible sur disque");
}

void TestCommandLine::refusedFileReported()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, title);
    QFETCH(QString, text);
    const QString path = m_dir->filePath(name);
    if (!bytes.isEmpty())
        QVERIFY(writeFile(path, bytes));
    const QString titleBefore = m_window->windowTitle();
    m_window->fields().setText(ParameterFields::Mass, QStringLiteral("200"));

    QVERIFY(!openFromCommandLine(*m_window, path));
    QCOMPARE(m_services->messages.size(), 1);
    QCOMPARE(m_services->messages[0].icon, MessageIcon::Error);
    QCOMPARE(m_services->messages[0].title, title);
    QCOMPARE(m_services->messages[0].text, text);
    // The program goes on as it was.
    QCOMPARE(m_window->windowTitle(), titleBefore);
    QCOMPARE(m_window->fields().text(ParameterFields::Mass), QStringLiteral("200"));
    QVERIFY(m_window->nomfichier().isEmpty());
    QVERIFY(!QFile::exists(m_dir->filePath(QStringLiteral("absent.P18"))));
}

void TestCommandLine::exerciseGoesToItsHook()
{
    const QString path = m_dir->filePath(QStringLiteral("Chute1.e40"));
    QVERIFY(writeFile(path, QByteArray(128, '\0')));
    QVERIFY(openFromCommandLine(*m_window, path));
    QCOMPARE(m_requests, QStringList {path});
    QVERIFY(m_services->messages.isEmpty());
}

void TestCommandLine::missingExerciseReported()
{
    QVERIFY(!openFromCommandLine(*m_window, m_dir->filePath(QStringLiteral("absent.E40"))));
    QVERIFY(m_requests.isEmpty());
    QCOMPARE(m_services->messages.size(), 1);
    QCOMPARE(m_services->messages[0].title, QStringLiteral("Erreur lors du chargement du fichier"));
    QCOMPARE(m_services->messages[0].text, QStringLiteral("Lecture impossible sur disque"));
}

QTEST_MAIN(TestCommandLine)
#include "tst_commandline.moc"
