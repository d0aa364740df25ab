// SPDX-License-Identifier: GPL-3.0-or-later
#include "richtext/documentdump.h"
#include "richtext/rtfreader.h"

#include <QBuffer>
#include <QElapsedTimer>
#include <QTest>
#include <QTextDocument>
#include <QTextLayout>
#include <QTextTable>

class TestRtfReader : public QObject
{
    Q_OBJECT

private slots:
    void wordpadLayout();
    void libreOfficeFormats();
    void libreOfficeImageAndLink();
    void wordEquation();
    void libreOfficeNestedBullets();
    void wordLayout();
    void hangingIndentTab();
    void text_data();
    void text();
    void formats_data();
    void formats();
    void finalParagraphMark();
    void readsFromDevice();
    void hostileInput_data();
    void hostileInput();

private:
    static QByteArray golden(const char *name);
};

QByteArray TestRtfReader::golden(const char *name)
{
    QFile file(QFINDTESTDATA(QStringLiteral("../data/richtext/") + QLatin1String(name)));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

static QTextCharFormat formatOf(const QTextDocument &document, const QString &text)
{
    const int position = positionOf(document, text);
    return position < 0 ? QTextCharFormat() : formatAt(document, position);
}

static QTextBlockFormat blockOf(const QTextDocument &document, const QString &text)
{
    return document.findBlock(positionOf(document, text)).blockFormat();
}

void TestRtfReader::wordpadLayout()
{
    QTextDocument document;
    RtfReader reader;
    QVERIFY2(reader.read(golden("wordpad-symbols.rtf"), &document),
             qPrintable(reader.errorString()));
    const QStringList lines = document.toPlainText().split(u'\n');
    QCOMPARE(lines.size(), 5);
    QCOMPARE(lines.at(0), QStringLiteral("Chute dans un fluide visqueux"));
    QCOMPARE(lines.at(1),
             QStringLiteral("La constante de temps τ et la masse volumique ρ, la viscosité η."));
    QCOMPARE(lines.at(2),
             QStringLiteral("Le vecteur v→ et la vitesse vlim = 0,35 m/s ; l’élève ≈ 0,3 et x2."));
    QCOMPARE(lines.at(3), QStringLiteral("Rouge et bleu italique."));
    QCOMPARE(lines.at(4), QStringLiteral("Retrait\tfin"));

    const QTextCharFormat title = formatOf(document, QStringLiteral("Chute"));
    QCOMPARE(title.fontWeight(), int(QFont::Bold));
    QCOMPARE(title.fontPointSize(), 14.0);
    QCOMPARE(title.fontFamilies().toStringList(), QStringList {QStringLiteral("Calibri")});
    QCOMPARE(blockOf(document, QStringLiteral("Chute")).alignment() & Qt::AlignHorizontal_Mask,
             Qt::AlignHCenter);
    // The Greek letter shows in the text's font, not in "Symbol".
    const QTextCharFormat tau = formatOf(document, QStringLiteral("τ"));
    QCOMPARE(tau.fontFamilies().toStringList(), QStringList {QStringLiteral("Calibri")});
    QCOMPARE(tau.fontPointSize(), 11.0);
    QCOMPARE(tau.fontWeight(), int(QFont::Normal));
    QCOMPARE(formatOf(document, QStringLiteral("lim")).verticalAlignment(),
             QTextCharFormat::AlignSubScript);
    QCOMPARE(formatOf(document, QStringLiteral(" = 0,35")).verticalAlignment(),
             QTextCharFormat::AlignNormal);
    QCOMPARE(formatOf(document, QStringLiteral("2.")).verticalAlignment(),
             QTextCharFormat::AlignSuperScript);
    QCOMPARE(formatOf(document, QStringLiteral("Rouge")).foreground().color(), QColor(Qt::red));
    QCOMPARE(formatOf(document, QStringLiteral(" et bleu")).foreground().style(), Qt::NoBrush);
    const QTextCharFormat blue = formatOf(document, QStringLiteral("bleu"));
    QCOMPARE(blue.foreground().color(), QColor(Qt::blue));
    QVERIFY(blue.fontItalic());
    const QTextBlockFormat indented = blockOf(document, QStringLiteral("Retrait"));
    QCOMPARE(indented.leftMargin(), 48.0); // 720 twips at 15 twips a pixel
    QCOMPARE(indented.rightMargin(), 24.0);
    QCOMPARE(indented.textIndent(), -24.0);
    QCOMPARE(qRound(indented.bottomMargin() * 15), 200);
}

void TestRtfReader::libreOfficeFormats()
{
    QTextDocument document;
    RtfReader reader;
    QVERIFY2(reader.read(golden("libreoffice-formats.rtf"), &document),
             qPrintable(reader.errorString()));
    const QString text = document.toPlainText();
    QVERIFY2(text.startsWith(QStringLiteral("Chute d'une bille\nUne bille de masse m = 5 g")),
             qPrintable(text));
    QVERIFY(text.contains(QStringLiteral("Élève, tâche, cœur, « guillemets » — fin.")));
    QCOMPARE(formatOf(document, QStringLiteral("Chute")).fontWeight(), int(QFont::Bold));
    QCOMPARE(blockOf(document, QStringLiteral("Chute")).alignment() & Qt::AlignHorizontal_Mask,
             Qt::AlignHCenter);
    QVERIFY(formatOf(document, QStringLiteral("m =")).fontItalic());
    QCOMPARE(formatOf(document, QStringLiteral("lim = ")).verticalAlignment(),
             QTextCharFormat::AlignSubScript);
    QCOMPARE(formatOf(document, QStringLiteral("-1")).verticalAlignment(),
             QTextCharFormat::AlignSuperScript);
    QCOMPARE(formatOf(document, QStringLiteral("Rouge")).foreground().color(), QColor(Qt::red));
    QVERIFY(formatOf(document, QStringLiteral("souligné")).fontUnderline());
    QCOMPARE(formatOf(document, QStringLiteral("grand")).fontPointSize(), 18.0);
    QCOMPARE(formatOf(document, QStringLiteral("Une")).fontPointSize(), 12.0);
    QCOMPARE(formatOf(document, QStringLiteral("Une")).fontFamilies().toStringList(),
             QStringList {QStringLiteral("Liberation Serif")});
    QCOMPARE(blockOf(document, QStringLiteral("Rouge")).alignment() & Qt::AlignHorizontal_Mask,
             Qt::AlignRight);
    QCOMPARE(blockOf(document, QStringLiteral("Élève")).alignment() & Qt::AlignHorizontal_Mask,
             Qt::AlignJustify);

    QTextCursor cursor(&document);
    cursor.setPosition(positionOf(document, QStringLiteral("Masse")));
    QTextTable *table = cursor.currentTable();
    QVERIFY(table);
    QCOMPARE(table->rows(), 2);
    QCOMPARE(table->columns(), 2);
    const auto cellText = [table](int row, int column) {
        const QTextTableCell cell = table->cellAt(row, column);
        QTextCursor c = cell.firstCursorPosition();
        c.setPosition(cell.lastCursorPosition().position(), QTextCursor::KeepAnchor);
        return c.selectedText();
    };
    QCOMPARE(cellText(0, 1), QStringLiteral("Rayon"));
    QCOMPARE(cellText(1, 0), QStringLiteral("5 g"));
    QCOMPARE(cellText(1, 1), QStringLiteral("1 cm"));
    cursor.setPosition(positionOf(document, QStringLiteral("Après le tableau.")));
    QVERIFY(!cursor.currentTable());
}

void TestRtfReader::libreOfficeImageAndLink()
{
    QTextDocument document;
    RtfReader reader;
    QVERIFY2(reader.read(golden("libreoffice-image.rtf"), &document),
             qPrintable(reader.errorString()));
    const QString dump = dumpDocument(document);
    // The PNG version of the picture shows; its metafile copy does not.
    QCOMPARE(dump.count(QStringLiteral("<obj>")), 1);
    const QTextCharFormat image = formatOf(document, QString(QChar::ObjectReplacementCharacter));
    QVERIFY(image.isImageFormat());
    const QImage picture
        = document.resource(QTextDocument::ImageResource, QUrl(image.toImageFormat().name()))
              .value<QImage>();
    QCOMPARE(picture.size(), QSize(8, 6));
    QCOMPARE(picture.pixelColor(3, 3), QColor(Qt::blue));
    QVERIFY(document.toPlainText().contains(QStringLiteral("après.")));
    const QTextCharFormat link = formatOf(document, QStringLiteral("la bille"));
    QVERIFY(link.isAnchor());
    QCOMPARE(link.anchorHref(), QStringLiteral("https://example.org/bille"));
}

void TestRtfReader::wordEquation()
{
    QTextDocument document;
    RtfReader reader;
    QVERIFY2(reader.read(golden("word-equation.rtf"), &document), qPrintable(reader.errorString()));
    // The equation, a metafile picture and a picture that cannot be drawn.
    QCOMPARE(document.toPlainText().count(QChar::ObjectReplacementCharacter), 3);
    const QTextImageFormat equation
        = formatOf(document, QString(QChar::ObjectReplacementCharacter)).toImageFormat();
    QCOMPARE(equation.width(), 64.0); // 960 twips
    QCOMPARE(equation.height(), 32.0);
    const QImage picture
        = document.resource(QTextDocument::ImageResource, QUrl(equation.name())).value<QImage>();
    QVERIFY(!picture.isNull());
    // The fraction bar drawn across the middle, nothing drawn in the corner.
    const QPoint middle(picture.width() / 2, picture.height() / 2);
    QVERIFY2(qAlpha(picture.pixel(middle)) > 200 && qGray(picture.pixel(middle)) < 60,
             qPrintable(QString::number(picture.pixel(middle), 16)));
    QCOMPARE(qAlpha(picture.pixel(0, 0)), 0);
    // The letters above and below it.
    int above = 0;
    int below = 0;
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            if (qAlpha(picture.pixel(x, y)) > 128)
                (y < middle.y() - 4 ? above : y > middle.y() + 4 ? below : x) += 1;
        }
    }
    QVERIFY2(above >= 10 && below >= 10, qPrintable(QStringLiteral("%1 %2").arg(above).arg(below)));
    QVERIFY(document.toPlainText().contains(QStringLiteral(" et ne dépend pas de la hauteur.")));
}

