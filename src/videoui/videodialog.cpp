// SPDX-License-Identifier: GPL-3.0-or-later
#include "videodialog.h"

#include "calibrationtexts.h"
#include "frameview.h"
#include "measures/measurementholder.h"
#include "platform/namedwidgets.h"
#include "video/openedvideo.h"
#include "video/videoopener.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <QSlider>
#include <QSpinBox>
#include <QStyle>
#include <QThread>
#include <QVBoxLayout>

namespace {

QLineEdit *field(const QString &accessible, const QString &text = {})
{
    auto *edit = new QLineEdit(text);
    edit->setAccessibleName(accessible);
    // Room for "125,55" beside its "±" field, never more than a column's share.
    edit->setMinimumWidth(edit->fontMetrics().horizontalAdvance(QStringLiteral("1250,55")) + 12);
    edit->setMaximumWidth(110);
    return edit;
}

// A label whose height holds lines lines of its font whatever it shows, so
// that a longer message never moves the controls under it.
void reserveLines(QLabel *label, int lines)
{
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setFixedHeight(lines * label->fontMetrics().lineSpacing() + 2);
}

} // namespace

VideoDialog::VideoDialog(MeasurementHolder &holder, PlatformServices &services, QWidget *parent)
    : QDialog(parent)
    , m_holder(holder)
    , m_services(services)
{
    setWindowTitle(title());
    setAccessibleName(title());

    view = new FrameView;
    connect(view, &FrameView::pictureClicked, this, &VideoDialog::pictureClicked);

    auto *left = new QVBoxLayout;
    left->addWidget(view, 1);
    left->addWidget(createNavigation());

    auto *right = new QVBoxLayout;
    ouvrir = new QPushButton(QStringLiteral("&Ouvrir une vidéo…"));
    ouvrir->setToolTip(QStringLiteral("Ouvrir la vidéo d'une chute (MP4, MOV, AVI, WebM)"));
    connect(ouvrir, &QPushButton::clicked, this, &VideoDialog::ouvrir_Click);
    fileLabel = new QLabel(QStringLiteral("Aucune vidéo ouverte."));
    // The name on its line (shortened when too long), the size on the next.
    fileLabel->setFixedHeight(2 * fileLabel->fontMetrics().lineSpacing() + 2);
    fileLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    progress = new QProgressBar;
    progress->setRange(0, 100);
    progress->setAccessibleName(QStringLiteral("Avancement"));
    progress->hide();
    annuler = new QPushButton(QStringLiteral("&Arrêter"));
    annuler->setToolTip(QStringLiteral("Arrêter la lecture de la vidéo ou le suivi de la bille"));
    annuler->hide();
    connect(annuler, &QPushButton::clicked, this, [this] {
        m_cancel = true;
        if (m_opener)
            m_opener->cancel();
    });
    // The bar and its button keep their room while hidden: the controls
    // under them stay where the mouse expects them.
    for (QWidget *w : std::initializer_list<QWidget *> {progress, annuler}) {
        QSizePolicy policy = w->sizePolicy();
        policy.setRetainSizeWhenHidden(true);
        w->setSizePolicy(policy);
    }
    auto *busyRow = new QHBoxLayout;
    busyRow->addWidget(progress, 1);
    busyRow->addWidget(annuler);
    right->addWidget(ouvrir);
    right->addWidget(fileLabel);
    right->addLayout(busyRow);
    right->addWidget(createCalibration());
    right->addWidget(createTracking());
    right->addStretch(1);

    utiliser = new QPushButton(QStringLiteral("&Utiliser ces mesures"));
    utiliser->setToolTip(
        QStringLiteral("Mettre les positions suivies dans les mesures, pour les ajuster"));
    connect(utiliser, &QPushButton::clicked, this, &VideoDialog::utiliser_Click);
    fermer = new QPushButton(QStringLiteral("&Fermer"));
    connect(fermer, &QPushButton::clicked, this, &QDialog::close);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(utiliser);
    buttons->addStretch(1);
    buttons->addWidget(fermer);
    right->addLayout(buttons);

    auto *side = new QWidget;
    side->setLayout(right);
    // The calibration's rows hold a label, a value and its "±" field.
    side->setFixedWidth(400);
    auto *top = new QHBoxLayout(this);
    top->addLayout(left, 1);
    top->addWidget(side);

    setTabOrder(ouvrir, view);
    refresh();
    resize(870, 680);
}

VideoDialog::~VideoDialog()
{
    // Deleted while shown (its owner going first), the window is hidden by
    // QDialog's destructor after this one has run: a field losing the focus
    // then must not call back into a window already taken apart.
    for (QLineEdit *edit : findChildren<QLineEdit *>())
        edit->disconnect(this);
    if (m_thread) {
        m_cancel = true;
        m_thread->wait();
    }
    if (m_opener) {
        m_opener->cancel();
        m_opener->wait();
    }
}

