// SPDX-License-Identifier: GPL-3.0-or-later
#include "confimp.h"

#include "pictureprinter.h"

#include "platform/platformservices.h"

#include <QCheckBox>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPainterPath>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {

constexpr int minimumCopies = 1;
constexpr int maximumCopies = 99;
// The dialog's top edge is this many pixels below the main window's.
constexpr int offsetBelowMainWindow = 20;

// The hourglass of the wait panel.
QPixmap hourglass()
{
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(Qt::black, 1.5));
    painter.drawLine(QPointF(7, 3.5), QPointF(25, 3.5));
    painter.drawLine(QPointF(7, 28.5), QPointF(25, 28.5));
    QPainterPath glass;
    glass.moveTo(9, 4);
    glass.lineTo(23, 4);
    glass.lineTo(16.8, 16);
    glass.lineTo(23, 28);
    glass.lineTo(9, 28);
    glass.lineTo(15.2, 16);
    glass.closeSubpath();
    painter.setBrush(QColor(255, 255, 224));
    painter.drawPath(glass);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(194, 154, 72));
    painter.drawPolygon(QPolygonF({QPointF(16, 19), QPointF(21.5, 27.5), QPointF(10.5, 27.5)}));
    return pixmap;
}

QPushButton *commandButton(const QString &text, const QString &name, const QString &accessible,
                           QWidget *parent)
{
    auto *button = new QPushButton(text, parent);
    button->setObjectName(name);
    button->setAccessibleName(accessible);
    return button;
}

} // namespace