void TestRtfReader::libreOfficeNestedBullets()
{
    QTextDocument document;
    RtfReader reader;
    QVERIFY2(reader.read(golden("libreoffice-lists.rtf"), &document),
             qPrintable(reader.errorString()));
    const QStringList lines = document.toPlainText().split(u'\n');
    QCOMPARE(lines,
             QStringList({QStringLiteral("Les forces :"), QStringLiteral("•\tLe poids"),
                          QStringLiteral("o\tappliqué au centre"), QStringLiteral("▪\tvertical"),
                          QStringLiteral("•\tLa poussée"), QStringLiteral("1.\tPremière étape"),
                          QStringLiteral("Fin.")}));
    const auto list = [&document](const QString &text) {
        const QTextBlockFormat format = blockOf(document, text);
        return QStringLiteral("%1.%2")
            .arg(format.intProperty(RtfProperties::ListOverride))
            .arg(format.intProperty(RtfProperties::ListLevel));
    };
    QCOMPARE(list(QStringLiteral("Le poids")), QStringLiteral("1.0"));
    QCOMPARE(list(QStringLiteral("appliqué")), QStringLiteral("1.1"));
    QCOMPARE(list(QStringLiteral("vertical")), QStringLiteral("1.2"));
    QCOMPARE(list(QStringLiteral("Première")), QStringLiteral("2.0"));
    QVERIFY(!blockOf(document, QStringLiteral("Fin.")).hasProperty(RtfProperties::ListOverride));
    QCOMPARE(
        blockOf(document, QStringLiteral("vertical")).intProperty(RtfProperties::ListTextLength),
        2);
}

