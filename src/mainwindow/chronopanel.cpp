// SPDX-License-Identifier: GPL-3.0-or-later
#include "chronopanel.h"

#include "colourswatch.h"
#include "parameteredit.h"

#include <QCheckBox>
#include <QCursor>
#include <QLabel>
#include <QMouseEvent>
#include <QStyle>
#include <QToolButton>
#include <QToolTip>

namespace {

// The text broken into lines no wider than width in font, at blanks; a check
// box shows each line of its text.
QString wrapped(const QString &text, const QFont &font, int width)
{
    const QFontMetrics metrics(font);
    const QStringList words = text.split(QLatin1Char(' '));
    QStringList lines;
    QString line;
    for (const QString &word : words) {
        const QString longer = line.isEmpty() ? word : line + QLatin1Char(' ') + word;
        if (!line.isEmpty() && metrics.horizontalAdvance(longer) > width) {
            lines << line;
            line = word;
        } else {
            line = longer;
        }
    }
    lines << line;
    return lines.join(QLatin1Char('\n'));
}

// Gives a check box its text broken into as many lines as its width needs
// (the long captions of this panel take two): the lines are narrowed until the
// box, its indicator and the style's margins included, fits.
void setWrappedText(QCheckBox *box, const QString &text)
{
    const QStyle *style = box->style();
    int room = box->width() - style->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, box)
        - style->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, nullptr, box);
    do {
        box->setText(wrapped(text, box->font(), room));
        room -= 2;
    } while (box->sizeHint().width() > box->width() && room > 0);
}

} // namespace

ChronoPanel::ChronoPanel(QWidget *parent)
    : OptionPanel(QStringLiteral("Picture6"), parent)
{
    m_chrono = new ParameterEdit(this);
    place(m_chrono, QStringLiteral("chrono"), QRect(112, 64, 73, 19));
    m_chrono->setText(QStringLiteral("1000"));

    m_Check9 = new QCheckBox(this);
    place(m_Check9, QStringLiteral("Check9"), QRect(24, 112, 229, 33));
    onBackground(m_Check9);
    setWrappedText(m_Check9,
                   QStringLiteral("Conserver les vecteurs représentés sur la chronophotographie"));
    m_Check9->setChecked(true);
    m_Check2 = new QCheckBox(this);
    place(m_Check2, QStringLiteral("Check2"), QRect(24, 160, 229, 33));
    onBackground(m_Check2);
    setWrappedText(m_Check2,
                   QStringLiteral("Marquer uniquement les positions du centre d'inertie"));

    m_Label4 = new ColourSwatch(QColor(255, 0, 255), this);
    place(m_Label4, QStringLiteral("Label4"), QRect(256, 168, 17, 17));
    m_Label4->setProperty("index", 1);

    m_command12 = new QToolButton(this);
    place(m_command12, QStringLiteral("command12"), QRect(48, 224, 48, 24));
    m_command12->setToolTip(QStringLiteral("Chronophotographie"));
    m_command12->setAccessibleName(m_command12->toolTip());
    m_command12->setIconSize(QSize(40, 18));

    m_Label5 = new QLabel(QStringLiteral("Activer la chronophotographie"), this);
    place(m_Label5, QStringLiteral("Label5"), QRect(104, 228, 142, 13));
    onBackground(m_Label5);
    // Room for the caption shown while recording, too.
    fitWidth(m_Label5, {m_Label5->text(), QStringLiteral("Arrêter la chronophotographie")});
    m_Label5->installEventFilter(this);

    connect(this, &SurfaceWidget::paintRequested, this, &ChronoPanel::Picture6_Paint);
}

void ChronoPanel::Picture6_Paint()
{
    beginPaint();
    DrawingSurface &s = surface();
    s.setCurrentPoint(m_Check9->x(), m_chrono->y() - 24);
    s.print(QStringLiteral("Durée entre deux chronophotographies :"));

    // The formula ends at the field's left edge: measured in Arial with a
    // Latin t and two trailing blanks.
    const double top = m_chrono->y();
    s.setCurrentPoint(m_chrono->x() - s.textWidth(QStringLiteral("t (10 à 5 000) =  ")), top);
    s.setFontName(QStringLiteral("Symbol"));
    s.setFontSize(10);
    s.print(QStringLiteral("t"));
    s.setFontSize(8);
    s.setCurrentY(top + 2);
    s.setFontName(QStringLiteral("Arial"));
    s.print(QStringLiteral(" (10 à 5 000) ="));

    s.setCurrentX(m_chrono->x() + m_chrono->width());
    s.print(QStringLiteral(" ms"));
}

bool ChronoPanel::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_Label5) {
        if (event->type() == QEvent::MouseButtonPress) {
            // Taken here so that the release comes back to the caption.
            m_label5Pressed = static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton;
            event->accept();
            return true;
        }
        if (event->type() == QEvent::MouseButtonRelease) {
            const auto *mouse = static_cast<QMouseEvent *>(event);
            const bool click = m_label5Pressed && mouse->button() == Qt::LeftButton
                && m_Label5->rect().contains(mouse->position().toPoint());
            m_label5Pressed = false;
            if (click)
                emit label5Clicked();
        }
    }
    return OptionPanel::eventFilter(watched, event);
}

void ChronoPanel::setCameraToolTip(const QString &text)
{
    const QString previous = m_command12->toolTip();
    m_command12->setToolTip(text);
    // The camera shows only a picture: its tooltip names it.
    m_command12->setAccessibleName(text);
    if (text == previous || !QToolTip::isVisible() || QToolTip::text() != previous)
        return;
    const QPoint pointer = QCursor::pos();
    if (m_command12->isVisible()
        && m_command12->rect().contains(m_command12->mapFromGlobal(pointer)))
        QToolTip::showText(pointer, text, m_command12);
    else
        QToolTip::hideText();
}
