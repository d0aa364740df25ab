// SPDX-License-Identifier: GPL-3.0-or-later
#include "machine.h"

#include "platform/arialfont.h"
#include "platform/palette.h"
#include "platform/twips.h"

#include <QFrame>
#include <QGroupBox>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

namespace {

// Client area in pixels: the painted gradient covers x 0 to 301, y 0 to 430.
constexpr QSize clientSize(302, 431);
constexpr QRect z1Rect(16, 16, 273, 89);
constexpr QRect picture1Rect(16, 120, 273, 65);

// 200 - x / 2 rounded to the nearest integer, a half going to the even
// neighbour: the shade of column x of the background gradient.
int gradientShade(int x)
{
    const int whole = 200 - (x + 1) / 2; // exact for even x, the lower neighbour for odd x
    return (x % 2 == 0 || whole % 2 == 0) ? whole : whole + 1;
}

} // namespace

Machine::Machine(PlatformServices &services, QWidget *parent)
    : QDialog(parent)
    , m_services(services)
    , m_evaluator([this] { return z1->toPlainText().trimmed().isEmpty(); })
{
    setObjectName(QStringLiteral("Machine"));
    setWindowTitle(QStringLiteral("Machine à calculer"));
    setFixedSize(clientSize);
    setFont(ArialFont::designPixels(8));
    createDisplay();
    createOptions();
    createKeys();
    z1->setFocus();
}

Machine::~Machine() = default;

QString Machine::waitText()
{
    return QStringLiteral("    Patience... Calculs en cours.     ");
}

QString Machine::overflowText()
{
    return QStringLiteral("Dépassement de capacité");
}

void Machine::createDisplay()
{
    z1 = new QPlainTextEdit(this);
    z1->setObjectName(QStringLiteral("z1"));
    z1->setGeometry(z1Rect);
    z1->setFont(ArialFont::designPixels(12));
    QPalette colours = z1->palette();
    colours.setColor(QPalette::Base, QColor(0, 255, 0));
    colours.setColor(QPalette::Text, Qt::black);
    z1->setPalette(colours);
    z1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    z1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // The display only ever shows saisie, a result or a message: typing goes
    // to the keyboard table, never into the field's own text. The caret stays
    // visible after the last character.
    z1->setReadOnly(true);
    z1->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    z1->setTabChangesFocus(true);
    z1->installEventFilter(this);
    z1->setAccessibleName(QStringLiteral("Écran de la calculatrice"));
    z1->setAccessibleDescription(
        QStringLiteral("Expression en cours ou résultat ; Entrée calcule, Tab mène aux touches"));
}

void Machine::createOptions()
{
    Picture1 = new QFrame(this);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Picture1->setGeometry(picture1Rect);
    Picture1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Picture1->setLineWidth(2);
    QPalette grey = Picture1->palette();
    grey.setColor(QPalette::Window, QBColor(7));
    grey.setColor(QPalette::WindowText, Qt::black);
    Picture1->setPalette(grey);
    Picture1->setAutoFillBackground(true);

    // Inside the panel's 2-pixel border: "Angles" at the left (1815 twips
    // wide), "Affichage" from 2040 twips (1935 wide).
    Frame1 = new QGroupBox(QStringLiteral("Angles"), Picture1);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Frame1->setGeometry(6, 3, 121, 59);
    Frame2 = new QGroupBox(QStringLiteral("Affichage"), Picture1);
    Frame2->setObjectName(QStringLiteral("Frame2"));
    Frame2->setGeometry(2 + 2040 / Twips::perPixel, 3, 1935 / Twips::perPixel, 59);

    const char *angleCaptions[2] = {"Degrés", "Radians"};
    const char *displayCaptions[2] = {"Scientifique", "Standard"};
    for (int i = 0; i < 2; ++i) {
        angle[i] = new QRadioButton(QString::fromUtf8(angleCaptions[i]), Frame1);
        angle[i]->setObjectName(QStringLiteral("angle"));
        angle[i]->setProperty("index", i);
        angle[i]->setGeometry(12, 18 + 19 * i, 100, 17);
        C[i] = new QRadioButton(QString::fromUtf8(displayCaptions[i]), Frame2);
        C[i]->setObjectName(QStringLiteral("C"));
        C[i]->setProperty("index", i);
        C[i]->setGeometry(12, 18 + 19 * i, 110, 17);
    }
    angle[0]->setChecked(true);
    C[1]->setChecked(true);
    for (int i = 0; i < 2; ++i) {
        connect(C[i], &QRadioButton::toggled, this, [this, i](bool checked) {
            if (checked)
                C_Click(i);
        });
    }
}

void Machine::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    for (int x = 0; x <= 301; ++x) {
        const int v = gradientShade(x);
        p.setPen(QColor(v, v + 50, v + 50));
        p.drawLine(x, 0, x, 430);
    }

    // Sunken edge: white all round, black along the top and the left.
    p.setPen(Qt::white);
    p.drawRect(1, 1, 298, 427);
    p.setPen(Qt::black);
    p.drawLine(1, 1, 298, 1);
    p.drawLine(1, 1, 1, 426);

    // The frame of the digit keys, white over dark cyan.
    p.setPen(Qt::white);
    p.drawRect(82, 290, 124, 131);
    p.setPen(QBColor(3));
    p.drawRect(81, 289, 124, 131);
}
