// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up, activation, size policy, help and closing of the main window.
#include "feuillep.h"

#include "afterfirstpaint.h"
#include "chronopanel.h"
#include "hintline.h"
#include "introtext.h"
#include "parameterpanel.h"
#include "runningflag.h"
#include "scalespinner.h"
#include "tabstrip.h"
#include "vectorpanel.h"
#include "windowbackground.h"

#include "exercises/exercisefiles.h"
#include "platform/platformservices.h"
#include "platform/programpaths.h"
#include "platform/surfacewidget.h"
#include "scene/readoutpanel.h"
#include "scene/scene.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QDir>
#include <QLineEdit>
#include <QScreen>
#include <QTextEdit>
#include <QTimer>
#include <QToolButton>

void FeuilleP::Form_Load()
{
    m_drawingDeferred = true;
    // The flag is saved atomically and synced to the disk, which can take
    // tens of milliseconds on a busy disk: the first frame does not wait for
    // it. A window closed before then keeps the closed mark.
    afterFirstPaint(*this, [this] {
        if (!m_unloaded)
            m_flag->markRunning();
    });
    Form_Resize();
    writeIntroduction(supertext());

    fields().setText(ParameterFields::Radius, QStringLiteral("3,5"));
    fields().setText(ParameterFields::Mass, QStringLiteral("145"));
    m_validator->Text5_LostFocus(ParameterFields::Height);

    m_hints->show(HintLine::defaultHint());
    m_background = std::make_unique<WindowBackground>(
        fich()->geometry(), supertext()->geometry(), QPoint(m_onglets->x() + 18, m_command18->y()));

    vectorPanel()->VScroll1()->setValue(30);
    vectorPanel()->VScroll3()->setValue(70);
    m_clock->repgraphe();
    m_validator->Text5_LostFocus(ParameterFields::Radius);

    // The resets above each asked for both drawings; the last state is the
    // one shown, so one of each, in the order a reset draws them.
    m_drawingDeferred = false;
    if (m_repgrapheDue)
        repgraphe();
    if (m_majaffDue)
        majaff();
    m_loaded = true;
}

void FeuilleP::Form_Activate()
{
    m_picture4->appareil();
    show();
    m_validator->Text5_LostFocus(ParameterFields::Mass);
    QCoreApplication::processEvents();

    const QString request = m_flag->takeRequestedExercise();
    if (!request.trimmed().isEmpty() && m_hooks.requestedExercise) {
        hide();
        // The launcher names the exercise relative to the program's folder;
        // a bare name of the shipped exercises is found in their folder.
        const QString folder = ProgramPaths::exercisesFolder(m_programFolder);
        m_hooks.requestedExercise(ExerciseFiles::requestedPath(request, {m_programFolder, folder}));
        show();
    }
    m_validator->Text5_LostFocus(ParameterFields::Mass);
    emit activated();
}

int FeuilleP::showModal(QDialog *window)
{
    window->setWindowModality(Qt::ApplicationModal);
    const int result = window->exec();
    Form_Activate();
    return result;
}

void FeuilleP::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (!m_activated) {
        // The first showing is the first activation; it runs once the window
        // is on screen, as the window system reports it.
        m_activated = true;
        QTimer::singleShot(0, this, &FeuilleP::Form_Activate);
    }
}

void FeuilleP::Form_Resize()
{
    const QScreen *screen = this->screen();
    if (!screen || screen->geometry().width() <= 850)
        return;
    if (windowState() & (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen))
        setWindowState(Qt::WindowNoState);
    const QRect area = screen->geometry();
    // The window frame is known only once the window is shown; the client
    // area is sized so that the framed window is about 800 × 600.
    const QSize frame = isVisible() ? frameGeometry().size() - geometry().size() : QSize();
    const QSize outer = size() + frame;
    move(area.x() + (area.width() - outer.width()) / 2,
         area.y() + (area.height() - outer.height()) / 2);
}

void FeuilleP::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange && !m_snapPending
        && windowState() != Qt::WindowNoState) {
        // Maximizing or minimizing is undone, once the window system has
        // finished its own change.
        m_snapPending = true;
        QTimer::singleShot(0, this, [this] {
            m_snapPending = false;
            Form_Resize();
        });
    }
}

void FeuilleP::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    if (m_loaded)
        Form_Resize();
}

void FeuilleP::closeEvent(QCloseEvent *event)
{
    if (textemodif()
        && m_services.message(MessageIcon::Question, QStringLiteral("Abandon des données?"),
                              QStringLiteral("Attention: perte des modifications du texte."),
                              MessageButtons::OkCancel)
            != MessageAnswer::Ok) {
        event->ignore();
        return;
    }
    if (m_services.message(MessageIcon::Question, QStringLiteral("Fermer"),
                           QStringLiteral("Quitter vraiment Lorva avec frottement ?"),
                           MessageButtons::OkCancel)
        != MessageAnswer::Ok) {
        event->ignore();
        return;
    }
    event->accept();
    Form_Unload();
}

void FeuilleP::Form_Unload()
{
    m_timer1->stop();
    if (m_hooks.unloadCalculator)
        m_hooks.unloadCalculator();
    m_unloaded = true;
    m_flag->markClosed();
    emit unloaded();
}

void FeuilleP::Command7_Click()
{
    m_services.showHelp(ProgramPaths::helpPage(m_programFolder));
}

void FeuilleP::Command13_Click()
{
    QToolButton *command13 = button(QStringLiteral("Command13"));
    command13->setCursor(Qt::WaitCursor);
    m_clock->command18_Click();
    m_scene->fond();
    command13->unsetCursor();
    majaff();
}
