// SPDX-License-Identifier: GPL-3.0-or-later
// The import half of the measures dialog: the source and the table of points
// (the column choice is in mesurescolumns.cpp).
#include "mesuresdialog.h"

#include "measuredpointsmodel.h"
#include "measures/measurementholder.h"

#include "measures/fitreport.h"
#include "measures/measurementreader.h"
#include "platform/namedwidgets.h"
#include "platform/platformservices.h"

#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QShortcut>
#include <QStandardPaths>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>

MesuresDialog::MesuresDialog(MeasurementHolder &holder, PlatformServices &services, QWidget *parent)
    : QDialog(parent)
    , m_holder(holder)
    , m_services(services)
    , m_table(holder.inputs.table)
    , m_tableSource(holder.inputs.tableSource)
    , m_choice(holder.inputs.choice)
{
    setObjectName(QStringLiteral("mesures"));
    setWindowTitle(title());
    setAccessibleName(title());
    auto *layout = new QVBoxLayout(this);
    tabs = new QTabWidget(this);
    tabs->setObjectName(QStringLiteral("onglets"));
    tabs->setAccessibleName(QStringLiteral("Chute ou série"));
    tabs->tabBar()->setAccessibleName(QStringLiteral("Onglets : une chute, la série"));
    auto *fall = new QWidget(tabs);
    auto *halves = new QHBoxLayout(fall);
    halves->setContentsMargins(0, 0, 0, 0);
    halves->addWidget(createImport(), 1);
    halves->addWidget(createFit(), 1);
    tabs->addTab(fall, QStringLiteral("U&ne chute"));
    tabs->addTab(createSeries(), QStringLiteral("&Série"));
    layout->addWidget(tabs);
    prefill();
    fillChoice();
    showSource();
    fitPointsWidth();
    setStale();
    restoreFit();
    resize(960, 720);
}

MesuresDialog::~MesuresDialog()
{
    // As for the video window: no field's editingFinished may reach this
    // window once its destructor has run and QDialog's hides it.
    for (QLineEdit *edit : findChildren<QLineEdit *>())
        edit->disconnect(this);
}

MesuresDialog *MesuresDialog::showBeside(MeasurementHolder &holder, PlatformServices &services,
                                         QWidget *graphWindow)
{
    auto *dialog = graphWindow ? graphWindow->findChild<MesuresDialog *>(QStringLiteral("mesures"),
                                                                         Qt::FindDirectChildrenOnly)
                               : nullptr;
    if (!dialog) {
        dialog = new MesuresDialog(holder, services, graphWindow);
        dialog->setModal(false);
        if (graphWindow) {
            const QRect here = graphWindow->frameGeometry();
            const QScreen *screen = graphWindow->screen();
            const QRect room = screen ? screen->availableGeometry() : QRect();
            int x = here.right() + 1;
            if (!room.isEmpty() && x + dialog->width() > room.right())
                x = std::max(room.left(), room.right() - dialog->width());
            dialog->move(x, here.top());
        }
    }
    dialog->show();
    dialog->raise();
    dialog->activateWindow();
    return dialog;
}

void MesuresDialog::restoreFit()
{
    // A window opened again shows the session's last fit, as long as it
    // still belongs to the points and to the typed values.
    const FitResult *fit = m_holder.lastFit();
    QString why;
    const std::optional<FallSetup> setup = typedSetup(&why);
    if (!fit || !setup)
        return;
    m_setup = *setup;
    m_result = *fit;
    m_fitted = true;
    m_notes = inputWarnings();
    combine();
    showResults();
    copier->setEnabled(true);
    exporter->setEnabled(true);
    appliquer->setEnabled(m_result.hasEta() && bool(m_holder.apply));
    ajouterSerie->setEnabled(m_result.hasEta());
}

