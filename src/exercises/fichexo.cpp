// SPDX-License-Identifier: GPL-3.0-or-later
#include "fichexo.h"

#include "exercisebanner.h"
#include "exercisedescriptor.h"
#include "exercisesession.h"

#include "folders/folderlists.h"
#include "platform/accessiblelists.h"
#include "platform/arialfont.h"

#include <QCollator>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QStyle>
#include <QTextEdit>
#include <QTimer>
#include <QToolButton>
#include <QTreeView>
#include <algorithm>

namespace {

// count hourglasses side by side, each size pixels high: the fonts a school
// machine has rarely hold the hourglass character, so it is drawn.
QPixmap hourglasses(int count, int size)
{
    const int width = size * 2 / 3;
    QPixmap pixmap(std::max(1, count * (width + 4)), size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    for (int i = 0; i < count; ++i) {
        const qreal x = i * (width + 4) + 1.0;
        const qreal w = width - 2.0;
        const qreal h = size - 2.0;
        p.setPen(QPen(QColor(60, 40, 20), 1.5));
        p.drawLine(QPointF(x, 1.0), QPointF(x + w, 1.0));
        p.drawLine(QPointF(x, 1.0 + h), QPointF(x + w, 1.0 + h));
        const QPointF glass[]
            = {{x + 1, 1.0},         {x + w - 1, 1.0}, {x + w / 2 + 1, 1.0 + h / 2},
               {x + w - 1, 1.0 + h}, {x + 1, 1.0 + h}, {x + w / 2 - 1, 1.0 + h / 2}};
        p.setBrush(QColor(235, 235, 225));
        p.drawPolygon(glass, 6);
        // The sand, run half through.
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(210, 160, 60));
        const QPointF top[] = {
            {x + w * 0.3, 1.0 + h * 0.3}, {x + w * 0.7, 1.0 + h * 0.3}, {x + w / 2, 1.0 + h / 2}};
        p.drawPolygon(top, 3);
        const QPointF bottom[]
            = {{x + w / 2, 1.0 + h * 0.7}, {x + w - 2, 1.0 + h - 1}, {x + 2, 1.0 + h - 1}};
        p.drawPolygon(bottom, 3);
    }
    return pixmap;
}

// A difficulty lamp: a shaded disc, lit yellow or dark grey.
QPixmap lampPicture(const QColor &colour)
{
    QPixmap picture(24, 24);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    QRadialGradient shade(QPointF(9, 9), 12);
    shade.setColorAt(0, colour.lighter(160));
    shade.setColorAt(1, colour);
    painter.setBrush(shade);
    painter.setPen(QPen(colour.darker(180), 1));
    painter.drawEllipse(QRectF(2, 2, 20, 20));
    return picture;
}

QLabel *labelOn(QWidget *parent, const char *name, const QString &text, const QRect &geometry)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setGeometry(geometry);
    return label;
}

} // namespace

QModelIndex Fichexo::firstByName(const QAbstractItemModel &model, const QModelIndex &parent)
{
    // The model sorts its rows only some time after reading the folder; the
    // first file is chosen by name, as the list shows it once sorted.
    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    collator.setNumericMode(true);
    QModelIndex first;
    QString firstName;
    for (int row = 0; row < model.rowCount(parent); ++row) {
        const QModelIndex index = model.index(row, 0, parent);
        const QString name = index.data().toString();
        if (!first.isValid() || collator.compare(name, firstName) < 0) {
            first = index;
            firstName = name;
        }
    }
    return first;
}

