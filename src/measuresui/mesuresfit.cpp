// SPDX-License-Identifier: GPL-3.0-or-later
// The fit half of the measures dialog: the sphere and the fluid, the range,
// the results and what can be done with them.
#include "mesuresdialog.h"

#include "measures/measurementholder.h"

#include "core/numberformat.h"
#include "measures/fitreport.h"
#include "platform/platformservices.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <cmath>

namespace {

QLineEdit *namedEdit(const QString &name, QWidget *parent)
{
    auto *edit = new QLineEdit(parent);
    edit->setObjectName(name);
    edit->setAccessibleName(name);
    return edit;
}

QPushButton *namedButton(const QString &caption, const QString &name, QWidget *parent)
{
    auto *button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setAccessibleName(name);
    button->setAutoDefault(false);
    return button;
}

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

} // namespace

QWidget *MesuresDialog::createFit()
{
    auto *box = new QWidget(this);
    auto *layout = new QVBoxLayout(box);
    auto *form = new QFormLayout;
    radius = namedEdit(QStringLiteral("Rayon de la bille (mm)"), box);
    form->addRow(QStringLiteral("&Rayon de la bille (mm) :"), radius);
    massKind = new QComboBox(box);
    massKind->setObjectName(QStringLiteral("Grandeur de la bille"));
    massKind->setAccessibleName(QStringLiteral("Grandeur de la bille"));
    massKind->addItem(QStringLiteral("Masse (mg)"));
    massKind->addItem(QStringLiteral("Masse volumique (kg/m³)"));
    mass = namedEdit(QStringLiteral("Masse de la bille"), box);
    auto *massRow = new QHBoxLayout;
    massRow->addWidget(massKind);
    massRow->addWidget(mass);
    // A row built around a layout has no buddy: the label is given the
    // choice of mass or density, so that its access key reaches the row.
    auto *massLabel = new QLabel(QStringLiteral("&Bille :"), box);
    massLabel->setBuddy(massKind);
    form->addRow(massLabel, massRow);
    fluidDensity = namedEdit(QStringLiteral("Masse volumique du fluide (kg/m³)"), box);
    form->addRow(QStringLiteral("Masse volumique du &fluide (kg/m³) :"), fluidDensity);
    tMin = namedEdit(QStringLiteral("Début de l'ajustement (s)"), box);
    tMax = namedEdit(QStringLiteral("Fin de l'ajustement (s)"), box);
    tMin->setPlaceholderText(QStringLiteral("premier point"));
    tMax->setPlaceholderText(QStringLiteral("dernier point"));
    form->addRow(QStringLiteral("&De t (s) :"), tMin);
    form->addRow(QStringLiteral("&À t (s) :"), tMax);
    releaseTime = new QCheckBox(QStringLiteral("Ajuster l'instant du &lâcher t0"), box);
    releaseTime->setObjectName(QStringLiteral("releaseTime"));
    releaseTime->setAccessibleName(QStringLiteral("Ajuster l'instant du lâcher t0"));
    form->addRow(releaseTime);
    tube = namedEdit(QStringLiteral("Diamètre intérieur du tube (mm)"), box);
    tube->setPlaceholderText(QStringLiteral("sans correction de paroi"));
    form->addRow(QStringLiteral("Diamètre du t&ube (mm) :"), tube);
    layout->addLayout(form);

    ajuster = namedButton(QStringLiteral("A&juster"), QStringLiteral("Ajuster"), box);
    layout->addWidget(ajuster);
    results = new QPlainTextEdit(box);
    results->setObjectName(QStringLiteral("results"));
    results->setAccessibleName(QStringLiteral("Résultats de l'ajustement"));
    results->setReadOnly(true);
    results->setTabChangesFocus(true);
    layout->addWidget(results, 1);

    auto *row = new QHBoxLayout;
    copier = namedButton(QStringLiteral("&Copier les résultats"),
                         QStringLiteral("Copier les résultats"), box);
    exporter
        = namedButton(QStringLiteral("&Exporter en CSV…"), QStringLiteral("Exporter en CSV"), box);
    appliquer = namedButton(QStringLiteral("A&ppliquer"), QStringLiteral("Appliquer"), box);
    fermer = namedButton(QStringLiteral("Fermer"), QStringLiteral("Fermer"), box);
    for (QPushButton *b : {copier, exporter, appliquer, fermer})
        row->addWidget(b);
    layout->addLayout(row);

    connect(ajuster, &QPushButton::clicked, this, &MesuresDialog::ajuster_Click);
    connect(copier, &QPushButton::clicked, this, &MesuresDialog::copier_Click);
    connect(exporter, &QPushButton::clicked, this, &MesuresDialog::exporter_Click);
    connect(appliquer, &QPushButton::clicked, this, &MesuresDialog::appliquer_Click);
    connect(fermer, &QPushButton::clicked, this, &QDialog::accept);
    connect(tMin, &QLineEdit::editingFinished, this, &MesuresDialog::range_Typed);
    connect(tMax, &QLineEdit::editingFinished, this, &MesuresDialog::range_Typed);
    connect(&m_holder, &MeasurementHolder::rangeChanged, this, &MesuresDialog::showRange);
    showRange();
    return box;
}