QWidget *MesuresDialog::createImport()
{
    auto *box = new QWidget(this);
    auto *layout = new QVBoxLayout(box);
    auto *buttons = new QHBoxLayout;
    ouvrir = NamedWidgets::button(QStringLiteral("&Ouvrir un fichier de mesures…"),
                                  QStringLiteral("Ouvrir un fichier de mesures"), box);
    ouvrir->setObjectName(QStringLiteral("ouvrir"));
    coller = NamedWidgets::button(QStringLiteral("Co&ller des mesures"),
                                  QStringLiteral("Coller des mesures"), box);
    coller->setObjectName(QStringLiteral("coller"));
    video = NamedWidgets::button(QStringLiteral("Ouvrir une &vidéo…"),
                                 QStringLiteral("Ouvrir une vidéo de la chute"), box);
    video->setObjectName(QStringLiteral("video"));
    video->setToolTip(
        QStringLiteral("Suivre la bille sur une vidéo de la chute et en tirer les mesures"));
    video->setVisible(bool(m_holder.openVideo));
    buttons->addWidget(ouvrir);
    buttons->addWidget(coller);
    buttons->addWidget(video);
    layout->addLayout(buttons);
    source = new QLabel(box);
    source->setObjectName(QStringLiteral("source"));
    source->setWordWrap(true);
    // Its height follows its width (see eventFilter): a squeezed column
    // must not cut the file name and the table's layout in half.
    source->installEventFilter(this);
    layout->addWidget(source);

    layout->addLayout(createColumnChoice(box));

    points = new QTableView(box);
    points->setObjectName(QStringLiteral("points"));
    points->setAccessibleName(QStringLiteral("Points mesurés"));
    points->setToolTip(QStringLiteral("Double-clic, Espace ou Entrée sur un point pour "
                                      "l'exclure ou le reprendre ; Ctrl+Z annule"));
    m_model = new MeasuredPointsModel(m_holder, this);
    points->setModel(m_model);
    points->setSelectionBehavior(QAbstractItemView::SelectRows);
    points->setSelectionMode(QAbstractItemView::SingleSelection);
    points->setEditTriggers(QAbstractItemView::NoEditTriggers);
    points->verticalHeader()->hide();
    // A number is never broken or cut ("0,00517861", "-0,0123457"): each
    // column is as wide as its widest text, the last takes what is left.
    points->setWordWrap(false);
    points->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    points->horizontalHeader()->setStretchLastSection(true);
    layout->addWidget(points, 1);
    undo = NamedWidgets::button(QStringLiteral("Annuler l'exclusion (Ctrl+Z)"),
                                QStringLiteral("Annuler l'exclusion"), box);
    undo->setEnabled(false);
    layout->addWidget(undo, 0, Qt::AlignLeft);
    auto *undoKey = new QShortcut(QKeySequence::Undo, this);
    connect(undoKey, &QShortcut::activated, this, &MesuresDialog::undo_Click);
    connect(undo, &QPushButton::clicked, this, &MesuresDialog::undo_Click);

    connect(ouvrir, &QPushButton::clicked, this, &MesuresDialog::ouvrir_Click);
    connect(coller, &QPushButton::clicked, this, &MesuresDialog::coller_Click);
    connect(video, &QPushButton::clicked, this, &MesuresDialog::video_Click);
    // A single click only selects: a point is left out by a deliberate gesture.
    connect(points, &QTableView::doubleClicked, this,
            [this](const QModelIndex &index) { points_Click(index.row()); });
    // Space or Enter on the current row, as a click does.
    points->installEventFilter(this);
    connect(&m_holder, &MeasurementHolder::changed, this, [this] {
        // Points put in by another window (the video window, which stays
        // open beside this one) do not come from the last table: its columns
        // no longer describe them, and choosing one must not bring the
        // table's points back over them.
        // The table is the session's: another Mesures window may have let it
        // go already, this one still lists its columns.
        const bool fromTable
            = m_table.columnCount() > 0 && m_holder.set().sourceName == m_tableSource;
        if (!fromTable && (m_table.columnCount() > 0 || positionColumn->count() > 0)) {
            m_table = MeasurementTable();
            m_tableSource.clear();
            fillChoice();
            setStale();
        }
        // The table is read again; the keyboard stays on its row.
        const int row = points->currentIndex().row();
        m_model->reload();
        fitPointsWidth();
        if (row >= 0 && row < m_model->rowCount())
            points->setCurrentIndex(m_model->index(row, 0));
        showSource();
    });
    connect(&m_holder, &MeasurementHolder::replaced, this, [this] {
        // The old points' results and undo steps no longer apply.
        m_undo.clear();
        undo->setEnabled(false);
        results->clear();
        setStale();
        say(m_holder.resetNote());
    });
    return box;
}

void MesuresDialog::fitPointsWidth()
{
    const QAbstractItemView *view = points;
    int width = 2 * points->frameWidth() + points->verticalScrollBar()->sizeHint().width();
    for (int column = 0; column < m_model->columnCount(); ++column)
        width += std::max(view->sizeHintForColumn(column),
                          points->horizontalHeader()->sectionSizeHint(column));
    points->setMinimumWidth(width);
}