void TestRtfReader::wordLayout()
{
    QTextDocument document;
    RtfReader reader;
    QVERIFY2(reader.read(golden("word-layout.rtf"), &document), qPrintable(reader.errorString()));
    const QString text = document.toPlainText();
    // Greek, Cyrillic and Central European fonts in their own code pages.
    QVERIFY2(text.contains(QStringLiteral("La lettre α, le mot масса1 et ąč.")), qPrintable(text));
    QCOMPARE(formatOf(document, QStringLiteral("Chute")).fontCapitalization(), QFont::AllUppercase);
    QCOMPARE(formatOf(document, QStringLiteral("petites")).fontCapitalization(), QFont::SmallCaps);
    QCOMPARE(formatOf(document, QStringLiteral("Chute")).anchorNames(),
             QStringList {QStringLiteral("resultats")});
    QCOMPARE(formatOf(document, QStringLiteral("les résultats")).anchorHref(),
             QStringLiteral("#resultats"));
    QVERIFY(blockOf(document, QStringLiteral("Deuxième")).pageBreakPolicy()
            & QTextFormat::PageBreak_AlwaysBefore);
    QCOMPARE(blockOf(document, QStringLiteral("La lettre")).pageBreakPolicy(),
             QTextFormat::PageBreak_Auto);
    QTextCursor cursor(&document);
    cursor.setPosition(positionOf(document, QStringLiteral("Grandeur")));
    QTextTable *table = cursor.currentTable();
    QVERIFY(table);
    const QList<QTextLength> widths = table->format().columnWidthConstraints();
    QCOMPARE(widths.size(), 2);
    QCOMPARE(widths.at(0).rawValue() * 15, 2000.0);
    QCOMPARE(widths.at(1).rawValue() * 15, 4000.0);
    // The footnote comes after the text, after its number.
    QVERIFY2(text.endsWith(QStringLiteral("Fin.\n\n1 Masse en russe.")), qPrintable(text));
    QCOMPARE(formatOf(document, QStringLiteral("1 Masse")).verticalAlignment(),
             QTextCharFormat::AlignSuperScript);
}

