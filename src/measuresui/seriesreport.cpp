// SPDX-License-Identifier: GPL-3.0-or-later
#include "seriesreport.h"

#include "seriesplot.h"
#include "seriestablemodel.h"
#include "trialplot.h"

#include "core/numberformat.h"
#include "measures/terminalvelocity.h"
#include "measures/uncertaintyreport.h"

#include <QImage>
#include <QPainter>
#include <QUrl>

#include <cmath>

namespace {

// The pictures are drawn at twice the size they take on the page, so that
// they print sharp. Their text is 13 px of the 640: on an A4 page about the
// size of the report's own text.
constexpr int pictureWidth = 640;
constexpr int pictureScale = 2;
constexpr int pictureFontPixels = 13;

// A heading that starts a page: the figure or the trial under it stays with
// it (a rich-text document moves a picture whole to the next page, and
// would leave its heading behind).
QString pageHeading(int level, const QString &text)
{
    return QStringLiteral("<h%1 style=\"page-break-before: always\">%2</h%1>").arg(level).arg(text);
}

QString escaped(const QString &text)
{
    return text.toHtmlEscaped();
}

QString paragraphs(const QStringList &lines)
{
    QString html;
    for (const QString &line : lines)
        html += QStringLiteral("<p>%1</p>").arg(escaped(line));
    return html;
}

using Pictures = std::vector<std::pair<QUrl, QImage>>;

// A picture of the report, painted by paint, for the document's resources
// once its text is set (setting it clears them).
template<typename Paint>
QString picture(Pictures &pictures, const QString &name, int height, Paint paint)
{
    QImage image(pictureWidth * pictureScale, height * pictureScale, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        QFont font = painter.font();
        font.setPixelSize(pictureFontPixels * pictureScale);
        painter.setFont(font);
        paint(painter, QRectF(0, 0, image.width(), image.height()));
    }
    const QUrl url(QStringLiteral("lorva:%1.png").arg(name));
    pictures.emplace_back(url, image);
    return QStringLiteral("<p><img src=\"%1\" width=\"%2\" height=\"%3\"></p>")
        .arg(url.toString())
        .arg(pictureWidth)
        .arg(height);
}

QStringList setupLines(const std::vector<SeriesEntry> &entries, const SeriesSetup &setup)
{
    const SeriesFall &first = entries.front().fall;
    QStringList lines;
    lines << QStringLiteral("Fluide : masse volumique %1 kg/m³")
                 .arg(FallSeries::measured(setup.fluidDensity, setup.fluidDensityU));
    if (std::isnan(first.setup.tubeDiameter))
        lines << QStringLiteral("Tube : non indiqué, sans correction de paroi");
    else
        lines << QStringLiteral("Tube : diamètre intérieur %1 mm (v∞ corrigée de l'effet des "
                                "parois)")
                     .arg(FallSeries::measured(1e3 * first.setup.tubeDiameter,
                                               1e3 * first.inputs.uTubeDiameter));
    lines << QStringLiteral("Modèle : %1")
                 .arg(first.options.model == FitOptions::Model::Stokes
                          ? QStringLiteral("loi de Stokes (celle du simulateur)")
                          : QStringLiteral("courbe de traînée standard, avec la masse ajoutée"));
    lines << QStringLiteral("g = %1 m/s²")
                 .arg(NumberFormat::generalDouble(TerminalVelocity::gravity(first.options.model)));
    lines << QStringLiteral("Essais : %1").arg(entries.size());
    return lines;
}

QString tableHtml(const std::vector<SeriesTrial> &trials, const SeriesResult &result)
{
    // The header row repeats on every page a long series' table takes.
    QString html
        = QStringLiteral("<table border=\"1\" cellspacing=\"0\" cellpadding=\"3\"><thead><tr>");
    for (int c = 0; c < SeriesTableModel::ColumnCount; ++c)
        html += QStringLiteral("<th>%1</th>").arg(escaped(SeriesTableModel::header(c)));
    html += QStringLiteral("</tr></thead>");
    for (int r = 0; r < int(trials.size()); ++r) {
        html += QStringLiteral("<tr>");
        for (int c = 0; c < SeriesTableModel::ColumnCount; ++c)
            html += QStringLiteral("<td>%1</td>")
                        .arg(escaped(SeriesTableModel::cell(trials, result, r, c)));
        html += QStringLiteral("</tr>");
    }
    return html + QStringLiteral("</table>");
}

QStringList trialLines(const SeriesEntry &e)
{
    const SeriesTrial &t = e.trial;
    QStringList lines;
    lines << QStringLiteral("Bille : rayon %1 mm, masse volumique %2 kg/m³")
                 .arg(FallSeries::measured(1e3 * t.radius, 1e3 * t.radiusU),
                      FallSeries::measured(t.density, t.densityU));
    lines << QStringLiteral("η = %1 Pa·s ; v∞ sans paroi = %2 m/s ; Re = %3")
                 .arg(FallSeries::measured(t.eta, t.etaU),
                      FallSeries::measured(t.velocity, t.velocityU),
                      NumberFormat::significant(t.reynolds, 2));
    lines << QStringLiteral("Points utilisés : %1 ; écart quadratique moyen des résidus : %2 mm")
                 .arg(e.fit.used)
                 .arg(NumberFormat::significant(1e3 * e.fit.rmsResidual, 2));
    if (!t.used)
        lines << QStringLiteral("Essai laissé de côté dans la série.");
    return lines;
}

} // namespace

