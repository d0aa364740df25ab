// SPDX-License-Identifier: GPL-3.0-or-later
// The uncertainty part of the measures window: the "±" fields beside the
// inputs, the combined uncertainty and its budget after a fit, the unit
// checks, the Monte-Carlo draws with their histogram and the glycerine
// reference with the normalised gap.
#include "mesuresdialog.h"

#include "histogramview.h"
#include "measures/measurementholder.h"
#include "seriespanel.h"

#include "core/numberformat.h"
#include "measures/fitreport.h"
#include "measures/glycerinereference.h"
#include "measures/quantity.h"
#include "measures/uncertaintyreport.h"
#include "measures/unitsanity.h"
#include "platform/namedwidgets.h"

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

// A "±" field's standard uncertainty in SI units and its law (0 when empty:
// the input is exact); nothing, with a French reason, otherwise.
std::optional<TypedQuantity> typedUncertainty(const QLineEdit *edit, QuantityKind kind,
                                              QStringView unitWhenUnsaid, const QString &what,
                                              QString *why)
{
    return QuantityText::parseUncertainty(edit->text(), kind, what, why, unitWhenUnsaid);
}

// A typed field as the unit checks see it: the window's fields have their
// unit in their label, so only a density can be in a plainly wrong unit.
TypedQuantity checked(const QLineEdit *edit, double factor, bool unitKnown)
{
    TypedQuantity q;
    if (const std::optional<double> v = NumberFormat::parse(edit->text()))
        q.value = *v * factor;
    q.unitTyped = unitKnown;
    return q;
}

} // namespace

QLineEdit *MesuresDialog::uncertaintyField(const QString &name, const QString &help,
                                           QWidget *parent)
{
    return NamedWidgets::uncertaintyEdit(name, help, parent);
}

void MesuresDialog::addInputRow(QFormLayout *form, const QString &label, QWidget *field,
                                QLineEdit *u)
{
    NamedWidgets::addUncertainRow(form, label, field, u);
}

QWidget *MesuresDialog::createUncertainty(QWidget *parent)
{
    auto *box = new QWidget(parent);
    auto *layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    auto *help
        = new QLabel(QStringLiteral("± : incertitude-type, vide si exacte (pied à coulisse : "
                                    "la moitié du dernier chiffre ; balance : sa résolution "
                                    "/ √3), unité permise : 0,01mm ; une demi-largeur a "
                                    "s'écrit a/√3 (loi rectangulaire)"),
                     box);
    help->setObjectName(QStringLiteral("uncertaintyHelp"));
    help->setWordWrap(true);
    layout->addWidget(help);

    auto *reference = new QHBoxLayout;
    glycerineCelsius = NamedWidgets::edit(QStringLiteral("Référence : température de la "
                                                         "glycérine (°C)"),
                                          box);
    glycerineCelsius->setPlaceholderText(QStringLiteral("aucune"));
    glycerineCelsius->setToolTip(QStringLiteral("La température du fluide, de 0 à 100 °C : la "
                                                "viscosité de la glycérine (formule de Cheng) "
                                                "sert de référence"));
    glycerineWater = NamedWidgets::edit(QStringLiteral("Référence : eau dans la glycérine (% en "
                                                       "masse)"),
                                        box);
    glycerineWater->setPlaceholderText(QStringLiteral("0"));
    glycerineWater->setToolTip(QStringLiteral("La part d'eau en masse, de 0 à 100 % ; vide : "
                                              "glycérine pure"));
    auto *label = new QLabel(QStringLiteral("Ré&férence : glycérine à"), box);
    label->setBuddy(glycerineCelsius);
    reference->addWidget(label);
    reference->addWidget(glycerineCelsius);
    reference->addWidget(new QLabel(QStringLiteral("°C ("), box));
    reference->addWidget(glycerineWater);
    reference->addWidget(new QLabel(QStringLiteral("% d'eau)"), box));
    reference->addStretch(1);
    layout->addLayout(reference);

    auto *drawRow = new QHBoxLayout;
    monteCarlo
        = NamedWidgets::button(QStringLiteral("M&onte-Carlo…"), QStringLiteral("Monte-Carlo"), box);
    monteCarlo->setToolTip(QStringLiteral("Tirer les grandeurs selon leurs incertitudes et "
                                          "montrer la répartition de η"));
    draws = new QSpinBox(box);
    draws->setObjectName(QStringLiteral("draws"));
    draws->setAccessibleName(QStringLiteral("Nombre de tirages"));
    draws->setRange(100, 1'000'000);
    draws->setSingleStep(1000);
    draws->setValue(m_holder.inputs.monteCarloDraws);
    // The editor inside takes the focus: a screen reader names it too.
    for (QLineEdit *inner : draws->findChildren<QLineEdit *>())
        inner->setAccessibleName(draws->accessibleName());
    auto *drawsLabel = new QLabel(QStringLiteral("Tira&ges :"), box);
    drawsLabel->setBuddy(draws);
    drawRow->addWidget(monteCarlo);
    drawRow->addWidget(drawsLabel);
    drawRow->addWidget(draws);
    drawRow->addStretch(1);
    layout->addLayout(drawRow);

    glycerineCelsius->setText(m_holder.inputs.glycerineCelsius);
    glycerineWater->setText(m_holder.inputs.glycerineWater);
    connect(monteCarlo, &QPushButton::clicked, this, &MesuresDialog::monteCarlo_Click);
    connect(draws, &QSpinBox::valueChanged, this,
            [this](int n) { m_holder.inputs.monteCarloDraws = n; });
    for (QLineEdit *edit : {glycerineCelsius, glycerineWater})
        connect(edit, &QLineEdit::editingFinished, this, &MesuresDialog::reference_Typed);
    // A "±" typed in the video window: the same fit, a new budget.
    connect(&m_holder, &MeasurementHolder::scaleChanged, this, [this] {
        if (!m_fitted)
            return;
        m_notes = inputWarnings();
        combine();
        showResults();
    });
    return box;
}

