// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "rtfsymbolfonts.h"

#include <QBrush>
#include <QByteArrayView>
#include <QColor>
#include <QImage>
#include <QPainter>
#include <QPen>
#include <QPointF>
#include <QPolygonF>
#include <QSize>
#include <QSizeF>

#include <optional>
#include <vector>

// The playing of one metafile for WmfRenderer. wmfrenderer.cpp walks the
// records and plays those that set the state or the object table;
// wmfdrawing.cpp plays those that draw.
namespace WmfPlayback {

// Bounds on what a hostile metafile may ask for.
constexpr int maxObjects = 1024;
constexpr int maxSavedStates = 64;
constexpr int maxRecords = 200'000;
constexpr int maxImageSide = 4000;
constexpr qsizetype maxTextLength = 1024; // characters drawn by one text record

// Record functions (the low byte is the record's number, the high byte its
// count of parameters in the original format).
enum Function : quint16 {
    Eof = 0x0000,
    SaveDc = 0x001E,
    SetBkMode = 0x0102,
    SetPolyFillMode = 0x0106,
    RestoreDc = 0x0127,
    SelectObject = 0x012D,
    SetTextAlign = 0x012E,
    DeleteObject = 0x01F0,
    SetTextColor = 0x0209,
    SetWindowOrg = 0x020B,
    SetWindowExt = 0x020C,
    LineTo = 0x0213,
    MoveTo = 0x0214,
    CreatePenIndirect = 0x02FA,
    CreateFontIndirect = 0x02FB,
    CreateBrushIndirect = 0x02FC,
    Polygon = 0x0324,
    Polyline = 0x0325,
    Ellipse = 0x0418,
    Rectangle = 0x041B,
    TextOut = 0x0521,
    PolyPolygon = 0x0538,
    ExtTextOut = 0x0A32,
};

struct LogFont
{
    int height = 12; // logical units; negative is the characters' height
    int weight = 400;
    bool italic = false;
    bool underline = false;
    bool strike = false;
    QString face;
    RtfSymbolFonts::Font symbol = RtfSymbolFonts::Font::None;
};

struct Object
{
    enum class Type : quint8 { Empty, Pen, Brush, Font } type = Type::Empty;
    QPen pen;
    QBrush brush;
    LogFont font;
};

struct State
{
    QPointF windowOrigin {0, 0};
    QSizeF windowExtent {0, 0};
    QPen pen {Qt::black};
    QBrush brush {Qt::white};
    LogFont font;
    QColor textColour {Qt::black};
    int textAlign = 0;
    Qt::FillRule fillRule = Qt::OddEvenFill;
    QPointF position {0, 0};
};

class Renderer
{
public:
    Renderer(QByteArrayView data, QSize size)
        : m_data(data)
        , m_size(size)
    { }

    QImage run();

private:
    int word(qsizetype record, int index) const; // signed 16-bit parameter
    quint16 uword(qsizetype record, int index) const;
    QColor colour(qsizetype record, int index) const;
    QPointF map(double x, double y) const;
    double scaleX() const;
    double scaleY() const;
    // Plays one record whose params parameter words are all in the data.
    void play(quint16 function, qsizetype record, int params);
    // Each group plays its records and answers whether function is one of
    // them; a record is played only when the parameters it reads are there.
    bool playState(quint16 function, qsizetype record, int params);
    bool playObject(quint16 function, qsizetype record, int params);
    bool playDrawing(quint16 function, qsizetype record, int params);
    void addObject(Object object);
    QPolygonF points(qsizetype record, int first, int count) const;
    void text(double x, double y, QByteArrayView bytes);
    QPen devicePen() const;

    QByteArrayView m_data;
    QSize m_size;
    QImage m_image;
    std::optional<QPainter> m_painter;
    State m_state;
    std::vector<State> m_saved;
    std::vector<Object> m_objects;
    bool m_drew = false;
};

} // namespace WmfPlayback