QWidget *VideoDialog::createNavigation()
{
    auto *box = new QWidget;
    auto *row = new QHBoxLayout(box);
    row->setContentsMargins(0, 0, 0, 0);
    previous = new QPushButton(QStringLiteral("◀"));
    previous->setAccessibleName(QStringLiteral("Image précédente"));
    previous->setToolTip(QStringLiteral("Image précédente (Page préc.)"));
    next = new QPushButton(QStringLiteral("▶"));
    next->setAccessibleName(QStringLiteral("Image suivante"));
    next->setToolTip(QStringLiteral("Image suivante (Page suiv.)"));
    for (QPushButton *b : {previous, next})
        b->setFixedWidth(36);
    slider = new QSlider(Qt::Horizontal);
    slider->setAccessibleName(QStringLiteral("Image de la vidéo à montrer"));
    slider->setPageStep(10);
    frameLabel = new QLabel;
    // As wide as the longest text it can show, so that the slider and the
    // buttons do not move from one frame to the next.
    frameLabel->setFixedWidth(frameLabel->fontMetrics().horizontalAdvance(
                                  QStringLiteral("Image 00000 / 00000 · t = 0,000000 s"))
                              + 6);
    row->addWidget(previous);
    row->addWidget(slider, 1);
    row->addWidget(next);
    row->addWidget(frameLabel);
    connect(previous, &QPushButton::clicked, this, [this] { showFrame(m_frame - 1); });
    connect(next, &QPushButton::clicked, this, [this] { showFrame(m_frame + 1); });
    connect(slider, &QSlider::valueChanged, this, [this](int value) {
        if (value != m_frame)
            showFrame(value);
    });
    // Frame by frame from anywhere in the window, the picture's arrows being
    // taken by its cursor.
    auto *back = new QShortcut(QKeySequence(Qt::Key_PageUp), this);
    connect(back, &QShortcut::activated, this, [this] { showFrame(m_frame - 1); });
    auto *forth = new QShortcut(QKeySequence(Qt::Key_PageDown), this);
    connect(forth, &QShortcut::activated, this, [this] { showFrame(m_frame + 1); });
    return box;
}

QWidget *VideoDialog::createCalibration()
{
    auto *box = new QGroupBox(QStringLiteral("Étalonnage"));
    auto *form = new QFormLayout(box);
    modeScale = new QRadioButton(QStringLiteral("Éc&helle : cliquer deux points"));
    modeScale->setToolTip(QStringLiteral("Cliquer deux repères dont la distance est connue"));
    distance = field(QStringLiteral("Distance entre les deux points, en cm"));
    index = field(QStringLiteral("Indice de réfraction du liquide"), QStringLiteral("1,47"));
    tubeDiameter = field(QStringLiteral("Diamètre intérieur du tube, en mm"));
    tubeDiameter->setToolTip(
        QStringLiteral("Le même tube que dans « Mesures », où il sert à la correction de paroi"));
    cameraDistance = field(QStringLiteral("Distance de la caméra à l'axe du tube, en cm"));
    captureRate = field(QStringLiteral("Cadence de prise de vue, en images par seconde"));
    captureRate->setToolTip(
        QStringLiteral("Pour un ralenti : la cadence à laquelle la vidéo a été filmée"));
    createUncertaintyFields();
    form->addRow(modeScale);
    NamedWidgets::addUncertainRow(form, QStringLiteral("&Distance (cm) :"), distance, distanceU);
    // Each click is an input of the scale too, though it has no field of
    // its own: its "±" stands alone on its row.
    auto *clickRow = new QHBoxLayout;
    clickRow->addStretch(1);
    clickRow->addWidget(new QLabel(QStringLiteral("±")));
    clickRow->addWidget(clickU);
    auto *clickLabel = new QLabel(QStringLiteral("Chaque clic (px) :"));
    clickLabel->setBuddy(clickU);
    form->addRow(clickLabel, clickRow);
    modeOrigin = new QRadioButton(QStringLiteral("O&rigine : cliquer le point de position 0"));
    form->addRow(modeOrigin);

    placement = new QComboBox;
    placement->addItem(QStringLiteral("Règle immergée dans le plan de chute"));
    placement->addItem(QStringLiteral("Repères sur la paroi du tube"));
    placement->addItem(QStringLiteral("Règle dans l'air, derrière ou à côté du tube"));
    placement->setAccessibleName(QStringLiteral("Où se trouve l'échelle"));
    // On a row of its own: the places are long sentences.
    auto *placementLabel = new QLabel(QStringLiteral("Échelle &placée :"));
    placementLabel->setBuddy(placement);
    form->addRow(placementLabel);
    form->addRow(placement);
    NamedWidgets::addUncertainRow(form, QStringLiteral("&Indice du liquide :"), index, indexU);
    NamedWidgets::addUncertainRow(form, QStringLiteral("Diamètre du &tube (mm) :"), tubeDiameter,
                                  tubeDiameterU);
    NamedWidgets::addUncertainRow(form, QStringLiteral("Distance ca&méra (cm) :"), cameraDistance,
                                  cameraDistanceU);
    factor = new QLabel;
    // A form does not grow a wrapped row by itself: room for the longest
    // message.
    reserveLines(factor, 3);
    form->addRow(factor);
    NamedWidgets::addUncertainRow(form, QStringLiteral("&Cadence (images/s) :"), captureRate,
                                  captureRateU);
    warning = new QLabel;
    warning->setWordWrap(true);
    warning->setMinimumHeight(3 * warning->fontMetrics().lineSpacing() + 2);
    warning->setStyleSheet(QStringLiteral("color: #b00000"));
    warning->hide();
    form->addRow(warning);

    for (QLineEdit *edit : {index, cameraDistance})
        connect(edit, &QLineEdit::editingFinished, this, &VideoDialog::calibrationChanged);
    connect(distance, &QLineEdit::editingFinished, this, [this] {
        calibrationChanged();
        if (m_scaleClicks == 2)
            status->setText(CalibrationTexts::scaleStatus(m_scaleClicks, distance->text()));
    });
    connect(tubeDiameter, &QLineEdit::editingFinished, this, &VideoDialog::tubeTyped);
    connect(&m_holder, &MeasurementHolder::tubeChanged, this, &VideoDialog::showTube);
    tubeDiameter->setText(m_holder.tubeDiameter());
    connect(placement, &QComboBox::currentIndexChanged, this, &VideoDialog::calibrationChanged);
    connect(captureRate, &QLineEdit::editingFinished, this, &VideoDialog::captureRateChanged);
    for (QLineEdit *u : {distanceU, clickU, indexU, cameraDistanceU, captureRateU})
        connect(u, &QLineEdit::editingFinished, this, &VideoDialog::uncertaintyTyped);
    connect(tubeDiameterU, &QLineEdit::editingFinished, this,
            [this] { m_holder.setTubeUncertainty(tubeDiameterU->text()); });
    tubeDiameterU->setText(m_holder.tubeUncertainty());
    return box;
}