Confimp::Confimp(PlatformServices &services, PictureSource animation, PictureSource graph,
                 const QRect &mainWindow, QWidget *parent)
    : QDialog(parent)
    , m_services(services)
    , m_animation(std::move(animation))
    , m_graph(std::move(graph))
    , m_printer(std::make_unique<QPrinter>(QPrinter::HighResolution))
{
    setObjectName(QStringLiteral("confimp"));
    setWindowTitle(QStringLiteral("Imprimer"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    m_printer->setDocName(QStringLiteral("Lorva avec frottement"));
    m_printer->setPageOrientation(QPageLayout::Portrait);

    buildControls();

    connect(Command1, &QPushButton::clicked, this, &Confimp::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &Confimp::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &Confimp::reject);

    Form_Load(mainWindow);
}

Confimp::~Confimp() = default;

void Confimp::buildControls()
{
    Label5 = new QLabel(QStringLiteral("&Titre de la page :"), this);
    Label5->setObjectName(QStringLiteral("Label5"));
    Text1 = new QLineEdit(defaultTitle(), this);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setAccessibleName(QStringLiteral("Titre de la page"));
    Label5->setBuddy(Text1);

    Label3 = new QLabel(QStringLiteral("Nombre d'e&xemplaires :"), this);
    Label3->setObjectName(QStringLiteral("Label3"));
    UpDown1 = new QSpinBox(this);
    UpDown1->setObjectName(QStringLiteral("UpDown1"));
    UpDown1->setAccessibleName(QStringLiteral("Nombre d'exemplaires"));
    UpDown1->setRange(minimumCopies, maximumCopies);
    UpDown1->setValue(minimumCopies);
    Label3->setBuddy(UpDown1);

    Label2 = new QLabel(QStringLiteral("Imprimante :"), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    defaut = new QLabel(this);
    defaut->setObjectName(QStringLiteral("defaut"));
    defaut->setAccessibleName(QStringLiteral("Imprimante"));
    defaut->setTextInteractionFlags(Qt::TextSelectableByKeyboard | Qt::TextSelectableByMouse);
    defaut->setFocusPolicy(Qt::NoFocus);

    Frame1 = new QGroupBox(QStringLiteral("Options"), this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Frame1->setAccessibleName(QStringLiteral("Options"));
    Option1 = new QRadioButton(QStringLiteral("Imprimer l'a&nimation"), Frame1);
    Option1->setObjectName(QStringLiteral("Option1"));
    Option1->setAccessibleName(QStringLiteral("Imprimer l'animation"));
    Option1->setChecked(true);
    Option2 = new QRadioButton(QStringLiteral("Imprimer le &graphe"), Frame1);
    Option2->setObjectName(QStringLiteral("Option2"));
    Option2->setAccessibleName(QStringLiteral("Imprimer le graphe"));
    Chec[0] = new QCheckBox(QStringLiteral("Centrer l'image &horizontalement"), Frame1);
    Chec[0]->setObjectName(QStringLiteral("Chec0"));
    Chec[0]->setAccessibleName(QStringLiteral("Centrer l'image horizontalement"));
    Chec[0]->setChecked(true);
    Chec[1] = new QCheckBox(QStringLiteral("Centrer l'image &verticalement"), Frame1);
    Chec[1]->setObjectName(QStringLiteral("Chec1"));
    Chec[1]->setAccessibleName(QStringLiteral("Centrer l'image verticalement"));
    auto *options = new QVBoxLayout(Frame1);
    options->addWidget(Option1);
    options->addWidget(Option2);
    options->addSpacing(6);
    options->addWidget(Chec[0]);
    options->addWidget(Chec[1]);

    Frame2 = new QFrame(this);
    Frame2->setObjectName(QStringLiteral("Frame2"));
    Frame2->setFrameShape(QFrame::StyledPanel);
    Frame2->setAccessibleName(waitText());
    Image2 = new QLabel(Frame2);
    Image2->setObjectName(QStringLiteral("Image2"));
    Image2->setPixmap(hourglass());
    Image2->setAccessibleName(QStringLiteral("Sablier"));
    Label1 = new QLabel(waitText(), Frame2);
    Label1->setObjectName(QStringLiteral("Label1"));
    auto *wait = new QHBoxLayout(Frame2);
    wait->addWidget(Image2);
    wait->addWidget(Label1, 1);
    Frame2->hide();

    Command1 = commandButton(QStringLiteral("&OK"), QStringLiteral("Command1"),
                             QStringLiteral("OK"), this);
    Command2 = commandButton(QStringLiteral("&Imprimantes"), QStringLiteral("Command2"),
                             QStringLiteral("Imprimantes"), this);
    Command3 = commandButton(QStringLiteral("&Annuler"), QStringLiteral("Command3"),
                             QStringLiteral("Annuler"), this);
    // Enter prints from any control; Escape is the dialog's own reject.
    Command1->setDefault(true);
    Command2->setAutoDefault(false);
    Command3->setAutoDefault(false);

    auto *fields = new QGridLayout;
    fields->addWidget(Label5, 0, 0);
    fields->addWidget(Text1, 0, 1);
    fields->addWidget(Label3, 1, 0);
    fields->addWidget(UpDown1, 1, 1, Qt::AlignLeft);
    fields->addWidget(Label2, 2, 0);
    fields->addWidget(defaut, 2, 1);
    fields->setColumnStretch(1, 1);

    // The wait panel takes the place of the options while the job runs.
    auto *middle = new QGridLayout;
    middle->addWidget(Frame1, 0, 0);
    middle->addWidget(Frame2, 0, 0);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(Command1);
    buttons->addWidget(Command2);
    buttons->addWidget(Command3);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addLayout(middle, 1);
    layout->addLayout(buttons);

    setTabOrder(Text1, UpDown1);
    setTabOrder(UpDown1, Option1);
    setTabOrder(Option1, Option2);
    setTabOrder(Option2, Chec[0]);
    setTabOrder(Chec[0], Chec[1]);
    setTabOrder(Chec[1], Command1);
    setTabOrder(Command1, Command2);
    setTabOrder(Command2, Command3);
    Text1->setFocus();
    Text1->selectAll();
}

void Confimp::Form_Load(const QRect &mainWindow)
{
    defaut->setText(PicturePrinter::shownName(*m_printer));
    // Wide enough for the title and the longer printer names; the size then
    // stays, so the wait panel does not make the dialog jump.
    resize(qMax(sizeHint().width(), 420), sizeHint().height());
    setFixedSize(size());
    move(mainWindow.left() + (mainWindow.width() - width()) / 2,
         mainWindow.top() + offsetBelowMainWindow);
}

void Confimp::Command1_Click()
{
    if (m_busy)
        return;
    PicturePrinter printer(m_services);
    // The PDF name, when one is needed, is asked before the wait panel shows.
    const bool named = !m_printer->outputFileName().isEmpty();
    const QPrinter::OutputFormat format = m_printer->outputFormat();
    if (!printer.chooseOutput(*m_printer)) {
        failed(QStringLiteral("Aucun fichier PDF n'a été choisi : rien n'a été imprimé."));
        return;
    }

    setBusy(true);
    PicturePrinter::Job job;
    const PictureSource &source = Option1->isChecked() ? m_animation : m_graph;
    if (source)
        job.picture = source();
    job.title = Text1->text();
    job.copies = UpDown1->value();
    job.centreHorizontally = Chec[0]->isChecked();
    job.centreVertically = Chec[1]->isChecked();
    m_printer->setPageOrientation(QPageLayout::Portrait);
    // The copies are the job's own pages: a count chosen in the printer's
    // set-up would multiply them.
    m_printer->setCopyCount(1);
    const bool printed = printer.printOn(*m_printer, job);
    setBusy(false);

    if (printed) {
        accept();
        return;
    }
    // A name asked for this attempt is asked again at the next one.
    if (!named) {
        m_printer->setOutputFileName(QString());
        m_printer->setOutputFormat(format);
    }
    failed(printer.errorString());
}

void Confimp::Command2_Click()
{
    if (m_busy)
        return;
    if (m_services.printerSetup(*m_printer))
        defaut->setText(PicturePrinter::shownName(*m_printer));
}

void Confimp::reject()
{
    if (!m_busy)
        QDialog::reject();
}

void Confimp::setBusy(bool busy)
{
    m_busy = busy;
    Frame1->setVisible(!busy);
    Command1->setVisible(!busy);
    Command2->setVisible(!busy);
    Command3->setVisible(!busy);
    Frame2->setVisible(busy);
    if (busy) {
        setCursor(Qt::WaitCursor);
        // The job runs without returning to the event loop: show the wait
        // panel now.
        repaint();
    } else {
        unsetCursor();
    }
}

void Confimp::failed(const QString &reason)
{
    m_services.message(MessageIcon::Error, PicturePrinter::failureTitle(), reason);
    Command1->setFocus();
}