void TestRtfReader::hangingIndentTab()
{
    // The tab after a list number reaches the paragraph's indent (720 twips,
    // 48 pixels), not the next default tab stop.
    QTextDocument document;
    RtfReader reader;
    QVERIFY(reader.read(QByteArrayView("{\\rtf1 \\fi-360\\li720 1.\\tab Texte\\par}"), &document));
    document.setDocumentMargin(0);
    document.setTextWidth(600);
    document.size(); // lays the text out
    QTextLayout *layout = document.begin().layout();
    QVERIFY(layout && layout->lineCount() > 0);
    const qreal x = layout->lineAt(0).cursorToX(3);
    QVERIFY2(qAbs(x - 48) < 1, qPrintable(QString::number(x)));
}

void TestRtfReader::text_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("text");
    const auto row = [](const char *name, const char *body, const QString &text) {
        QTest::newRow(name) << QByteArray("{\\rtf1\\ansi ") + body + "}" << text;
    };
    row("hex in 1252", "caf\\'e9 \\'80 \\'9c", QStringLiteral("café € œ"));
    row("unicode skips one", "\\u964?x", QStringLiteral("τx"));
    row("unicode skips uc", "\\uc2\\u964\\'3f\\'3fx\\uc0\\u961 y", QStringLiteral("τxρy"));
    row("negative unicode", "\\u-3913?", QStringLiteral("•"));
    row("skip stops at group", "{\\uc3\\u964}ab", QStringLiteral("τab"));
    row("specials", "\\lquote a\\rquote \\ldblquote b\\rdblquote \\emdash\\endash\\bullet",
        QStringLiteral("‘a’“b”—–•"));
    row("spaces", "a\\~b\\-c\\_d", QStringLiteral("a\u00a0b\u00adc\u2011d"));
    row("literals", "\\{\\}\\\\", QStringLiteral("{}\\"));
    row("tab and line", "a\\tab b\\line c", QStringLiteral("a\tb\u2028c"));
    row("unknown optional skipped", "a{\\*\\foo {b}c}d", QStringLiteral("ad"));
    row("stylesheet and info", "{\\stylesheet{\\s0 Normal;}}{\\info{\\title T}}x",
        QStringLiteral("x"));
    row("unknown word ignored", "a\\zzz12 b", QStringLiteral("ab"));
    row("field result", "{\\field{\\*\\fldinst PAGE}{\\fldrslt 3}} p", QStringLiteral("3 p"));
    row("hidden", "a{\\v hidden}b", QStringLiteral("ab"));
    row("bin data skipped", "a{\\*\\blob\\bin4 }{\\}}b", QStringLiteral("ab"));
    row("bin in text", "a\\bin3 xyzb", QStringLiteral("ab"));
    row("symbol font", "{\\fonttbl{\\f0 Arial;}{\\f1\\fcharset2 Symbol;}}\\f1 a\\'ae\\'b3\\f0 a",
        QStringLiteral("α→≥a"));
    row("symbol private use", "{\\fonttbl{\\f1\\fcharset2 Symbol;}}\\f1\\u61556?",
        QStringLiteral("τ"));
    row("wingdings hourglass", "{\\fonttbl{\\f3\\fcharset2 Wingdings;}}\\f3 666",
        QStringLiteral("⌛⌛⌛"));
    row("line end is paragraph", "a\\\nb", QStringLiteral("a\nb"));
    row("crlf ignored", "a\r\nb", QStringLiteral("ab"));
    row("list text shown", "{\\pntext\\'b7\\tab}Item", QStringLiteral("·\tItem"));
    row("nonshppict skipped", "{\\*\\shppict x}{\\nonshppict y}z", QStringLiteral("xz"));
    row("trailing data ignored", "a}garbage{", QStringLiteral("a"));
    row("symbol bullet without its font", "\\u61623\\'b7\\tab x", QStringLiteral("•\tx"));
    row("wingdings square by code", "{\\fonttbl{\\f3\\fcharset2 Wingdings;}}\\f3\\u61607\\'a7",
        QStringLiteral("▪"));
    row("symbol by code in a text font", "{\\fonttbl{\\f0 Arial;}}\\f0\\u61556?",
        QStringLiteral("τ"));
    row("greek font", "{\\fonttbl{\\f2\\fcharset161 Arial Greek;}}\\f2 \\'f4\\'e1\\'f5",
        QStringLiteral("ταυ"));
    row("cyrillic font", "{\\fonttbl{\\f3\\fcharset204 Arial Cyr;}}\\f3 \\'c4\\'e0",
        QStringLiteral("Да"));
    row("central european font", "{\\fonttbl{\\f4\\fcharset238 Arial CE;}}\\f4 \\'9a\\'e8",
        QStringLiteral("šč"));
    row("font code page", "{\\fonttbl{\\f1\\cpg1253 Arial;}}\\f1 \\'e1", QStringLiteral("α"));
    row("document code page", "\\ansicpg1251 \\'e4\\'e0", QStringLiteral("да"));
    row("western font keeps 1252", "\\ansicpg1251{\\fonttbl{\\f0\\fcharset0 Arial;}}\\f0 \\'e9",
        QStringLiteral("é"));
    row("japanese font", "{\\fonttbl{\\f5\\fcharset128 MS Mincho;}}\\f5 \\'93\\'fa",
        QStringLiteral("日"));
    row("caps keep their letters", "{\\caps abc}", QStringLiteral("abc"));
    row("footnote after the text",
        "a{\\super\\chftn}{\\footnote\\pard{\\super\\chftn} Note.}b\\par c\\par",
        QStringLiteral("a1b\nc\n\n1 Note."));
    row("page break ends the paragraph", "a\\page b", QStringLiteral("a\nb"));
    row("page break after a paragraph", "a\\par\\page b", QStringLiteral("a\nb"));
    row("object without result", "a{\\object\\objemb{\\*\\objdata 0102}}b",
        QStringLiteral("a\ufffcb"));
    // The object is written back whole with its picture: its text is not shown.
    row("object result text", "a{\\object{\\result x\\par{\\pict\\emfblip 01}}}b",
        QStringLiteral("a\ufffcb"));
    row("picture not drawable", "a{\\pict\\emfblip 0102}b", QStringLiteral("a\ufffcb"));
    row("bookmark name not text", "{\\*\\bkmkstart here}a{\\*\\bkmkend here}", QStringLiteral("a"));
    row("table cells", "\\trowd\\cellx100\\cellx200\\pard\\intbl a\\cell b\\cell\\row\\pard c",
        QStringLiteral("\ufdd0a\ufdd0b\ufdd1c"));
}