std::optional<EtaUncertainty::Inputs> MesuresDialog::typedUncertainties(const FallSetup &setup,
                                                                        QString *why) const
{
    EtaUncertainty::Inputs in;
    in.model
        = model->currentIndex() == 1 ? FitOptions::Model::Stokes : FitOptions::Model::DragCurve;
    in.radius = setup.radius;
    in.fluidDensity = setup.fluidDensity;
    in.tubeDiameter = setup.tubeDiameter;
    const std::optional<TypedQuantity> r
        = typedUncertainty(radiusU, QuantityKind::Length, u"mm", QStringLiteral("du rayon"), why);
    const bool byMass = massKind->currentIndex() == 0;
    const std::optional<TypedQuantity> m = r
        ? typedUncertainty(massU, byMass ? QuantityKind::Mass : QuantityKind::Density,
                           byMass ? u"mg" : u"",
                           byMass ? QStringLiteral("de la masse")
                                  : QStringLiteral("de la masse volumique de la bille"),
                           why)
        : std::nullopt;
    const std::optional<TypedQuantity> rho = m
        ? typedUncertainty(fluidDensityU, QuantityKind::Density, u"",
                           QStringLiteral("de la masse volumique du fluide"), why)
        : std::nullopt;
    const std::optional<TypedQuantity> d = rho
        ? typedUncertainty(tubeU, QuantityKind::Length, u"mm", QStringLiteral("du tube"), why)
        : std::nullopt;
    if (!d)
        return std::nullopt;
    in.uRadius = r->uncertainty;
    in.radiusUniform = r->uniform;
    if (byMass) {
        in.mass = setup.mass;
        in.uMass = m->uncertainty;
    } else {
        in.sphereDensity = NumberFormat::parse(mass->text()).value_or(FallSetup::nan);
        in.uSphereDensity = m->uncertainty;
    }
    in.massUniform = m->uniform;
    in.uFluidDensity = rho->uncertainty;
    in.fluidDensityUniform = rho->uniform;
    in.uTubeDiameter = d->uncertainty;
    in.tubeDiameterUniform = d->uniform;
    // Points from a video bring their scale, its uncertainties typed in the
    // video window.
    in.scale = m_holder.set().scale;
    return in;
}

QStringList MesuresDialog::inputWarnings() const
{
    UnitSanity::TypedInputs typed;
    typed.radius = checked(radius, 1e-3, true);
    if (massKind->currentIndex() == 0)
        typed.mass = checked(mass, 1e-6, true);
    else
        typed.sphereDensity = checked(mass, 1.0, false);
    typed.fluidDensity = checked(fluidDensity, 1.0, false);
    typed.tubeDiameter = checked(tube, 1e-3, true);
    QStringList warnings = UnitSanity::inputWarnings(typed);
    for (QString &w : warnings) {
        if (!w.endsWith(QLatin1Char('.')))
            w += QLatin1Char('.');
    }
    return warnings;
}

