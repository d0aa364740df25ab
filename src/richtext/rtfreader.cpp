// SPDX-License-Identifier: GPL-3.0-or-later
#include "rtfreader.h"

#include "rtfparser.h"
#include "rtftokenizer.h"

#include <QIODevice>
#include <QTextDocument>

bool RtfReader::read(QByteArrayView rtf, QTextDocument *document)
{
    m_error.clear();
    RtfTokenizer tokenizer;
    std::vector<RtfToken> tokens;
    if (!tokenizer.tokenize(rtf, &tokens)) {
        m_error = tokenizer.errorString();
        return false;
    }
    const bool undo = document->isUndoRedoEnabled();
    // Without undo the document neither records nor keeps the loading steps.
    document->setUndoRedoEnabled(false);
    document->clear();
    RtfParser parser(document);
    parser.parse(tokens);
    document->setUndoRedoEnabled(undo);
    document->setModified(false);
    return true;
}

bool RtfReader::read(QIODevice *device, QTextDocument *document)
{
    m_error.clear();
    if (!device->isOpen() && !device->open(QIODevice::ReadOnly)) {
        m_error = QStringLiteral("Lecture du fichier impossible : %1").arg(device->errorString());
        return false;
    }
    if (!device->isSequential() && device->size() > maxFileSize) {
        m_error = QStringLiteral("Le fichier est trop volumineux pour être un texte.");
        return false;
    }
    const QByteArray bytes = device->read(maxFileSize + 1);
    if (bytes.size() > maxFileSize) {
        m_error = QStringLiteral("Le fichier est trop volumineux pour être un texte.");
        return false;
    }
    return read(QByteArrayView(bytes), document);
}
