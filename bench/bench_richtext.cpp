// SPDX-License-Identifier: GPL-3.0-or-later
// Speed of the RTF reader and writer on a 1 MB text: an exercise statement
// repeated, with the formats, accents, Symbol-font letters and tables a
// teacher's text holds. Reading must stay well under 100 ms.
#include "richtext/rtfreader.h"
#include "richtext/rtfwriter.h"

#include "offscreenmain.h"

#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QTextDocument>

namespace {

QByteArray megabyteOfRtf()
{
    const QByteArray head
        = "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1036{\\fonttbl{\\f0\\fnil"
          "\\fcharset0 Arial;}{\\f1\\fnil\\fcharset2 Symbol;}}\r\n{\\colortbl ;"
          "\\red255\\green0\\blue0;\\red0\\green0\\blue255;}\r\n\\viewkind4\\uc1\r\n";
    const QByteArray paragraph
        = "\\pard\\sa200\\qj\\f0\\fs24 Une bille d\\rquote acier de masse \\b m\\b0  = 5 g "
          "tombe dans l\\'e9l\\'e9ment visqueux ; la constante de temps \\f1 t\\f0  et la "
          "viscosit\\'e9 \\f1 h\\f0  d\\'e9terminent la vitesse v\\sub lim\\nosupersub  = "
          "0,35 m\\'b7s\\super -1\\nosupersub . \\cf1\\i Attention\\cf0\\i0  : \\u8776? "
          "\\ul r\\'e9sultat\\ulnone  \\cf2 \\'e0 v\\'e9rifier\\cf0 .\\par\r\n";
    const QByteArray table
        = "\\trowd\\cellx3000\\cellx6000\\pard\\intbl Masse\\cell 5 g\\cell\\row"
          "\\trowd\\cellx3000\\cellx6000\\pard\\intbl Rayon\\cell 1 cm\\cell\\row"
          "\\pard\r\n";
    QByteArray rtf = head;
    int count = 0;
    while (rtf.size() < 1024 * 1024) {
        rtf += paragraph;
        if (++count % 20 == 0)
            rtf += table;
    }
    rtf += "}";
    return rtf;
}

void readRtf(benchmark::State &state)
{
    const QByteArray rtf = megabyteOfRtf();
    for (auto _ : state) {
        QTextDocument document;
        RtfReader reader;
        benchmark::DoNotOptimize(reader.read(rtf, &document));
    }
    state.SetBytesProcessed(state.iterations() * rtf.size());
}
BENCHMARK(readRtf)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly();

void writeRtf(benchmark::State &state)
{
    QTextDocument document;
    RtfReader reader;
    reader.read(megabyteOfRtf(), &document);
    for (auto _ : state) {
        RtfWriter writer;
        benchmark::DoNotOptimize(writer.write(&document));
    }
}
BENCHMARK(writeRtf)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly();

} // namespace

int main(int argc, char **argv)
{
    return runOffscreenBenchmarks<QGuiApplication>(argc, argv);
}
