// SPDX-License-Identifier: GPL-3.0-or-later
// The fit half of the measures window: the sphere and the fluid, the range,
// the model and the fit itself.
#include "mesuresdialog.h"

#include "histogramview.h"

#include "measures/measurementholder.h"

#include "core/numberformat.h"
#include "measures/fitreport.h"
#include "platform/namedwidgets.h"
#include "platform/platformservices.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include <cmath>

namespace {

// A field's text times factor, in the general form; empty when unreadable.
QString scaled(const QString &text, double factor)
{
    const std::optional<double> value = NumberFormat::parse(text);
    return value ? NumberFormat::generalDouble(*value * factor) : QString();
}

// An optional typed value: empty gives fallback, unreadable gives nothing.
std::optional<double> optionalValue(const QLineEdit *edit, double fallback)
{
    if (edit->text().trimmed().isEmpty())
        return fallback;
    return NumberFormat::parse(edit->text());
}

// What a required field holds, or why it cannot be used: "what" is the
// field's subject ("Le rayon de la bille"), feminine for "indiquée".
std::optional<double> required(const QLineEdit *edit, const QString &what, bool feminine,
                               QString *why)
{
    if (edit->text().trimmed().isEmpty()) {
        *why = QStringLiteral("%1 n'est pas %2.")
                   .arg(what, feminine ? QStringLiteral("indiquée") : QStringLiteral("indiqué"));
        return std::nullopt;
    }
    const std::optional<double> value = NumberFormat::parse(edit->text());
    if (!value)
        *why = QStringLiteral("%1 n'est pas un nombre.").arg(what);
    return value;
}

} // namespace

