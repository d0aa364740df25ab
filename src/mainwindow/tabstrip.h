// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/displayoptions.h"
#include "platform/drawingsurface.h"
#include "platform/surfacewidget.h"

#include <array>
#include <memory>

class ChronoPanel;
class ColourSwatch;
class DisplayPanel;
class PanelFields;
class ParameterFields;
class ParameterPanel;
class VectorPanel;

// Onglets, the strip of four painted tabs "Paramètres", "Vecteurs",
// "Affichage" and "Chronophotographie" above the option panel of the current
// tab. The four panels are its children; the strip places the current one
// and hides the others at each paint.
//
// The widget is the strip's outer box (297 x 329 on the main window): a
// 2-pixel sunken border around the painting area, which is W x H = the
// widget's size less 4 each way. The tabs are laid out in that area's own
// coordinates (area(), limonglet()), and Onglets_MouseUp takes positions in
// them too.
class TabStrip : public SurfaceWidget
{
    Q_OBJECT

public:
    explicit TabStrip(QWidget *parent = nullptr);
    ~TabStrip() override;

    // Width of the sunken border around the painting area.
    static constexpr int border = 2;
    // Only releases in this top band of the area select a tab, whatever the
    // height of the captions.
    static constexpr int tabRowHeight = 15;

    // Where the tabs of an area width pixels wide begin and end, given the
    // widths of the four captions as painted (the current one in bold): the
    // blank left and right of each caption, gap, shares out what the captions
    // leave of the width; limonglet[i] is the boundary between tab i and tab
    // i + 1, from -1 to width.
    struct Layout
    {
        std::array<int, 5> limonglet;
        float gap;
    };
    static Layout tabLayout(int width, const std::array<int, 4> &captionWidths);
    // The tab (1..4) whose span limonglet[i - 1] < x <= limonglet[i] holds x,
    // 0 for none.
    static int tabAt(const std::array<int, 5> &limonglet, int x);

    // Tab of the last selection: 0 at start and after a release beyond the
    // tabs, then shown as tab 1 (which the next paint makes it).
    int onglet() const { return m_onglet; }
    // Captions of tabs 1..4 (index 0 unused), set at each paint.
    const std::array<QString, 5> &titreonglet() const { return m_titreonglet; }
    const std::array<int, 5> &limonglet() const { return m_limonglet; }
    // Height th of the captions, measured at the last paint.
    int captionHeight() const { return m_th; }
    // The painting area as last painted, in pixels.
    QImage area() const;

    // Paints the strip (outline, separators, tab tops, the base line open
    // under the current tab, the captions, the frame of the panel) and places
    // and shows the current tab's panel, hiding the others. Sets onglet to 1
    // when it is 0. Runs whenever the strip is shown, resized or refreshed.
    void Onglets_Paint();
    // A mouse button released at (x, y) of the painting area: a release in
    // the tab row selects the tab under x, none beyond the tabs, and
    // repaints when that changes onglet.
    void Onglets_MouseUp(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y);

    // The keyboard's way to a tab (1..4): shows its panel as a click on its
    // caption would. Left and Right on the focused strip step to the previous
    // or next tab (without wrapping).
    void selectTab(int tab);
    // The tab shown, 1..4 (onglet() with its 0 taken as 1).
    int currentTab() const { return m_onglet == 0 ? 1 : m_onglet; }
    // Caption of tab 1..4, as painted.
    static QString tabCaption(int tab);
    // Where tab 1..4 lies on the widget, as last painted (the tab row only).
    QRect tabRect(int tab) const;

    // The swatches of the vector colours and of the chronophotography marks
    // (Label4(0)..Label4(4)), on whichever panel holds them; null outside 0..4.
    ColourSwatch *Label4(int index) const;

    // The display options as the panels' controls hold them. A change of a
    // control updates them before any other handler of that control runs.
    const DisplayOptions &options() const { return m_options; }
    // Sets every control to options; each control that changes runs its own
    // handlers and sends its signals, as a user's change would.
    void setOptions(const DisplayOptions &options);
    // Gives swatch index (0..4) a colour as stored (red in the low byte, a
    // negative value for a system colour); colourChanged(index) follows even
    // when the colour is the same, as after a choice in the colour picker.
    void setColour(int index, qint32 stored);

    // The six parameter fields and the interval, as the core reads them.
    ParameterFields &fields();

    ParameterPanel *Picture3() const { return m_Picture3; } // tab 1, "Paramètres"
    VectorPanel *frame2() const { return m_frame2; }        // tab 2, "Vecteurs"
    DisplayPanel *Picture1() const { return m_Picture1; }   // tab 3, "Affichage"
    ChronoPanel *Picture6() const { return m_Picture6; }    // tab 4, "Chronophotographie"

signals:
    // Another panel is shown: tab 1..4.
    void tabChanged(int tab);
    // The axis, the ruler, a vector switch or a vector scale changed: the
    // scene must be redrawn.
    void sceneOptionChanged();
    // Swatch index has a new colour.
    void colourChanged(int index);
    // Swatch index was clicked: its owner asks the user for a colour.
    void swatchClicked(int index);
    // Option1(quantity) became the selected quantity of the graphs.
    void graphQuantityChanged(int quantity);
    // Check4 "Afficher l'index" changed.
    void indexShownChanged(bool shown);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    // The surface, then a dotted focus mark around the current caption while
    // the strip has the focus from the keyboard (a mouse user sees no change).
    void paintEvent(QPaintEvent *event) override;

private:
    ParameterPanel *m_Picture3 = nullptr;
    VectorPanel *m_frame2 = nullptr;
    DisplayPanel *m_Picture1 = nullptr;
    ChronoPanel *m_Picture6 = nullptr;
    void drawBorder();
    // Tells assistive tools which tab is now selected.
    void announceTab();
    // Connects the controls of the panels to options() and to the signals above.
    void connectOptions();
    // Reads the check boxes, spinners and quantity into m_options (the
    // colours are kept there, as stored).
    void readControls();

    int m_onglet = 0;
    int m_shown = 0;
    int m_th = 0;
    bool m_keyboardFocus = false;
    std::array<QString, 5> m_titreonglet;
    std::array<int, 5> m_limonglet {};
    DisplayOptions m_options;
    std::unique_ptr<PanelFields> m_fields;
};
