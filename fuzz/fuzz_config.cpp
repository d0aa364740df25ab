// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer target for the configuration reader.
//
// Arbitrary bytes are read as a configuration file. The reader must never
// crash, and whatever it accepts must hold values in their ranges and come
// back unchanged when written and read again.

#include "config/configuration.h"

#include <QByteArray>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

[[noreturn]] void fail(const char *what)
{
    std::fprintf(stderr, "fuzz_config: %s\n", what);
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    ConfigurationReader reader;
    const std::optional<Configuration> c = reader.read(bytes);
    if (!c) {
        if (reader.error() == ConfigurationReader::NoError || reader.errorString().isEmpty())
            fail("refused without a reason");
        return 0;
    }
    if (reader.error() != ConfigurationReader::NoError)
        fail("accepted with an error");
    const DisplayOptions &o = c->options;
    if (o.velocityScale < DisplayOptions::scaleMinimum
        || o.velocityScale > DisplayOptions::scaleMaximum
        || o.forceScale < DisplayOptions::scaleMinimum
        || o.forceScale > DisplayOptions::scaleMaximum)
        fail("scale out of range");
    if (o.graphQuantity < DisplayOptions::Position
        || o.graphQuantity > DisplayOptions::Acceleration)
        fail("quantity out of range");

    // Texts read from a record always fit one again, so the writer accepts
    // them and the reader gives the same configuration back.
    ConfigurationWriter writer;
    const std::optional<QByteArray> written = writer.toBytes(*c);
    if (!written)
        fail("an accepted configuration cannot be written");
    const std::optional<Configuration> again = reader.read(*written);
    if (!again || !(*again == *c))
        fail("written and read again, the configuration changed");
    return 0;
}
