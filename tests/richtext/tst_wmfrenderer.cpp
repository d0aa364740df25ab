// SPDX-License-Identifier: GPL-3.0-or-later
#include "richtext/wmfrenderer.h"

#include <QColor>
#include <QImage>
#include <QTest>

#include <initializer_list>

// Metafiles built record by record, drawn at 100 × 100 pixels: each row
// checks the colour at the centre of a filled rectangle and outside it.
class TestWmfRenderer : public QObject
{
    Q_OBJECT

private slots:
    void records_data();
    void records();
    void nothingDrawable();
};

namespace {

// Record functions, as the file format numbers them.
enum : quint16 {
    SaveDc = 0x001E,
    RestoreDc = 0x0127,
    SelectObject = 0x012D,
    DeleteObject = 0x01F0,
    SetWindowOrg = 0x020B,
    SetWindowExt = 0x020C,
    CreatePenIndirect = 0x02FA,
    CreateBrushIndirect = 0x02FC,
    Rectangle = 0x041B,
};

class Metafile
{
public:
    Metafile()
    {
        // Standard header: type 1, 9 words, version 0x300, the size (not
        // read), 8 objects, the largest record (not read), no parameters.
        for (quint16 word : {1, 9, 0x300, 0, 0, 8, 0, 0, 0})
            put(word);
    }
    Metafile &record(quint16 function, std::initializer_list<int> params)
    {
        const quint32 words = 3 + quint32(params.size());
        put(quint16(words & 0xFFFF));
        put(quint16(words >> 16));
        put(function);
        for (int p : params)
            put(quint16(p));
        return *this;
    }
    // A solid brush of colour (style 0), or no brush.
    Metafile &brush(QColor colour)
    {
        return record(CreateBrushIndirect,
                      {0, colour.red() | (colour.green() << 8), colour.blue(), 0});
    }
    // Rectangle from (left, top) to (right, bottom), in logical units.
    Metafile &rectangle(int left, int top, int right, int bottom)
    {
        return record(Rectangle, {bottom, right, top, left});
    }
    QByteArray bytes() const
    {
        QByteArray end = m_bytes;
        for (quint16 word : {3, 0, 0}) // the end-of-file record
            end.append(char(word & 0xFF)).append(char(word >> 8));
        return end;
    }

private:
    void put(quint16 word) { m_bytes.append(char(word & 0xFF)).append(char(word >> 8)); }
    QByteArray m_bytes;
};

const QColor red(255, 0, 0);
const QColor blue(0, 0, 255);
// Pen style 5: no outline, so that a rectangle shows its brush alone.
const std::initializer_list<int> nullPen {5, 0, 0, 0, 0};

} // namespace

void TestWmfRenderer::records_data()
{
    QTest::addColumn<QByteArray>("wmf");
    QTest::addColumn<QPoint>("inside");
    QTest::addColumn<QPoint>("outside");
    QTest::addColumn<QColor>("colour");

    // Objects 0 and 1: the red brush and the outline-less pen.
    const auto redAndNoPen = [] {
        Metafile m;
        m.brush(red).record(CreatePenIndirect, nullPen);
        m.record(SelectObject, {0}).record(SelectObject, {1});
        return m;
    };
    QTest::newRow("selected brush") << redAndNoPen().rectangle(10, 10, 50, 50).bytes()
                                    << QPoint(30, 30) << QPoint(70, 70) << red;
    // The blue brush is selected after the save: the restore brings back red.
    QTest::newRow("state restored") << redAndNoPen()
                                           .record(SaveDc, {})
                                           .brush(blue)
                                           .record(SelectObject, {2})
                                           .record(RestoreDc, {0xFFFF})
                                           .rectangle(10, 10, 50, 50)
                                           .bytes()
                                    << QPoint(30, 30) << QPoint(70, 70) << red;
    // A deleted object frees its slot, which the next object takes.
    QTest::newRow("slot of a deleted object") << redAndNoPen()
                                                     .record(DeleteObject, {0})
                                                     .brush(blue)
                                                     .record(SelectObject, {0})
                                                     .rectangle(10, 10, 50, 50)
                                                     .bytes()
                                              << QPoint(30, 30) << QPoint(70, 70) << blue;
    // A window of 200 units over 100 pixels: (20, 20)-(100, 100) covers
    // pixels 10 to 50, and (60, 60) is outside.
    QTest::newRow("window origin and extent") << redAndNoPen()
                                                     .record(SetWindowOrg, {0, 0})
                                                     .record(SetWindowExt, {200, 200})
                                                     .rectangle(20, 20, 100, 100)
                                                     .bytes()
                                              << QPoint(30, 30) << QPoint(60, 60) << red;
    // The origin at (-40, -40) moves the rectangle (0, 0)-(20, 20) to
    // pixels 40 to 60.
    QTest::newRow("window moved") << redAndNoPen()
                                         .record(SetWindowOrg, {-40, -40})
                                         .record(SetWindowExt, {100, 100})
                                         .rectangle(0, 0, 20, 20)
                                         .bytes()
                                  << QPoint(50, 50) << QPoint(30, 30) << red;
}

void TestWmfRenderer::records()
{
    QFETCH(QByteArray, wmf);
    QFETCH(QPoint, inside);
    QFETCH(QPoint, outside);
    QFETCH(QColor, colour);
    const QImage image = WmfRenderer::render(wmf, QSize(100, 100));
    QVERIFY(!image.isNull());
    QCOMPARE(image.size(), QSize(100, 100));
    QCOMPARE(image.pixelColor(inside), colour);
    QCOMPARE(qAlpha(image.pixel(outside)), 0);
}

void TestWmfRenderer::nothingDrawable()
{
    // Objects and state without any drawing: no picture.
    Metafile m;
    m.brush(red).record(SelectObject, {0}).record(SaveDc, {}).record(RestoreDc, {0xFFFF});
    QVERIFY(WmfRenderer::render(m.bytes(), QSize(100, 100)).isNull());
}

QTEST_MAIN(TestWmfRenderer)
#include "tst_wmfrenderer.moc"