QWidget *MesuresDialog::createFit()
{
    auto *box = new QWidget(this);
    auto *layout = new QVBoxLayout(box);
    auto *form = new QFormLayout;
    radius = NamedWidgets::edit(QStringLiteral("Rayon de la bille (mm)"), box);
    radius->setPlaceholderText(QStringLiteral("moitié du diamètre"));
    radius->setToolTip(QStringLiteral("Le rayon, moitié du diamètre mesuré au pied à coulisse"));
    radiusU = uncertaintyField(QStringLiteral("rayon de la bille (mm)"),
                               QStringLiteral("Pied à coulisse au 1/100 mm : 0,005 mm sur le "
                                              "diamètre, donc 0,0025 mm sur le rayon"),
                               box);
    addInputRow(form, QStringLiteral("&Rayon de la bille (mm) :"), radius, radiusU);
    massKind = NamedWidgets::combo(QStringLiteral("Grandeur de la bille"), box);
    massKind->addItem(QStringLiteral("Masse (mg)"));
    massKind->addItem(QStringLiteral("Masse volumique (kg/m³)"));
    mass = NamedWidgets::edit(QStringLiteral("Masse de la bille"), box);
    // Room for the longest values a class types ("145000", "7800,5").
    mass->setMinimumWidth(mass->fontMetrics().horizontalAdvance(QStringLiteral("0000000,00")) + 12);
    massU = uncertaintyField(QStringLiteral("masse ou masse volumique de la bille"),
                             QStringLiteral("Balance au milligramme : 1 mg / √3, soit 0,58 mg ; "
                                            "une masse volumique lue sur une étiquette : la "
                                            "moitié du dernier chiffre"),
                             box);
    auto *massRow = new QHBoxLayout;
    massRow->addWidget(massKind);
    massRow->addWidget(mass, 1);
    massRow->addWidget(new QLabel(QStringLiteral("±"), box));
    massRow->addWidget(massU);
    // A row built around a layout has no buddy: the label is given the
    // choice of mass or density, so that its access key reaches the row.
    auto *massLabel = new QLabel(QStringLiteral("&Bille :"), box);
    massLabel->setBuddy(massKind);
    form->addRow(massLabel, massRow);
    ballHint = new QLabel(box);
    ballHint->setObjectName(QStringLiteral("ballHint"));
    ballHint->setWordWrap(true);
    form->addRow(ballHint);
    fluidDensity = NamedWidgets::edit(QStringLiteral("Masse volumique du fluide (kg/m³)"), box);
    fluidDensityU = uncertaintyField(QStringLiteral("masse volumique du fluide (kg/m³)"),
                                     QStringLiteral("Densimètre gradué de 10 en 10 kg/m³ : "
                                                    "5 kg/m³ / √3, soit 3 kg/m³"),
                                     box);
    addInputRow(form, QStringLiteral("Masse volumique du &fluide (kg/m³) :"), fluidDensity,
                fluidDensityU);
    tube = NamedWidgets::edit(QStringLiteral("Diamètre intérieur du tube (mm)"), box);
    tube->setPlaceholderText(QStringLiteral("sans correction de paroi"));
    tubeU = uncertaintyField(QStringLiteral("diamètre du tube (mm)"),
                             QStringLiteral("Réglet au millimètre : 0,5 mm / √3, soit 0,3 mm ; "
                                            "pied à coulisse : la moitié du dernier chiffre"),
                             box);
    addInputRow(form, QStringLiteral("Diamètre intérieur du t&ube (mm) :"), tube, tubeU);
    // The session's tube, shared with the video window both ways.
    connect(&m_holder, &MeasurementHolder::tubeChanged, this, [this] {
        if (tube->text().trimmed() != m_holder.tubeDiameter())
            tube->setText(m_holder.tubeDiameter());
        if (tubeU->text().trimmed() != m_holder.tubeUncertainty())
            tubeU->setText(m_holder.tubeUncertainty());
    });
    tMin = NamedWidgets::edit(QStringLiteral("Début de l'ajustement (s)"), box);
    tMax = NamedWidgets::edit(QStringLiteral("Fin de l'ajustement (s)"), box);
    tMin->setPlaceholderText(QStringLiteral("premier point"));
    tMax->setPlaceholderText(QStringLiteral("dernier point"));
    form->addRow(QStringLiteral("&De t (s) :"), tMin);
    form->addRow(QStringLiteral("&À t (s) :"), tMax);
    zoomRange = NamedWidgets::checkBox(QStringLiteral("&Graphe : plage ajustée seulement"),
                                       QStringLiteral("Graphe : plage ajustée seulement"), box);
    zoomRange->setToolTip(QStringLiteral("Molette de la souris sur le graphe : vers l'avant la "
                                         "plage ajustée, vers soi toute la chute"));
    zoomRange->setChecked(m_holder.zoomedOnRange());
    form->addRow(zoomRange);
    releaseTime = NamedWidgets::checkBox(QStringLiteral("Ajuster l'instant du &lâcher t0"),
                                         QStringLiteral("Ajuster l'instant du lâcher t0"), box);
    releaseTime->setObjectName(QStringLiteral("releaseTime"));
    form->addRow(releaseTime);
    model = NamedWidgets::combo(QStringLiteral("Modèle"), box);
    model->addItem(QStringLiteral("courbe de traînée standard"));
    model->addItem(QStringLiteral("loi de Stokes (celle du simulateur)"));
    form->addRow(QStringLiteral("&Modèle :"), model);
    layout->addLayout(form);
    QWidget *uncertainty = createUncertainty(box);

    ajuster = NamedWidgets::button(QStringLiteral("A&juster"), QStringLiteral("Ajuster"), box);
    layout->addWidget(ajuster);
    layout->addWidget(uncertainty);
    results = new QPlainTextEdit(box);
    results->setObjectName(QStringLiteral("results"));
    results->setAccessibleName(QStringLiteral("Résultats de l'ajustement"));
    results->setReadOnly(true);
    results->setTabChangesFocus(true);
    layout->addWidget(results, 1);
    histogram = new HistogramView(box);
    layout->addWidget(histogram);

    auto *row = new QHBoxLayout;
    copier = NamedWidgets::button(QStringLiteral("&Copier les résultats"),
                                  QStringLiteral("Copier les résultats"), box);
    exporter = NamedWidgets::button(QStringLiteral("&Exporter en CSV…"),
                                    QStringLiteral("Exporter en CSV"), box);
    appliquer
        = NamedWidgets::button(QStringLiteral("A&ppliquer"), QStringLiteral("Appliquer"), box);
    fermer = NamedWidgets::button(QStringLiteral("Fermer"), QStringLiteral("Fermer"), box);
    ajouterSerie = createAddToSeries(box);
    for (QPushButton *b : {ajouterSerie, copier, exporter, appliquer, fermer})
        row->addWidget(b);
    layout->addLayout(row);
    status = new QLabel(box);
    status->setObjectName(QStringLiteral("status"));
    status->setAccessibleName(QStringLiteral("Compte rendu"));
    status->setWordWrap(true);
    status->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    layout->addWidget(status);

    connect(ajuster, &QPushButton::clicked, this, &MesuresDialog::ajuster_Click);
    connect(copier, &QPushButton::clicked, this, &MesuresDialog::copier_Click);
    connect(exporter, &QPushButton::clicked, this, &MesuresDialog::exporter_Click);
    connect(appliquer, &QPushButton::clicked, this, &MesuresDialog::appliquer_Click);
    connect(fermer, &QPushButton::clicked, this, &QDialog::accept);
    connect(tMin, &QLineEdit::editingFinished, this, &MesuresDialog::range_Typed);
    connect(tMax, &QLineEdit::editingFinished, this, &MesuresDialog::range_Typed);
    connect(&m_holder, &MeasurementHolder::rangeChanged, this, &MesuresDialog::showRange);
    connect(zoomRange, &QCheckBox::toggled, &m_holder, &MeasurementHolder::setZoomedOnRange);
    connect(&m_holder, &MeasurementHolder::viewChanged, this,
            [this] { zoomRange->setChecked(m_holder.zoomedOnRange()); });
    for (QLineEdit *edit : {radius, mass, fluidDensity, tube, radiusU, massU, fluidDensityU, tubeU})
        connect(edit, &QLineEdit::textChanged, this, &MesuresDialog::storeInputs);
    connect(massKind, &QComboBox::currentIndexChanged, this, &MesuresDialog::storeInputs);
    connect(model, &QComboBox::currentIndexChanged, this, &MesuresDialog::storeInputs);
    connect(releaseTime, &QCheckBox::toggled, this, &MesuresDialog::storeInputs);
    showRange();
    return box;
}

