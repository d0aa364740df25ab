// SPDX-License-Identifier: GPL-3.0-or-later
#include "richtext/documentdump.h"
#include "richtext/rtfreader.h"
#include "richtext/rtfwriter.h"

#include <QFile>
#include <QImage>
#include <QSaveFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTextDocument>
#include <QTextTable>

class TestRtfWriter : public QObject
{
    Q_OBJECT

private slots:
    void roundTripOfFiles_data();
    void roundTripOfFiles();
    void keptOnSave_data();
    void keptOnSave();
    void roundTripOfBuiltDocument();
    void characters_data();
    void characters();
    void symbolFontRoundTrip_data();
    void symbolFontRoundTrip();
    void savesThroughSaveFile();
    void libreOfficeReadsOurText();

private:
    static void buildDocument(QTextDocument *document);
};

static QByteArray rtfOf(const QTextDocument &document)
{
    RtfWriter writer;
    return writer.write(&document);
}

void TestRtfWriter::roundTripOfFiles_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("wordpad") << QStringLiteral("wordpad-symbols.rtf");
    QTest::newRow("libreoffice formats") << QStringLiteral("libreoffice-formats.rtf");
    QTest::newRow("libreoffice image") << QStringLiteral("libreoffice-image.rtf");
    QTest::newRow("word equation") << QStringLiteral("word-equation.rtf");
    QTest::newRow("word layout") << QStringLiteral("word-layout.rtf");
    QTest::newRow("libreoffice lists") << QStringLiteral("libreoffice-lists.rtf");
}

// The group that opens at start in rtf, braces included; empty when it does
// not close.
static QByteArray groupAt(const QByteArray &rtf, qsizetype start)
{
    int depth = 0;
    for (qsizetype i = start; start >= 0 && i < rtf.size(); ++i) {
        if (rtf.at(i) == '\\')
            ++i;
        else if (rtf.at(i) == '{')
            ++depth;
        else if (rtf.at(i) == '}' && --depth == 0)
            return rtf.mid(start, i + 1 - start);
    }
    return {};
}

void TestRtfWriter::keptOnSave_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("group");    // a group of the file kept byte for byte
    QTest::addColumn<QByteArray>("expected"); // what the saved text holds
    const auto row
        = [](const char *name, const char *file, const char *group, const char *expected) {
              QTest::newRow(name) << QString::fromLatin1(file) << QByteArray(group)
                                  << QByteArray(expected);
          };
    row("equation object", "word-equation.rtf", "{\\object", "");
    row("metafile picture", "word-equation.rtf", "{\\pict\\wmetafile8\\picw847", "");
    row("picture not shown", "word-equation.rtf", "{\\pict\\emfblip", "");
    row("document information", "word-equation.rtf", "{\\info", "");
    row("list table", "libreoffice-lists.rtf", "{\\*\\listtable", "");
    row("list overrides", "libreoffice-lists.rtf", "{\\listoverridetable", "");
    row("nested list level", "libreoffice-lists.rtf", "", "\\ls1\\ilvl2 {\\listtext ");
    row("numbered list", "libreoffice-lists.rtf", "",
        "\\ls2\\ilvl0 {\\listtext {\\f4\\fs24 1.\\tab }}");
    row("bullet fonts keep their numbers", "libreoffice-lists.rtf", "",
        "{\\f5\\fnil\\fcharset2 Wingdings;}");
    row("column widths", "word-layout.rtf", "", "\\cellx2000\\clbrdrt");
    row("second column", "word-layout.rtf", "", "\\cellx6000\r\n");
    row("page break", "word-layout.rtf", "", "\\pard\\pagebb {\\f0\\fs24 Deuxi");
    row("hanging indent tab", "word-layout.rtf", "", "\\li720\\fi-360\\tx720 ");
    row("link to a bookmark", "word-layout.rtf", "", "HYPERLINK \\\\l \"resultats\"");
    row("bookmark", "word-layout.rtf", "", "{\\*\\bkmkstart resultats}");
    row("capitals", "word-layout.rtf", "", "\\caps Chute");
    row("small capitals", "word-layout.rtf", "", "\\scaps petites");
}

