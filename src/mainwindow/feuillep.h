// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/animationclock.h"
#include "core/displayoptions.h"
#include "core/parameterfields.h"
#include "core/validation.h"
#include "platform/drawingsurface.h"

#include <QWidget>

#include <functional>
#include <memory>

class ChronoPanel;
class DisplayPanel;
class ExerciseSession;
class GraphCommands;
class IndexLine;
class MainWindowConfiguration;
class MeasurementHolder;
class MenuCopie;
class HintLine;
class ParameterPanel;
class PlatformServices;
class QDialog;
class QLabel;
class QLineEdit;
class QTextEdit;
class QTimer;
class QToolButton;
class ReadoutPanel;
class RunningFlag;
class Scene;
class SmallGraph;
class SurfaceWidget;
class TabStrip;
class TextArea;
class VectorPanel;
class WindowBackground;
class Vectors;
struct SceneInputs;

// feuilleP, the main window: created first, alive for the whole run, closing
// it ends the program. It creates the tab strip, the scene, the read-outs,
// the text block and the command buttons, and wires them to the core (model,
// validation, clock) and to each other. It draws nothing and computes
// nothing itself.
class FeuilleP : public QWidget
{
    Q_OBJECT

public:
    // programFolder holds the running-flag file and the help page.
    FeuilleP(PlatformServices &services, const QString &programFolder, QWidget *parent = nullptr);
    ~FeuilleP() override;

    // What later windows plug in; each may stay empty.
    struct Hooks
    {
        std::function<void()> open;         // "&Ouvrir"
        std::function<void()> save;         // "&Enregistrer"
        std::function<void()> copy;         // "Co&pier"
        std::function<void()> print;        // "&Imprimer"
        std::function<void()> calculator;   // "&Calculatrice"
        std::function<void()> exerciseMenu; // btexo
        // An exercise the launcher asked for (its path); run at activation.
        std::function<void(const QString &)> requestedExercise;
        // Closes the calculator when the program ends.
        std::function<void()> unloadCalculator;
    };
    Hooks &hooks() { return m_hooks; }

    // Runs a window of the program modally over this one; its closing is an
    // activation of the main window.
    int showModal(QDialog *window);
    // The main window becomes the program's active window again.
    void Form_Activate();

    // What the other subsystems read and set: the parameter fields and the
    // interval (as texts), the display options, the clock's state.
    ParameterFields &fields();
    const DisplayOptions &options() const;
    // Sets every option control; each change runs its handlers as a user's would.
    void setOptions(const DisplayOptions &options);
    AnimationClock &clock() { return *m_clock; }
    ParameterValidator &validator() { return *m_validator; }
    PlatformServices &services() { return m_services; }
    // The scene's surface (Picture2) and the small graph's (Frame1), as drawn.
    DrawingSurface &sceneSurface();
    // The scene as shown, index line included: what printing and copying take.
    QImage scenePicture();
    DrawingSurface &graphSurface();

    // nomfichier: the path of the last configuration saved or read.
    QString &nomfichier() { return m_nomfichier; }
    // chargeconfig: reads the configuration file at path into the window
    // (fields, options, validation, refresh, title); a refused file changes
    // nothing and has been reported. path becomes nomfichier on success.
    bool chargeconfig(const QString &path);

    // Set while an open exercise's text has unsaved changes.
    bool textemodif() const;
    void setTextemodif(bool modified);

    Scene &scene() { return *m_scene; }
    SmallGraph &smallGraph() { return *m_smallGraph; }
    HintLine &hintLine() { return *m_hints; }
    TabStrip *onglets() const { return m_onglets; }
    ParameterPanel *parameterPanel() const;
    VectorPanel *vectorPanel() const;
    DisplayPanel *displayPanel() const;
    ChronoPanel *chronoPanel() const;
    ReadoutPanel *picture4() const { return m_picture4; }
    SurfaceWidget *picture2() const { return m_picture2; }
    SurfaceWidget *frame1() const { return m_frame1; }
    QTextEdit *supertext() const;
    QLineEdit *fich() const;
    QLabel *info() const { return m_info; }
    QToolButton *button(const QString &objectName) const;
    QString flagPath() const;
    WindowBackground *background() const { return m_background.get(); }

signals:
    // The window has closed after its confirmations: the program ends.
    void unloaded();
    // An activation (Form_Activate) has run to its end, checks included.
    void activated();

protected:
    void paintEvent(QPaintEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void changeEvent(QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    class View;

    // Widget creation, in feuillep_build.cpp.
    // Arial 8 points: the window's font, which its controls inherit.
    static QFont windowFont();
    void setUpWindow();
    void createCommandBar();
    void createAnimationControls();
    void createPanels();
    // The hint of each control, in feuillep_hints.cpp.
    void wireHints();
    // Tab chain, shortcuts and accessible names, in feuillep_keyboard.cpp.
    void setUpKeyboard();
    void nameControls();
    // The small graph, its index and the graph window; the configuration
    // files. In feuillep_subsystems.cpp.
    void createGraphs();
    // The session's measured fall, for the graph window and the small graph.
    MeasurementHolder *createMeasurements();
    void createConfiguration();
    // Printing and the copy menu.
    void createOutput();
    // The exercise menu and window, in feuillep_exercises.cpp.
    class ExerciseView;
    void createExercises();
    std::shared_ptr<ExerciseView> m_exerciseView; // shared: destroyed where incomplete
    ExerciseSession *m_exercises = nullptr;
    void wireControls();

    void Form_Load();
    void Form_Resize();
    void Form_Unload();
    void Command7_Click();
    void Command13_Click();
    // The small graph's repgraphe and the scene's majaff, or, while the
    // load step defers them, a note that each is due.
    void repgraphe();
    void majaff();
    void Label4_Click(int index);
    void maj12();

    PlatformServices &m_services;
    QString m_programFolder;
    Hooks m_hooks;
    std::unique_ptr<RunningFlag> m_flag;
    std::unique_ptr<View> m_view;
    std::unique_ptr<AnimationClock> m_clock;
    std::unique_ptr<ParameterValidator> m_validator;
    std::unique_ptr<SceneInputs> m_sceneInputs;
    std::unique_ptr<Scene> m_scene;
    std::unique_ptr<Vectors> m_vectors;
    std::unique_ptr<SmallGraph> m_smallGraph;
    std::unique_ptr<GraphCommands> m_graphCommands;
    std::unique_ptr<MainWindowConfiguration> m_configuration;
    IndexLine *m_index = nullptr;
    MenuCopie *m_menucopie = nullptr;
    QString m_nomfichier;
    HintLine *m_hints = nullptr;

    std::unique_ptr<WindowBackground> m_background;
    TabStrip *m_onglets = nullptr;
    ReadoutPanel *m_picture4 = nullptr;
    SurfaceWidget *m_picture2 = nullptr;
    SurfaceWidget *m_frame1 = nullptr;
    QLabel *m_info = nullptr;
    TextArea *m_text = nullptr;
    QToolButton *m_command18 = nullptr;
    QToolButton *m_image4 = nullptr;
    QToolButton *m_command15 = nullptr;
    QToolButton *m_command16 = nullptr;
    QTimer *m_timer1 = nullptr;

    bool m_loaded = false;
    // The load step validates three fields in a row, each resetting the
    // animation: the small graph and the scene are drawn once, at its end.
    bool m_drawingDeferred = false;
    bool m_repgrapheDue = false;
    bool m_majaffDue = false;
    bool m_activated = false;
    bool m_unloaded = false;
    bool m_snapPending = false;
};
