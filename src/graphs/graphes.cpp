// SPDX-License-Identifier: GPL-3.0-or-later
#include "graphes.h"

#include "residualplot.h"
#include "valuestable.h"

#include "output/fileexport.h"
#include "output/pictureprinter.h"
#include "platform/accessiblemenus.h"
#include "platform/arialfont.h"
#include "platform/palette.h"
#include "platform/platformservices.h"
#include "platform/surfacewidget.h"

#include <QAction>
#include <QButtonGroup>
#include <QCheckBox>
#include <QCursor>
#include <QEvent>
#include <QFrame>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QRadioButton>
#include <QStyle>
#include <QToolButton>
#include <QWheelEvent>

namespace {

constexpr int border = 2;        // sunken border of Picture1
constexpr int pictureMargin = 8; // between Picture1 and the window's right edge
constexpr int iconSize = 32;
constexpr int stripGap = 8;         // between the tools of the strip
constexpr int mesuresWidth = 90;    // the "Mesures…" tool, at least
constexpr int iconsFromRight = 170; // the leftmost icon, from the strip's right edge
constexpr int residualGap = 4;      // between the plot's frame and the residuals'

} // namespace

Graphes::Graphes(const SimulationState &state, std::function<DisplayOptions()> options,
                 PlatformServices &services, QWidget *parent)
    : QDialog(parent)
    , m_state(state)
    , m_options(std::move(options))
    , m_services(services)
{
    setObjectName(QStringLiteral("graphes"));
    setAccessibleName(QStringLiteral("Graphe agrandi"));
    setFont(ArialFont::designPixels(8));
    setMouseTracking(true);
    resize(800, 572);
    createStrip();
    createGraph();

    MSFlexGrid1 = new ValuesTable(this);
    copig = new QMenu(this);
    copig->setObjectName(QStringLiteral("copig"));
    copig->setAccessibleName(QStringLiteral("Copier"));
    AccessibleMenus::expose(copig);
    contab = copig->addAction(QStringLiteral("Copier le contenu du &tableau"));
    contab->setObjectName(QStringLiteral("contab"));
    cogra = copig->addAction(QStringLiteral("Copier le &graphe"));
    cogra->setObjectName(QStringLiteral("cogra"));
    copig->addSeparator();
    exptab = copig->addAction(QStringLiteral("E&xporter le tableau…"));
    exptab->setObjectName(QStringLiteral("exptab"));
    enrgra = copig->addAction(QStringLiteral("En&registrer le graphe…"));
    enrgra->setObjectName(QStringLiteral("enrgra"));
    connect(contab, &QAction::triggered, this, &Graphes::contab_Click);
    connect(cogra, &QAction::triggered, this, &Graphes::cogra_Click);
    connect(exptab, &QAction::triggered, this, &Graphes::exptab_Click);
    connect(enrgra, &QAction::triggered, this, &Graphes::enrgra_Click);

    // Keyboard order: the quantity, the asymptote, the icons left to right, the table.
    setTabOrder(Option1[0], Option1[1]);
    setTabOrder(Option1[1], Option1[2]);
    setTabOrder(Option1[2], Check1);
    setTabOrder(Check1, mesures);
    setTabOrder(mesures, Image1[4]);
    setTabOrder(Image1[4], Image1[3]);
    setTabOrder(Image1[3], Image1[2]);
    setTabOrder(Image1[2], Image1[1]);
    setTabOrder(Image1[1], MSFlexGrid1);
    // The tools of the strip side by side, the plot and its residuals one
    // above the other: the window never gets so small that they overlap.
    const int stripWidth = Check1->geometry().right() + 1 + stripGap + mesuresToolWidth() + stripGap
        + iconsFromRight;
    setMinimumSize(std::max(stripWidth, m_pictureFrame->width() + pictureMargin),
                   stripHeight + m_pictureFrame->height() + residualGap
                       + m_residualFrame->height());
    Form_Resize();
}

Graphes::~Graphes() = default;

