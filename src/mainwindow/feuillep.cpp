#include "feuillep.h"

#include "chronopanel.h"
#include "colourswatch.h"
#include "displaypanel.h"
#include "hintline.h"
#include "icons.h"
#include "introtext.h"
#include "parameteredit.h"
#include "parameterpanel.h"
#include "runningflag.h"
#include "scalespinner.h"
#include "tabstrip.h"
#include "vectorpanel.h"
#include "windowbackground.h"

#include "core/motion.h"
#include "platform/platformservices.h"
#include "platform/surfacewidget.h"
#include "scene/readoutpanel.h"
#include "scene/scene.h"
#include "scene/sceneinputs.h"
#include "scene/vectorinputs.h"
#include "scene/vectors.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QTextEdit>
#include <QTimer>
#include <QToolButton>

namespace {

// Client-area layout of the main window, in pixels.
constexpr QRect ongletsRect(8, 48, 297, 329);
constexpr QRect infoRect(64, 416, 233, 33);
constexpr QRect picture4Rect(8, 456, 297, 89);
constexpr QRect picture2Rect(312, 48, 113, 497);
constexpr QRect frame1Rect(432, 48, 361, 265);
constexpr QRect fichRect(432, 320, 361, 19);
constexpr QRect supertextRect(432, 339, 361, 206);
constexpr int animationButtonsY = 384;
constexpr int border = 2; // sunken border of the picture areas
constexpr QSize clientSize(800, 572);

QFont arialPixels(int pixels, bool bold = false)
{
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

// Places a picture area inside the classic sunken 2-pixel border.
template<class Surface>
Surface *framed(Surface *surface, QWidget *parent, const QRect &outer, const QString &name)
{
    auto *frame = new QFrame(parent);
    frame->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    frame->setLineWidth(border);
    frame->setGeometry(outer);
    surface->setParent(frame);
    surface->setObjectName(name);
    surface->setGeometry(border, border, outer.width() - 2 * border, outer.height() - 2 * border);
    return surface;
}

} // namespace

// The six parameter fields and the interval, as the core sees them.
class FeuilleP::Fields : public ParameterFields
{
public:
    explicit Fields(FeuilleP &window)
        : m_window(window)
    { }
    QString text(int index) const override
    {
        return m_window.parameterPanel()->Text5[index]->text();
    }
    void setText(int index, const QString &text) override
    {
        m_window.parameterPanel()->Text5[index]->setText(text);
    }
    QString intervalText() const override { return m_window.chronoPanel()->chrono->text(); }
    void setIntervalText(const QString &text) override
    {
        m_window.chronoPanel()->chrono->setText(text);
    }

private:
    FeuilleP &m_window;
};

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
    void majaff() override
    {
        if (m_window.m_scene)
            m_window.m_scene->majaff();
    }
    void repgraphe() override { }
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
        m_window.displayPanel()
            ->findChild<QPushButton *>(QStringLiteral("Command5"))
            ->setEnabled(enabled);
    }
    bool slowMotion() const override { return m_window.displayPanel()->speed->isChecked(); }
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

// What the scene and its vectors read at each refresh.
class FeuilleP::SceneState
    : public SceneInputs
    , public VectorInputs
{
public:
    explicit SceneState(FeuilleP &window)
        : m_window(window)
    { }
    const SimulationState &state() const override { return m_window.m_clock->state(); }
    const ParameterFields &fields() const override { return *m_window.m_fieldsAdapter; }
    bool markDue() const override { return m_window.m_clock->markDue(); }
    bool showAxis() const override { return m_window.displayPanel()->Check1->isChecked(); }
    bool showRuler() const override { return m_window.displayPanel()->Check6->isChecked(); }
    bool crossMarks() const override { return m_window.chronoPanel()->Check2->isChecked(); }
    bool keepVectorsOnMarks() const override { return m_window.chronoPanel()->Check9->isChecked(); }
    QColor markColour() const override { return m_window.chronoPanel()->Label4->colour(); }
    int indexLineY() const override { return 25; }
    bool showForces() const override { return m_window.vectorPanel()->Check12->isChecked(); }
    bool showVelocity() const override { return m_window.vectorPanel()->Check5->isChecked(); }
    int forceScale() const override { return m_window.vectorPanel()->VScroll3->value(); }
    int velocityScale() const override { return m_window.vectorPanel()->VScroll1->value(); }
    QColor colour(Swatch swatch) const override
    {
        return m_window.m_onglets->Label4(int(swatch))->colour();
    }

private:
    FeuilleP &m_window;
};

