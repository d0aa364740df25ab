// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "graphscale.h"

#include "core/displayoptions.h"

#include <QDialog>
#include <QIcon>

#include <functional>

class MeasurementHolder;
class PlatformServices;
class QAction;
class QCheckBox;
class QFrame;
class QLabel;
class QMenu;
class QRadioButton;
class QRubberBand;
class QToolButton;
class SurfaceWidget;
class ValuesTable;
struct SimulationState;

// graphes, the graph window: the chosen quantity against time over the whole
// fall, drawn at once from the motion law on Picture1 (inner area 504 x 408,
// origin at (30, 360), time full scale over 400 pixels, value full scale over
// 330), with the velocity's asymptote on request, a read-out of the
// coordinates under the pointer and, left of the graph, the table of values.
// The grey tool strip Picture3 holds the quantity, the asymptote box and the
// icons "Fermer", "Imprimer", "Copier" (whose menu also exports the table
// and saves the graph to files) and "Calculatrice".
//
// With measurements (setMeasurements), a strip under the plot shows the
// residuals of the last fit, and the mouse works on the plot: a click on a
// measured point leaves it out or takes it back, a drag along the time axis
// chooses the fit range, drawn as a pale band. Keyboard users have the same
// in the "Mesures…" dialog (the table and the typed range).
//
// It is shown modally over the main window (coverWindow) and reads the
// state and the options there each time it is activated.
class Graphes : public QDialog
{
    Q_OBJECT

public:
    static constexpr int stripHeight = 41;
    static constexpr QSize pictureSize {504, 408};

    // options gives the main window's quantity (copied at each activation)
    // and "Tracer en gras".
    Graphes(const SimulationState &state, std::function<DisplayOptions()> options,
            PlatformServices &services, QWidget *parent = nullptr);
    ~Graphes() override;

    // Form_Load: the caption, icon, position, size and state of the main
    // window, so that this window covers it exactly.
    void coverWindow(const QWidget &mainWindow);
    // The icons of the strip, in the main window's style.
    void setIcons(const QIcon &fermer, const QIcon &imprimer, const QIcon &copier,
                  const QIcon &calculatrice);
    // Shows the calculator modally; the window is activated again afterwards.
    void setCalculator(std::function<void()> hook) { m_calculator = std::move(hook); }
    // The session's measured fall, drawn over the model and edited by the
    // "Mesures…" tool, which calls openMeasures with this window; without a
    // holder or the hook the tool is hidden. Redraws on the holder's changes.
    void setMeasurements(MeasurementHolder *holder,
                         std::function<void(QWidget *graphWindow)> openMeasures = {});
    // mesures_Click: the measures window, through the owner's hook.
    void mesures_Click();

    // Form_Activate: takes the quantity of the main window and redraws.
    void Form_Activate();
    // Option1_Click: "Tracer l'asymptote" is enabled for "Vitesse" only; redraws.
    void Option1_Click(int index);
    // Check1_Click: redraws.
    void Check1_Click();
    // tracegraphe: clears Picture1, chooses the scales for tfin, draws the
    // frame, the 401-point curve and the asymptote, and refills the table.
    void tracegraphe();
    // Picture1_MouseMove: over the plot, the time and the value under the
    // pointer beside the axes; elsewhere the read-out is hidden.
    void Picture1_MouseMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers shift, QPoint position);
    // Form_MouseMove: the pointer is off the graph; hides the read-out.
    void Form_MouseMove();
    // Picture1_MouseWheel: over the plot, a turn away from the user shows
    // the fit range only ("Plage ajustée"), a turn towards him the whole fall.
    void Picture1_MouseWheel(int delta);
    // Picture1_MouseDown, Picture1_MouseUp: with measurements, a left press
    // and release over the plot. Close together they are a click on the
    // point under the pointer; apart they set the fit range between them.
    void Picture1_MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers shift, QPoint position);
    void Picture1_MouseUp(Qt::MouseButton button, Qt::KeyboardModifiers shift, QPoint position);
    // residus_Paint: the residuals of the holder's last fit on their strip.
    void residus_Paint();
    // Picture3_Paint: the raised relief of the strip.
    void Picture3_Paint();
    // Picture3_Resize: the four icons from the right edge of the strip.
    void Picture3_Resize();
    // Image1_Click: 1 closes, 2 prints, 3 pops up the copy menu, 4 the calculator.
    void Image1_Click(int index);
    // contab_Click: the table as tab-separated text on the clipboard.
    void contab_Click();
    // cogra_Click: the graph's picture on the clipboard.
    void cogra_Click();
    // exptab_Click: the table saved as CSV for a spreadsheet, in a file the
    // user chooses.
    void exptab_Click();
    // enrgra_Click: the graph's picture saved as PNG, in a file the user
    // chooses.
    void enrgra_Click();

    int quantity() const;
    const GraphScale &scale() const { return m_scale; }

    SurfaceWidget *Picture3 = nullptr;
    SurfaceWidget *Picture1 = nullptr;
    QRadioButton *Option1[3] = {};
    QCheckBox *Check1 = nullptr;
    // Image1[1] … Image1[4]; Image1[0] is unused.
    QToolButton *Image1[5] = {};
    QToolButton *mesures = nullptr;
    // The residuals strip, under Picture1; shown while measurements are loaded.
    SurfaceWidget *residus = nullptr;
    QLabel *Label1 = nullptr;
    QLabel *Label2 = nullptr;
    ValuesTable *MSFlexGrid1 = nullptr;
    QMenu *copig = nullptr;
    QAction *contab = nullptr;
    QAction *cogra = nullptr;
    QAction *exptab = nullptr;
    QAction *enrgra = nullptr;

protected:
    void showEvent(QShowEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void createStrip();
    void createGraph();
    void Form_Resize();
    void placeGraphAndTable();
    void drawCurve(const QColor &colour, double span);
    void drawMeasurements();
    // The fitted measurement model through the points, shifted as they are.
    void drawFittedModel();
    void drawAsymptote();
    void drawFitRange();
    // With "Plage ajustée" on and a range with a finite bound, m_scale made
    // to show the measured positions inside the range only, its axes
    // starting at t0 and v0 (multiples of a division).
    void zoomOnRange();
    // During a drag: the band the release would choose, over the plot.
    void Picture1_Drag(Qt::MouseButtons buttons, QPoint position);
    bool residualsShown() const;
    int mesuresToolWidth() const;

    const SimulationState &m_state;
    std::function<DisplayOptions()> m_options;
    PlatformServices &m_services;
    std::function<void()> m_calculator;
    QFrame *m_pictureFrame = nullptr;
    QFrame *m_residualFrame = nullptr;
    QRubberBand *m_dragBand = nullptr;
    QPoint m_pressAt;
    bool m_pressed = false;
    GraphScale m_scale;
    MeasurementHolder *m_measures = nullptr;
    std::function<void(QWidget *)> m_openMeasures;
};