Fichexo::Fichexo(ExerciseSession &session, QWidget *mainWindow)
    : QDialog(mainWindow)
    , m_session(session)
{
    setObjectName(QStringLiteral("Fichexo"));
    // The window covers the main window exactly, with its caption and icon.
    if (mainWindow) {
        setWindowTitle(mainWindow->windowTitle());
        setWindowIcon(mainWindow->windowIcon());
        setGeometry(mainWindow->geometry());
    }
    const int height = mainWindow ? mainWindow->height() : 600;
    setFixedSize(800, height);
    setAccessibleName(ExerciseBanner::title());

    m_tito = new ExerciseBanner(this);
    m_tito->setGeometry(0, 0, 800, 56);

    m_image5 = new QToolButton(this);
    m_image5->setObjectName(QStringLiteral("Image5"));
    m_image5->setText(QStringLiteral("&Fermer"));
    m_image5->setIcon(style()->standardIcon(QStyle::SP_DialogCloseButton));
    m_image5->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    m_image5->setAccessibleName(QStringLiteral("Fermer la fenêtre des exercices"));
    m_image5->setGeometry(692, 12, 96, 32);
    connect(m_image5, &QToolButton::clicked, this, &QDialog::reject);

    // The list frame runs from 8 pixels above the banner's bottom edge to the
    // bottom of the window.
    m_frame1 = new QGroupBox(QStringLiteral("Liste des exercices:"), this);
    m_frame1->setObjectName(QStringLiteral("Frame1"));
    m_frame1->setGeometry(8, m_tito->geometry().bottom() + 1 - 8 + 16, 312, height - 64);
    m_lists = new FolderLists(m_frame1);
    m_lists->setFilePattern(QStringLiteral("*.E40"));
    m_lists->Drive1->setGeometry(10, 24, 292, 26);
    m_lists->Dir1->setGeometry(10, 58, 292, 200);
    auto *label5
        = labelOn(m_frame1, "Label5", QStringLiteral("E&xercices :"), QRect(10, 264, 292, 20));
    label5->setBuddy(m_lists->File1);
    m_lists->File1->setGeometry(10, 286, 292, m_frame1->height() - 296);
    m_lists->File1->setAccessibleName(QStringLiteral("Liste des exercices"));
    AccessibleLists::expose(m_lists->File1);

    createPreview(height);
    createWaitPanel(height);

    connect(m_lists, &FolderLists::fileClicked, this, &Fichexo::File1_Click);
    connect(m_lists, &FolderLists::fileActivated, this, [this](const QString &name) {
        File1_Click(name);
        ouvreur_Click();
    });
    connect(m_lists, &FolderLists::pathChanged, this, &Fichexo::pathChanged);
    auto *files = qobject_cast<QFileSystemModel *>(m_lists->File1->model());
    connect(files, &QFileSystemModel::directoryLoaded, this, [this] {
        if (m_waitingForFiles)
            Form_Activate();
    });
    // The folders load in the background: the current one is scrolled into
    // view once its parents are known, instead of the top of the tree.
    auto *folders = qobject_cast<QFileSystemModel *>(m_lists->Dir1->model());
    connect(folders, &QFileSystemModel::directoryLoaded, this, [this](const QString &loaded) {
        if (QDir::cleanPath(m_lists->path()).startsWith(QDir::cleanPath(loaded)))
            showCurrentFolder();
    });

    setTabOrder(m_lists->Drive1, m_lists->Dir1);
    setTabOrder(m_lists->Dir1, m_lists->File1);
    setTabOrder(m_lists->File1, m_ouvreur);
    setTabOrder(m_ouvreur, m_image5);

    const QString folder = session.exercisesFolder();
    if (!m_lists->setPath(folder))
        m_lists->setPath(QDir::homePath());
    apercu();
}

Fichexo::~Fichexo() = default;