bool MesuresDialog::millisecondsTaken(const FallSetup &setup, QString *note)
{
    const int time = m_choice.time;
    if (m_timeUnitChosen || time < 0 || time >= m_table.columnCount()
        || m_table.columns[size_t(time)].unit != MeasureUnit::Unknown
        || m_choice.timeUnit != MeasureUnit::Second)
        return false;
    const QString remark = UnitSanity::millisecondTimes(m_holder.set(), setup);
    if (remark.isEmpty())
        return false;
    ColumnChoice choice = m_choice;
    choice.timeUnit = MeasureUnit::Millisecond;
    if (!applySet(choice, m_tableSource))
        return false;
    showChoice(m_choice);
    *note = remark
        + QStringLiteral(" Ici, l'unité du temps est passée à « ms » : choisissez « s » si ce "
                         "sont des secondes.");
    return true;
}

void MesuresDialog::combine()
{
    m_combined.reset();
    m_drawn.reset();
    histogram->clear();
    QString why;
    const std::optional<EtaUncertainty::Inputs> in = typedUncertainties(m_setup, &why);
    if (!in) {
        m_notes << why;
        return;
    }
    if (m_result.hasEta())
        m_combined = EtaUncertainty::combine(m_result, *in);
    monteCarlo->setEnabled(m_combined && m_combined->ok);
}

std::optional<std::pair<double, double>> MesuresDialog::typedReference() const
{
    const QString celsiusText = glycerineCelsius->text().trimmed();
    if (celsiusText.isEmpty())
        return std::nullopt;
    const std::optional<double> celsius = NumberFormat::parse(celsiusText);
    const std::optional<double> water = glycerineWater->text().trimmed().isEmpty()
        ? std::optional<double>(0.0)
        : NumberFormat::parse(glycerineWater->text());
    if (!celsius || !water || !(*water >= 0.0 && *water <= 100.0)
        || !GlycerineReference::covers(*celsius, *water / 100.0))
        return std::nullopt;
    return std::make_pair(*celsius, *water / 100.0);
}

QStringList MesuresDialog::referenceLines() const
{
    if (glycerineCelsius->text().trimmed().isEmpty() || !m_combined)
        return {};
    const std::optional<std::pair<double, double>> reference = typedReference();
    if (!reference)
        return {QStringLiteral("Référence : la formule de Cheng couvre de 0 à 100 °C et de 0 à "
                               "100 % d'eau ; la température et la part d'eau sont à écrire en "
                               "nombres.")};
    return UncertaintyReport::referenceLines(UncertaintyReport::compare(
        m_combined->eta, m_combined->u, reference->first, reference->second));
}

void MesuresDialog::showResults()
{
    QStringList lines = FitReport::text(m_result).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QStringList added;
    qsizetype at = lines.size();
    if (m_combined) {
        // As lorva-mesures prints them: the combined u on the η lines, and
        // the budget right under them.
        const qsizetype etaLines = std::isfinite(m_result.etaWall) ? 2 : 1;
        added = EtaUncertainty::applyTo(*m_combined, m_result, lines, etaLines);
        at = std::min(etaLines, lines.size());
    }
    added << m_notes;
    if (m_drawn)
        added << UncertaintyReport::monteCarloLines(*m_drawn);
    added << referenceLines();
    for (qsizetype i = 0; i < added.size(); ++i)
        lines.insert(at + i, added.at(i));
    m_lines = lines;
    results->setPlainText(lines.join(QLatin1Char('\n')));
}

void MesuresDialog::monteCarlo_Click()
{
    if (!m_fitted || !m_combined || !m_combined->ok) {
        error(QStringLiteral("Ajustez d'abord les mesures : le tirage part de l'ajustement et "
                             "des incertitudes des grandeurs."));
        return;
    }
    m_drawn = MonteCarlo::run(m_combined->inputs, m_combined->measurand, draws->value());
    if (m_drawn->ok)
        histogram->setResult(*m_drawn);
    else
        histogram->clear();
    showResults();
}

void MesuresDialog::reference_Typed()
{
    m_holder.inputs.glycerineCelsius = glycerineCelsius->text();
    m_holder.inputs.glycerineWater = glycerineWater->text();
    serie->refresh(); // the series' result compares with the reference too
    if (m_fitted)
        showResults();
}
