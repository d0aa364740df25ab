// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "richtext/rtfproperties.h"

#include <QColor>
#include <QString>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextTable>

// A text picture of a document's content and formats, one line per block,
// for comparing two documents in the richtext tests:
//   [C li=48 fi=-24 pb ls=1.0 cell=0,1] "text"{b i u s caps sup sub f=Arial sz=12 fg=#ff0000}
// (pb: a page break before the paragraph; ls: its list and level.)
inline QString dumpDocument(const QTextDocument &document)
{
    QString out;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        const QTextBlockFormat bf = block.blockFormat();
        const Qt::Alignment a = bf.alignment() & Qt::AlignHorizontal_Mask;
        out += u'[';
        out += a & Qt::AlignHCenter ? u'C'
            : a & Qt::AlignJustify  ? u'J'
            : a & Qt::AlignRight    ? u'R'
                                    : u'L';
        const auto length = [&out](const char *name, double value) {
            if (qRound(value) != 0)
                out += QStringLiteral(" %1=%2").arg(QLatin1String(name)).arg(qRound(value));
        };
        length("li", bf.leftMargin());
        length("ri", bf.rightMargin());
        length("fi", bf.textIndent());
        length("sb", bf.topMargin());
        length("sa", bf.bottomMargin());
        if (bf.pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore)
            out += QStringLiteral(" pb");
        if (bf.hasProperty(RtfProperties::ListOverride))
            out += QStringLiteral(" ls=%1.%2")
                       .arg(bf.intProperty(RtfProperties::ListOverride))
                       .arg(bf.intProperty(RtfProperties::ListLevel));
        if (QTextTable *table = QTextCursor(block).currentTable()) {
            const QTextTableCell cell = table->cellAt(block.position());
            out += QStringLiteral(" cell=%1,%2").arg(cell.row()).arg(cell.column());
        }
        out += u']';
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const QTextCharFormat f = fragment.charFormat();
            QStringList props;
            if (f.fontWeight() >= QFont::DemiBold)
                props << QStringLiteral("b");
            if (f.fontItalic())
                props << QStringLiteral("i");
            if (f.fontUnderline())
                props << QStringLiteral("u");
            if (f.fontStrikeOut())
                props << QStringLiteral("s");
            if (f.fontCapitalization() == QFont::AllUppercase)
                props << QStringLiteral("caps");
            if (f.fontCapitalization() == QFont::SmallCaps)
                props << QStringLiteral("scaps");
            if (f.verticalAlignment() == QTextCharFormat::AlignSuperScript)
                props << QStringLiteral("sup");
            if (f.verticalAlignment() == QTextCharFormat::AlignSubScript)
                props << QStringLiteral("sub");
            const QStringList families = f.fontFamilies().toStringList();
            if (!families.isEmpty())
                props << QStringLiteral("f=") + families.first();
            props << QStringLiteral("sz=%1").arg(f.fontPointSize());
            if (f.foreground().style() != Qt::NoBrush)
                props << QStringLiteral("fg=") + f.foreground().color().name();
            if (f.background().style() != Qt::NoBrush)
                props << QStringLiteral("bg=") + f.background().color().name();
            if (f.isAnchor() && !f.anchorHref().isEmpty())
                props << QStringLiteral("href=") + f.anchorHref();
            if (!f.anchorNames().isEmpty())
                props << QStringLiteral("name=") + f.anchorNames().join(u',');
            if (f.isImageFormat()) {
                const QTextImageFormat image = f.toImageFormat();
                props << QStringLiteral("image=%1x%2").arg(image.width()).arg(image.height());
            }
            QString text = fragment.text();
            text.replace(QChar::ObjectReplacementCharacter, QLatin1String("<obj>"));
            text.replace(QChar::LineSeparator, QLatin1String("<br>"));
            out += QStringLiteral(" \"%1\"{%2}").arg(text, props.join(u' '));
        }
        out += u'\n';
    }
    return out;
}

// The formats of the character at position in the document.
inline QTextCharFormat formatAt(const QTextDocument &document, int position)
{
    QTextCursor cursor(const_cast<QTextDocument *>(&document));
    cursor.setPosition(position + 1);
    return cursor.charFormat();
}

// The position of the first occurrence of text, -1 when absent.
inline int positionOf(const QTextDocument &document, const QString &text)
{
    return int(document.toPlainText().indexOf(text));
}