void Graphes::createStrip()
{
    Picture3 = new SurfaceWidget(this);
    Picture3->setObjectName(QStringLiteral("Picture3"));
    Picture3->setRepaintedByHandler(true);
    Picture3->surface().setBackColor(QBColor(7));
    connect(Picture3, &SurfaceWidget::paintRequested, this, &Graphes::Picture3_Paint);
    connect(Picture3, &SurfaceWidget::mouseMoved, this, [this] { Form_MouseMove(); });

    const QString captions[3] = {QStringLiteral("&Position"), QStringLiteral("&Vitesse"),
                                 QStringLiteral("&Accélération")};
    const QString names[3]
        = {QStringLiteral("Position"), QStringLiteral("Vitesse"), QStringLiteral("Accélération")};
    auto *group = new QButtonGroup(this);
    for (int i = 0; i < 3; ++i) {
        Option1[i] = new QRadioButton(captions[i], Picture3);
        Option1[i]->setObjectName(QStringLiteral("Option1"));
        Option1[i]->setProperty("index", i);
        Option1[i]->setAccessibleName(names[i]);
        Option1[i]->setGeometry(16 + 112 * i, 12, 108, 17);
        group->addButton(Option1[i], i);
        connect(Option1[i], &QRadioButton::toggled, this, [this, i](bool on) {
            if (on)
                Option1_Click(i);
        });
    }
    Check1 = new QCheckBox(QStringLiteral("&Tracer l'asymptote"), Picture3);
    Check1->setObjectName(QStringLiteral("Check1"));
    Check1->setAccessibleName(QStringLiteral("Tracer l'asymptote"));
    Check1->setGeometry(360, 12, 150, 17);
    // Disabled, its caption is engraved dark grey as on the classic grey
    // strip; the style's own disabled grey would vanish into the strip.
    QPalette engraved = Check1->palette();
    engraved.setColor(QPalette::Disabled, QPalette::WindowText, QColor(128, 128, 128));
    engraved.setColor(QPalette::Disabled, QPalette::Text, QColor(128, 128, 128));
    Check1->setPalette(engraved);
    connect(Check1, &QCheckBox::clicked, this, &Graphes::Check1_Click);

    const QString tips[5] = {QString(), QStringLiteral("Fermer"), QStringLiteral("Imprimer"),
                             QStringLiteral("Copier"), QStringLiteral("Calculatrice")};
    const QStyle::StandardPixmap fallback[5]
        = {QStyle::SP_CustomBase, QStyle::SP_DialogCloseButton, QStyle::SP_DialogSaveButton,
           QStyle::SP_FileDialogContentsView, QStyle::SP_ComputerIcon};
    for (int i = 1; i <= 4; ++i) {
        Image1[i] = new QToolButton(Picture3);
        Image1[i]->setObjectName(QStringLiteral("Image1"));
        Image1[i]->setProperty("index", i);
        Image1[i]->setToolTip(tips[i]);
        Image1[i]->setAccessibleName(tips[i]);
        Image1[i]->setIcon(style()->standardIcon(fallback[i]));
        Image1[i]->setIconSize(QSize(24, 24));
        Image1[i]->setAutoRaise(true);
        Image1[i]->setFocusPolicy(Qt::StrongFocus);
        Image1[i]->setCursor(Qt::PointingHandCursor);
        connect(Image1[i], &QToolButton::clicked, this, [this, i] { Image1_Click(i); });
    }
    mesures = new QToolButton(Picture3);
    mesures->setObjectName(QStringLiteral("mesures"));
    mesures->setText(QStringLiteral("&Mesures…"));
    mesures->setToolTip(
        QStringLiteral("Importer des mesures, les tracer sur le graphe et ajuster η"));
    mesures->setAccessibleName(QStringLiteral("Mesures"));
    mesures->setFocusPolicy(Qt::StrongFocus);
    mesures->hide();
    connect(mesures, &QToolButton::clicked, this, &Graphes::mesures_Click);

    Image1[2]->setShortcut(QKeySequence::Print);
    Image1[3]->setShortcut(QKeySequence::Copy);
}

