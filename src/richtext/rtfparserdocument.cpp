// SPDX-License-Identifier: GPL-3.0-or-later
#include "rtfparser.h"

#include "rtfproperties.h"

#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QTextFrame>

#include <algorithm>

namespace {

// The name under which the platform's converters know a Windows code page.
QByteArray codePageName(int codePage)
{
    switch (codePage) {
    case 437:
    case 850:
    case 852:
    case 866:
        return "IBM" + QByteArray::number(codePage);
    case 874:
        return "windows-874";
    case 932:
        return "Shift_JIS";
    case 936:
        return "GBK";
    case 949:
        return "windows-949";
    case 950:
        return "Big5";
    case 10000:
        return "macintosh";
    default:
        if (codePage >= 1250 && codePage <= 1258)
            return "windows-" + QByteArray::number(codePage);
        return {};
    }
}

} // namespace

QStringDecoder *RtfParser::decoder(int codePage)
{
    // Windows-1252 is decoded here, like an unknown code page.
    if (codePage == 1252)
        return nullptr;
    const auto found = m_decoders.constFind(codePage);
    if (found != m_decoders.cend())
        return *found;
    QStringDecoder *made = nullptr;
    const QByteArray name = codePageName(codePage);
    if (!name.isEmpty()) {
        // Stateless: every run of bytes is decoded on its own.
        auto decoder
            = std::make_unique<QStringDecoder>(name.constData(), QStringConverter::Flag::Stateless);
        if (decoder->isValid()) {
            made = decoder.get();
            m_decoderStore.push_back(std::move(decoder));
        }
    }
    m_decoders.insert(codePage, made);
    return made;
}

// A footnote's text is gathered in a document of its own and shown after
// the text, each note after the number its mark shows.
void RtfParser::startFootnote()
{
    if (m_footnoteDepth > 0 || m_state.destination != Destination::Text || m_state.container > 0) {
        m_skippedDepth = 1;
        return;
    }
    flush();
    if (!m_notes) {
        m_notes = std::make_unique<QTextDocument>();
        m_notesBuilder = std::make_unique<RtfDocumentBuilder>(m_notes.get(), m_document);
    }
    m_stateOutsideNotes = m_pendingPara;
    m_rowOpenOutsideNotes = std::exchange(m_rowOpen, false);
    m_builder = m_notesBuilder.get();
    m_footnoteDepth = 1;
    m_state.para = ParaState();
}

void RtfParser::endFootnote()
{
    flush();
    m_builder->place(false);
    m_builder->endParagraph(blockFormat(ParaState()));
    m_builder = &m_main;
    m_pendingPara = m_stateOutsideNotes;
    m_rowOpen = m_rowOpenOutsideNotes;
}

void RtfParser::finishDocument()
{
    flush();
    m_main.finish(blockFormat(closingParagraph()));
    if (m_notes) {
        m_notesBuilder->finish(QTextBlockFormat());
        m_notesBuilder.reset();
        QTextCursor end(m_document);
        end.movePosition(QTextCursor::End);
        // An empty paragraph parts the notes from the text.
        end.insertBlock(QTextBlockFormat(), QTextCharFormat());
        end.insertBlock(QTextBlockFormat(), QTextCharFormat());
        end.insertFragment(QTextDocumentFragment(m_notes.get()));
    }
    QTextFrameFormat root = m_document->rootFrame()->frameFormat();
    if (!m_headerGroups.isEmpty())
        root.setProperty(RtfProperties::HeaderGroups, QVariant::fromValue(m_headerGroups));
    QList<int> indexes = m_fonts.keys();
    std::sort(indexes.begin(), indexes.end());
    QStringList fonts;
    for (int index : indexes) {
        const Font &font = m_fonts[index];
        if (!font.name.isEmpty())
            fonts.append(QStringLiteral("%1 %2").arg(index).arg(font.name));
    }
    if (!fonts.isEmpty() && !m_headerGroups.isEmpty())
        root.setProperty(RtfProperties::FontTable, fonts);
    m_document->rootFrame()->setFrameFormat(root);
}