void Fichexo::createPreview(int height)
{
    constexpr int left = 336;
    constexpr int width = 456;
    m_fichierexo = new QLineEdit(this);
    m_fichierexo->setObjectName(QStringLiteral("fichierexo"));
    m_fichierexo->setReadOnly(true);
    m_fichierexo->setFocusPolicy(Qt::NoFocus);
    m_fichierexo->setAccessibleName(QStringLiteral("Fichier de l'exercice"));
    m_fichierexo->setGeometry(left, 72, width, 24);

    m_intratro = labelOn(this, "intratro", QStringLiteral("Sélectionner un fichier"),
                         QRect(left, 110, width, 30));
    m_intratro->setFont(ArialFont::systemPoints(12));
    m_titratexo = labelOn(this, "titratexo", QString(), QRect(left, 104, width, 56));
    m_titratexo->setFont(ArialFont::systemPoints(15, true));
    m_titratexo->setWordWrap(true);
    m_titratexo->setAccessibleName(QStringLiteral("Titre"));

    m_label4 = labelOn(this, "Label4", QStringLiteral("Niveau de difficulté :"),
                       QRect(left, 172, 170, 24));
    m_imagalu = lampPicture(QColor(255, 200, 0));
    m_imagenoir = lampPicture(QColor(70, 70, 70));
    for (int i = 0; i < ExerciseDescriptor::lampCount; ++i) {
        auto *lamp = labelOn(this, "Image4", QString(), QRect(left + 176 + 30 * i, 172, 24, 24));
        lamp->setObjectName(QStringLiteral("Image4(%1)").arg(i));
        m_lamps.at(std::size_t(i)) = lamp;
    }

    m_label1 = labelOn(this, "Label1", QStringLiteral("Notions abordées :"),
                       QRect(left, 210, width, 20));
    m_text1 = new QTextEdit(this);
    m_text1->setObjectName(QStringLiteral("Text1"));
    m_text1->setReadOnly(true);
    m_text1->setAccessibleName(QStringLiteral("Notions abordées"));
    m_text1->setGeometry(left, 232, width, 150);

    // Label3 is Label2's shadow, 2 pixels right and down, painted under it.
    m_label3 = labelOn(this, "Label3", QStringLiteral("Corrigé"), QRect(left + 2, 398, 300, 30));
    m_label2 = labelOn(this, "Label2", QStringLiteral("Corrigé"), QRect(left, 396, 300, 30));
    for (QLabel *label : {m_label2, m_label3})
        label->setFont(ArialFont::systemPoints(14, true));
    m_label3->setStyleSheet(QStringLiteral("color: rgb(128, 128, 128);"));
    m_label2->setStyleSheet(QStringLiteral("color: rgb(128, 0, 0);"));
    m_label3->setAccessibleName(QString());
    m_label2->raise();

    m_text2 = labelOn(this, "Text2", QString(), QRect(left, 436, width, 32));
    m_text2->setFont(ArialFont::systemPoints(16));

    m_ouvreur = new QPushButton(QStringLiteral("&Ouvrir l'exercice"), this);
    m_ouvreur->setObjectName(QStringLiteral("ouvreur"));
    m_ouvreur->setAccessibleName(QStringLiteral("Ouvrir l'exercice sélectionné"));
    m_ouvreur->setGeometry(left, height - 64, 220, 40);
    // Enter in the lists acts on the lists, never on this button.
    m_ouvreur->setAutoDefault(false);
    connect(m_ouvreur, &QPushButton::clicked, this, &Fichexo::ouvreur_Click);
    for (QWidget *hidden : {static_cast<QWidget *>(m_label1), static_cast<QWidget *>(m_label2),
                            static_cast<QWidget *>(m_label3), static_cast<QWidget *>(m_label4)})
        hidden->hide();
}

void Fichexo::createWaitPanel(int height)
{
    m_frame2 = new QFrame(this);
    m_frame2->setObjectName(QStringLiteral("Frame2"));
    m_frame2->setFrameStyle(QFrame::Box | QFrame::Raised);
    m_frame2->setLineWidth(2);
    m_frame2->setAutoFillBackground(true);
    m_frame2->setGeometry((800 - 320) / 2, (height - 100) / 2, 320, 100);
    auto *image6 = labelOn(m_frame2, "Image6", QString(), QRect(16, 26, 48, 48));
    image6->setPixmap(hourglasses(1, 40));
    auto *label7 = labelOn(m_frame2, "Label7", QStringLiteral("Patienter quelques instants"),
                           QRect(72, 22, 240, 24));
    label7->setFont(ArialFont::systemPoints(11, true));
    labelOn(m_frame2, "Label6", QStringLiteral(" Chargement des fichiers"), QRect(72, 52, 240, 24));
    m_frame2->setAccessibleName(QStringLiteral("Patienter quelques instants"));
    m_frame2->hide();
}