void TestRtfReader::text()
{
    QFETCH(QByteArray, rtf);
    QFETCH(QString, text);
    QTextDocument document;
    RtfReader reader;
    QVERIFY2(reader.read(rtf, &document), qPrintable(reader.errorString()));
    // The raw text keeps no-break spaces and line separators apart.
    QString raw = document.toRawText();
    raw.replace(QChar::ParagraphSeparator, u'\n');
    QCOMPARE(raw, text);
}

void TestRtfReader::formats_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("dump");
    const auto row = [](const char *name, const char *body, const char *dump) {
        QTest::newRow(name) << QByteArray("{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}{\\f1 Courier;}}"
                                          "{\\colortbl;\\red255\\green0\\blue0;}")
                + body + "}" << QString::fromUtf8(dump);
    };
    row("group restores", "a{\\b\\i b}c",
        "[L] \"a\"{f=Arial sz=12} \"b\"{b i f=Arial sz=12} \"c\"{f=Arial sz=12}\n");
    row("toggles off", "\\b\\ul a\\b0\\ulnone b",
        "[L] \"a\"{b u f=Arial sz=12} \"b\"{f=Arial sz=12}\n");
    row("plain resets", "\\f1\\fs40\\strike a\\plain b",
        "[L] \"a\"{s f=Courier sz=20} \"b\"{f=Arial sz=12}\n");
    row("colours", "\\cf1 a\\cf0\\highlight1 b\\cb0 c",
        "[L] \"a\"{f=Arial sz=12 fg=#ff0000} \"b\"{f=Arial sz=12 bg=#ff0000} \"c\"{f=Arial "
        "sz=12}\n");
    row("colour index out of range", "\\cf99 a", "[L] \"a\"{f=Arial sz=12}\n");
    row("paragraph properties apply at par", "\\qc a\\par\\pard\\qr b\\par",
        "[C] \"a\"{f=Arial sz=12}\n[R] \"b\"{f=Arial sz=12}\n");
    row("pard resets", "\\li300\\sb150 a\\par\\pard b",
        "[L li=20 sb=10] \"a\"{f=Arial sz=12}\n[L] \"b\"{f=Arial sz=12}\n");
    row("capitals", "{\\caps a}{\\scaps b}{\\scaps\\scaps0 c}",
        "[L] \"a\"{caps f=Arial sz=12} \"b\"{scaps f=Arial sz=12} \"c\"{f=Arial sz=12}\n");
    row("page break before", "a\\par\\pard\\pagebb b\\page c\\par",
        "[L] \"a\"{f=Arial sz=12}\n[L pb] \"b\"{f=Arial sz=12}\n[L pb] \"c\"{f=Arial sz=12}\n");
    row("list paragraph", "{\\listtext 1.\\tab}\\ls2\\ilvl1\\fi-360\\li720 a\\par\\pard b\\par",
        "[L li=48 fi=-24 ls=2.1] \"1.\ta\"{f=Arial sz=12}\n[L] \"b\"{f=Arial sz=12}\n");
    row("link to a bookmark",
        "{\\*\\bkmkstart fin}x{\\field{\\*\\fldinst HYPERLINK \\\\l \"fin\"}{\\fldrslt y}}",
        "[L] \"x\"{f=Arial sz=12 name=fin} \"y\"{f=Arial sz=12 href=#fin}\n");
    row("link to a bookmark in a file",
        "{\\field{\\*\\fldinst HYPERLINK \"notes.doc\" \\\\l \"fin\" \\\\o \"Voir\"}{\\fldrslt y}}",
        "[L] \"y\"{f=Arial sz=12 href=notes.doc#fin}\n");
    row("huge size clamped", "\\fs99999999999 a", "[L] \"a\"{f=Arial sz=1638}\n");
}

