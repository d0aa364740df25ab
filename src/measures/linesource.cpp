// SPDX-License-Identifier: GPL-3.0-or-later
#include "linesource.h"

#include "core/windows1252.h"

#include <QIODevice>

#include <algorithm>
#include <cstring>

namespace {

// Reads start small, for the many short tables, and double up to the largest
// chunk while the device fills them.
constexpr qint64 firstChunkBytes = 4 * 1024;
constexpr qint64 chunkBytes = 64 * 1024;

bool isAscii(const char *bytes, qsizetype size)
{
    unsigned char any = 0;
    for (qsizetype i = 0; i < size; ++i)
        any |= static_cast<unsigned char>(bytes[i]);
    return any < 0x80;
}

} // namespace

LineSource::LineSource(QIODevice *device)
    : m_device(device)
{ }

bool LineSource::fail(const QString &message)
{
    if (m_error.isEmpty())
        m_error = message;
    m_atEnd = true;
    return false;
}

bool LineSource::fill()
{
    if (m_atEnd)
        return false;
    if (m_pos > 0) {
        // Moved by hand: the buffer keeps its capacity at its end, where reads go.
        const qsizetype rest = m_buffer.size() - m_pos;
        std::memmove(m_buffer.data(), m_buffer.constData() + m_pos, size_t(rest));
        m_buffer.resize(rest);
        m_pos = 0;
    }
    const qsizetype old = m_buffer.size();
    if (m_chunk == 0)
        m_chunk = firstChunkBytes;
    m_buffer.resize(old + m_chunk);
    const qint64 got = m_device ? m_device->read(m_buffer.data() + old, m_chunk) : -1;
    m_buffer.resize(old + (got > 0 ? got : 0));
    // A device that fills what is asked is asked more next time.
    if (got == m_chunk)
        m_chunk = std::min(2 * m_chunk, chunkBytes);
    if (got <= 0) {
        m_atEnd = true;
        return false;
    }
    m_total += got;
    if (m_total > maxBytes)
        return fail(QStringLiteral("Le fichier dépasse 128 Mo : ce n'est pas un tableau de "
                                   "mesures (arrêt à la ligne %1).")
                        .arg(m_line + 1));
    return true;
}

TableLayout::Encoding LineSource::encoding() const
{
    if (m_bom)
        return TableLayout::Encoding::Utf8Bom;
    if (m_windows1252)
        return TableLayout::Encoding::Windows1252;
    return m_utf8 ? TableLayout::Encoding::Utf8 : TableLayout::Encoding::Ascii;
}

void LineSource::decode(const char *bytes, qsizetype size, QString &line)
{
    if (isAscii(bytes, size)) {
        line = QString::fromLatin1(bytes, size);
        return;
    }
    m_utf8Decoder.resetState();
    line = m_utf8Decoder.decode(QByteArrayView(bytes, size));
    if (m_bom || !m_utf8Decoder.hasError()) {
        m_utf8 = true;
        return;
    }
    m_windows1252 = true;
    line = Windows1252::decode(QByteArrayView(bytes, size));
}

bool LineSource::next(QString &line)
{
    if (failed())
        return false;
    if (!m_started) {
        m_started = true;
        if (!m_device || !m_device->isReadable())
            return fail(QStringLiteral("Le fichier ne peut pas être lu."));
        while (m_buffer.size() < 3 && fill()) { }
        if (failed())
            return false;
        if (m_buffer.startsWith("\xEF\xBB\xBF")) {
            m_bom = true;
            m_pos = 3;
        } else if (m_buffer.startsWith("\xFF\xFE") || m_buffer.startsWith("\xFE\xFF")) {
            return fail(QStringLiteral("Le fichier est codé en UTF-16 : enregistrez-le en "
                                       "UTF-8 ou en texte Windows, puis importez-le."));
        }
    }

    qsizetype scan = m_pos;
    qsizetype end = -1;   // end of the line's bytes
    qsizetype after = -1; // start of the next line
    for (;;) {
        const char *data = m_buffer.constData();
        const qsizetype size = m_buffer.size();
        while (scan < size && data[scan] != '\n' && data[scan] != '\r')
            ++scan;
        if (scan < size) {
            if (data[scan] == '\r' && scan + 1 == size && !m_atEnd) {
                // The LF of a CRLF may be in the next chunk.
                const qsizetype offset = scan - m_pos;
                fill();
                if (failed())
                    return false;
                scan = m_pos + offset;
                continue;
            }
            end = scan;
            after = scan + 1;
            if (data[scan] == '\r' && after < size && data[after] == '\n')
                ++after;
            break;
        }
        if (size - m_pos > maxLineBytes)
            break;
        if (m_atEnd) {
            if (m_pos == size)
                return false;
            end = after = size;
            break;
        }
        const qsizetype offset = scan - m_pos;
        fill();
        if (failed())
            return false;
        scan = m_pos + offset;
    }

    ++m_line;
    if (end < 0 || end - m_pos > maxLineBytes)
        return fail(QStringLiteral("Ligne %1 : plus de 65 536 octets sur une ligne, ce n'est "
                                   "pas un tableau de mesures.")
                        .arg(m_line));
    if (m_line > maxLines)
        return fail(QStringLiteral("Le fichier dépasse 2 000 000 lignes (arrêt à la ligne %1).")
                        .arg(m_line));
    const char *bytes = m_buffer.constData() + m_pos;
    const qsizetype size = end - m_pos;
    if (std::memchr(bytes, 0, size_t(size)))
        return fail(
            QStringLiteral("Ligne %1 : octet nul, le fichier n'est pas un texte.").arg(m_line));
    decode(bytes, size, line);
    m_pos = after;
    return true;
}