QLabel *Fichexo::label(int index) const
{
    switch (index) {
    case 1:
        return m_label1;
    case 2:
        return m_label2;
    case 3:
        return m_label3;
    case 4:
        return m_label4;
    default:
        return nullptr;
    }
}

bool Fichexo::lampLit(int lamp) const
{
    return image4(lamp)->pixmap().cacheKey() == m_imagalu.cacheKey();
}

void Fichexo::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!m_activated) {
        m_activated = true;
        QTimer::singleShot(0, this, &Fichexo::Form_Activate);
    }
}

void Fichexo::Form_Activate()
{
    showCurrentFolder();
    QListView *list = m_lists->File1;
    const QModelIndex first = firstByName(*list->model(), list->rootIndex());
    m_waitingForFiles = !first.isValid();
    if (m_waitingForFiles)
        return;
    list->setCurrentIndex(first);
    list->setFocus(Qt::OtherFocusReason);
}

void Fichexo::showCurrentFolder()
{
    QTreeView *tree = m_lists->Dir1;
    tree->scrollTo(tree->currentIndex(), QAbstractItemView::PositionAtCenter);
}

void Fichexo::pathChanged()
{
    m_fichierexo->clear();
    m_titratexo->clear();
    m_titratexo->setAccessibleName(QStringLiteral("Titre"));
    apercu();
}

void Fichexo::File1_Click(const QString &name)
{
    m_waitingForFiles = false;
    m_session.setRepexo(m_lists->path());
    m_fichierexo->setText(m_session.repexo() + name);
    apercu();
}

void Fichexo::apercu()
{
    m_text1->clear();
    m_text2->clear();
    for (QLabel *lamp : m_lamps)
        lamp->hide();
    m_label4->hide();
    m_ouvreur->hide();
    if (m_fichierexo->text().trimmed().isEmpty()) {
        m_intratro->show();
        for (QLabel *label : {m_label1, m_label2, m_label3})
            label->hide();
        return;
    }
    m_intratro->hide();
    for (QWidget *shown : {static_cast<QWidget *>(m_label4), static_cast<QWidget *>(m_ouvreur),
                           static_cast<QWidget *>(m_label1), static_cast<QWidget *>(m_label2),
                           static_cast<QWidget *>(m_label3)})
        shown->show();

    ExerciseDescriptor descriptor;
    if (!descriptor.read(m_fichierexo->text())) {
        m_session.lectureImpossible();
        return;
    }
    const QString status = descriptor.hasCorrection() ? corrected() : notCorrected();
    m_label2->setText(status);
    m_label3->setText(status);
    for (int i = 0; i < ExerciseDescriptor::lampCount; ++i) {
        QLabel *lamp = image4(i);
        const bool lit = descriptor.lampLit(i);
        lamp->setPixmap(lit ? m_imagalu : m_imagenoir);
        lamp->setAccessibleName(
            QStringLiteral("Lampe %1 %2")
                .arg(i + 1)
                .arg(lit ? QStringLiteral("allumée") : QStringLiteral("éteinte")));
        lamp->show();
    }
    m_label4->setAccessibleDescription(
        QStringLiteral("%1 sur %2").arg(descriptor.litLamps()).arg(ExerciseDescriptor::lampCount));
    m_text1->setPlainText(descriptor.notionsText());
    const QString title = descriptor.title().trimmed();
    m_titratexo->setText(title);
    // A screen reader reads the title itself, not the label's role.
    m_titratexo->setAccessibleName(title.isEmpty() ? QStringLiteral("Titre") : title);
    const int symbols = descriptor.symbolCount();
    m_text2->setPixmap(hourglasses(symbols, 24));
    m_text2->setAccessibleName(QStringLiteral("%1 sablier(s)").arg(symbols));
}

void Fichexo::ouvreur_Click()
{
    if (m_fichierexo->text().trimmed().isEmpty())
        return;
    m_frame2->show();
    m_frame2->raise();
    m_frame2->repaint();
    const bool opened = m_session.ouvreur(m_fichierexo->text());
    m_frame2->hide();
    if (opened)
        accept();
}
