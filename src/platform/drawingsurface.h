// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QString>

// An off-screen picture addressed in pixels (origin top left, y downwards)
// on which every painted area of the program draws: the scene, the panels,
// the tab strip, the read-out panel, the graphs and the window background.
//
// It keeps two layers. The background picture, when there is one, is what
// clear() returns to; persist() makes the current picture the new background
// picture, so what was drawn so far survives later clears. Without a
// background picture clear() fills with the background colour.
//
// Geometry is drawn without antialiasing, straight into the pixels, so
// positions and colours are exact:
// - Coordinates are doubles (callers compute them in single precision) and
//   are rounded to the nearest pixel, a half going up. Pixel (i, j) therefore
//   covers the unit square centred on the point (i, j): its centre has
//   integer coordinates. An operation given a NaN or infinite coordinate does
//   nothing and leaves the current point where it was; finite coordinates are
//   clamped to +/-2^29.
// - A 1-pixel line is the Bresenham line from its first point up to, but not
//   including, its last point, so consecutive segments of a polyline never
//   draw their shared point twice. Its minor coordinate is the rounded exact
//   one, a tie stepping away from the first point. A line whose two points
//   fall on the same pixel draws that pixel.
// - A 2-pixel line is the 1-pixel line plus a copy one pixel below it when it
//   is closer to horizontal (|dx| >= |dy|), one pixel to its right otherwise.
// Text is antialiased; fonts are sized in points at a fixed 96 dpi whatever
// the screen (8 pt is 11 pixels), so text metrics are the same everywhere.
//
// All methods run on the user-interface thread (text needs the font
// database of the running QGuiApplication).
class DrawingSurface
{
public:
    enum class FillStyle { Solid, Transparent };

    // A width x height picture filled with background. Drawing colour black,
    // width 1, transparent fill with black fill colour, Arial 8 regular,
    // current point (0, 0).
    explicit DrawingSurface(int width = 0, int height = 0, const QColor &background = Qt::white);

    int width() const { return m_image.width(); }
    int height() const { return m_image.height(); }
    // New size; the picture keeps its top-left part and the new area gets
    // the background colour. A width or height under 1 gives an empty
    // surface on which drawing does nothing.
    void resize(int width, int height);

    QColor backColor() const { return m_backColor; }
    // Stores the background colour and clears the surface (see clear()).
    void setBackColor(const QColor &colour);
    // Colour of text; also of lines, points and circles drawn without an
    // explicit colour.
    QColor foreColor() const { return m_foreColor; }
    void setForeColor(const QColor &colour) { m_foreColor = colour; }
    // Line width in pixels, 1 or 2 (other values are clamped to that range).
    int drawWidth() const { return m_drawWidth; }
    void setDrawWidth(int width);
    FillStyle fillStyle() const { return m_fillStyle; }
    void setFillStyle(FillStyle style) { m_fillStyle = style; }
    QColor fillColor() const { return m_fillColor; }
    void setFillColor(const QColor &colour) { m_fillColor = colour; }

    // Font family as the program names it ("Arial"). "Symbol" draws with
    // Arial and maps Latin letters to Greek ones (r to rho, h to eta, P to
    // Pi, t to tau...) and the registered sign to a right arrow, as the
    // Symbol font's encoding does.
    QString fontName() const { return m_fontName; }
    void setFontName(const QString &name);
    // Size in points, converted to pixels at 96 dpi: round(size * 96 / 72).
    double fontSize() const { return m_fontSize; }
    void setFontSize(double points);
    bool fontBold() const { return m_font.bold(); }
    void setFontBold(bool bold) { m_font.setBold(bold); }
    bool fontItalic() const { return m_font.italic(); }
    void setFontItalic(bool italic) { m_font.setItalic(italic); }
    // The font text is drawn and measured with.
    QFont font() const { return m_font; }

    double currentX() const { return m_currentX; }
    double currentY() const { return m_currentY; }
    void setCurrentX(double x) { m_currentX = x; }
    void setCurrentY(double y) { m_currentY = y; }
    void setCurrentPoint(double x, double y);

    // Back to the background picture, or to the background colour when
    // there is none; the current point goes back to (0, 0).
    void clear();