void TestRtfReader::formats()
{
    QFETCH(QByteArray, rtf);
    QFETCH(QString, dump);
    QTextDocument document;
    RtfReader reader;
    QVERIFY2(reader.read(rtf, &document), qPrintable(reader.errorString()));
    QCOMPARE(dumpDocument(document), dump);
}

void TestRtfReader::finalParagraphMark()
{
    // "\par" before the closing brace ends the last paragraph; it does not
    // open an empty one. Two marks leave one empty paragraph.
    QTextDocument document;
    RtfReader reader;
    QVERIFY(reader.read(QByteArrayView("{\\rtf1 \\qc a\\par}"), &document));
    QCOMPARE(document.blockCount(), 1);
    QCOMPARE(document.begin().blockFormat().alignment() & Qt::AlignHorizontal_Mask,
             Qt::AlignHCenter);
    QVERIFY(reader.read(QByteArrayView("{\\rtf1 a\\par\\par}"), &document));
    QCOMPARE(document.toPlainText(), QStringLiteral("a\n"));
}

void TestRtfReader::readsFromDevice()
{
    QByteArray bytes = golden("wordpad-symbols.rtf");
    QBuffer buffer(&bytes);
    QTextDocument document;
    document.setPlainText(QStringLiteral("avant"));
    RtfReader reader;
    QVERIFY(reader.read(&buffer, &document));
    QVERIFY(document.toPlainText().startsWith(QStringLiteral("Chute dans")));
    QVERIFY(!document.isUndoAvailable());
}

