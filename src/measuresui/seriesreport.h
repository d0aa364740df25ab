// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "seriespanel.h"

#include <QStringList>
#include <QTextDocument>

#include <memory>
#include <vector>

// The lab report of a series, as a group hands it in: the set-up (fluid,
// tube, model, g), the result (the series' lines with the reference and z
// when one is typed), the table of the trials, the plot of v∞ against r²,
// then each trial with its graph and residuals and its uncertainty budget.
// A rich-text document that the program's text printing paginates, to a
// printer or a PDF file.
namespace SeriesReport {

std::unique_ptr<QTextDocument> document(const std::vector<SeriesEntry> &entries,
                                        const SeriesSetup &setup, const SeriesResult &result,
                                        const QStringList &resultLines);

} // namespace SeriesReport