void MesuresDialog::prefill()
{
    m_filling = true;
    const MeasureInputs &in = m_holder.inputs;
    if (in.typed) {
        radius->setText(in.radius);
        massKind->setCurrentIndex(in.massKind);
        mass->setText(in.mass);
        fluidDensity->setText(in.fluidDensity);
        radiusU->setText(in.radiusU);
        massU->setText(in.massU);
        fluidDensityU->setText(in.fluidDensityU);
        releaseTime->setChecked(in.releaseTime);
        model->setCurrentIndex(in.model == FitOptions::Model::Stokes ? 1 : 0);
    } else if (m_holder.fieldTexts) {
        const MeasureFieldTexts fields = m_holder.fieldTexts();
        radius->setText(scaled(fields.radius, 10.0)); // cm to mm
        mass->setText(scaled(fields.mass, 1000.0));   // g to mg
        fluidDensity->setText(scaled(fields.fluidDensity, 1.0));
    }
    // The tube is the session's, typed here or in the video window.
    tube->setText(m_holder.tubeDiameter());
    tubeU->setText(m_holder.tubeUncertainty());
    m_filling = false;
    showBallHint();
}

void MesuresDialog::storeInputs()
{
    showBallHint();
    if (m_filling)
        return;
    // A fit belongs to the values it was made on: "Appliquer" must not put
    // the old η beside a new radius.
    setStale();
    m_holder.clearFit();
    MeasureInputs &in = m_holder.inputs;
    in.typed = true;
    in.radius = radius->text();
    in.massKind = massKind->currentIndex();
    in.mass = mass->text();
    in.fluidDensity = fluidDensity->text();
    m_holder.setTubeUncertainty(tubeU->text());
    m_holder.setTubeDiameter(tube->text());
    in.radiusU = radiusU->text();
    in.massU = massU->text();
    in.fluidDensityU = fluidDensityU->text();
    in.releaseTime = releaseTime->isChecked();
    in.model
        = model->currentIndex() == 1 ? FitOptions::Model::Stokes : FitOptions::Model::DragCurve;
}

void MesuresDialog::showBallHint()
{
    // A diameter typed as the radius makes the ball 8 times too big for its
    // mass: the density it gives shows it at once.
    const std::optional<double> r = NumberFormat::parse(radius->text());
    const std::optional<double> m = NumberFormat::parse(mass->text());
    if (massKind->currentIndex() != 0 || !r || !m || !(*r > 0.0) || !(*m > 0.0)) {
        ballHint->clear();
        return;
    }
    // massFromDensity(r, 1) is the ball's volume, in m³.
    const double rho = (*m / 1e6) / FallSetup::massFromDensity(*r / 1000.0, 1.0);
    ballHint->setText(
        QStringLiteral("Masse volumique de la bille : %1 kg/m³ (si ce rayon était "
                       "le diamètre : %2 kg/m³)")
            .arg(NumberFormat::threeSignificant(rho), NumberFormat::threeSignificant(8.0 * rho)));
}