bool MesuresDialog::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == source && event->type() == QEvent::Resize) {
        // The lines the text takes at this width; a word-wrapped label's own
        // minimum is one short line, which a full column would give it.
        const int height = source->heightForWidth(source->width());
        if (height > 0 && height != source->minimumHeight())
            source->setMinimumHeight(height);
    }
    if (watched == points && event->type() == QEvent::KeyPress) {
        // The table takes Ctrl+Z itself when the window's shortcut does not
        // (an inactive window).
        if (static_cast<QKeyEvent *>(event)->matches(QKeySequence::Undo)) {
            undo_Click();
            return true;
        }
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter) {
            points_Click(points->currentIndex().row());
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void MesuresDialog::error(const QString &text)
{
    m_services.message(MessageIcon::Error, title(), text);
}

void MesuresDialog::video_Click()
{
    // The video window opens beside this one; the positions it hands over
    // arrive through the holder's changed().
    if (m_holder.openVideo)
        m_holder.openVideo();
}

void MesuresDialog::ouvrir_Click()
{
    FileDialogRequest request;
    request.title = QStringLiteral("Ouvrir un fichier de mesures");
    request.filter = QStringLiteral("Mesures (*.txt *.csv *.tsv *.dat);;Tous les fichiers (*)");
    // The last file's folder; at first the user's documents, never the
    // program's own folders.
    request.directory = m_holder.folder.isEmpty()
        ? QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation)
        : m_holder.folder;
    const std::optional<QStringList> names = m_services.openFileNames(request);
    if (!names || names->isEmpty())
        return;
    if (names->size() > 1) {
        error(QStringLiteral("%1 fichiers sont choisis : ouvrez un seul fichier de mesures à la "
                             "fois. Aucun n'a été lu.")
                  .arg(names->size()));
        return;
    }
    const QString *name = &names->constFirst();
    m_holder.folder = QFileInfo(*name).absolutePath();
    QFile file(*name);
    const QString shown = QFileInfo(*name).fileName();
    if (!file.open(QIODevice::ReadOnly)) {
        error(QStringLiteral("Impossible d'ouvrir le fichier « %1 ».").arg(shown));
        return;
    }
    MeasurementReader reader;
    if (!reader.read(&file)) {
        error(reader.errorString());
        return;
    }
    if (adopt(reader.takeTable(), shown))
        m_openedPath = QFileInfo(*name).absoluteFilePath();
}

void MesuresDialog::coller_Click()
{
    const QString text = m_services.readClipboardText();
    if (text.isEmpty()) {
        error(QStringLiteral("Le presse-papiers ne contient pas de texte."));
        return;
    }
    // Numbered for the session, so that a series' pasted trials differ.
    const int paste = m_holder.inputs.pastes + 1;
    if (importBytes(text.toUtf8(), QStringLiteral("presse-papiers %1").arg(paste))) {
        m_holder.inputs.pastes = paste;
        m_openedPath.clear();
    }
}

bool MesuresDialog::importBytes(const QByteArray &bytes, const QString &sourceName)
{
    MeasurementReader reader;
    if (!reader.read(bytes)) {
        error(reader.errorString());
        return false;
    }
    return adopt(reader.takeTable(), sourceName);
}

bool MesuresDialog::adopt(MeasurementTable table, const QString &sourceName)
{
    MeasurementTable previous = std::move(m_table);
    const QString previousSource = m_tableSource;
    m_table = std::move(table);
    m_tableSource = sourceName;
    m_timeUnitChosen = false;
    if (!applySet(defaultChoice(m_table), sourceName)) {
        m_table = std::move(previous);
        m_tableSource = previousSource;
        fillChoice();
        return false;
    }
    fillChoice();
    return true;
}

void MesuresDialog::points_Click(int row)
{
    const auto &all = m_holder.set().points;
    if (row < 0 || row >= int(all.size()))
        return;
    const bool excluded = all[size_t(row)].exclusion == MeasuredPoint::Exclusion::User;
    if (m_holder.setUserExcluded(row, !excluded)) {
        m_undo.emplace_back(row, excluded);
        undo->setEnabled(true);
        setStale();
    }
}

void MesuresDialog::undo_Click()
{
    if (m_undo.empty())
        return;
    const auto [row, excluded] = m_undo.back();
    m_undo.pop_back();
    undo->setEnabled(!m_undo.empty());
    if (m_holder.setUserExcluded(row, excluded))
        setStale();
    if (row < m_model->rowCount())
        points->setCurrentIndex(m_model->index(row, 0));
}

void MesuresDialog::showSource()
{
    const MeasurementSet &set = m_holder.set();
    if (set.isEmpty()) {
        source->setText(QStringLiteral("Aucune mesure chargée."));
        return;
    }
    QString text = QStringLiteral("%1 : %2 points, dont %3 retenus.")
                       .arg(set.sourceName)
                       .arg(set.points.size())
                       .arg(set.includedCount());
    if (m_table.columnCount() > 0)
        text += QLatin1Char(' ') + m_table.layout.description();
    source->setText(text);
}
