// SPDX-License-Identifier: GPL-3.0-or-later
#include "tabstrip.h"

#include "chronopanel.h"
#include "displaypanel.h"
#include "panelfields.h"
#include "parameterpanel.h"
#include "platform/palette.h"
#include "vectorpanel.h"

#include <QAccessible>
#include <QKeyEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {

const QColor stripColour(210, 205, 200);

// Nearest integer, a half going to the even neighbour, as a single is stored
// into an integer.
int toInteger(float value)
{
    return int(std::lrint(value));
}

} // namespace

TabStrip::TabStrip(QWidget *parent)
    : SurfaceWidget(parent)
{
    setObjectName(QStringLiteral("Onglets"));
    setRepaintedByHandler(true);
    // A click on the strip takes the focus, so a parameter field being edited
    // is validated before the tab changes; Tab reaches it too.
    setFocusPolicy(Qt::StrongFocus);
    surface().setBackColor(stripColour);
    resize(297, 329);

    m_Picture3 = new ParameterPanel(this);
    m_frame2 = new VectorPanel(this);
    m_Picture1 = new DisplayPanel(this);
    m_Picture6 = new ChronoPanel(this);
    for (QWidget *panel : std::array<QWidget *, 4> {m_Picture3, m_frame2, m_Picture1, m_Picture6}) {
        panel->setFocusPolicy(Qt::ClickFocus);
        panel->hide();
    }

    m_fields = std::make_unique<PanelFields>(*m_Picture3, *m_Picture6);
    connectOptions();

    connect(this, &SurfaceWidget::paintRequested, this, &TabStrip::Onglets_Paint);
    connect(this, &SurfaceWidget::mouseReleased, this,
            [this](Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint position) {
                Onglets_MouseUp(button, modifiers, position.x() - border, position.y() - border);
            });
}

TabStrip::~TabStrip() = default;

ParameterFields &TabStrip::fields()
{
    return *m_fields;
}

TabStrip::Layout TabStrip::tabLayout(int width, const std::array<int, 4> &captionWidths)
{
    int total = 0;
    for (int w : captionWidths)
        total += w;
    Layout layout;
    layout.gap = float(width - total) / 8.0f;
    layout.limonglet[0] = -1;
    for (int i = 1; i <= 3; ++i) {
        layout.limonglet[i] = toInteger(float(layout.limonglet[i - 1]) + float(captionWidths[i - 1])
                                        + 2.0f * layout.gap);
    }
    layout.limonglet[4] = width;
    return layout;
}

int TabStrip::tabAt(const std::array<int, 5> &limonglet, int x)
{
    for (int i = 1; i <= 4; ++i) {
        if (limonglet[i - 1] < x && x <= limonglet[i])
            return i;
    }
    return 0;
}

void TabStrip::Onglets_Paint()
{
    const int W = std::max(0, width() - 2 * border);
    const int H = std::max(0, height() - 2 * border);
    // The area is drawn straight onto the strip's surface, b pixels in from
    // its top-left corner; the border, drawn last, covers what spills over.
    DrawingSurface &s = surface();
    const int b = border;
    s.setBackColor(stripColour);

    if (m_onglet == 0)
        m_onglet = 1;
    const int current = m_onglet;
    s.setFontName(QStringLiteral("Arial"));
    s.setFontSize(8);
    s.setFontBold(false);
    s.setFontItalic(false);
    s.setForeColor(QBColor(0));
    s.setDrawWidth(1);
    for (int i = 1; i <= 4; ++i)
        m_titreonglet[i] = tabCaption(i);

    const int th = s.textHeight(QStringLiteral("W"));
    m_th = th;
    std::array<int, 4> captionWidths;
    for (int i = 1; i <= 4; ++i) {
        s.setFontBold(i == current);
        captionWidths[i - 1] = s.textWidth(m_titreonglet[i]);
    }
    s.setFontBold(false);
    const Layout layout = tabLayout(W, captionWidths);
    m_limonglet = layout.limonglet;
    const auto &lim = m_limonglet;

    const QColor grey = QBColor(8);
    const QColor white = QBColor(15);
    s.box(b, b, b + W - 1, b + H - 1, grey);
    s.line(b, b, b, b + H - 1, white);
    for (int i = 0; i <= 4; ++i) {
        s.line(b + lim[i] - 1, b + 1, b + lim[i] - 1, b + th + 1, grey);
        s.line(b + lim[i], b, b + lim[i], b + th, white);
    }
    for (int i = 0; i <= 3; ++i)
        s.line(b + lim[i] + 1, b, b + lim[i + 1] - 1, b, white);
    // The base line stops under the current tab, which opens onto its panel.
    s.line(b, b + th + 1, b + lim[current - 1] + 2, b + th + 1, white);
    s.line(b + lim[current], b + th + 1, b + W, b + th + 1, white);

    for (int i = 1; i <= 4; ++i) {
        s.setFontBold(i == current);
        s.setCurrentPoint(b + lim[i - 1] + layout.gap, b + (i == current ? 2 : 1));
        s.print(m_titreonglet[i]);
    }
    s.setFontBold(false);

    const std::array<SurfaceWidget *, 4> panels = {m_Picture3, m_frame2, m_Picture1, m_Picture6};
    SurfaceWidget *shown = panels[current - 1];
    shown->setGeometry(b + 4, b + th + 5, W - 8, H - th - 9);
    shown->show();
    for (SurfaceWidget *panel : panels) {
        if (panel != shown)
            panel->hide();
    }

    s.box(b + 1, b + th + 2, b + W - 2, b + H - 2, stripColour);
    s.box(b + 2, b + th + 3, b + W - 3, b + H - 3, stripColour);
    s.box(b + 3, b + th + 4, b + W - 4, b + H - 4, grey);
    s.box(b + 4, b + th + 5, b + W - 4, b + H - 4, white);

    drawBorder();

    if (current != m_shown) {
        const bool first = m_shown == 0;
        m_shown = current;
        if (!first)
            emit tabChanged(current);
    }
}