void MesuresDialog::say(const QString &text)
{
    status->setText(text);
}

void MesuresDialog::range_Typed()
{
    FitRange range = m_holder.fitRange();
    if (const std::optional<double> from = optionalValue(tMin, FitRange().tMin))
        range.tMin = *from;
    if (const std::optional<double> to = optionalValue(tMax, FitRange().tMax))
        range.tMax = *to;
    m_holder.setFitRange(range);
}

void MesuresDialog::showRange()
{
    const FitRange &range = m_holder.fitRange();
    const auto text
        = [](double t) { return std::isfinite(t) ? NumberFormat::generalDouble(t) : QString(); };
    tMin->setText(text(range.tMin));
    tMax->setText(text(range.tMax));
}

void MesuresDialog::setStale()
{
    // A result belongs to the points and values it was fitted on.
    m_fitted = false;
    for (QPushButton *b : {copier, exporter, appliquer, monteCarlo, ajouterSerie})
        b->setEnabled(false);
    m_combined.reset();
    m_drawn.reset();
    histogram->clear();
}

std::optional<FallSetup> MesuresDialog::typedSetup(QString *why) const
{
    FallSetup setup;
    const std::optional<double> r
        = required(radius, QStringLiteral("Le rayon de la bille"), false, why);
    if (!r)
        return std::nullopt;
    setup.radius = *r / 1000.0;
    const bool byMass = massKind->currentIndex() == 0;
    const std::optional<double> m
        = required(mass,
                   byMass ? QStringLiteral("La masse de la bille")
                          : QStringLiteral("La masse volumique de la bille"),
                   true, why);
    if (!m)
        return std::nullopt;
    setup.mass = byMass ? *m / 1e6 : FallSetup::massFromDensity(setup.radius, *m);
    const std::optional<double> rho
        = required(fluidDensity, QStringLiteral("La masse volumique du fluide"), true, why);
    if (!rho)
        return std::nullopt;
    setup.fluidDensity = *rho;
    const std::optional<double> d = optionalValue(tube, FallSetup::nan);
    if (!d) {
        *why = QStringLiteral("Le diamètre du tube n'est pas un nombre.");
        return std::nullopt;
    }
    setup.tubeDiameter = std::isfinite(*d) ? *d / 1000.0 : *d;
    const QString problem = setup.problem();
    if (!problem.isEmpty()) {
        *why = problem;
        return std::nullopt;
    }
    return setup;
}

std::optional<FitOptions> MesuresDialog::typedOptions(QString *why) const
{
    FitOptions options;
    const std::optional<double> from = optionalValue(tMin, options.tMin);
    const std::optional<double> to = optionalValue(tMax, options.tMax);
    if (!from || !to) {
        *why = QStringLiteral("Les bornes de l'ajustement ne sont pas des nombres.");
        return std::nullopt;
    }
    options.tMin = *from;
    options.tMax = *to;
    options.fitReleaseTime = releaseTime->isChecked();
    options.model
        = model->currentIndex() == 1 ? FitOptions::Model::Stokes : FitOptions::Model::DragCurve;
    return options;
}

void MesuresDialog::ajuster_Click()
{
    setStale();
    m_holder.clearFit();
    if (m_holder.isEmpty()) {
        error(QStringLiteral("Aucune mesure à ajuster : ouvrir un fichier ou coller des mesures."));
        return;
    }
    QString why;
    const std::optional<FallSetup> setup = typedSetup(&why);
    if (!setup) {
        error(why);
        return;
    }
    m_setup = *setup;
    if (!typedUncertainties(m_setup, &why)) {
        error(why);
        return;
    }
    m_notes = inputWarnings();
    QString milliseconds;
    if (millisecondsTaken(m_setup, &milliseconds))
        m_notes << milliseconds;
    const std::optional<FitOptions> typed = typedOptions(&why);
    if (!typed) {
        error(why);
        return;
    }
    const FitOptions &options = *typed;
    m_holder.setFitRange({options.tMin, options.tMax});
    m_result = FallFit::fit(m_holder.set(), m_setup, options);
    m_holder.setFit(m_result);
    m_fitted = true;
    combine();
    showResults();
    say(m_notes.join(QLatin1Char(' ')));
    copier->setEnabled(true);
    exporter->setEnabled(true);
    appliquer->setEnabled(m_result.hasEta() && bool(m_holder.apply));
    ajouterSerie->setEnabled(m_result.hasEta());
}