void Graphes::createGraph()
{
    m_pictureFrame = new QFrame(this);
    m_pictureFrame->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    m_pictureFrame->setLineWidth(border);
    m_pictureFrame->resize(pictureSize + QSize(2 * border, 2 * border));
    Picture1 = new SurfaceWidget(m_pictureFrame);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Picture1->setAccessibleName(QStringLiteral("Graphe"));
    Picture1->setGeometry(QRect(QPoint(border, border), pictureSize));
    Picture1->surface().setBackColor(QBColor(15));
    Picture1->installEventFilter(this);
    connect(Picture1, &SurfaceWidget::mouseMoved, this, &Graphes::Picture1_MouseMove);

    m_residualFrame = new QFrame(this);
    m_residualFrame->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    m_residualFrame->setLineWidth(border);
    m_residualFrame->resize(ResidualPlot::size + QSize(2 * border, 2 * border));
    m_residualFrame->hide();
    residus = new SurfaceWidget(m_residualFrame);
    residus->setObjectName(QStringLiteral("residus"));
    residus->setAccessibleName(QStringLiteral("Résidus de l'ajustement"));
    residus->setAccessibleDescription(ResidualPlot::description(nullptr));
    residus->setGeometry(QRect(QPoint(border, border), ResidualPlot::size));
    residus->surface().setBackColor(QBColor(15));
    connect(residus, &SurfaceWidget::mouseMoved, this, [this] { Form_MouseMove(); });
    connect(Picture1, &SurfaceWidget::mousePressed, this, &Graphes::Picture1_MouseDown);
    connect(Picture1, &SurfaceWidget::mouseReleased, this, &Graphes::Picture1_MouseUp);
    connect(Picture1, &SurfaceWidget::mouseMoved, this,
            [this](Qt::MouseButtons buttons, Qt::KeyboardModifiers, QPoint position) {
                Picture1_Drag(buttons, position);
            });

    for (QLabel **label : {&Label1, &Label2}) {
        *label = new QLabel(Picture1);
        (*label)->setFont(ArialFont::designPixels(8));
        (*label)->setAutoFillBackground(true);
        (*label)->setAttribute(Qt::WA_TransparentForMouseEvents);
        (*label)->hide();
    }
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setAccessibleName(QStringLiteral("Temps sous le pointeur"));
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setAccessibleName(QStringLiteral("Valeur sous le pointeur"));
}

void Graphes::coverWindow(const QWidget &mainWindow)
{
    setWindowTitle(mainWindow.windowTitle());
    setWindowIcon(mainWindow.windowIcon());
    setGeometry(mainWindow.geometry());
    setWindowState(mainWindow.windowState());
}

void Graphes::setIcons(const QIcon &fermer, const QIcon &imprimer, const QIcon &copier,
                       const QIcon &calculatrice)
{
    const QIcon *icons[5] = {nullptr, &fermer, &imprimer, &copier, &calculatrice};
    for (int i = 1; i <= 4; ++i) {
        if (!icons[i]->isNull())
            Image1[i]->setIcon(*icons[i]);
    }
}

int Graphes::quantity() const
{
    for (int i = 0; i < 3; ++i) {
        if (Option1[i]->isChecked())
            return i;
    }
    return DisplayOptions::Position;
}

void Graphes::Form_Activate()
{
    int chosen = m_options().graphQuantity;
    if (chosen < 0 || chosen > 2)
        chosen = DisplayOptions::Position;
    for (int i = 0; i < 3; ++i) {
        const QSignalBlocker block(Option1[i]);
        Option1[i]->setChecked(i == chosen);
    }
    Option1_Click(chosen);
}

void Graphes::Option1_Click(int index)
{
    Check1->setEnabled(index == DisplayOptions::Velocity);
    tracegraphe();
}

void Graphes::Check1_Click()
{
    tracegraphe();
}

void Graphes::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    Form_Activate();
}

void Graphes::resizeEvent(QResizeEvent *event)
{
    QDialog::resizeEvent(event);
    Form_Resize();
}

void Graphes::Form_Resize()
{
    Picture3->setGeometry(0, 0, width(), stripHeight);
    Picture3_Resize();
    Picture3->refresh();
    placeGraphAndTable();
}

