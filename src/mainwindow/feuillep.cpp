// SPDX-License-Identifier: GPL-3.0-or-later
#include "feuillep.h"

#include "accessibility.h"
#include "chronopanel.h"
#include "configtarget.h"
#include "displaypanel.h"
#include "hintline.h"
#include "icons.h"
#include "parameteredit.h"
#include "parameterpanel.h"
#include "runningflag.h"
#include "tabstrip.h"
#include "textarea.h"
#include "vectorpanel.h"
#include "windowbackground.h"

#include "config/chargeconfig.h"
#include "graphs/graphcommands.h"
#include "graphs/smallgraph.h"
#include "platform/palette.h"
#include "platform/platformservices.h"
#include "platform/surfacewidget.h"
#include "scene/indexline.h"
#include "scene/readoutpanel.h"
#include "scene/scene.h"
#include "scene/sceneinputs.h"
#include "scene/vectors.h"

#include <QApplication>
#include <QLabel>
#include <QPaintEvent>
#include <QPainter>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>

// What the animation clock asks of the window.
class FeuilleP::View : public AnimationView
{
public:
    explicit View(FeuilleP &window)
        : m_window(window)
    { }
    void setTimerRunning(bool running) override
    {
        if (running)
            m_window.m_timer1->start();
        else
            m_window.m_timer1->stop();
    }
    void majaff() override { m_window.majaff(); }
    void repgraphe() override { m_window.repgraphe(); }
    void vectorScalesChanged() override
    {
        const SimulationState &s = m_window.m_clock->state();
        m_window.vectorPanel()->setExponents(s.expoids, s.expvit);
    }
    void readoutsChanged() override
    {
        const AnimationClock &c = *m_window.m_clock;
        m_window.m_picture4->setReadouts(c.label3(), c.label1(), c.label6(), c.label7());
    }
    void recordingChanged() override { m_window.maj12(); }
    void setCommand5Enabled(bool enabled) override
    {
        m_window.displayPanel()->Command5()->setEnabled(enabled);
    }
    bool slowMotion() const override { return m_window.options().slowMotion; }
    void focusScene() override
    {
        if (m_window.m_picture2->isVisible())
            m_window.m_picture2->setFocus(Qt::OtherFocusReason);
    }
    void showError(const QString &title, const QString &text) override
    {
        m_window.m_services.message(MessageIcon::Error, title, text);
    }

private:
    FeuilleP &m_window;
};

namespace {

// Qt lays out an empty text in the application's font as it builds each
// line edit, before the edit takes its window's font. Under the system's
// default font that would load a font the window never shows, a few
// milliseconds before its first frame: the window's controls are built
// under the window's own font, and the application's is put back after.
class BuildingFont
{
public:
    explicit BuildingFont(const QFont &font)
        : m_saved(QApplication::font())
    {
        QApplication::setFont(font);
    }
    ~BuildingFont() { QApplication::setFont(m_saved); }
    BuildingFont(const BuildingFont &) = delete;
    BuildingFont &operator=(const BuildingFont &) = delete;

private:
    QFont m_saved;
};

} // namespace

FeuilleP::FeuilleP(PlatformServices &services, const QString &programFolder, QWidget *parent)
    : QWidget(parent)
    , m_services(services)
    , m_programFolder(programFolder)
    , m_flag(std::make_unique<RunningFlag>(programFolder))
{
    const BuildingFont building(windowFont());
    Accessibility::installFactory();
    setUpWindow();
    createCommandBar();
    createPanels();
    createAnimationControls();

    m_view = std::make_unique<View>(*this);
    m_clock = std::make_unique<AnimationClock>(fields(), *m_view);
    m_validator = std::make_unique<ParameterValidator>(fields(), *m_clock);
    m_validator->setPumpEvents([] { QCoreApplication::processEvents(); });
    m_validator->setEraseChronophotographs([this] { Command13_Click(); });

    createGraphs();
    createConfiguration();
    createOutput();
    createExercises();

    m_sceneInputs = std::make_unique<SceneInputs>(
        SceneInputs {m_clock->state(), fields(), m_onglets->options(),
                     [this] { return m_clock->markDue(); }, [this] { return m_index->y(); }});
    m_scene = std::make_unique<Scene>(sceneSurface(), *m_sceneInputs);
    m_scene->setChanged([this] { m_picture2->update(); });
    m_vectors = std::make_unique<Vectors>(sceneSurface(), *m_sceneInputs);
    m_scene->setLesvecteurs([this](int gx, int gy) { m_vectors->lesvecteurs(gx, gy); });
    m_scene->setTracegraphe([this] { m_smallGraph->tracegraphe(); });
    m_scene->setIndexReadout([this](const QString &text) { m_picture4->setIndexReadout(text); });

    m_timer1 = new QTimer(this);
    m_timer1->setObjectName(QStringLiteral("Timer1"));
    m_timer1->setInterval(AnimationClock::intervalMs);
    m_timer1->setTimerType(Qt::PreciseTimer);
    connect(m_timer1, &QTimer::timeout, this, [this] { m_clock->Timer1_Timer(); });

    wireControls();
    wireHints();
    nameControls();
    setUpKeyboard();
    Form_Load();
}

FeuilleP::~FeuilleP() = default;

ParameterFields &FeuilleP::fields()
{
    return m_onglets->fields();
}

const DisplayOptions &FeuilleP::options() const
{
    return m_onglets->options();
}

void FeuilleP::setOptions(const DisplayOptions &options)
{
    m_onglets->setOptions(options);
}

DrawingSurface &FeuilleP::sceneSurface()
{
    return m_picture2->surface();
}