    // Segment of the current width from (x1, y1) to (x2, y2) (see the class
    // comment for its pixels); (x2, y2) becomes the current point.
    void line(double x1, double y1, double x2, double y2, const QColor &colour);
    void line(double x1, double y1, double x2, double y2) { line(x1, y1, x2, y2, m_foreColor); }
    // Segment from the current point to (x, y), which becomes the current point.
    void lineTo(double x, double y, const QColor &colour);
    void lineTo(double x, double y) { lineTo(x, y, m_foreColor); }
    // The rectangle with corners (x1, y1) and (x2, y2), both inclusive,
    // in either order: its outline (a 2-pixel outline grows inwards), or with
    // filled the whole rectangle in colour. The fill style does not apply.
    // (x2, y2) becomes the current point.
    void box(double x1, double y1, double x2, double y2, const QColor &colour, bool filled = false);
    // One pixel, whatever the line width; (x, y) becomes the current point.
    void point(double x, double y, const QColor &colour);
    void point(double x, double y) { point(x, y, m_foreColor); }
    // Midpoint circle of centre (x, y) and radius r in pixels (both rounded);
    // a 2-pixel outline grows inwards. With a solid fill style the inside is
    // filled with the fill colour first, so the outline keeps colour. A
    // radius under 0.5 draws the centre pixel, a negative one nothing. The
    // centre becomes the current point.
    void circle(double x, double y, double r, const QColor &colour);
    void circle(double x, double y, double r) { circle(x, y, r, m_foreColor); }
    // Disc of centre (x, y) and radius r taken as given, not rounded: it
    // covers exactly the pixels whose centres (i, j) lie at a distance of at
    // most r from (x, y), all in colour. Nested discs whose centres or radii
    // differ by less than a pixel thus still leave each other's rings. The
    // fill style does not apply; a negative radius draws nothing. The centre
    // becomes the current point.
    void disc(double x, double y, double r, const QColor &colour);

    // Draws one line of text in the drawing colour with its top-left corner
    // at the current point, then moves the current x to the end of the text
    // (by textWidth(text)); the current y stays, so prints continue the line.
    void print(const QString &text);
    // Extent of text in the current font, in pixels: the advance of its
    // longest line, and the line height times the number of lines.
    int textWidth(const QString &text) const;
    int textHeight(const QString &text) const;

    // Draws picture at its natural size with its top-left corner at (x, y).
    // The current point does not move.
    void drawImage(double x, double y, const QImage &picture);
    // Draws the whole of source, as drawImage(x, y, source.image()) does,
    // layer by layer: when both surfaces have the same device pixel ratio
    // above 1, the high-density picture gets source's own high-density
    // picture, with its sharp text and diagonals, rather than an enlarged
    // copy of source.image(). image() gets exactly the same pixels either way.
    void drawSurface(double x, double y, const DrawingSurface &source);

    // The picture clear() returns to; a null image removes it.
    void setBackgroundPicture(const QImage &picture);
    void clearBackgroundPicture()
    {
        m_background = QImage();
        m_hiBackground = QImage();
    }
    bool hasBackgroundPicture() const { return !m_background.isNull(); }
    const QImage &backgroundPicture() const { return m_background; }
    // The current picture becomes the background picture.
    void persist()
    {
        m_background = m_image;
        m_hiBackground = m_hiImage;
    }

    // The picture at the surface's size in pixels, for printing, the
    // clipboard and saving.
    const QImage &image() const { return m_image; }

    // Device pixels per pixel of the surface on a high-density screen, 1 to
    // 4. Above 1 the surface keeps a second picture that many times larger,
    // drawn alongside the first with the same geometry in pixels (a 1-pixel
    // line is ratio device pixels wide), but with the finer steps of
    // diagonals, circles and text the screen can show. Changing the ratio
    // starts that picture from an enlarged copy of image(); the next drawings
    // are sharp. At 1 nothing is kept beside image().
    int devicePixelRatio() const { return m_ratio; }
    void setDevicePixelRatio(int ratio);
    // What a widget shows: the high-density picture (its devicePixelRatio()
    // set, so that a QPainter places it in pixels) or image() at ratio 1.
    const QImage &displayImage() const { return m_ratio > 1 ? m_hiImage : m_image; }

private:
    void drawLine(int x1, int y1, int x2, int y2, QRgb colour);
    void updateFont();
    QString shownText(const QString &text) const;
    // The high-density twins of the operations, in drawingsurface_hidpi.cpp;
    // their arguments are the pixels the picture at ratio 1 gets.
    QImage enlarged(const QImage &picture) const;
    void hiLine(qint64 x1, qint64 y1, qint64 x2, qint64 y2, QRgb colour);
    void hiRect(qint64 left, qint64 top, qint64 right, qint64 bottom, QRgb colour);
    void hiCircle(qint64 cx, qint64 cy, qint64 radius, QRgb colour);
    void hiDisc(double x, double y, double r, QRgb colour);
    void hiPrint(const QPointF &baseline, const QString &shown);
    void hiDrawImage(const QPointF &at, const QImage &picture);

    QImage m_image;
    QImage m_background;
    int m_ratio = 1;
    QImage m_hiImage;
    QImage m_hiBackground;
    QColor m_backColor;
    QColor m_foreColor = Qt::black;
    QColor m_fillColor = Qt::black;
    FillStyle m_fillStyle = FillStyle::Transparent;
    int m_drawWidth = 1;
    QString m_fontName;
    double m_fontSize = 8;
    bool m_symbolFont = false;
    QFont m_font;
    double m_currentX = 0;
    double m_currentY = 0;
};
