// SPDX-License-Identifier: GPL-3.0-or-later
#include "readoutpanel.h"

#include "platform/palette.h"

#include <QLabel>

#include <cmath>
#include <cstdlib>

namespace {

// Read-out labels: 69 x 19 pixels, Arial 8.25 bold (11 pixels at 96 dpi).
constexpr int labelWidth = 69;
constexpr int labelHeight = 19;

QLabel *readoutLabel(QWidget *parent, const char *name, int x, int y, int width, bool bold)
{
    auto *label = new QLabel(parent);
    label->setObjectName(QLatin1String(name));
    label->setGeometry(x, y, width, labelHeight);
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(11);
    font.setBold(bold);
    label->setFont(font);
    // Text from the top, 2 pixels down, on the baseline of the painted prefix.
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setContentsMargins(0, 2, 0, 0);
    label->setAutoFillBackground(false);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, Qt::black);
    label->setPalette(palette);
    return label;
}

} // namespace

ReadoutPanel::ReadoutPanel(QWidget *parent)
    : SurfaceWidget(parent)
{
    resize(innerWidth, innerHeight);
    surface().setBackColor(QBColor(7));
    m_label3 = readoutLabel(this, "Label3", 40, 16, labelWidth, true);
    m_label1 = readoutLabel(this, "Label1", 40, 40, labelWidth, true);
    m_label6 = readoutLabel(this, "Label6", 168, 16, labelWidth, true);
    m_label7 = readoutLabel(this, "Label7", 168, 40, labelWidth, true);
    // Below the read-outs, along the whole width of their columns.
    m_label8 = readoutLabel(this, "Label8", 40, 62, 240, false);
    m_label8->setText(QStringLiteral("0"));
    m_label8->hide();
    setReadouts(QString(), QString(), QString(), QString());
    setAccessibleName(QStringLiteral("Mesures"));
}

void ReadoutPanel::setReadouts(const QString &t, const QString &y, const QString &v,
                               const QString &a)
{
    // Assistive tools read each label as the quantity, its value and its
    // unit, which the panel only paints around it.
    const auto show
        = [](QLabel *label, const char *prefix, const QString &value, const char *unit) {
              label->setText(value);
              label->setAccessibleName(QString::fromUtf8(prefix) + value + QString::fromUtf8(unit));
          };
    show(m_label3, "t = ", t, " s");
    show(m_label1, "y = ", y, " m");
    show(m_label6, "v = ", v, " m/s");
    show(m_label7, "a = ", a, " m/s²");
}

void ReadoutPanel::setIndexReadout(const QString &text)
{
    m_label8->setText(text);
}

void ReadoutPanel::appareil()
{
    DrawingSurface &s = surface();

    // Bevel: light top and left edges over a dark frame.
    s.setDrawWidth(1);
    s.box(0, 0, 294, 86, QColor(70, 70, 70));
    s.box(0, 0, 293, 85, Qt::white);
    s.box(1, 1, 293, 85, QColor(100, 100, 100));
    s.box(1, 1, 292, 84, QColor(230, 230, 230));

    // Metallic gradient: white in the middle column, darker towards both ends.
    for (int x = 2; x <= 292; ++x) {
        const int c = int(std::nearbyint(255.0 - std::abs(x - 147) / 147.0 * 130.0));
        s.line(x, 2, x, 85, QColor(c, c, c));
    }

    s.setFontName(QStringLiteral("Arial"));
    s.setFontSize(8);
    s.setFontBold(true);
    s.setForeColor(Qt::black);

    // Prefixes end on each label's left edge; units start on its right edge.
    const struct
    {
        const QLabel *label;
        QString prefix;
        QString unit;
        QString exponent;
    } readouts[] = {
        {m_label3, QStringLiteral("t = "), QStringLiteral(" s"), QString()},
        {m_label1, QStringLiteral("y = "), QStringLiteral(" m"), QString()},
        {m_label6, QStringLiteral("v = "), QStringLiteral(" m · s"), QStringLiteral("-1")},
        {m_label7, QStringLiteral("a = "), QStringLiteral(" m · s"), QStringLiteral("-2")},
    };
    s.setFontItalic(true);
    for (const auto &r : readouts) {
        const QRect g = r.label->geometry();
        s.setCurrentPoint(g.left() - s.textWidth(r.prefix), g.top() + 2);
        s.print(r.prefix);
    }
    s.setFontItalic(false);
    for (const auto &r : readouts) {
        const QRect g = r.label->geometry();
        s.setCurrentPoint(g.left() + g.width(), g.top() + 2);
        s.print(r.unit);
        if (!r.exponent.isEmpty()) {
            s.setCurrentY(g.top() + 2 - 4);
            s.print(r.exponent);
        }
    }
    s.persist();
    update();
}