FeuilleP::FeuilleP(PlatformServices &services, const QString &programFolder, QWidget *parent)
    : QWidget(parent)
    , m_services(services)
    , m_programFolder(programFolder)
    , m_flag(std::make_unique<RunningFlag>(programFolder))
    , m_background(800, 600)
{
    setObjectName(QStringLiteral("feuilleP"));
    setWindowTitle(QStringLiteral("Lorva avec frottement"));
    setFont(arialPixels(11));
    setMouseTracking(true);
    // 800 × 600 with the window frame: the client area under a title bar.
    setFixedSize(clientSize);

    createCommandBar();
    createPanels();
    createAnimationControls();
    createTextArea();

    m_fieldsAdapter = std::make_unique<Fields>(*this);
    m_view = std::make_unique<View>(*this);
    m_sceneState = std::make_unique<SceneState>(*this);
    m_clock = std::make_unique<AnimationClock>(*m_fieldsAdapter, *m_view);
    m_validator = std::make_unique<ParameterValidator>(*m_fieldsAdapter, *m_clock);
    m_validator->setPumpEvents([] { QCoreApplication::processEvents(); });
    m_validator->setEraseChronophotographs([this] { Command13_Click(); });
    m_scene = std::make_unique<Scene>(*m_picture2, *m_sceneState);
    m_vectors = std::make_unique<Vectors>(m_picture2->surface(), *m_sceneState);
    m_scene->setLesvecteurs([this](int gx, int gy) { m_vectors->lesvecteurs(gx, gy); });

    m_timer1 = new QTimer(this);
    m_timer1->setObjectName(QStringLiteral("Timer1"));
    m_timer1->setInterval(AnimationClock::intervalMs);
    m_timer1->setTimerType(Qt::PreciseTimer);
    connect(m_timer1, &QTimer::timeout, this, [this] { m_clock->Timer1_Timer(); });

    wireFields();
    wireHints();
    Form_Load();
}

FeuilleP::~FeuilleP() = default;

ParameterFields &FeuilleP::fields()
{
    return *m_fieldsAdapter;
}

ParameterPanel *FeuilleP::parameterPanel() const
{
    return m_onglets->Picture3;
}

VectorPanel *FeuilleP::vectorPanel() const
{
    return m_onglets->frame2;
}

DisplayPanel *FeuilleP::displayPanel() const
{
    return m_onglets->Picture1;
}

ChronoPanel *FeuilleP::chronoPanel() const
{
    return m_onglets->Picture6;
}

QToolButton *FeuilleP::button(const QString &objectName) const
{
    return findChild<QToolButton *>(objectName);
}

QString FeuilleP::flagPath() const
{
    return m_flag->path();
}

