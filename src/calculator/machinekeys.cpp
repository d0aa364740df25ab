// SPDX-License-Identifier: GPL-3.0-or-later
#include "machine.h"

#include "platform/arialfont.h"
#include "platform/palette.h"
#include "platform/twips.h"

#include <QIcon>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>

#include <utility>

namespace {

// Background colours of the key families.
enum class Family { Digit, Prefix, Inverse, Trigonometric, Operator, Erase, Other };

QColor familyColour(Family family)
{
    switch (family) {
    case Family::Digit:
        return QColor(255, 224, 192);
    case Family::Prefix:
        return QColor(255, 255, 192);
    case Family::Inverse:
        return QColor(128, 255, 255);
    case Family::Trigonometric:
        return QColor(192, 255, 255);
    case Family::Operator:
        return QBColor(3);
    case Family::Erase:
        return QColor(255, 128, 128);
    case Family::Other:
        break;
    }
    return QBColor(7);
}

// The keys whose face is a picture rather than a caption: a base with a
// raised exponent.
enum class Picture { None, Power, Square, Exponential, TenPower };

// Paints base with exponent raised after it, centred on a 26 × 18 face, at 1x
// and 2x.
QIcon powerIcon(const QString &base, const QString &exponent, const QColor &ink)
{
    const QSize size(26, 18);
    QIcon icon;
    for (int scale : {1, 2}) {
        QPixmap pixmap(size * scale);
        pixmap.fill(Qt::transparent);
        QPainter p(&pixmap);
        p.setRenderHint(QPainter::TextAntialiasing);
        p.scale(scale, scale);
        const QFont baseFont = ArialFont::designPixels(9, true);
        const QFont exponentFont = ArialFont::designPixels(6.75, true);
        const int baseWidth = QFontMetrics(baseFont).horizontalAdvance(base);
        const int exponentWidth = QFontMetrics(exponentFont).horizontalAdvance(exponent);
        const int left = (size.width() - baseWidth - exponentWidth - 1) / 2;
        p.setPen(ink);
        p.setFont(baseFont);
        p.drawText(left, 15, base);
        p.setFont(exponentFont);
        p.drawText(left + baseWidth + 1, 8, exponent);
        p.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

QIcon pictureIcon(Picture picture, const QColor &ink)
{
    switch (picture) {
    case Picture::Power:
        return powerIcon(QStringLiteral("x"), QStringLiteral("y"), ink);
    case Picture::Square:
        return powerIcon(QStringLiteral("x"), QStringLiteral("2"), ink);
    case Picture::Exponential:
        return powerIcon(QStringLiteral("e"), QStringLiteral("x"), ink);
    case Picture::TenPower:
        return powerIcon(QStringLiteral("10"), QStringLiteral("x"), ink);
    case Picture::None:
        break;
    }
    return QIcon();
}

} // namespace

void Machine::createKeys()
{
    // Places in twips. Every key is 360 high except the
    // memory keys (375).
    constexpr int h = 360, mh = 375;
    constexpr int row1 = 2880, row2 = 3360, row3 = 3840, row4 = 4440, row5 = 4920, row6 = 5400,
                  row7 = 5880;
    constexpr int c1 = 1320, c2 = 1920, c3 = 2520; // the digit columns

    struct Face
    {
        QPushButton *Machine::*member;
        const char *name;
        const char *caption; // UTF-8; "&" marks the access key
        QRect twips;
        Family family;
        const char *toolTip = nullptr;
    };

    using M = Machine;
    using enum Family;
    const Face faces[] = {
        {&M::invsin, "invsin", "INV S&IN", {240, row1, 840, h}, Inverse, "Inverse sinus"},
        {&M::bsin, "bsin", "&SIN", {1200, row1, 465, h}, Trigonometric, "Sinus"},
        {&M::Command5, "Command5", "1/x", {1800, row1, 375, h}, Other, "Inverse"},
        {&M::Command1, "Command1", "M+", {2280, row1, 375, mh}, Other, "Ajouter à la mémoire"},
        {&M::Command2, "Command2", "M-", {2760, row1, 375, mh}, Other, "Soustraire à la mémoire"},
        {&M::Command3, "Command3", "RM", {3240, row1, 495, mh}, Other, "Rappel mémoire"},
        {&M::Command4, "Command4", "CM", {3840, row1, 495, mh}, Other, "Effacer la mémoire"},

        {&M::invcos, "invcos", "INV C&OS", {240, row2, 840, h}, Inverse, "Inverse cosinus"},
        {&M::Bcos, "Bcos", "&COS", {1200, row2, 480, h}, Trigonometric, "Cosinus"},
        {&M::racine, "racine", "√", {1800, row2, 345, h}, Operator},
        {&M::btcarre, "btcarre", "", {2280, row2, 360, h}, Operator},
        {&M::puissance, "puissance", "", {2760, row2, 360, h}, Operator},
        {&M::Blog, "Blog", "&Log", {3240, row2, 465, h}, Operator},
        {&M::B10x, "B10x", "", {3840, row2, 465, h}, Other},

        {&M::Btoncommande3,
         "Btoncommande3",
         "INV T&AN",
         {240, row3, 825, h},
         Inverse,
         "Inverse tangente"},
        {&M::Btan, "Btan", "&TAN", {1200, row3, 480, h}, Trigonometric, "Tangente"},
        {&M::Bpo, "Bpo", "(", {1800, row3, 360, h}, Operator},
        {&M::bpf, "bpf", ")", {2280, row3, 360, h}, Operator},
        {&M::pi, "pi", "π", {2760, row3, 360, h}, Other},
        {&M::Bln, "Bln", "l&n", {3240, row3, 480, h}, Operator},
        {&M::Bexp, "Bexp", "", {3840, row3, 480, h}, Other},

        {&M::pico, "pico", "p", {240, row4, 360, h}, Prefix, "pico"},
        {&M::tera, "tera", "T", {720, row4, 360, h}, Prefix},
        {&M::B7, "B7", "7", {c1, row4, 480, h}, Digit},
        {&M::B8, "B8", "8", {c2, row4, 480, h}, Digit},
        {&M::B9, "B9", "9", {c3, row4, 480, h}, Digit},
        {&M::EFFACE, "EFFACE", "←", {3240, row4, 480, h}, Erase},
        {&M::RAZ, "RAZ", "AC", {3840, row4, 480, h}, Erase},

        {&M::nano, "nano", "n", {240, row5, 360, h}, Prefix, "nano"},
        {&M::giga, "giga", "G", {720, row5, 360, h}, Prefix, "Giga"},
        {&M::B4, "B4", "4", {c1, row5, 480, h}, Digit},
        {&M::B5, "B5", "5", {c2, row5, 480, h}, Digit},
        {&M::B6, "B6", "6", {c3, row5, 480, h}, Digit},
        {&M::multip, "multip", "x", {3240, row5, 465, h}, Operator},
        {&M::div, "div", "÷", {3840, row5, 480, h}, Operator},

        {&M::micro, "micro", "µ", {240, row6, 360, h}, Prefix, "micro"},
        {&M::mega, "mega", "M", {720, row6, 360, h}, Prefix},
        {&M::B1, "B1", "1", {c1, row6, 480, h}, Digit},
        {&M::B2, "B2", "2", {c2, row6, 480, h}, Digit},
        {&M::B3, "B3", "3", {c3, row6, 480, h}, Digit},
        {&M::plus, "plus", "+", {3240, row6, 480, h}, Operator},
        {&M::moins, "moins", "-", {3840, row6, 480, h}, Operator},

        {&M::mil, "mil", "m", {240, row7, 360, h}, Prefix, "milli"},
        {&M::kilo, "kilo", "k", {720, row7, 360, h}, Prefix, "kilo"},
        {&M::B0, "B0", "0", {c1, row7, 480, h}, Digit},
        {&M::Bpoint, "Bpoint", ".", {c2, row7, 480, h}, Digit},
        {&M::BtoEXP, "BtoEXP", "EXP", {c3, row7, 480, h}, Prefix},
        {&M::ANS, "ANS", "ANS", {3240, row7, 480, h}, Other},
        {&M::EXE, "EXE", "EXE", {3840, row7, 465, h}, Other, "Calculer"},
    };

    // Signs are drawn larger than words and letters.
    const QString signs = QStringLiteral("÷←√π+-x()");
    for (const Face &face : faces) {
        auto *button = new QPushButton(this);
        this->*face.member = button;
        button->setObjectName(QString::fromLatin1(face.name));
        const QRect &t = face.twips;
        button->setGeometry(fromTwips(t.x(), t.y(), t.width(), t.height()));

        const QString caption = QString::fromUtf8(face.caption);
        if (face.family == Digit)
            button->setFont(ArialFont::designPixels(10, true));
        else if (caption.size() == 1 && signs.contains(caption))
            button->setFont(ArialFont::designPixels(12, true));
        else
            button->setFont(ArialFont::designPixels(8, true));
        button->setText(caption);
        if (face.toolTip)
            button->setToolTip(QString::fromUtf8(face.toolTip));

        // Black on the dark teal of the operators reads poorly.
        QPalette colours = button->palette();
        colours.setColor(QPalette::Button, familyColour(face.family));
        colours.setColor(QPalette::ButtonText, face.family == Operator ? Qt::white : Qt::black);
        button->setPalette(colours);

        // A click leaves the keyboard focus on the display; Tab reaches the
        // keys, where Space or Enter presses the focused one. None is a
        // default button that Enter would press from the display.
        button->setFocusPolicy(Qt::TabFocus);
        button->setAutoDefault(false);
    }
    nameKeys();

    const std::pair<QPushButton *, Picture> pictures[] = {{puissance, Picture::Power},
                                                          {btcarre, Picture::Square},
                                                          {Bexp, Picture::Exponential},
                                                          {B10x, Picture::TenPower}};
    for (const auto &[button, picture] : pictures) {
        button->setIcon(pictureIcon(picture, button->palette().color(QPalette::ButtonText)));
        button->setIconSize(QSize(26, 18));
    }

    // Keys that append their text to the expression, after " * " when the
    // expression ends with a number, a letter or ")" for those marked implicit.
    struct Append
    {
        QPushButton *key;
        const char *text;
        bool implicit = false;
    };
    const Append appends[] = {{B0, "0"},
                              {B1, "1"},
                              {B2, "2"},
                              {B3, "3"},
                              {B4, "4"},
                              {B5, "5"},
                              {B6, "6"},
                              {B7, "7"},
                              {B8, "8"},
                              {B9, "9"},
                              {Bpoint, "."},
                              {BtoEXP, "E"},
                              {pico, "E-12"},
                              {nano, "E-9"},
                              {micro, "E-6"},
                              {mil, "E-3"},
                              {kilo, "E+3"},
                              {mega, "E+6"},
                              {giga, "E+9"},
                              {tera, "E+12"},
                              {Bpo, "(", true},
                              {bpf, ")"},
                              {racine, "SQR ", true},
                              {bsin, "sin ", true},
                              {Bcos, "cos ", true},
                              {Btan, "tan ", true},
                              {invsin, "invSIN ", true},
                              {invcos, "invCOS ", true},
                              {Btoncommande3, "invTAN ", true},
                              {Bexp, "exp ", true},
                              {Bln, "ln ", true},
                              {Blog, "log ", true},
                              {B10x, "10 ^ ", true},
                              {Command5, "1 / ", true}};
    for (const Append &a : appends) {
        const QString text = QString::fromLatin1(a.text);
        const bool implicit = a.implicit;
        connect(a.key, &QPushButton::clicked, this,
                [this, text, implicit] { ajoute(text, implicit); });
    }

    const std::pair<QPushButton *, void (Machine::*)()> handlers[]
        = {{plus, &M::plus_Click},
           {moins, &M::moins_Click},
           {multip, &M::multip_Click},
           {div, &M::div_Click},
           {puissance, &M::puissance_Click},
           {btcarre, &M::btcarre_Click},
           {pi, &M::pi_Click},
           {ANS, &M::ANS_Click},
           {EFFACE, &M::EFFACE_Click},
           {RAZ, &M::RAZ_Click},
           {EXE, &M::EXE_Click},
           {Command1, &M::Command1_Click},
           {Command2, &M::Command2_Click},
           {Command3, &M::Command3_Click},
           {Command4, &M::Command4_Click}};
    for (const auto &[button, handler] : handlers)
        connect(button, &QPushButton::clicked, this, handler);
}

void Machine::nameKeys()
{
    // What a screen reader says of each key: its function rather than its
    // face (a sign, a picture, an abbreviation).
    const std::pair<QPushButton *, const char *> names[] = {
        {invsin, "Arc sinus"},
        {bsin, "Sinus"},
        {Command5, "Inverse"},
        {Command1, "Ajouter à la mémoire"},
        {Command2, "Soustraire à la mémoire"},
        {Command3, "Rappel de la mémoire"},
        {Command4, "Effacer la mémoire"},
        {invcos, "Arc cosinus"},
        {Bcos, "Cosinus"},
        {racine, "Racine carrée"},
        {btcarre, "Carré"},
        {puissance, "Puissance"},
        {Blog, "Logarithme décimal"},
        {B10x, "Dix puissance"},
        {Btoncommande3, "Arc tangente"},
        {Btan, "Tangente"},
        {Bpo, "Parenthèse ouvrante"},
        {bpf, "Parenthèse fermante"},
        {pi, "Pi"},
        {Bln, "Logarithme népérien"},
        {Bexp, "Exponentielle"},
        {pico, "pico, fois 10 puissance moins 12"},
        {tera, "téra, fois 10 puissance 12"},
        {nano, "nano, fois 10 puissance moins 9"},
        {giga, "giga, fois 10 puissance 9"},
        {micro, "micro, fois 10 puissance moins 6"},
        {mega, "méga, fois 10 puissance 6"},
        {mil, "milli, fois 10 puissance moins 3"},
        {kilo, "kilo, fois 10 puissance 3"},
        {EFFACE, "Effacer le dernier élément"},
        {RAZ, "Tout effacer"},
        {multip, "Multiplier"},
        {div, "Diviser"},
        {plus, "Plus"},
        {moins, "Moins"},
        {Bpoint, "Virgule"},
        {BtoEXP, "Exposant de dix"},
        {ANS, "Dernier résultat"},
        {EXE, "Calculer"},
    };
    for (const auto &[key, name] : names)
        key->setAccessibleName(QString::fromUtf8(name));
    for (QPushButton *digit : {B0, B1, B2, B3, B4, B5, B6, B7, B8, B9})
        digit->setAccessibleName(digit->text());
}