void MesuresDialog::prefill()
{
    if (!m_holder.fieldTexts)
        return;
    const MeasureFieldTexts fields = m_holder.fieldTexts();
    radius->setText(scaled(fields.radius, 10.0)); // cm to mm
    mass->setText(scaled(fields.mass, 1000.0));   // g to mg
    fluidDensity->setText(scaled(fields.fluidDensity, 1.0));
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
    for (QPushButton *b : {copier, exporter, appliquer})
        b->setEnabled(false);
}

std::optional<FallSetup> MesuresDialog::typedSetup(QString *why) const
{
    const auto unreadable = [why](const QString &what) {
        *why = QStringLiteral("%1 n'est pas un nombre.").arg(what);
        return std::nullopt;
    };
    FallSetup setup;
    const std::optional<double> r = NumberFormat::parse(radius->text());
    if (!r)
        return unreadable(QStringLiteral("Le rayon de la bille"));
    setup.radius = *r / 1000.0;
    const std::optional<double> m = NumberFormat::parse(mass->text());
    if (!m)
        return unreadable(massKind->currentIndex() == 0 ? QStringLiteral("La masse de la bille")
                                                        : QStringLiteral("Sa masse volumique"));
    setup.mass
        = massKind->currentIndex() == 0 ? *m / 1e6 : FallSetup::massFromDensity(setup.radius, *m);
    const std::optional<double> rho = NumberFormat::parse(fluidDensity->text());
    if (!rho)
        return unreadable(QStringLiteral("La masse volumique du fluide"));
    setup.fluidDensity = *rho;
    const std::optional<double> d = optionalValue(tube, FallSetup::nan);
    if (!d)
        return unreadable(QStringLiteral("Le diamètre du tube"));
    setup.tubeDiameter = std::isfinite(*d) ? *d / 1000.0 : *d;
    const QString problem = setup.problem();
    if (!problem.isEmpty()) {
        *why = problem;
        return std::nullopt;
    }
    return setup;
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
    FitOptions options;
    const std::optional<double> from = optionalValue(tMin, options.tMin);
    const std::optional<double> to = optionalValue(tMax, options.tMax);
    if (!from || !to) {
        error(QStringLiteral("Les bornes de l'ajustement ne sont pas des nombres."));
        return;
    }
    options.tMin = *from;
    options.tMax = *to;
    options.fitReleaseTime = releaseTime->isChecked();
    m_holder.setFitRange({options.tMin, options.tMax});
    m_setup = *setup;
    m_result = FallFit::fit(m_holder.set(), m_setup, options);
    m_holder.setFit(m_result);
    results->setPlainText(FitReport::text(m_result));
    m_fitted = true;
    copier->setEnabled(true);
    exporter->setEnabled(true);
    appliquer->setEnabled(m_result.hasEta() && bool(m_holder.apply));
}

void MesuresDialog::copier_Click()
{
    if (m_fitted)
        m_services.setClipboardText(FitReport::text(m_result));
}

void MesuresDialog::exporter_Click()
{
    if (!m_fitted)
        return;
    FileDialogRequest request;
    request.title = QStringLiteral("Exporter les résultats de l'ajustement");
    request.filter = QStringLiteral("Fichiers CSV (*.csv)");
    request.defaultExtension = QStringLiteral("csv");
    const std::optional<QString> name = m_services.saveFileName(request);
    if (!name)
        return;
    QString why;
    if (!FitReport::writeCsv(*name, m_holder.set(), m_result, &why))
        error(why);
}

void MesuresDialog::appliquer_Click()
{
    if (!m_fitted || !m_result.hasEta() || !m_holder.apply)
        return;
    // The wall-corrected η is the fluid's own when a tube was given.
    const double eta = std::isfinite(m_result.etaWall) ? m_result.etaWall : m_result.eta;
    AppliedFit applied;
    applied.viscosity = NumberFormat::threeSignificant(eta);
    applied.radius = NumberFormat::threeSignificant(m_setup.radius * 100.0); // cm
    applied.mass = NumberFormat::threeSignificant(m_setup.mass * 1000.0);    // g
    applied.fluidDensity = NumberFormat::threeSignificant(m_setup.fluidDensity);
    applied.sphereAndFluid = m_setup.outsideAnimation().isEmpty();
    if (applied.viscosity.isEmpty())
        return;
    m_holder.apply(applied);
}
