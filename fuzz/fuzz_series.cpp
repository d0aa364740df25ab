// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer target for the reader of series files.
//
// Arbitrary bytes are read as a series file, whole and through a device that
// hands them over a few bytes at a time. The reader must never crash, must
// give the same answer both ways, and either refuse with a message and an
// empty series or return one within its bounds whose values are finite and
// positive. An accepted series, written again, reads back to the same text.

#include "measures/seriesfile.h"

#include <QBuffer>
#include <QByteArray>

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

[[noreturn]] void fail(const char *what)
{
    std::fprintf(stderr, "fuzz_series: %s\n", what);
    std::abort();
}

class TrickleBuffer : public QBuffer
{
protected:
    qint64 readData(char *data, qint64 size) override
    {
        return QBuffer::readData(data, std::min<qint64>(size, 3));
    }
};

bool value(double v, double u)
{
    return std::isfinite(v) && v > 0.0 && std::isfinite(u) && u >= 0.0;
}

void check(const SeriesFileReader &reader, bool ok)
{
    const SeriesFileData &s = reader.series();
    if (!ok) {
        if (reader.errorString().isEmpty())
            fail("refused without a reason");
        if (!s.trials.empty())
            fail("refused with a partial series");
        return;
    }
    if (s.trials.empty() || s.trials.size() > size_t(SeriesFileReader::maxTrials))
        fail("trial count out of range");
    if (!value(s.fluidDensity, s.fluidDensityU))
        fail("a fluid density not finite and positive");
    if (!std::isnan(s.tubeDiameter) && !value(s.tubeDiameter, s.tubeDiameterU))
        fail("a tube not finite and positive");
    for (const SeriesFileTrial &t : s.trials) {
        if (t.file.isEmpty() || !value(t.radius, t.radiusU))
            fail("a trial without its file or radius");
        if (std::isnan(t.mass) == std::isnan(t.density))
            fail("a trial with neither or both of mass and density");
        if (!std::isnan(t.mass) && !value(t.mass, t.massU))
            fail("a mass not finite and positive");
        if (!std::isnan(t.density) && !value(t.density, t.densityU))
            fail("a density not finite and positive");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    SeriesFileReader whole;
    const bool ok = whole.read(bytes);
    check(whole, ok);

    TrickleBuffer trickle;
    trickle.setData(bytes);
    trickle.open(QIODevice::ReadOnly);
    SeriesFileReader piecewise;
    const bool piecewiseOk = piecewise.read(&trickle);
    check(piecewise, piecewiseOk);
    if (ok != piecewiseOk || whole.errorString() != piecewise.errorString())
        fail("reading in pieces differs from reading whole");
    if (!ok)
        return 0;

    // The written text reads back, and writing that again gives the same text.
    const QByteArray written = SeriesFile::bytes(whole.series());
    SeriesFileReader again;
    if (!again.read(written))
        fail("a written series is refused");
    if (again.series().trials.size() != whole.series().trials.size())
        fail("a written series lost trials");
    if (SeriesFile::bytes(again.series()) != written)
        fail("a written series does not read back the same");
    return 0;
}