void TestRtfWriter::keptOnSave()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, group);
    QFETCH(QByteArray, expected);
    QFile file(QFINDTESTDATA(QStringLiteral("../data/richtext/") + name));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray original = file.readAll();
    QTextDocument document;
    RtfReader reader;
    QVERIFY(reader.read(original, &document));
    const QByteArray written = rtfOf(document);
    if (!group.isEmpty()) {
        const QByteArray kept = groupAt(original, original.indexOf(group));
        QVERIFY2(kept.size() > group.size(), group.constData());
        QVERIFY2(written.contains(kept), written.constData());
        QCOMPARE(written.count(group), original.count(group));
    }
    QVERIFY2(written.contains(expected), written.constData());
}

void TestRtfWriter::roundTripOfFiles()
{
    QFETCH(QString, name);
    QFile file(QFINDTESTDATA(QStringLiteral("../data/richtext/") + name));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QTextDocument first;
    RtfReader reader;
    QVERIFY(reader.read(&file, &first));
    const QByteArray written = rtfOf(first);
    QTextDocument second;
    QVERIFY2(reader.read(written, &second), qPrintable(reader.errorString()));
    QCOMPARE(dumpDocument(second), dumpDocument(first));
    // Writing again gives the same bytes, pictures included.
    QCOMPARE(rtfOf(second), written);
}

void TestRtfWriter::buildDocument(QTextDocument *document)
{
    QTextCursor cursor(document);
    QTextCharFormat base;
    base.setFontFamilies({QStringLiteral("Arial")});
    base.setFontPointSize(12);
    const auto add = [&](const QString &text, auto change) {
        QTextCharFormat format = base;
        change(format);
        cursor.insertText(text, format);
    };
    const auto same = [](QTextCharFormat &) {};
    QTextBlockFormat centred;
    centred.setAlignment(Qt::AlignHCenter);
    cursor.setBlockFormat(centred);
    add(QStringLiteral("Titre "), [](QTextCharFormat &f) { f.setFontWeight(QFont::Bold); });
    add(QStringLiteral("grand"), [](QTextCharFormat &f) {
        f.setFontPointSize(20);
        f.setFontFamilies({QStringLiteral("Times New Roman")});
    });
    QTextBlockFormat indented;
    indented.setLeftMargin(48);
    indented.setRightMargin(12);
    indented.setTextIndent(-24);
    indented.setTopMargin(6);
    indented.setBottomMargin(10);
    indented.setAlignment(Qt::AlignJustify);
    cursor.insertBlock(indented);
    add(QStringLiteral("v"), same);
    add(QStringLiteral("lim"),
        [](QTextCharFormat &f) { f.setVerticalAlignment(QTextCharFormat::AlignSubScript); });
    add(QStringLiteral(" = 1 m·s"), same);
    add(QStringLiteral("-1"),
        [](QTextCharFormat &f) { f.setVerticalAlignment(QTextCharFormat::AlignSuperScript); });
    add(QStringLiteral(" italique"), [](QTextCharFormat &f) { f.setFontItalic(true); });
    add(QStringLiteral(" souligné barré"), [](QTextCharFormat &f) {
        f.setFontUnderline(true);
        f.setFontStrikeOut(true);
    });
    add(QStringLiteral(" rouge sur jaune"), [](QTextCharFormat &f) {
        f.setForeground(QColor(200, 0, 0));
        f.setBackground(QColor(255, 255, 0));
    });
    QTextBlockFormat right;
    right.setAlignment(Qt::AlignRight);
    cursor.insertBlock(right);
    add(QStringLiteral("τ ρ η → ≈ é € œ 𝑥 {a} \\b\tc\u2028d\u00a0e"), same);
    add(QStringLiteral("lien"), [](QTextCharFormat &f) {
        f.setAnchor(true);
        f.setAnchorHref(QStringLiteral("https://example.org/?a=1&b=\"2\""));
    });
    cursor.insertBlock(QTextBlockFormat());
    QImage image(5, 4, QImage::Format_RGB32);
    image.fill(QColor(0, 128, 0));
    document->addResource(QTextDocument::ImageResource, QUrl(QStringLiteral("img:1")), image);
    QTextImageFormat picture;
    picture.setName(QStringLiteral("img:1"));
    picture.setWidth(10);
    picture.setHeight(8);
    cursor.insertImage(picture);
    cursor.insertBlock(QTextBlockFormat());
    QTextTable *table = cursor.insertTable(2, 3);
    for (int row = 0; row < 2; ++row) {
        for (int column = 0; column < 3; ++column) {
            cursor = table->cellAt(row, column).firstCursorPosition();
            cursor.insertText(QStringLiteral("c%1%2").arg(row).arg(column), base);
        }
    }
    cursor = table->cellAt(1, 1).lastCursorPosition();
    cursor.insertBlock();
    cursor.insertText(QStringLiteral("deux lignes"), base);
    cursor = table->lastCursorPosition();
    cursor.movePosition(QTextCursor::NextBlock);
    cursor.insertText(QStringLiteral("Fin."), base);
}

