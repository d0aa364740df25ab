// SPDX-License-Identifier: GPL-3.0-or-later
// The subsystems the main window hosts besides the scene: the small graph
// and its index line, the graph window, and the configuration files.
#include "feuillep.h"

#include "configtarget.h"
#include "displaypanel.h"
#include "icons.h"
#include "tabstrip.h"

#include "config/enregistrer.h"
#include "config/ouvrir.h"
#include "core/parameterfields.h"
#include "core/validation.h"
#include "graphs/graphcommands.h"
#include "graphs/smallgraph.h"
#include "measures/measurementholder.h"
#include "measuresui/mesuresdialog.h"
#include "output/confimp.h"
#include "output/menucopie.h"
#include "platform/programpaths.h"
#include "platform/surfacewidget.h"
#include "scene/indexline.h"
#include "scene/readoutpanel.h"
#include "scene/scene.h"
#include "videoui/videodialog.h"

#include <QLabel>
#include <QPointer>
#include <QPushButton>

void FeuilleP::createGraphs()
{
    const auto options = [this] { return this->options(); };
    m_smallGraph = std::make_unique<SmallGraph>(graphSurface(), m_clock->state(), options);
    m_smallGraph->setChanged([this] { m_frame1->update(); });

    m_index = new IndexLine(*m_picture2, fields());
    connect(m_index, &IndexLine::readoutChanged, m_picture4, &ReadoutPanel::setIndexReadout);
    connect(m_index, &IndexLine::visibilityChanged, m_picture4->label8(), &QLabel::setVisible);
    connect(m_picture2, &SurfaceWidget::mousePressed, m_index, &IndexLine::Picture2_MouseDown);
    connect(m_picture2, &SurfaceWidget::mouseMoved, m_index, &IndexLine::Picture2_MouseMove);
    connect(m_onglets, &TabStrip::indexShownChanged, m_index, &IndexLine::Check4_Click);
    m_index->Check4_Click(options().showIndex);

    m_graphCommands = std::make_unique<GraphCommands>(*this, m_clock->state(), options, m_services);
    GraphCommands::Hooks &hooks = m_graphCommands->hooks();
    hooks.showModal = [this](QDialog *window) { return showModal(window); };
    hooks.stopTimer = [this] { m_clock->setTimerEnabled(false); };
    hooks.calculator = [this] {
        if (m_hooks.calculator)
            m_hooks.calculator();
    };
    hooks.measurements = createMeasurements();
    hooks.openMeasures = [this, holder = hooks.measurements](QWidget *graphWindow) {
        // Not modal, beside the graph window: the range can be dragged on the
        // plot while the measures window is open.
        MesuresDialog::showBeside(*holder, services(), graphWindow);
    };
    m_graphCommands->setIcons(Icons::close(), Icons::print(), Icons::copy(), Icons::calculator());
    QPushButton *command5 = displayPanel()->Command5();
    connect(command5, &QPushButton::clicked, this,
            [this, command5] { m_graphCommands->Command5_Click(command5); });
    connect(m_frame1, &SurfaceWidget::mouseReleased, this,
            [this](Qt::MouseButton button, Qt::KeyboardModifiers, QPoint position) {
                if (button == Qt::LeftButton && m_frame1->rect().contains(position))
                    m_graphCommands->Frame1_Click(m_frame1);
            });
    // Option1_Click: a new quantity resets the animation, which redraws the
    // small graph for it when the sphere falls; when it rises (vlim < 0) the
    // reset leaves the graph alone, and the graph is redrawn here.
    connect(m_onglets, &TabStrip::graphQuantityChanged, this, [this] {
        m_clock->command18_Click();
        if (!(m_clock->state().vlim >= 0.0))
            repgraphe();
    });
}

void FeuilleP::repgraphe()
{
    m_repgrapheDue = m_drawingDeferred;
    if (!m_drawingDeferred && m_smallGraph)
        m_smallGraph->repgraphe();
}

void FeuilleP::majaff()
{
    m_majaffDue = m_drawingDeferred;
    if (!m_drawingDeferred && m_scene)
        m_scene->majaff();
}

MeasurementHolder *FeuilleP::createMeasurements()
{
    // The measured fall lives as long as the window; the graphs read it.
    auto *holder = new MeasurementHolder(this);
    holder->fieldTexts = [this] {
        ParameterFields &f = fields();
        return MeasureFieldTexts {f.text(ParameterFields::Radius), f.text(ParameterFields::Mass),
                                  f.text(ParameterFields::FluidDensity),
                                  f.text(ParameterFields::Viscosity)};
    };
    holder->apply = [this](const AppliedFit &fit) {
        // Each value goes through the field's own validation, the sphere
        // before the fluid so that the mass is not derived from an old radius.
        const auto put = [this](int index, const QString &text) {
            fields().setText(index, text);
            validator().Text5_LostFocus(index);
        };
        if (fit.sphereAndFluid) {
            put(ParameterFields::Radius, fit.radius);
            put(ParameterFields::Mass, fit.mass);
            put(ParameterFields::FluidDensity, fit.fluidDensity);
        }
        put(ParameterFields::Viscosity, fit.viscosity);
    };
    // "Ouvrir un fichier de mesures…" starts in the user's documents, then
    // in the folder of the last file: never in the program's own folders.
    // One video window for the session: its calibration and track stay
    // between openings, and keep the measured fall up to date.
    auto video = std::make_shared<QPointer<VideoDialog>>();
    holder->openVideo = [this, holder, video] {
        if (!*video)
            *video = new VideoDialog(*holder, services(), this);
        (*video)->exec();
    };
    m_smallGraph->setMeasurements(holder);
    // New points reset the animation, which redraws the small graph with them.
    connect(holder, &MeasurementHolder::changed, this, [this] { m_clock->command18_Click(); });
    // A fit shifts the points onto the simulator's release.
    connect(holder, &MeasurementHolder::fitChanged, this, [this] {
        m_smallGraph->repgraphe();
        m_frame1->update();
    });
    return holder;
}

void FeuilleP::createConfiguration()
{
    m_configuration = std::make_unique<MainWindowConfiguration>(*this);
    m_hooks.save = [this] {
        Enregistrer dialog(*m_configuration, m_services, m_nomfichier, geometry().topLeft(), this);
        showModal(&dialog);
    };
    m_hooks.open = [this] {
        Ouvrir dialog(*m_configuration, m_services, m_nomfichier, geometry().topLeft(), this);
        showModal(&dialog);
    };
}

QImage FeuilleP::scenePicture()
{
    // The index line lies over the scene as a control of its own; printed
    // and copied pictures show it as the screen does.
    DrawingSurface copy(sceneSurface().width(), sceneSurface().height());
    copy.drawImage(0, 0, sceneSurface().image());
    m_index->drawOn(copy);
    return copy.image();
}

void FeuilleP::createOutput()
{
    const auto scene = [this] { return scenePicture(); };
    const auto graph = [this] { return graphSurface().image(); };
    m_menucopie = new MenuCopie(m_services, scene, graph, this);
    m_hooks.copy = [this] { m_menucopie->popupAtPointer(); };
    m_hooks.print = [this, scene, graph] {
        // A new dialog at each opening: its choices start afresh.
        Confimp confimp(m_services, scene, graph, frameGeometry(), this);
        showModal(&confimp);
    };
}

bool FeuilleP::chargeconfig(const QString &path)
{
    if (!::chargeconfig(path, *m_configuration, m_services))
        return false;
    m_nomfichier = path;
    return true;
}
