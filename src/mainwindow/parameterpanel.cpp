// SPDX-License-Identifier: GPL-3.0-or-later
#include "parameterpanel.h"

#include "parameteredit.h"
#include "platform/palette.h"

namespace {

// Top of each field by index; down the panel the rows are fields 0, 1, 5, 2,
// 3 and 4.
constexpr int fieldTops[6] = {40, 80, 160, 232, 276, 120};

} // namespace

ParameterPanel::ParameterPanel(QWidget *parent)
    : OptionPanel(QStringLiteral("Picture3"), parent)
{
    for (int i = 0; i < 6; ++i) {
        m_Text5[i] = new ParameterEdit(this);
        place(m_Text5[i], QStringLiteral("Text5"),
              QRect(fieldLeft, fieldTop(i), fieldWidth, fieldHeight));
        m_Text5[i]->setProperty("index", i);
    }
    // The tab order follows the rows, not the indices.
    setTabOrder(m_Text5[0], m_Text5[1]);
    setTabOrder(m_Text5[1], m_Text5[5]);
    setTabOrder(m_Text5[5], m_Text5[2]);
    setTabOrder(m_Text5[2], m_Text5[3]);
    setTabOrder(m_Text5[3], m_Text5[4]);
    connect(this, &SurfaceWidget::paintRequested, this, &ParameterPanel::Picture3_Paint);
}

int ParameterPanel::fieldTop(int index)
{
    return index >= 0 && index < 6 ? fieldTops[index] : 0;
}

void ParameterPanel::Picture3_Paint()
{
    beginPaint();
    DrawingSurface &s = surface();

    // Sphere: eleven discs from dark to light grey, each smaller and nearer the
    // top left, under a black outline. Their centres and radii step by parts
    // of a pixel, so they are drawn unrounded for every grey to show.
    for (int a = 0; a <= 10; ++a) {
        const int level = 155 + 10 * a;
        s.disc(20 - a / 6.0, 13 - a / 6.0, 10 - a / 2.0, QColor(level, level, level));
    }
    s.setFillStyle(DrawingSurface::FillStyle::Transparent);
    s.circle(20, 13, 10, QBColor(0));

    // Fluid: a square of light blue growing paler downwards, outlined in black.
    for (int b = 0; b <= 20; ++b)
        s.line(10, 192 + b, 30, 192 + b, QColor(155 + 5 * b, 195 + 3 * b, 255));
    s.box(10, 192, 30, 212, QBColor(0));

    s.setFontBold(true);
    heading(0, QStringLiteral("Rayon"));
    heading(5, QStringLiteral("Masse volumique"));
    heading(1, QStringLiteral("Masse"));
    heading(2, QStringLiteral("Hauteur de lorva"));
    heading(3, QStringLiteral("Viscosité"));
    heading(4, QStringLiteral("Masse volumique"));
    s.setCurrentPoint(36, 5);
    s.print(QStringLiteral("La sphère"));
    s.setCurrentPoint(36, 195);
    s.print(QStringLiteral("Le fluide"));
    s.setFontBold(false);

    // Each formula ends where its field begins; its ranges are measured with
    // a Latin stand-in for the Greek letter, plus a trailing blank.
    const double line5 = m_Text5[5]->y() + 2;
    formulaStart(5, QStringLiteral("o (0,1 à 20 000) = "));
    greekLetter(QStringLiteral("r"), line5);
    s.print(QStringLiteral(" (0,1 à 20 000"));
    s.print(QStringLiteral(") ="));

    const auto italicLetter = [&s](const QString &letter, const QString &rest) {
        s.setFontItalic(true);
        s.print(letter);
        s.setFontItalic(false);
        s.print(rest);
    };
    formulaStart(1, QStringLiteral("m (1 à 50 000) = "));
    italicLetter(QStringLiteral("m"), QStringLiteral(" (1 à 50 000) ="));
    formulaStart(0, QStringLiteral("R (0,5 à 50) = "));
    italicLetter(QStringLiteral("R"), QStringLiteral(" (0,5 à 50) ="));
    formulaStart(2, QStringLiteral("h (0,1 à 2 000) = "));
    italicLetter(QStringLiteral("h"), QStringLiteral(" (0,1 à 2 000) ="));

    const double line3 = m_Text5[3]->y() + 2;
    formulaStart(3, QStringLiteral("n (10-6 à 5) = "));
    greekLetter(QStringLiteral("h"), line3);
    s.print(QStringLiteral(" (10"));
    raised(QStringLiteral("-6"), line3);
    s.print(QStringLiteral(" à 5) ="));

    const double line4 = m_Text5[4]->y() + 2;
    formulaStart(4, QStringLiteral("o (0,1 à 1 500) = "));
    greekLetter(QStringLiteral("r"), line4);
    s.print(QStringLiteral(" (0,1 à 1 500"));
    s.print(QStringLiteral(") ="));

    unitStart(5);
    s.print(QStringLiteral(" kg · m"));
    raised(QStringLiteral("-3"), line5);
    unitStart(4);
    s.print(QStringLiteral(" kg · m"));
    raised(QStringLiteral("-3"), line4);
    unitStart(1);
    s.print(QStringLiteral(" g"));
    unitStart(0);
    s.print(QStringLiteral(" cm"));
    unitStart(2);
    s.print(QStringLiteral(" m"));
    unitStart(3);
    s.print(QStringLiteral(" N · s · m"));
    raised(QStringLiteral("-2"), line3);
}

void ParameterPanel::heading(int index, const QString &text)
{
    surface().setCurrentPoint(36, m_Text5[index]->y() - 18);
    surface().print(text);
}

void ParameterPanel::formulaStart(int index, const QString &measure)
{
    DrawingSurface &s = surface();
    s.setCurrentPoint(m_Text5[index]->x() - s.textWidth(measure), m_Text5[index]->y() + 2);
}

void ParameterPanel::greekLetter(const QString &letter, double lineY)
{
    DrawingSurface &s = surface();
    s.setFontName(QStringLiteral("Symbol"));
    s.setFontSize(10);
    s.setCurrentY(lineY - 2);
    s.print(letter);
    s.setFontName(QStringLiteral("Arial"));
    s.setFontSize(8);
    s.setCurrentY(lineY);
}

void ParameterPanel::raised(const QString &text, double lineY)
{
    DrawingSurface &s = surface();
    s.setCurrentY(lineY - 4);
    s.print(text);
    s.setCurrentY(lineY);
}

void ParameterPanel::unitStart(int index)
{
    surface().setCurrentPoint(m_Text5[index]->x() + m_Text5[index]->width(),
                              m_Text5[index]->y() + 2);
}