void TestRtfReader::hostileInput_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("empty") << QByteArray() << false;
    QTest::newRow("not rtf") << QByteArray("Bonjour") << false;
    QTest::newRow("binary") << QByteArray("\x00\xff\xfe{\\rtf", 8) << false;
    QTest::newRow("truncated") << QByteArray("{\\rtf1 {\\b texte") << false;
    QTest::newRow("truncated hex") << QByteArray("{\\rtf1 a\\'") << false;
    QTest::newRow("truncated bin") << QByteArray("{\\rtf1 \\bin999 ab}") << false;
    QTest::newRow("huge bin") << QByteArray("{\\rtf1 \\bin99999999999999999999 }") << false;
    QTest::newRow("negative bin") << QByteArray("{\\rtf1 \\bin-5 a}") << true;
    QTest::newRow("too deep") << QByteArray("{\\rtf1 ") + QByteArray(100000, '{') << false;
    QTest::newRow("too deep though closed")
        << QByteArray("{\\rtf1 ") + QByteArray(300, '{') + QByteArray(300, '}') + "}" << false;
    QTest::newRow("deep but closed")
        << QByteArray("{\\rtf1 ") + QByteArray(200, '{') + "x" + QByteArray(200, '}') + "}" << true;
    QTest::newRow("extra closing") << QByteArray("{\\rtf1 a}}}}") << true;
    QTest::newRow("huge numbers") << QByteArray("{\\rtf1 \\fs-99999999999\\li999999999999\\uc99999"
                                                "\\u99999999999\\cf-5\\f-2147483648 a}")
                                  << true;
    QTest::newRow("long word") << QByteArray("{\\rtf1 \\") + QByteArray(100000, 'a') + "}" << true;
    QTest::newRow("many cells") << QByteArray("{\\rtf1 \\trowd\\intbl ")
            + QByteArray("x\\cell ").repeated(20000)
            + "\\row}" << true;
    QTest::newRow("many rows") << QByteArray("{\\rtf1 ")
            + QByteArray("\\trowd\\cellx1\\intbl x\\cell\\row ").repeated(20000)
            + "}" << true;
    QTest::newRow("bad picture") << QByteArray("{\\rtf1 {\\pict\\pngblip 89504e47zz}a}") << true;
    // A PNG header announcing 100000 x 100000 pixels.
    QTest::newRow("giant picture")
        << QByteArray("{\\rtf1 {\\pict\\pngblip\\picwgoal99999999 89504e470d0a1a0a0000000d49484452"
                      "000186a0000186a00802000000}a}")
        << true;
    QTest::newRow("fonts without names")
        << QByteArray("{\\rtf1{\\fonttbl\\f0\\f1;{\\f2}}\\f2 a}") << true;
    QTest::newRow("metafile without records")
        << QByteArray("{\\rtf1 {\\pict\\wmetafile8\\picwgoal300\\pichgoal300 "
                      "010009000003ffffff7f0000ffffffff0000}a}")
        << true;
    QTest::newRow("metafile record past its end")
        << QByteArray("{\\rtf1 {\\pict\\wmetafile8\\picwgoal300\\pichgoal300 "
                      "0100090000030000000000000000000000ffffff7f2403ffff}a}")
        << true;
    QTest::newRow("metafile polygon longer than its record")
        << QByteArray("{\\rtf1 {\\pict\\wmetafile8\\picwgoal300\\pichgoal300 "
                      "01000900000300000000000000000000000400000024030f000000}a}")
        << true;
    QTest::newRow("metafile huge window")
        << QByteArray("{\\rtf1 {\\pict\\wmetafile8\\picwgoal31680\\pichgoal31680 "
                      "0100090000030000000000000000000000050000000c0201000100"
                      "070000001b04ff7fff7f00000000}a}")
        << true;
    QTest::newRow("footnotes nested")
        << QByteArray("{\\rtf1 a{\\footnote b{\\footnote c}\\trowd\\intbl d\\cell}e}") << true;
    QTest::newRow("nested destinations") << QByteArray("{\\rtf1{\\fonttbl{\\colortbl{\\pict{\\field"
                                                       "{\\fldinst{\\fldrslt x}}}}}}y}")
                                         << true;
}

void TestRtfReader::hostileInput()
{
    QFETCH(QByteArray, rtf);
    QFETCH(bool, accepted);
    QTextDocument document;
    document.setPlainText(QStringLiteral("garde"));
    RtfReader reader;
    QElapsedTimer timer;
    timer.start();
    QCOMPARE(reader.read(rtf, &document), accepted);
    QVERIFY2(timer.elapsed() < 5000, qPrintable(QString::number(timer.elapsed())));
    if (!accepted) {
        QVERIFY(!reader.errorString().isEmpty());
        QCOMPARE(document.toPlainText(), QStringLiteral("garde"));
    }
}

QTEST_MAIN(TestRtfReader)
#include "tst_rtfreader.moc"