void TestRtfWriter::roundTripOfBuiltDocument()
{
    QTextDocument document;
    buildDocument(&document);
    const QByteArray written = rtfOf(document);
    QTextDocument back;
    RtfReader reader;
    QVERIFY2(reader.read(written, &back), qPrintable(reader.errorString()));
    QCOMPARE(dumpDocument(back), dumpDocument(document));
    QCOMPARE(back.toPlainText(), document.toPlainText());
    const QImage image
        = back.resource(
                  QTextDocument::ImageResource,
                  QUrl(formatAt(back, positionOf(back, QString(QChar::ObjectReplacementCharacter)))
                           .toImageFormat()
                           .name()))
              .value<QImage>();
    QCOMPARE(image.size(), QSize(5, 4));
    QCOMPARE(image.pixelColor(2, 2), QColor(0, 128, 0));
}

void TestRtfWriter::characters_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("latin") << QStringLiteral("é") << QByteArray("\\'e9");
    QTest::newRow("euro in 1252") << QStringLiteral("€") << QByteArray("\\'80");
    QTest::newRow("oe in 1252") << QStringLiteral("œ") << QByteArray("\\'9c");
    QTest::newRow("greek") << QStringLiteral("τ") << QByteArray("\\u964?");
    QTest::newRow("above 32767") << QStringLiteral("\uff21") << QByteArray("\\u-223?");
    QTest::newRow("surrogates") << QStringLiteral("𝑥") << QByteArray("\\u-10187?\\u-9115?");
    QTest::newRow("braces") << QStringLiteral("{\\}") << QByteArray("\\{\\\\\\}");
    QTest::newRow("tab") << QStringLiteral("a\tb") << QByteArray("a\\tab b");
    QTest::newRow("no-break space") << QStringLiteral("a\u00a0b") << QByteArray("a\\~b");
}

void TestRtfWriter::characters()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, expected);
    QTextDocument document;
    document.setPlainText(text);
    const QByteArray written = rtfOf(document);
    QVERIFY2(written.contains(expected), written.constData());
    QVERIFY(written.startsWith("{\\rtf1\\ansi\\ansicpg1252"));
    for (char c : written)
        QVERIFY(uchar(c) < 0x80);
    QTextDocument back;
    RtfReader reader;
    QVERIFY(reader.read(written, &back));
    QCOMPARE(back.toRawText(), document.toRawText());
}

