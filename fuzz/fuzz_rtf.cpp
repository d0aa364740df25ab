// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer target for the RTF reader and writer.
//
// Every input is read as an RTF text. When the reader accepts it, the
// document is written back, and that RTF must be accepted again and read to
// the same plain text: a text the writer produces that the reader refuses or
// reads differently is a fault. The target aborts on any crash, sanitizer
// report, or on these two disagreements.

#include "richtext/rtfreader.h"
#include "richtext/rtfwriter.h"

#include <QGuiApplication>
#include <QImageReader>
#include <QTextDocument>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    // Fonts need a GUI application; the offscreen platform needs no display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication app(*argc, *argv);
    // Pictures are decoded: keep their memory within the fuzzer's limits.
    QImageReader::setAllocationLimit(64);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArrayView input(reinterpret_cast<const char *>(data), qsizetype(size));
    QTextDocument document;
    RtfReader reader;
    if (!reader.read(input, &document))
        return 0;
    RtfWriter writer;
    const QByteArray written = writer.write(&document);
    QTextDocument again;
    if (!reader.read(written, &again)) {
        std::fprintf(stderr, "written RTF refused: %s\n", qPrintable(reader.errorString()));
        std::abort();
    }
    if (again.toRawText() != document.toRawText()) {
        std::fprintf(stderr, "written RTF reads differently:\n%s\n---\n%s\n",
                     qPrintable(document.toRawText()), qPrintable(again.toRawText()));
        std::abort();
    }
    return 0;
}
