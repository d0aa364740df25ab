// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/motion.h"
#include "graphs/smallgraph.h"
#include "mainwindow/chronopanel.h"
#include "mainwindow/colourswatch.h"
#include "mainwindow/displaypanel.h"
#include "mainwindow/feuillep.h"
#include "mainwindow/hintline.h"
#include "mainwindow/parameteredit.h"
#include "mainwindow/parameterpanel.h"
#include "mainwindow/scalespinner.h"
#include "mainwindow/tabstrip.h"
#include "mainwindow/vectorpanel.h"
#include "mainwindow/windowbackground.h"
#include "mainwindowrig.h"
#include "platform/programpaths.h"
#include "platform/recordfile.h"
#include "platform/surfacewidget.h"
#include "scene/readoutpanel.h"
#include "scene/scene.h"
#include "scriptedservices.h"

#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextEdit>
#include <QToolButton>

namespace {

void moveOver(QWidget *widget, QPoint at = QPoint(1, 1))
{
    QMouseEvent move(QEvent::MouseMove, at, widget->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &move);
}

QStringList readouts(FeuilleP &w)
{
    ReadoutPanel *p = w.picture4();
    return {p->label3()->text(), p->label1()->text(), p->label6()->text(), p->label7()->text()};
}

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class TestFeuilleP : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void startupState();
    void startupDrawsOnce();
    void introductionText();
    void background();
    void applicationFontKept();
    void flagFileRecords();
    void closedBeforeTheFirstFrame();
    void requestedExerciseOpensOnce();
    void requestRelativeToProgram_data();
    void requestRelativeToProgram();
    void closingConfirmations();
    void hints();
    void cameraHintFollowsRecording();
    void tooltips();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestFeuilleP::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

void TestFeuilleP::startupState()
{
    MainWindowRig w(m_dir->path());
    QStringList texts;
    for (int i = 0; i < 6; ++i)
        texts << w.window.parameterPanel()->Text5(i)->text();
    QCOMPARE(texts,
             QStringList({QStringLiteral("3,5"), QStringLiteral("145"), QStringLiteral("1"),
                          QStringLiteral("0,2"), QStringLiteral("800"), QStringLiteral("807")}));
    QCOMPARE(readouts(w.window),
             QStringList({QStringLiteral("0,00"), QStringLiteral("0"), QStringLiteral("0"),
                          QStringLiteral("0,0895")}));
    QCOMPARE(w.window.clock().state().temps, 0.0);
    QCOMPARE(w.window.chronoPanel()->chrono()->text(), QStringLiteral("1000"));
    QCOMPARE(w.window.vectorPanel()->VScroll1()->value(), 30);
    QCOMPARE(w.window.vectorPanel()->VScroll3()->value(), 70);
    QCOMPARE(w.window.info()->text(), HintLine::defaultHint());
    QCOMPARE(w.window.windowTitle(), QStringLiteral("Lorva avec frottement"));
    QVERIFY(w.window.supertext()->isReadOnly());
    // The sphere waits at the top of the fluid.
    const QImage scene = w.window.picture2()->surface().image();
    QCOMPARE(scene.pixelColor(55, 25).red(), scene.pixelColor(55, 25).green());
    QVERIFY(w.services.messages.isEmpty());
}

// The load step's resets are drawn once, as the last of them would draw.
void TestFeuilleP::startupDrawsOnce()
{
    ScriptedServices services;
    FeuilleP window(services, m_dir->path());
    QCOMPARE(window.smallGraph().repgrapheCount(), 1);
    QCOMPARE(window.scene().majaffCount(), 1);
    const QImage graph = window.graphSurface().image();
    const QImage scene = window.sceneSurface().image();
    window.clock().command18_Click();
    QCOMPARE(window.smallGraph().repgrapheCount(), 2);
    QCOMPARE(window.scene().majaffCount(), 2);
    QCOMPARE(window.graphSurface().image(), graph);
    QCOMPARE(window.sceneSurface().image(), scene);
}

void TestFeuilleP::introductionText()
{
    MainWindowRig w(m_dir->path());
    QTextDocument *doc = w.window.supertext()->document();
    const QString text = doc->toPlainText();
    QVERIFY(text.startsWith(QStringLiteral("Lorva avec frottement\n\nCette application")));
    QVERIFY(text.endsWith(QStringLiteral("choisissez d'abord l'activité Prise en main dans le "
                                         "menu Exercices.")));
    const QTextBlock title = doc->begin();
    QCOMPARE(title.blockFormat().alignment(), Qt::AlignHCenter);
    QCOMPARE(title.begin().fragment().charFormat().foreground().color(), QColor(0, 0, 200));
    QVERIFY(title.begin().fragment().charFormat().font().pixelSize() == 24);
    QCOMPARE(title.next().blockFormat().leftMargin(), 20.0);
    // "chronophotographie " and "Exercices" are blue, their neighbours black.
    auto colourAt = [&](const QString &word) {
        QTextCursor c(doc);
        c.setPosition(int(text.indexOf(word)) + 1);
        return c.charFormat().foreground().color();
    };
    QCOMPARE(colourAt(QStringLiteral("chronophotographie ")), QColor(0, 0, 200));
    QCOMPARE(colourAt(QStringLiteral("Exercices.")), QColor(0, 0, 200));
    QCOMPARE(colourAt(QStringLiteral("Prise en main")), QColor(0, 0, 200));
    QCOMPARE(colourAt(QStringLiteral("Vous pouvez modifier")), QColor(Qt::black));
}

void TestFeuilleP::background()
{
    MainWindowRig w(m_dir->path());
    const QImage image = w.window.background()->picture();
    QCOMPARE(image.pixelColor(400, 0), QColor(255, 255, 255));
    // Row 180: 255 − 16.5 and 255 − 22.5, halves rounded to even.
    QCOMPARE(image.pixelColor(400, 180), QColor(238, 238, 232));
    QCOMPARE(image.pixelColor(400, 300), QColor(228, 228, 218));
    // The shadow of the text area, 3 pixels right of and below it.
    const QRect text = w.window.supertext()->geometry();
    QCOMPARE(image.pixelColor(text.right() + 2, text.bottom() + 2), QColor(128, 128, 128));
    QCOMPARE(image.pixelColor(text.right() + 5, text.bottom() + 2).red(),
             image.pixelColor(text.right() + 5, text.bottom() + 2).green());
    QVERIFY(image.pixelColor(text.right() + 5, text.bottom() + 2) != QColor(128, 128, 128));
    // The blue title "Animation :" left of the animation buttons.
    bool blue = false, grey = false;
    for (int y = 383; y < 404; ++y) {
        for (int x = 25; x < 140; ++x) {
            const QColor c = image.pixelColor(x, y);
            blue = blue || (c.blue() > 200 && c.red() < 60);
            grey = grey || c == QColor(128, 128, 128);
        }
    }
    QVERIFY(blue);
    QVERIFY(grey);

    // The window paints fills and a small title picture; the pixels are
    // those of the whole background drawn in one picture.
    const QPoint title(w.window.findChild<QWidget *>(QStringLiteral("Onglets"))->x() + 18,
                       w.window.button(QStringLiteral("command18"))->y());
    DrawingSurface whole(800, 600);
    Form_Paint(whole, QPoint(0, 0), w.window.fich()->geometry(), text, title);
    QCOMPARE(image, whole.image());
    // Painted in parts, as exposures paint it: the same pixels.
    QImage parts(800, 600, QImage::Format_RGB32);
    parts.fill(Qt::red);
    QPainter painter(&parts);
    for (int y = 0; y < 600; y += 7)
        for (int x = 0; x < 800; x += 13)
            w.window.background()->paint(painter, QRect(x, y, 13, 7), 1);
    painter.end();
    QCOMPARE(parts, whole.image());
}

void TestFeuilleP::applicationFontKept()
{
    const QFont original = QApplication::font();
    QFont font(QStringLiteral("DejaVu Serif"));
    font.setPointSize(13);
    QApplication::setFont(font);
    {
        MainWindowRig w(m_dir->path());
        // Built under its own font, the window leaves the application's as it was.
        QCOMPARE(QApplication::font(), font);
        QCOMPARE(w.window.font().pixelSize(), 11);
        QCOMPARE(w.window.fich()->font().family(), QStringLiteral("Arial"));
        // A window of its own, opened later, takes the application's font.
        QMenu menu(&w.window);
        QCOMPARE(menu.font(), font);
    }
    QApplication::setFont(original);
}

void TestFeuilleP::flagFileRecords()
{
    const QString path = m_dir->filePath(QStringLiteral("TEMPQavo.TMP"));
    QByteArray original(31 * 128, '\0');
    for (int i = 0; i < original.size(); ++i)
        original[i] = char(i % 97 + 1);
    for (int record : {19, 31}) {
        original[(record - 1) * 128] = 0;
        original[(record - 1) * 128 + 1] = 0;
    }
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(original);
    file.close();

    {
        MainWindowRig w(m_dir->path());
        QCOMPARE(w.window.flagPath(), path);
        QCOMPARE(RecordFile::readRecord(path, 19), std::optional<QString>(QStringLiteral("OUI")));
        w.services.answers.enqueue(MessageAnswer::Ok);
        QVERIFY(w.window.close());
    }
    const QByteArray after = fileBytes(path);
    QCOMPARE(after.size(), original.size());
    QCOMPARE(after.left(18 * 128), original.left(18 * 128));
    QCOMPARE(after.mid(18 * 128, 5), QByteArray("\x03\x00NON", 5));
    QCOMPARE(after.mid(19 * 128, 11 * 128), original.mid(19 * 128, 11 * 128));
}

void TestFeuilleP::closedBeforeTheFirstFrame()
{
    ScriptedServices services;
    FeuilleP window(services, m_dir->path());
    window.show();
    // Closed before any event is handled: nothing is painted.
    services.answers.enqueue(MessageAnswer::Ok);
    QVERIFY(window.close());
    QCOMPARE(RecordFile::readRecord(window.flagPath(), 19),
             std::optional<QString>(QStringLiteral("NON")));
    // The running mark, left for after the first frame, has its turn (at the
    // latest a second later) and leaves the closed mark alone.
    QTRY_VERIFY(!window.findChild<QObject *>(QStringLiteral("afterFirstPaint")));
    QCoreApplication::processEvents();
    QCOMPARE(RecordFile::readRecord(window.flagPath(), 19),
             std::optional<QString>(QStringLiteral("NON")));
}

void TestFeuilleP::requestedExerciseOpensOnce()
{
    const QString path = m_dir->filePath(QStringLiteral("TEMPQavo.TMP"));
    QVERIFY(RecordFile::writeRecord(path, 31, QStringLiteral("chute.E40")));
    MainWindowRig w(m_dir->path());
    // The launcher names an exercise of the shipped exercises' folder.
    const QDir exercises(ProgramPaths::exercisesFolder(m_dir->path()));
    QCOMPARE(w.requests, QStringList({exercises.filePath(QStringLiteral("chute.E40"))}));
    QCOMPARE(RecordFile::readRecord(path, 31), std::optional<QString>(QString()));
    // A blank request opens nothing.
    QVERIFY(RecordFile::writeRecord(path, 31, QStringLiteral("   ")));
    w.window.Form_Activate();
    QCOMPARE(w.requests.size(), 1);
    w.window.Form_Activate();
    QCOMPARE(w.requests.size(), 1);
}

void TestFeuilleP::requestRelativeToProgram_data()
{
    QTest::addColumn<QString>("request");
    QTest::addColumn<QString>("found"); // relative to the program's folder
    QTest::newRow("beside the program") << QStringLiteral("nom.E40") << QStringLiteral("nom.E40");
    QTest::newRow("windows separator")
        << QStringLiteral("exercices\\chute.E40") << QStringLiteral("exercices/chute.E40");
    QTest::newRow("slash") << QStringLiteral("exercices/chute.E40")
                           << QStringLiteral("exercices/chute.E40");
    QTest::newRow("bare name of the shipped ones")
        << QStringLiteral("CHUTE.e40") << QStringLiteral("exercices/chute.E40");
}

void TestFeuilleP::requestRelativeToProgram()
{
    QFETCH(QString, request);
    QFETCH(QString, found);
    const QDir program(m_dir->path());
    const QDir exercises(ProgramPaths::exercisesFolder(m_dir->path()));
    QVERIFY(exercises.mkpath(QStringLiteral(".")));
    for (const QString &file : {program.filePath(QStringLiteral("nom.E40")),
                                exercises.filePath(QStringLiteral("chute.E40"))}) {
        QFile f(file);
        QVERIFY(f.open(QIODevice::WriteOnly));
    }
    QVERIFY(RecordFile::writeRecord(program.filePath(QStringLiteral("TEMPQavo.TMP")), 31, request));
    MainWindowRig w(m_dir->path());
    QCOMPARE(w.requests.size(), 1);
    QCOMPARE(QFileInfo(w.requests.at(0)).canonicalFilePath(),
             QFileInfo(program.filePath(found)).canonicalFilePath());
}

void TestFeuilleP::closingConfirmations()
{
    MainWindowRig w(m_dir->path());
    w.window.setTextemodif(true);
    w.services.answers.enqueue(MessageAnswer::Cancel);
    QVERIFY(!w.window.close());
    QCOMPARE(w.services.messages.size(), 1);
    const ScriptedServices::Message first = w.services.messages.at(0);
    QCOMPARE(first.title, QStringLiteral("Abandon des données?"));
    QCOMPARE(first.text, QStringLiteral("Attention: perte des modifications du texte."));
    QCOMPARE(first.icon, MessageIcon::Question);
    QCOMPARE(first.buttons, MessageButtons::OkCancel);

    w.services.answers.enqueue(MessageAnswer::Ok);
    w.services.answers.enqueue(MessageAnswer::Cancel);
    QVERIFY(!w.window.close());
    QCOMPARE(w.services.messages.size(), 3);
    const ScriptedServices::Message second = w.services.messages.at(2);
    QCOMPARE(second.title, QStringLiteral("Fermer"));
    QCOMPARE(second.text, QStringLiteral("Quitter vraiment Lorva avec frottement ?"));
    QCOMPARE(second.icon, MessageIcon::Question);
    QVERIFY(w.window.isVisible());
    QCOMPARE(RecordFile::readRecord(w.window.flagPath(), 19),
             std::optional<QString>(QStringLiteral("OUI")));

    // Without a modified text only the second question is asked.
    w.window.setTextemodif(false);
    QSignalSpy unloaded(&w.window, &FeuilleP::unloaded);
    w.services.answers.enqueue(MessageAnswer::Ok);
    QVERIFY(w.window.close());
    QCOMPARE(w.services.messages.size(), 4);
    QCOMPARE(unloaded.size(), 1);
    QCOMPARE(RecordFile::readRecord(w.window.flagPath(), 19),
             std::optional<QString>(QStringLiteral("NON")));
}

void TestFeuilleP::hints()
{
    MainWindowRig w(m_dir->path());
    FeuilleP &f = w.window;
    struct Case
    {
        QWidget *control;
        const char *hint;
    };
    const Case cases[] = {
        {f.parameterPanel(), "Vous pouvez modifier tous les paramètres"},
        {f.picture4(), "Modifier les paramètres depuis l'onglet Paramètres"},
        {f.vectorPanel(), "Vous pouvez représenter les forces sur l'animation"},
        {f.vectorPanel()->Label4(2), "Modifier la couleur d'affichage"},
        {f.chronoPanel()->Label4(), "Modifier la couleur d'affichage"},
        {f.displayPanel(),
         "Les modifications de ces paramètres interviennent sur le mobile en mouvement"},
        {f.displayPanel()->Check1(),
         "Les options d'affichage s'appliquent également à l'image copiée ou imprimée."},
        {f.chronoPanel()->Check2(),
         "Les options d'affichage s'appliquent également à l'image copiée ou imprimée."},
        {f.chronoPanel(), "Paramètres de la chronophotographie"},
        {f.chronoPanel()->chrono(),
         "Vous pouvez régler l'intervalle de temps pour la chronophotographie."},
        {f.button(QStringLiteral("command15")),
         "Vous pouvez activer ou arrêter l'animation ou retrouver la position initiale"},
        {f.button(QStringLiteral("command18")),
         "Vous pouvez activer ou arrêter l'animation ou retrouver la position initiale"},
        {f.button(QStringLiteral("command16")),
         "Vous pouvez activer ou arrêter l'animation ou retrouver la position initiale."},
        {f.picture2(), "Déplacer l'index avec la souris (bouton enfoncé)"},
        {f.frame1(), "Cliquer pour agrandir et obtenir le tableau de valeurs"},
        {f.findChild<QToolButton *>(QStringLiteral("btexo")),
         "Ouvrir un énoncé, enregistrer le texte, obtenir la correction, imprimer ou fermer."},
        {f.button(QStringLiteral("Command13")),
         "Pour effacer les chronophotographies de l'image actuelle: bouton « Nouveau »"},
        {f.button(QStringLiteral("Command2")), "Pour retrouver une situation enregistrée"},
        {f.button(QStringLiteral("Command11")), "Pour conserver la configuration en cours"},
        {f.button(QStringLiteral("Command4")),
         "Copier pour placer l'image dans le presse- papiers puis coller depuis Word, "
         "Paint..."},
        {f.button(QStringLiteral("Command10")), "Pour configurer l'imprimante et imprimer l'image"},
        {f.button(QStringLiteral("Command8")), "Machine à calculer"},
        {f.button(QStringLiteral("Command7")),
         "Si vous rencontrez une difficulté avec cette application"},
        {f.button(QStringLiteral("Command1")),
         "Pour retrouver le module principal et quitter cette application"},
    };
    for (const Case &c : cases) {
        QVERIFY(c.control);
        f.hintLine().show(QString());
        // Over the panels, a free corner away from their controls.
        moveOver(c.control, QPoint(c.control->width() - 3, c.control->height() - 3));
        QCOMPARE(f.info()->text(), QString::fromUtf8(c.hint));
    }

    // Controls without a hint leave the line as it is.
    moveOver(f.button(QStringLiteral("command16")));
    const QString pause = f.info()->text();
    for (QWidget *quiet : std::initializer_list<QWidget *> {
             f.parameterPanel()->Text5(0), f.onglets(), f.displayPanel()->speed(),
             f.displayPanel()->Check4(), f.chronoPanel()->Label5(),
             f.button(QStringLiteral("Image4")), f.supertext(), f.fich()})
        moveOver(quiet);
    QCOMPARE(f.info()->text(), pause);
    // Over a control of a panel, the panel's own hint does not show.
    moveOver(f.parameterPanel(), f.parameterPanel()->Text5(0)->geometry().center());
    QCOMPARE(f.info()->text(), pause);
    // The window's background brings the default hint back.
    moveOver(&f, QPoint(790, 560));
    QCOMPARE(f.info()->text(), HintLine::defaultHint());
}

void TestFeuilleP::cameraHintFollowsRecording()
{
    MainWindowRig w(m_dir->path());
    FeuilleP &f = w.window;
    QToolButton *camera = f.chronoPanel()->command12();
    moveOver(camera);
    QCOMPARE(f.info()->text(),
             QStringLiteral("Appuyer sur la caméra pour commencer l'enregistrement."));
    camera->click();
    QVERIFY(f.clock().recording());
    QCOMPARE(camera->toolTip(), QStringLiteral("Arrêter la chronophotographie"));
    QCOMPARE(f.chronoPanel()->Label5()->text(), QStringLiteral("Arrêter la chronophotographie"));
    moveOver(camera);
    QCOMPARE(f.info()->text(),
             QStringLiteral("Appuyer sur le bouton pour arrêter l'enregistrement en cours."));
    while (f.clock().timerEnabled())
        f.clock().Timer1_Timer();
    QCOMPARE(camera->toolTip(), QStringLiteral("Chronophotographie"));
    QCOMPARE(f.chronoPanel()->Label5()->text(), QStringLiteral("Activer la chronophotographie"));
    moveOver(camera);
    QCOMPARE(f.info()->text(),
             QStringLiteral("Appuyer sur la caméra pour commencer l'enregistrement."));
}

void TestFeuilleP::tooltips()
{
    MainWindowRig w(m_dir->path());
    const std::pair<const char *, const char *> expected[] = {
        {"Command13", "Effacer l'image"},
        {"Command2", "Retrouver une configuration"},
        {"Command11", "Enregistrer la configuration actuelle"},
        {"Command4", "Placer l'image dans le presse-papiers"},
        {"Command10", "Imprimer l'image"},
        {"Command8", "Machine à calculer"},
        {"Command7", "Aide pour utiliser cette application"},
        {"Command1", "Quitter cette application"},
        {"command18", "Retrouver la position initiale"},
        {"Image4", "Stop"},
        {"command15", "Simulation"},
        {"command16", "Pause"},
    };
    for (const auto &[name, tip] : expected)
        QCOMPARE(w.window.button(QString::fromLatin1(name))->toolTip(), QString::fromUtf8(tip));
    const std::pair<const char *, const char *> captions[] = {
        {"Command13", "&Effacer"}, {"Command2", "&Ouvrir"},    {"Command11", "&Enregistrer"},
        {"Command4", "Co&pier"},   {"Command10", "&Imprimer"}, {"Command8", "&Calculatrice"},
        {"Command7", "&Aide"},     {"Command1", "&Fermer"},
    };
    for (const auto &[name, caption] : captions)
        QCOMPARE(w.window.button(QString::fromLatin1(name))->text(), QString::fromUtf8(caption));
    QLineEdit *fich = w.window.fich();
    fich->setText(QStringLiteral("/exercices/une/longue/chute.E40"));
    QCOMPARE(fich->toolTip(), fich->text());
    QCOMPARE(fich->cursorPosition(), int(fich->text().size()));
}

QTEST_MAIN(TestFeuilleP)
#include "tst_feuillep.moc"
