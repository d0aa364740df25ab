// SPDX-License-Identifier: GPL-3.0-or-later
// The Série tab: its controls, the trials added and left out, the result.
#include "seriespanel.h"

#include "seriesplot.h"
#include "seriestablemodel.h"

#include "core/numberformat.h"
#include "measures/seriestrial.h"
#include "measures/terminalvelocity.h"
#include "measures/uncertaintyreport.h"
#include "platform/namedwidgets.h"
#include "platform/platformservices.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QSplitter>
#include <QTableView>
#include <QVBoxLayout>

#include <cmath>

namespace {

// Two lengths or densities are the same set-up's when they agree to a part
// in a million (a value typed again, read back from a file).
bool same(double a, double b)
{
    if (a == b) // an open range's infinite bounds too
        return true;
    if (std::isnan(a) || std::isnan(b))
        return std::isnan(a) && std::isnan(b);
    return std::abs(a - b) <= 1e-6 * std::max(std::abs(a), std::abs(b));
}

// The same points (times, positions, what is left out) with the same
// ball and fit range: a second "Ajouter" of one fall, not a new trial.
bool sameFall(const SeriesFall &a, const SeriesFall &b)
{
    if (a.set.points.size() != b.set.points.size() || !same(a.setup.radius, b.setup.radius)
        || !same(a.setup.mass, b.setup.mass) || !same(a.options.tMin, b.options.tMin)
        || !same(a.options.tMax, b.options.tMax))
        return false;
    for (size_t i = 0; i < a.set.points.size(); ++i) {
        const MeasuredPoint &p = a.set.points[i];
        const MeasuredPoint &q = b.set.points[i];
        if (p.t != q.t || p.y != q.y || p.included() != q.included())
            return false;
    }
    return true;
}

} // namespace

SeriesPanel::SeriesPanel(PlatformServices &services, Hooks hooks, SeriesSession &session,
                         QWidget *parent)
    : QWidget(parent)
    , m_services(services)
    , m_hooks(std::move(hooks))
    , m_entries(session.entries)
    , m_folder(session.folder)
{
    setObjectName(QStringLiteral("serie"));
    auto *layout = new QVBoxLayout(this);
    auto *buttons = new QHBoxLayout;
    ajouter = NamedWidgets::button(QStringLiteral("&Ajouter la chute"),
                                   QStringLiteral("Ajouter la chute à la série"), this);
    ajouter->setToolTip(QStringLiteral("Ajuster la chute chargée dans l'onglet « Chute » avec sa "
                                       "bille, et l'ajouter comme essai de la série"));
    retirer = NamedWidgets::button(QStringLiteral("Re&tirer l'essai"),
                                   QStringLiteral("Retirer l'essai de la série"), this);
    ouvrirSerie = NamedWidgets::button(QStringLiteral("O&uvrir une série…"),
                                       QStringLiteral("Ouvrir une série"), this);
    enregistrerSerie = NamedWidgets::button(QStringLiteral("En&registrer la série…"),
                                            QStringLiteral("Enregistrer la série"), this);
    exporterSerie
        = NamedWidgets::button(QStringLiteral("E&xporter le tableau…"),
                               QStringLiteral("Exporter le tableau de la série en CSV"), this);
    rapport = NamedWidgets::button(QStringLiteral("Ra&pport…"),
                                   QStringLiteral("Imprimer le rapport de la série"), this);
    rapport->setToolTip(QStringLiteral("Le montage, chaque essai avec son graphe et ses résidus, "
                                       "le graphe de la série, le tableau et le résultat : à "
                                       "l'imprimante ou dans un fichier PDF"));
    for (QPushButton *b : {ajouter, retirer, ouvrirSerie, enregistrerSerie, exporterSerie, rapport})
        buttons->addWidget(b);
    buttons->addStretch(1);
    layout->addLayout(buttons);

    auto *split = new QSplitter(Qt::Horizontal, this);
    table = new QTableView(split);
    table->setObjectName(QStringLiteral("essais"));
    table->setAccessibleName(QStringLiteral("Essais de la série"));
    table->setToolTip(QStringLiteral("Clic sur « Retenu », Espace ou Entrée sur un essai pour le "
                                     "laisser de côté ou le reprendre"));
    m_model = new SeriesTableModel(this);
    table->setModel(m_model);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->verticalHeader()->hide();
    table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    table->horizontalHeader()->setStretchLastSection(true);
    table->installEventFilter(this);
    plot = new SeriesPlot(split);
    split->addWidget(table);
    split->addWidget(plot);
    // The table's seven columns whole, the plot beside them.
    split->setStretchFactor(0, 3);
    split->setStretchFactor(1, 2);
    split->setSizes({660, 300});
    layout->addWidget(split, 3);

    results = new QPlainTextEdit(this);
    results->setObjectName(QStringLiteral("serieResults"));
    results->setAccessibleName(QStringLiteral("Résultat de la série"));
    results->setReadOnly(true);
    results->setTabChangesFocus(true);
    layout->addWidget(results, 2);
    status = new QLabel(this);
    status->setObjectName(QStringLiteral("serieStatus"));
    status->setAccessibleName(QStringLiteral("Compte rendu de la série"));
    status->setWordWrap(true);
    layout->addWidget(status);

    connect(ajouter, &QPushButton::clicked, this, &SeriesPanel::ajouter_Click);
    connect(retirer, &QPushButton::clicked, this, &SeriesPanel::retirer_Click);
    connect(ouvrirSerie, &QPushButton::clicked, this, &SeriesPanel::ouvrirSerie_Click);
    connect(enregistrerSerie, &QPushButton::clicked, this, &SeriesPanel::enregistrerSerie_Click);
    connect(exporterSerie, &QPushButton::clicked, this, &SeriesPanel::exporterSerie_Click);
    connect(rapport, &QPushButton::clicked, this, &SeriesPanel::rapport_Click);
    connect(table, &QTableView::clicked, this, [this](const QModelIndex &index) {
        if (index.column() == SeriesTableModel::Used)
            trial_Toggle(index.row());
    });
    refresh();
}

