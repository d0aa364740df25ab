// SPDX-License-Identifier: GPL-3.0-or-later
// The exercises: the menu under the "Exercices" button, the exercise window
// and the exercise requested by the launcher.
#include "feuillep.h"

#include "introtext.h"

#include "exercises/exercisehost.h"
#include "exercises/exercisesession.h"
#include "platform/programpaths.h"

#include <QDir>
#include <QLineEdit>
#include <QToolButton>

// What the exercises see of the main window.
class FeuilleP::ExerciseView : public ExerciseHost
{
public:
    explicit ExerciseView(FeuilleP &window)
        : m_window(window)
    { }
    QTextEdit *supertext() const override { return m_window.supertext(); }
    QString fich() const override { return m_window.fich()->text(); }
    void setFich(const QString &text) override { m_window.fich()->setText(text); }
    bool textemodif() const override { return m_window.textemodif(); }
    void setTextemodif(bool modified) override { m_window.setTextemodif(modified); }
    bool chargeconfig(const QString &path) override { return m_window.chargeconfig(path); }
    int showModal(QDialog *window) override { return m_window.showModal(window); }
    void writeIntroduction() override { ::writeIntroduction(m_window.supertext()); }
    QWidget *window() const override { return &m_window; }

private:
    FeuilleP &m_window;
};

void FeuilleP::createExercises()
{
    m_exerciseView = std::make_shared<ExerciseView>(*this);
    const QString data = ProgramPaths::dataFolder(m_programFolder);
    QString exercises = ProgramPaths::exercisesFolder(m_programFolder);
    if (!QDir(exercises).exists())
        exercises = data;
    m_exercises = new ExerciseSession(*m_exerciseView, m_services, data, exercises);
    m_hooks.exerciseMenu = [this] {
        const QToolButton *btexo = button(QStringLiteral("btexo"));
        m_exercises->btexo_Click(btexo->mapToGlobal(QPoint(0, btexo->height())));
    };
    m_hooks.requestedExercise = [this](const QString &path) { m_exercises->openRequested(path); };
}