QWidget *VideoDialog::createTracking()
{
    auto *box = new QGroupBox(QStringLiteral("Suivi de la bille"));
    auto *column = new QVBoxLayout(box);
    modeBall = new QRadioButton(QStringLiteral("&Bille : cliquer la bille pour la suivre"));
    modeBall->setToolTip(
        QStringLiteral("Un clic sur la bille : le programme la suit dans les images suivantes"));
    modeManual = new QRadioButton(QStringLiteral("Pointage ma&nuel : cliquer la bille"));
    modeManual->setToolTip(QStringLiteral(
        "Chaque clic place le centre de la bille, puis avance du nombre d'images choisi"));
    manualStep = new QSpinBox;
    manualStep->setRange(1, 1000);
    manualStep->setValue(1);
    manualStep->setAccessibleName(
        QStringLiteral("Pointage manuel : nombre d'images d'un clic au suivant"));
    auto *stepLabel = new QLabel(QStringLiteral("un clic toutes l&es"));
    stepLabel->setBuddy(manualStep);
    // Under the mode it belongs to, indented as far as the button's text.
    auto *manualRow = new QHBoxLayout;
    manualRow->addSpacing(modeManual->style()->pixelMetric(QStyle::PM_ExclusiveIndicatorWidth)
                          + modeManual->style()->pixelMetric(QStyle::PM_RadioButtonLabelSpacing));
    manualRow->addWidget(stepLabel);
    manualRow->addWidget(manualStep);
    manualRow->addWidget(new QLabel(QStringLiteral("images")));
    manualRow->addStretch(1);
    ballSize = new QLabel;
    reserveLines(ballSize, 4);
    status = new QLabel;
    reserveLines(status, 3);
    column->addWidget(modeBall);
    column->addWidget(modeManual);
    column->addLayout(manualRow);
    column->addWidget(ballSize);
    column->addWidget(status);

    auto *group = new QButtonGroup(this);
    const std::pair<QRadioButton *, Mode> modes[] = {
        {modeScale, Mode::Scale},
        {modeOrigin, Mode::Origin},
        {modeBall, Mode::Ball},
        {modeManual, Mode::Manual},
    };
    for (const auto &[button, mode] : modes) {
        group->addButton(button);
        connect(button, &QRadioButton::toggled, this, [this, m = mode](bool on) {
            if (on)
                setMode(m);
        });
    }
    modeScale->setChecked(true);
    return box;
}