namespace SeriesReport {

std::unique_ptr<QTextDocument> document(const std::vector<SeriesEntry> &entries,
                                        const SeriesSetup &setup, const SeriesResult &result,
                                        const QStringList &resultLines)
{
    auto doc = std::make_unique<QTextDocument>();
    doc->setMetaInformation(QTextDocument::DocumentTitle,
                            QStringLiteral("Rapport : viscosité par la chute de billes"));
    if (entries.empty())
        return doc;
    Pictures pictures;
    std::vector<SeriesTrial> trials;
    for (const SeriesEntry &e : entries)
        trials.push_back(e.trial);

    QString html = QStringLiteral("<h1>Viscosité par la chute de billes : rapport de la "
                                  "série</h1>");
    html += QStringLiteral("<h2>Montage</h2>") + paragraphs(setupLines(entries, setup));
    html += QStringLiteral("<h2>Résultat</h2>") + paragraphs(resultLines);
    html += QStringLiteral("<h2>Tableau des essais</h2>") + tableHtml(trials, result);

    const SeriesPlotData data = SeriesPlot::dataOf(trials, result, setup.fluidDensity);
    html += pageHeading(2, QStringLiteral("v∞ en fonction de r²"));
    html += picture(pictures, QStringLiteral("serie"), 360,
                    [&data](QPainter &p, const QRectF &r) { SeriesPlot::paint(p, r, data); });

    // One trial a page, its graph and its budget together.
    html += pageHeading(2, QStringLiteral("Les essais et leur bilan d'incertitude"));
    for (size_t i = 0; i < entries.size(); ++i) {
        const SeriesEntry &e = entries[i];
        const QString heading
            = QStringLiteral("Essai %1 : %2").arg(i + 1).arg(escaped(e.fall.label));
        html += i == 0 ? QStringLiteral("<h3>%1</h3>").arg(heading) : pageHeading(3, heading);
        html += paragraphs(trialLines(e));
        html += picture(pictures, QStringLiteral("essai%1").arg(i + 1), 380,
                        [&e](QPainter &p, const QRectF &r) { TrialPlot::paint(p, r, e.fit); });
        const EtaUncertainty::Combined c = EtaUncertainty::combine(e.fit, e.fall.inputs);
        if (c.ok)
            html += paragraphs(UncertaintyReport::budgetLines(c.inputs, c.final));
    }
    doc->setHtml(html);
    for (const auto &[url, image] : pictures)
        doc->addResource(QTextDocument::ImageResource, url, image);
    return doc;
}

} // namespace SeriesReport