bool SeriesPanel::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == table && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter) {
            trial_Toggle(table->currentIndex().row());
            return true;
        }
        if (key == Qt::Key_Delete) {
            retirer_Click();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void SeriesPanel::error(const QString &text)
{
    m_services.message(MessageIcon::Error, QStringLiteral("Série"), text);
}

void SeriesPanel::ajouter_Click()
{
    addCurrentFall();
}

bool SeriesPanel::addCurrentFall()
{
    QString why;
    const std::optional<SeriesFall> fall
        = m_hooks.currentFall ? m_hooks.currentFall(&why) : std::nullopt;
    if (!fall || !addFall(*fall, &why)) {
        error(why);
        return false;
    }
    status->setText(QStringLiteral("Essai %1 ajouté : %2.")
                        .arg(m_entries.size())
                        .arg(m_entries.back().fall.label));
    table->setCurrentIndex(m_model->index(int(m_entries.size()) - 1, 0));
    return true;
}

bool SeriesPanel::addFall(const SeriesFall &fall, QString *why)
{
    if (int(m_entries.size()) >= FallSeries::maxTrials) {
        *why = QStringLiteral("Une série compte au plus %1 essais.").arg(FallSeries::maxTrials);
        return false;
    }
    if (!m_entries.empty()) {
        const SeriesFall &first = m_entries.front().fall;
        if (!same(fall.setup.fluidDensity, first.setup.fluidDensity)
            || !same(fall.setup.tubeDiameter, first.setup.tubeDiameter)) {
            *why = QStringLiteral("Cette chute n'a pas le fluide ou le tube de la série (fluide "
                                  "de %1 kg/m³, %2) : une série se fait dans un seul fluide et un "
                                  "seul tube.")
                       .arg(NumberFormat::significant(first.setup.fluidDensity, 4),
                            std::isnan(first.setup.tubeDiameter)
                                ? QStringLiteral("sans tube")
                                : QStringLiteral("tube de %1 mm")
                                      .arg(NumberFormat::significant(1e3 * first.setup.tubeDiameter,
                                                                     4)));
            return false;
        }
        for (size_t i = 0; i < m_entries.size(); ++i) {
            if (sameFall(m_entries[i].fall, fall)) {
                *why = QStringLiteral("Cette chute, avec cette bille, est déjà l'essai %1 de la "
                                      "série.")
                           .arg(i + 1);
                return false;
            }
        }
        if (fall.options.model != first.options.model) {
            *why = QStringLiteral("Cette chute est ajustée avec un autre modèle que les essais "
                                  "de la série : choisir le même modèle.");
            return false;
        }
    }
    SeriesEntry entry;
    entry.fall = fall;
    entry.fit = FallFit::fit(fall.set, fall.setup, fall.options);
    if (!entry.fit.hasEta()) {
        *why = QStringLiteral("La chute « %1 » ne donne pas η : %2")
                   .arg(fall.label, entry.fit.message);
        return false;
    }
    entry.trial = SeriesTrials::fromFit(entry.fit, fall.inputs);
    entry.trial.label = fall.label;
    m_entries.push_back(std::move(entry));
    refresh();
    return true;
}

void SeriesPanel::retirer_Click()
{
    const int row = table->currentIndex().row();
    if (row < 0 || row >= int(m_entries.size()))
        return;
    const QString label = m_entries[size_t(row)].fall.label;
    m_entries.erase(m_entries.begin() + row);
    refresh();
    if (!m_entries.empty())
        table->setCurrentIndex(m_model->index(std::min(row, int(m_entries.size()) - 1), 0));
    status->setText(QStringLiteral("Essai %1 retiré : %2.").arg(row + 1).arg(label));
}

void SeriesPanel::trial_Toggle(int row)
{
    if (row < 0 || row >= int(m_entries.size()))
        return;
    SeriesTrial &t = m_entries[size_t(row)].trial;
    t.used = !t.used;
    refresh();
    table->setCurrentIndex(m_model->index(row, SeriesTableModel::Used));
    status->setText(t.used ? QStringLiteral("Essai %1 repris dans la série.").arg(row + 1)
                           : QStringLiteral("Essai %1 laissé de côté.").arg(row + 1));
}

std::vector<SeriesTrial> SeriesPanel::trials() const
{
    std::vector<SeriesTrial> out;
    for (const SeriesEntry &e : m_entries)
        out.push_back(e.trial);
    return out;
}

SeriesSetup SeriesPanel::setup() const
{
    SeriesSetup s;
    if (m_entries.empty())
        return s;
    const SeriesFall &first = m_entries.front().fall;
    s.fluidDensity = first.setup.fluidDensity;
    s.fluidDensityU = first.inputs.uFluidDensity;
    // The g of the fits' law, so that the line's η compares with theirs.
    s.gravity = TerminalVelocity::gravity(first.options.model);
    return s;
}

void SeriesPanel::refresh()
{
    const std::vector<SeriesTrial> all = trials();
    m_lines.clear();
    m_result = SeriesResult();
    if (!m_entries.empty()) {
        m_result = FallSeries::estimate(all, setup());
        m_lines = FallSeries::lines(all, m_result);
        const std::optional<std::pair<double, double>> reference
            = m_hooks.reference ? m_hooks.reference() : std::nullopt;
        if (m_result.ok && reference)
            m_lines << UncertaintyReport::referenceLines(UncertaintyReport::compare(
                m_result.eta, m_result.etaU, reference->first, reference->second));
    }
    m_model->setSeries(all, m_result);
    plot->setData(SeriesPlot::dataOf(all, m_result, setup().fluidDensity));
    results->setPlainText(m_entries.empty() ? QStringLiteral(
                              "Aucun essai : charger une chute dans l'onglet « Chute », taper sa "
                              "bille, puis « Ajouter la chute ». Méthode : η de la série = "
                              "moyenne pondérée des η des essais (poids 1/u²), incertitude "
                              "élargie par le rapport de Birge quand les essais s'écartent plus "
                              "que leurs incertitudes.")
                                            : m_lines.join(QLatin1Char('\n')));
    const bool any = !m_entries.empty();
    for (QPushButton *b : {retirer, enregistrerSerie, exporterSerie, rapport})
        b->setEnabled(any);
}