// Texts the fuzzer found reading differently once written back: characters
// kept in a symbol font, odd font names, control characters.
void TestRtfWriter::symbolFontRoundTrip_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("text");
    const QByteArray fonts = "{\\rtf1{\\fonttbl{\\f0 Arial;}{\\f1\\fcharset2 Symbol;}}";
    QTest::newRow("quote in symbol font") << fonts + "\\f1 t\\rquote r}" << QStringLiteral("τ’ρ");
    QTest::newRow("letter by code in symbol font") << fonts + "\\f1\\u87?}" << QStringLiteral("W");
    QTest::newRow("control byte in font name")
        << QByteArray("{\\rtf1{\\fonttbl{\\f1\\fcharset2 \\'01Symbol;}}\\f1 \\'ae}")
        << QStringLiteral("→");
    QTest::newRow("undefined byte in font name")
        << QByteArray("{\\rtf1{\\fonttbl{\\f1\\fcharset2 Sym\\'81bol;}}\\f1 r}")
        << QStringLiteral("ρ");
    QTest::newRow("soft hyphen in font name")
        << QByteArray("{\\rtf1{\\fonttbl{\\f1\\fcharset2 Symb\\'adol;}}\\f1 r}")
        << QStringLiteral("r");
    QTest::newRow("delete character") << QByteArray("{\\rtf1 a\\'7fb\x7f"
                                                    "c}")
                                      << QStringLiteral("a b c");
    QTest::newRow("text before a kept group's word")
        << QByteArray("{\\rtf1 {r\\info x}{s\\pict\\emfblip 01}{t\\object 01}}")
        << QStringLiteral("rs\ufffct01");
    QTest::newRow("default font changed after text")
        << QByteArray("{\\rtf1{\\fonttbl{\\f0 Arial;}{\\f1 Symbol;}}a{\\deff1}b}")
        << QStringLiteral("aβ");
}

void TestRtfWriter::symbolFontRoundTrip()
{
    QFETCH(QByteArray, rtf);
    QFETCH(QString, text);
    QTextDocument document;
    RtfReader reader;
    QVERIFY2(reader.read(rtf, &document), qPrintable(reader.errorString()));
    QCOMPARE(document.toRawText(), text);
    QTextDocument back;
    QVERIFY(reader.read(rtfOf(document), &back));
    QCOMPARE(back.toRawText(), text);
}

void TestRtfWriter::savesThroughSaveFile()
{
    QTemporaryDir dir;
    QTextDocument document;
    buildDocument(&document);
    QSaveFile file(dir.filePath(QStringLiteral("texte.rtf")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    RtfWriter writer;
    QVERIFY(writer.write(&document, &file));
    QVERIFY(file.commit());
    QFile saved(file.fileName());
    QTextDocument back;
    RtfReader reader;
    QVERIFY(reader.read(&saved, &back));
    QCOMPARE(back.toPlainText(), document.toPlainText());
}

void TestRtfWriter::libreOfficeReadsOurText()
{
    // What LibreOffice reads from our RTF is committed beside that RTF:
    // tests/data/richtext/refresh-libreoffice.sh makes both again where
    // soffice is installed, through LORVA_RTF_GOLDEN_OUT.
    QTextDocument document;
    document.setPlainText(QStringLiteral("Chute d'une bille : τ = m/k, ρ ≈ 1,26 g·cm⁻³.\n"
                                         "Élève, cœur, « guillemets » — fin {ok}."));
    const QByteArray rtf = rtfOf(document);
    if (const QString out = qEnvironmentVariable("LORVA_RTF_GOLDEN_OUT"); !out.isEmpty()) {
        QFile written(out);
        QVERIFY(written.open(QIODevice::WriteOnly));
        QCOMPARE(written.write(rtf), rtf.size());
    }
    QFile golden(QFINDTESTDATA("../data/richtext/libreoffice-ours.rtf"));
    QVERIFY(golden.open(QIODevice::ReadOnly));
    QVERIFY2(golden.readAll() == rtf,
             "the RTF written has changed: run tests/data/richtext/refresh-libreoffice.sh");
    QFile text(QFINDTESTDATA("../data/richtext/libreoffice-ours.txt"));
    QVERIFY(text.open(QIODevice::ReadOnly));
    QString converted = QString::fromUtf8(text.readAll());
    converted.remove(QChar(0xFEFF));
    converted.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    QCOMPARE(converted.trimmed(), document.toPlainText());
}

QTEST_MAIN(TestRtfWriter)
#include "tst_rtfwriter.moc"