void Graphes::placeGraphAndTable()
{
    // The graph on the right, the table centred in the space left of it;
    // the residuals, when shown, right under the graph on the same time axis.
    const QSize outer = m_pictureFrame->size();
    const int stack
        = outer.height() + (residualsShown() ? residualGap + m_residualFrame->height() : 0);
    const int top = stripHeight + std::max(0, (height() - stripHeight - stack) / 2);
    m_pictureFrame->move(std::max(0, width() - outer.width() - pictureMargin), top);
    m_residualFrame->move(m_pictureFrame->x(), top + outer.height() + residualGap);
    m_residualFrame->setVisible(residualsShown());
    // Long falls widen the times; the graph keeps its place and the table
    // narrows so as never to cover the graph's frame.
    MSFlexGrid1->fitWidth(m_pictureFrame->x());
    MSFlexGrid1->move(std::max(0, (m_pictureFrame->x() - MSFlexGrid1->width()) / 2), top);
}

void Graphes::Picture3_Paint()
{
    DrawingSurface &s = Picture3->surface();
    // Inner width and height: the grey right edge is the strip's last column.
    const int w = s.width();
    const int h = s.height();
    const QColor white = QBColor(15);
    const QColor grey = QBColor(8);
    s.line(1, 0, w - 1, 0, white);
    s.line(1, 0, 1, h - 2, white);
    s.line(1, h - 2, w - 1, h - 2, grey);
    s.line(w - 1, 0, w - 1, h - 2, grey);
    s.line(1, h - 1, w - 1, h - 1, QBColor(0));
    Picture3->update();
}

void Graphes::Picture3_Resize()
{
    const int w = Picture3->width();
    const int top = (stripHeight - iconSize) / 2;
    const int offsets[5] = {0, 50, 90, 130, 170};
    for (int i = 1; i <= 4; ++i)
        Image1[i]->setGeometry(w - offsets[i], top, iconSize, iconSize);
    // Just left of the icons, but never over "Tracer l'asymptote".
    const int tool = mesuresToolWidth();
    const int left
        = std::max(Check1->geometry().right() + 1 + stripGap, w - iconsFromRight - stripGap - tool);
    mesures->setGeometry(left, top + 4, tool, iconSize - 8);
}

void Graphes::Image1_Click(int index)
{
    switch (index) {
    case 1:
        accept();
        break;
    case 2:
        PicturePrinter(m_services).print(Picture1->surface().image(), QPageLayout::Landscape);
        break;
    case 3:
        // Shown without waiting, at the pointer when it is over the icon,
        // under the icon otherwise (keyboard use).
        if (Image1[3]->underMouse())
            copig->popup(QCursor::pos());
        else
            copig->popup(Image1[3]->mapToGlobal(QPoint(0, Image1[3]->height())));
        break;
    case 4:
        if (m_calculator) {
            m_calculator();
            Form_Activate();
        }
        break;
    default:
        break;
    }
}

void Graphes::contab_Click()
{
    m_services.setClipboardText(MSFlexGrid1->clipText());
    MSFlexGrid1->MSFlexGrid1_SelChange();
}

void Graphes::cogra_Click()
{
    m_services.setClipboardImage(Picture1->surface().image());
}

void Graphes::exptab_Click()
{
    FileExport::saveCsv(FileExport::csvText(MSFlexGrid1->cellTexts()), m_services,
                        QStringLiteral("Exporter le tableau de valeurs"));
}

void Graphes::enrgra_Click()
{
    FileExport::savePng(Picture1->surface().image(), m_services,
                        QStringLiteral("Enregistrer le graphe"));
}

void Graphes::mouseMoveEvent(QMouseEvent *event)
{
    QDialog::mouseMoveEvent(event);
    Form_MouseMove();
}

bool Graphes::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == Picture1 && event->type() == QEvent::Leave)
        Form_MouseMove();
    if (watched == Picture1 && event->type() == QEvent::Wheel) {
        Picture1_MouseWheel(static_cast<QWheelEvent *>(event)->angleDelta().y());
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

int Graphes::mesuresToolWidth() const
{
    return std::max(mesuresWidth, mesures->sizeHint().width());
}