QImage TabStrip::area() const
{
    return surface().image().copy(border, border, std::max(0, width() - 2 * border),
                                  std::max(0, height() - 2 * border));
}

void TabStrip::drawBorder()
{
    // Sunken: dark outside and black inside at the top and left, white outside
    // and light grey inside at the bottom and right.
    DrawingSurface &s = surface();
    const int w = s.width();
    const int h = s.height();
    s.line(0, 0, w - 1, 0, QBColor(8));
    s.line(0, 0, 0, h - 1, QBColor(8));
    s.line(0, h - 1, w, h - 1, QBColor(15));
    s.line(w - 1, 0, w - 1, h - 1, QBColor(15));
    s.line(1, 1, w - 2, 1, QBColor(0));
    s.line(1, 1, 1, h - 2, QBColor(0));
    s.line(1, h - 2, w - 1, h - 2, QBColor(7));
    s.line(w - 2, 1, w - 2, h - 2, QBColor(7));
}

void TabStrip::Onglets_MouseUp(Qt::MouseButton, Qt::KeyboardModifiers, int x, int y)
{
    if (y < 0 || y > tabRowHeight)
        return;
    const int hit = tabAt(m_limonglet, x);
    if (hit == m_onglet)
        return;
    m_onglet = hit;
    refresh();
    announceTab();
}

QString TabStrip::tabCaption(int tab)
{
    switch (tab) {
    case 1:
        return QStringLiteral("Paramètres");
    case 2:
        return QStringLiteral("Vecteurs");
    case 3:
        return QStringLiteral("Affichage");
    case 4:
        return QStringLiteral("Chronophotographie");
    default:
        return QString();
    }
}

QRect TabStrip::tabRect(int tab) const
{
    if (tab < 1 || tab > 4)
        return QRect();
    const int left = m_limonglet[tab - 1] + 1;
    return QRect(border + left, border, m_limonglet[tab] - left, tabRowHeight + 1);
}

void TabStrip::selectTab(int tab)
{
    if (tab < 1 || tab > 4 || tab == currentTab())
        return;
    m_onglet = tab;
    refresh();
    announceTab();
}

void TabStrip::announceTab()
{
    const int tab = currentTab();
    QAccessibleEvent selection(this, QAccessible::Selection);
    selection.setChild(tab - 1);
    QAccessible::updateAccessibility(&selection);
    if (hasFocus()) {
        QAccessibleEvent focus(this, QAccessible::Focus);
        focus.setChild(tab - 1);
        QAccessible::updateAccessibility(&focus);
    }
}

void TabStrip::keyPressEvent(QKeyEvent *event)
{
    if (event->modifiers() & ~Qt::KeypadModifier) {
        SurfaceWidget::keyPressEvent(event);
        return;
    }
    const bool rtl = layoutDirection() == Qt::RightToLeft;
    switch (event->key()) {
    case Qt::Key_Left:
        m_keyboardFocus = true;
        selectTab(currentTab() + (rtl ? 1 : -1));
        update();
        break;
    case Qt::Key_Right:
        m_keyboardFocus = true;
        selectTab(currentTab() + (rtl ? -1 : 1));
        update();
        break;
    case Qt::Key_Home:
        m_keyboardFocus = true;
        selectTab(1);
        update();
        break;
    case Qt::Key_End:
        m_keyboardFocus = true;
        selectTab(4);
        update();
        break;
    default:
        SurfaceWidget::keyPressEvent(event);
    }
}

void TabStrip::focusInEvent(QFocusEvent *event)
{
    SurfaceWidget::focusInEvent(event);
    const Qt::FocusReason reason = event->reason();
    m_keyboardFocus = reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason
        || reason == Qt::ShortcutFocusReason;
    update();
}

void TabStrip::focusOutEvent(QFocusEvent *event)
{
    SurfaceWidget::focusOutEvent(event);
    m_keyboardFocus = false;
    update();
}

void TabStrip::paintEvent(QPaintEvent *event)
{
    SurfaceWidget::paintEvent(event);
    if (!hasFocus() || !m_keyboardFocus)
        return;
    const QRect tab = tabRect(currentTab());
    if (tab.width() < 6)
        return;
    QPainter painter(this);
    painter.setPen(QPen(QBColor(0), 1, Qt::DotLine));
    painter.drawRect(tab.adjusted(2, 1, -3, -2));
}

ColourSwatch *TabStrip::Label4(int index) const
{
    if (index == 1)
        return m_Picture6->Label4();
    if (index >= 0 && index <= 4)
        return m_frame2->Label4(index);
    return nullptr;
}
