// SPDX-License-Identifier: GPL-3.0-or-later
#include "vectorpanel.h"

#include "colourswatch.h"
#include "core/numberformat.h"
#include "platform/palette.h"
#include "scalespinner.h"

#include <QCheckBox>
#include <QLabel>

#include <cmath>

namespace {

// The bars are 100 - value pixels long; the spinners start at the values the
// program loads with.
constexpr int fullBar = 100;
constexpr int forceStart = 70;
constexpr int velocityStart = 30;

} // namespace

VectorPanel::VectorPanel(QWidget *parent)
    : OptionPanel(QStringLiteral("frame2"), parent)
    , m_Label4 {}
{
    m_Check12 = new QCheckBox(QStringLiteral("Afficher les vecteurs forces"), this);
    place(m_Check12, QStringLiteral("Check12"), QRect(16, 24, 201, 17), true);
    onBackground(m_Check12);

    const struct
    {
        int index;
        QPoint position;
        QColor colour;
    } swatches[] = {
        {2, {40, 56}, QColor(0, 192, 0)},
        {3, {104, 56}, QColor(192, 0, 0)},
        {4, {168, 56}, QColor(0, 0, 192)},
        {0, {40, 200}, QColor(255, 128, 0)},
    };
    for (const auto &swatch : swatches) {
        ColourSwatch *label = new ColourSwatch(swatch.colour, this);
        place(label, QStringLiteral("Label4"), QRect(swatch.position, QSize(17, 17)));
        label->setProperty("index", swatch.index);
        m_Label4[swatch.index] = label;
    }

    m_Label2 = new QLabel(QStringLiteral("Échelle de représentation :"), this);
    place(m_Label2, QStringLiteral("Label2"), QRect(40, 88, 126, 13));
    onBackground(m_Label2);
    fitWidth(m_Label2, {m_Label2->text()});
    m_VScroll3 = new ScaleSpinner(forceStart, this);
    place(m_VScroll3, QStringLiteral("VScroll3"), QRect(40, 120, 17, 17));

    m_Check5 = new QCheckBox(QStringLiteral("Afficher le vecteur vitesse"), this);
    place(m_Check5, QStringLiteral("Check5"), QRect(16, 168, 201, 17), true);
    onBackground(m_Check5);

    m_Label11 = new QLabel(QStringLiteral("Échelle de représentation :"), this);
    place(m_Label11, QStringLiteral("Label11"), QRect(40, 232, 126, 13));
    onBackground(m_Label11);
    fitWidth(m_Label11, {m_Label11->text()});
    m_VScroll1 = new ScaleSpinner(velocityStart, this);
    place(m_VScroll1, QStringLiteral("VScroll1"), QRect(40, 264, 17, 17));

    // The spinners' order in the tab chain follows the rows.
    setTabOrder(m_Check12, m_VScroll3);
    setTabOrder(m_VScroll3, m_Check5);
    setTabOrder(m_Check5, m_VScroll1);

    m_VScroll3->setScaleText(forceScaleText(m_expoids));
    m_VScroll1->setScaleText(velocityScaleText(m_expvit) + QStringLiteral("-1"));

    connect(this, &SurfaceWidget::paintRequested, this, &VectorPanel::Frame2_Paint);
    connect(m_VScroll3, &ScaleSpinner::valueChanged, this, &SurfaceWidget::refresh);
    connect(m_VScroll1, &ScaleSpinner::valueChanged, this, &SurfaceWidget::refresh);
}

void VectorPanel::setExponents(int expoids, int expvit)
{
    if (expoids == m_expoids && expvit == m_expvit)
        return;
    m_expoids = expoids;
    m_expvit = expvit;
    m_VScroll3->setScaleText(forceScaleText(m_expoids));
    m_VScroll1->setScaleText(velocityScaleText(m_expvit) + QStringLiteral("-1"));
    if (isVisible())
        refresh();
}

int VectorPanel::forceBarLength() const
{
    return fullBar - m_VScroll3->value();
}

int VectorPanel::velocityBarLength() const
{
    return fullBar - m_VScroll1->value();
}

QString VectorPanel::forceScaleText(int expoids)
{
    return NumberFormat::generalDouble(std::pow(10.0, expoids)) + QStringLiteral(" N");
}

QString VectorPanel::velocityScaleText(int expvit)
{
    return NumberFormat::generalDouble(std::pow(10.0, expvit)) + QStringLiteral(" m · s");
}

void VectorPanel::Frame2_Paint()
{
    beginPaint();
    DrawingSurface &s = surface();
    // Labels sit 1.2 text heights above their bar.
    const double h8 = s.textHeight(QStringLiteral("W"));

    scaleBar(forceBarY, forceBarLength());
    s.setCurrentPoint(barLeft, forceBarY - 1.2 * h8);
    s.print(forceScaleText(m_expoids));

    scaleBar(velocityBarY, velocityBarLength());
    const double velocityLabelY = velocityBarY - 1.2 * h8;
    s.setCurrentPoint(barLeft, velocityLabelY);
    s.print(velocityScaleText(m_expvit));
    s.setCurrentY(velocityLabelY - 4);
    s.print(QStringLiteral("-1"));

    // P, then the Symbol font's capital Pi for Archimedes' thrust.
    legend(0, QStringLiteral("v"), LetterFont::ArialItalic, 6);
    legend(2, QStringLiteral("P"), LetterFont::ArialItalic, 8);
    legend(3, QStringLiteral("P"), LetterFont::Symbol, 8);
    legend(4, QStringLiteral("ƒ"), LetterFont::ArialItalic, 8);
}

void VectorPanel::scaleBar(int y, int length)
{
    // Each end tick runs from 3 pixels above the bar to 4 below, the last
    // pixel excluded: 7 pixels centred on the bar.
    DrawingSurface &s = surface();
    const int right = barLeft + length;
    s.line(barLeft, y, right, y, QBColor(0));
    s.line(barLeft, y - 3, barLeft, y + 4, QBColor(0));
    s.line(right, y - 3, right, y + 4, QBColor(0));
}

void VectorPanel::legend(int index, const QString &letter, LetterFont font, double shift)
{
    DrawingSurface &s = surface();
    const QRect swatch = m_Label4[index]->geometry();
    s.setCurrentPoint(swatch.x() + swatch.width() + 4, swatch.y() + 2);
    if (font == LetterFont::Symbol)
        s.setFontName(QStringLiteral("Symbol"));
    s.setFontItalic(font == LetterFont::ArialItalic);
    s.print(letter);
    s.setFontItalic(false);
    s.setCurrentPoint(s.currentX() - shift, s.currentY() - shift);
    s.setFontName(QStringLiteral("Symbol"));
    s.print(QStringLiteral("®"));
    s.setFontName(QStringLiteral("Arial"));
}