void FeuilleP::createCommandBar()
{
    struct Command
    {
        const char *name;
        const char *caption;
        const char *toolTip;
        QIcon (*icon)();
        int x;
        int width;
    };
    const Command commands[] = {
        {"Command13", "&Effacer", "Effacer l'image", &Icons::erase, 0, 97},
        {"Command2", "&Ouvrir", "Retrouver une configuration", &Icons::open, 96, 97},
        {"Command11", "&Enregistrer", "Enregistrer la configuration actuelle", &Icons::save, 192,
         105},
        {"Command4", "Co&pier", "Placer l'image dans le presse-papiers", &Icons::copy, 296, 97},
        {"Command10", "&Imprimer", "Imprimer l'image", &Icons::print, 392, 105},
        {"Command8", "&Calculatrice", "Machine à calculer", &Icons::calculator, 496, 105},
        {"Command7", "&Aide", "Aide pour utiliser cette application", &Icons::help, 600, 97},
        {"Command1", "&Fermer", "Quitter cette application", &Icons::close, 696, 97},
    };
    for (const Command &c : commands) {
        auto *b = new QToolButton(this);
        b->setObjectName(QString::fromLatin1(c.name));
        b->setText(QString::fromUtf8(c.caption));
        b->setToolTip(QString::fromUtf8(c.toolTip));
        b->setIcon(c.icon());
        b->setIconSize(QSize(20, 20));
        b->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        b->setGeometry(c.x, 0, c.width, 41);
        // Clicking a command takes the focus, so a field being edited is validated first.
        b->setFocusPolicy(Qt::StrongFocus);
    }
    connect(button(QStringLiteral("Command13")), &QToolButton::clicked, this,
            [this] { Command13_Click(); });
    auto hook = [this](const char *name, std::function<void()> Hooks::*member) {
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
}

void FeuilleP::createPanels()
{
    m_onglets = new TabStrip(this);
    m_onglets->setGeometry(ongletsRect);
    // The fields as they stand before the load step: the sphere density is
    // made consistent with the mass at the first activation.
    const char *designed[ParameterFields::Count] = {"", "", "1", "0,2", "800", "0"};
    for (int i = 0; i < ParameterFields::Count; ++i)
        parameterPanel()->Text5[i]->setText(QString::fromLatin1(designed[i]));

    // "Agrandir" opens the graph window; it sits with the graph options.
    auto *command5 = new QPushButton(QStringLiteral("Agrandir"), displayPanel());
    command5->setObjectName(QStringLiteral("Command5"));
    command5->setGeometry(180, 206, 81, 25);
    connect(command5, &QPushButton::clicked, this, [this] {
        if (m_hooks.graphWindow)
            m_hooks.graphWindow();
    });

    m_picture2 = framed(new SurfaceWidget, this, picture2Rect, QStringLiteral("Picture2"));
    m_picture2->setCursor(Qt::CrossCursor);
    m_picture2->setFocusPolicy(Qt::ClickFocus);

    m_frame1 = framed(new SurfaceWidget, this, frame1Rect, QStringLiteral("Frame1"));
    m_frame1->surface().setBackColor(Qt::white);
    m_frame1->setCursor(Qt::PointingHandCursor);

    m_picture4 = framed(new ReadoutPanel, this, picture4Rect, QStringLiteral("Picture4"));
}

void FeuilleP::createAnimationControls()
{
    struct Control
    {
        QToolButton *FeuilleP::*member;
        const char *name;
        const char *toolTip;
        QIcon (*icon)();
        int x;
    };
    const Control controls[] = {
        {&FeuilleP::m_command18, "command18", "Retrouver la position initiale", &Icons::reset, 144},
        {&FeuilleP::m_image4, "Image4", "Stop", &Icons::stop, 176},
        {&FeuilleP::m_command15, "command15", "Simulation", &Icons::start, 208},
        {&FeuilleP::m_command16, "command16", "Pause", &Icons::pause, 240},
    };
    for (const Control &c : controls) {
        auto *b = new QToolButton(this);
        b->setObjectName(QString::fromLatin1(c.name));
        b->setToolTip(QString::fromUtf8(c.toolTip));
        b->setIcon(c.icon());
        b->setIconSize(QSize(18, 18));
        b->setGeometry(c.x, animationButtonsY, 24, 24);
        b->setFocusPolicy(Qt::NoFocus);
        this->*c.member = b;
    }
    connect(m_command18, &QToolButton::clicked, this, [this] { m_clock->command18_Click(); });
    connect(m_image4, &QToolButton::clicked, this, [this] { m_clock->Image4_Click(); });
    connect(m_command15, &QToolButton::clicked, this, [this] { m_clock->command15_Click(); });
    connect(m_command16, &QToolButton::clicked, this, [this] { m_clock->command16_Click(); });

    m_info = new QLabel(this);
    m_info->setObjectName(QStringLiteral("info"));
    m_info->setGeometry(infoRect);
    m_info->setAutoFillBackground(true);
    m_info->setWordWrap(true);
    m_info->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_info->setMargin(2);
    m_info->setFrameStyle(QFrame::Box | QFrame::Plain);
    QPalette tip = m_info->palette();
    tip.setColor(QPalette::Window, tip.color(QPalette::ToolTipBase));
    tip.setColor(QPalette::WindowText, tip.color(QPalette::ToolTipText));
    m_info->setPalette(tip);
}

void FeuilleP::createTextArea()
{
    m_fich = new QLineEdit(this);
    m_fich->setObjectName(QStringLiteral("fich"));
    m_fich->setGeometry(fichRect);
    m_fich->setReadOnly(true);
    m_fich->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_fich->setFrame(false);
    m_fich->setFocusPolicy(Qt::NoFocus);
    QPalette bar = m_fich->palette();
    bar.setColor(QPalette::Base, QColor(128, 0, 0));
    bar.setColor(QPalette::Text, Qt::white);
    m_fich->setPalette(bar);
    // Room on the left for the exercise button laid over the bar.
    m_fich->setTextMargins(100, 0, 4, 0);
    connect(m_fich, &QLineEdit::textChanged, this, &FeuilleP::fich_Change);

    m_btexo = new QToolButton(this);
    m_btexo->setObjectName(QStringLiteral("btexo"));
    m_btexo->setText(QStringLiteral("Exercices ▾"));
    m_btexo->setGeometry(fichRect.left(), fichRect.top(), 97, 19);
    m_btexo->setFont(arialPixels(11, true));
    m_btexo->setFocusPolicy(Qt::NoFocus);
    connect(m_btexo, &QToolButton::clicked, this, [this] {
        if (m_hooks.exerciseMenu)
            m_hooks.exerciseMenu();
    });

    m_supertext = new QTextEdit(this);
    m_supertext->setObjectName(QStringLiteral("supertext"));
    m_supertext->setGeometry(supertextRect);
    m_supertext->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    m_supertext->setLineWidth(border);
    connect(m_supertext, &QTextEdit::textChanged, this, [this] {
        if (!m_fich->text().isEmpty())
            m_textemodif = true;
    });
}

void FeuilleP::wireFields()
{
    ParameterPanel *panel = parameterPanel();
    for (int i = 0; i < ParameterFields::Count; ++i) {
        ParameterEdit *field = panel->Text5[i];
        field->setKeyFilter(
            [this, i](char16_t key) { return m_validator->Text5_KeyPress(i, key); });
        connect(field, &ParameterEdit::focusEntered, this,
                [this, i] { m_validator->Text5_GotFocus(i); });
        connect(field, &ParameterEdit::focusLeft, this,
                [this, i] { m_validator->Text5_LostFocus(i); });
    }
    ParameterEdit *chrono = chronoPanel()->chrono;
    chrono->setKeyFilter([this](char16_t key) { return m_validator->chrono_KeyPress(key); });
    connect(chrono, &ParameterEdit::focusLeft, this, [this] { m_validator->chrono_LostFocus(); });

    DisplayPanel *display = displayPanel();
    for (QCheckBox *check : {display->Check1, display->Check6})
        connect(check, &QCheckBox::clicked, this, [this] { m_scene->majaff(); });
    VectorPanel *vectors = vectorPanel();
    for (QCheckBox *check : {vectors->Check12, vectors->Check5})
        connect(check, &QCheckBox::clicked, this, [this] { m_scene->majaff(); });
    for (ScaleSpinner *spinner : {vectors->VScroll1, vectors->VScroll3})
        connect(spinner, &ScaleSpinner::valueChanged, this, [this] { m_scene->majaff(); });

    for (int i = 0; i < 5; ++i)
        connect(m_onglets->Label4(i), &ColourSwatch::clicked, this, [this, i] { Label4_Click(i); });

    ChronoPanel *chronoPanel = this->chronoPanel();
    connect(chronoPanel->command12, &QAbstractButton::clicked, this,
            [this] { m_clock->command12_Click(); });
    connect(chronoPanel, &ChronoPanel::label5Clicked, this, [this] { m_clock->command12_Click(); });
}

void FeuilleP::wireHints()
{
    m_hints = new HintLine(m_info, this);
    m_hints->add(this, HintLine::defaultHint());
    m_hints->add(parameterPanel(), QStringLiteral("Vous pouvez modifier tous les paramètres"));
    m_hints->add(m_picture4, QStringLiteral("Modifier les paramètres depuis l'onglet Paramètres"));
    m_hints->add(displayPanel(),
                 QStringLiteral("Les modifications de ces paramètres "
                                "interviennent sur le mobile en mouvement"));
    const QString optionsHint = QStringLiteral(
        "Les options d'affichage s'appliquent également à l'image copiée ou imprimée.");
    m_hints->add(displayPanel()->Check1, optionsHint);
    m_hints->add(chronoPanel()->Check2, optionsHint);
    m_hints->add(vectorPanel(),
                 QStringLiteral("Vous pouvez représenter les forces sur l'animation"));
    for (ColourSwatch *swatch : findChildren<ColourSwatch *>())
        m_hints->add(swatch, QStringLiteral("Modifier la couleur d'affichage"));
    m_hints->add(chronoPanel(), QStringLiteral("Paramètres de la chronophotographie"));
    m_hints->add(chronoPanel()->chrono,
                 QStringLiteral("Vous pouvez régler l'intervalle de "
                                "temps pour la chronophotographie."));
    m_hints->add(chronoPanel()->command12, [this] {
        return chronoPanel()->command12->toolTip() == QLatin1String("Chronophotographie")
            ? QStringLiteral("Appuyer sur la caméra pour commencer l'enregistrement.")
            : QStringLiteral("Appuyer sur le bouton pour arrêter l'enregistrement en cours.");
    });
    const QString animationHint = QStringLiteral(
        "Vous pouvez activer ou arrêter l'animation ou retrouver la position initiale");
    m_hints->add(m_command15, animationHint);
    m_hints->add(m_command18, animationHint);
    m_hints->add(m_command16, animationHint + QLatin1Char('.'));
    m_hints->add(m_picture2, QStringLiteral("Déplacer l'index avec la souris (bouton enfoncé)"));
    m_hints->add(m_frame1,
                 QStringLiteral("Cliquer pour agrandir et obtenir le tableau de valeurs"));
    m_hints->add(m_btexo,
                 QStringLiteral("Ouvrir un énoncé, enregistrer le texte, obtenir la "
                                "correction, imprimer ou fermer."));
    const std::pair<const char *, const char *> commandHints[] = {
        {"Command13",
         "Pour effacer les chronophotographies de l'image actuelle: bouton « Nouveau »"},
        {"Command2", "Pour retrouver une situation enregistrée"},
        {"Command11", "Pour conserver la configuration en cours"},
        {"Command4",
         "Copier pour placer l'image dans le presse- papiers puis coller depuis Word, Paint..."},
        {"Command10", "Pour configurer l'imprimante et imprimer l'image"},
        {"Command8", "Machine à calculer"},
        {"Command7", "Si vous rencontrez une difficulté avec cette application"},
        {"Command1", "Pour retrouver le module principal et quitter cette application"},
    };
    for (const auto &[name, hint] : commandHints)
        m_hints->add(button(QString::fromLatin1(name)), QString::fromUtf8(hint));
}

void FeuilleP::maj12()
{
    ChronoPanel *panel = chronoPanel();
    const bool recording = m_clock->recording();
    panel->command12->setIcon(recording ? Icons::cameraRecording() : Icons::cameraIdle());
    panel->setCameraToolTip(m_clock->cameraToolTip());
    panel->Label5->setText(m_clock->cameraCaption());
}

void FeuilleP::Label4_Click(int index)
{
    ColourSwatch *swatch = m_onglets->Label4(index);
    const std::optional<QColor> colour = m_services.pickColour(swatch->colour());
    // A cancel changes nothing and redraws nothing.
    if (!colour)
        return;
    swatch->setColour(*colour);
    // The friction colour repaints the background, which erases the marks.
    if (index == 4)
        m_scene->fond();
    m_scene->majaff();
}

void FeuilleP::fich_Change()
{
    m_fich->setCursorPosition(int(m_fich->text().size()));
    m_fich->setToolTip(m_fich->text());
}

void FeuilleP::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.drawImage(0, 0, m_background.image());
}

void FeuilleP::mouseMoveEvent(QMouseEvent *event)
{
    QWidget::mouseMoveEvent(event);
}