DrawingSurface &FeuilleP::graphSurface()
{
    return m_frame1->surface();
}

bool FeuilleP::textemodif() const
{
    return m_text->textemodif();
}

void FeuilleP::setTextemodif(bool modified)
{
    m_text->setTextemodif(modified);
}

QTextEdit *FeuilleP::supertext() const
{
    return m_text->supertext();
}

QLineEdit *FeuilleP::fich() const
{
    return m_text->fich();
}

ParameterPanel *FeuilleP::parameterPanel() const
{
    return m_onglets->Picture3();
}

VectorPanel *FeuilleP::vectorPanel() const
{
    return m_onglets->frame2();
}

DisplayPanel *FeuilleP::displayPanel() const
{
    return m_onglets->Picture1();
}

ChronoPanel *FeuilleP::chronoPanel() const
{
    return m_onglets->Picture6();
}

QToolButton *FeuilleP::button(const QString &objectName) const
{
    return findChild<QToolButton *>(objectName);
}

QString FeuilleP::flagPath() const
{
    return m_flag->path();
}

void FeuilleP::wireControls()
{
    connect(button(QStringLiteral("Command13")), &QToolButton::clicked, this,
            [this] { Command13_Click(); });
    const auto hook = [this](const char *name, std::function<void()> Hooks::*member) {
        connect(button(QString::fromLatin1(name)), &QToolButton::clicked, this, [this, member] {
            if (m_hooks.*member)
                (m_hooks.*member)();
        });
    };
    hook("Command2", &Hooks::open);
    hook("Command11", &Hooks::save);
    hook("Command4", &Hooks::copy);
    hook("Command10", &Hooks::print);
    hook("Command8", &Hooks::calculator);
    connect(button(QStringLiteral("Command7")), &QToolButton::clicked, this,
            &FeuilleP::Command7_Click);
    connect(button(QStringLiteral("Command1")), &QToolButton::clicked, this, &QWidget::close);

    connect(m_command18, &QToolButton::clicked, this, [this] { m_clock->command18_Click(); });
    connect(m_image4, &QToolButton::clicked, this, [this] { m_clock->Image4_Click(); });
    connect(m_command15, &QToolButton::clicked, this, [this] { m_clock->command15_Click(); });
    connect(m_command16, &QToolButton::clicked, this, [this] { m_clock->command16_Click(); });

    ParameterPanel *panel = parameterPanel();
    for (int i = 0; i < ParameterFields::Count; ++i) {
        ParameterEdit *field = panel->Text5(i);
        field->setKeyFilter(
            [this, i](char16_t key) { return m_validator->Text5_KeyPress(i, key); });
        connect(field, &ParameterEdit::focusEntered, this,
                [this, i] { m_validator->Text5_GotFocus(i); });
        connect(field, &ParameterEdit::focusLeft, this,
                [this, i] { m_validator->Text5_LostFocus(i); });
    }
    ParameterEdit *chrono = chronoPanel()->chrono();
    chrono->setKeyFilter([this](char16_t key) { return m_validator->chrono_KeyPress(key); });
    connect(chrono, &ParameterEdit::focusLeft, this, [this] { m_validator->chrono_LostFocus(); });

    connect(m_onglets, &TabStrip::sceneOptionChanged, this, [this] { m_scene->majaff(); });
    connect(m_onglets, &TabStrip::swatchClicked, this, &FeuilleP::Label4_Click);
    connect(m_onglets, &TabStrip::colourChanged, this, [this](int index) {
        // The friction colour repaints the background, which erases the marks.
        if (index == DisplayOptions::FrictionColour)
            m_scene->fond();
        m_scene->majaff();
    });

    ChronoPanel *chronoPanel = this->chronoPanel();
    connect(chronoPanel->command12(), &QAbstractButton::clicked, this,
            [this] { m_clock->command12_Click(); });
    connect(chronoPanel, &ChronoPanel::label5Clicked, this, [this] { m_clock->command12_Click(); });
    connect(m_text, &TextArea::exerciseMenuRequested, this, [this] {
        if (m_hooks.exerciseMenu)
            m_hooks.exerciseMenu();
    });
}

void FeuilleP::maj12()
{
    ChronoPanel *panel = chronoPanel();
    const bool recording = m_clock->recording();
    panel->command12()->setIcon(recording ? Icons::cameraRecording() : Icons::cameraIdle());
    panel->setCameraToolTip(m_clock->cameraToolTip());
    panel->Label5()->setText(m_clock->cameraCaption());
}

void FeuilleP::Label4_Click(int index)
{
    const std::optional<QColor> colour
        = m_services.pickColour(colourFromStored(options().colours[index]));
    // A cancel changes nothing and redraws nothing.
    if (colour)
        m_onglets->setColour(index, storedColour(*colour));
}

void FeuilleP::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    QRegion uncovered = event->region();
    if (m_background) {
        const int ratio = SurfaceWidget::screenRatio(*this);
        for (const QRect &part : event->region()) {
            // Clipped to one rectangle, a fill is a plain fill: under the
            // region around the child widgets, Qt would first build a mask of
            // the whole window's height (260 KB) and blend through it.
            painter.setClipRect(part);
            m_background->paint(painter, part, ratio);
        }
        painter.setClipping(false);
        uncovered -= QRect(0, 0, WindowBackground::width, WindowBackground::height);
    }
    // Qt does not erase the window first (it is opaque): anything the
    // background does not cover gets the window colour.
    for (const QRect &part : uncovered)
        painter.fillRect(part, palette().window());
}
