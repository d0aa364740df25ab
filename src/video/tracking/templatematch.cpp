// SPDX-License-Identifier: GPL-3.0-or-later
#include "templatematch.h"

#include <algorithm>
#include <cmath>

namespace {

// A patch whose grey levels vary less than this (sum of squares of the
// deviations per pixel) is flat: its correlation means nothing.
constexpr double flatVariancePerPixel = 1e-2;

} // namespace

void greyRegion(const QImage &image, QRect rect, std::vector<float> &out)
{
    const int w = rect.width(), h = rect.height();
    out.resize(size_t(w) * size_t(h));
    if (image.format() == QImage::Format_Grayscale8) {
        for (int y = 0; y < h; ++y) {
            const uchar *line = image.constScanLine(rect.y() + y) + rect.x();
            float *row = out.data() + size_t(y) * size_t(w);
            for (int x = 0; x < w; ++x)
                row[x] = float(line[x]) - 128.0f;
        }
        return;
    }
    if (image.format() == QImage::Format_RGB32 || image.format() == QImage::Format_ARGB32
        || image.format() == QImage::Format_ARGB32_Premultiplied) {
        for (int y = 0; y < h; ++y) {
            const QRgb *line
                = reinterpret_cast<const QRgb *>(image.constScanLine(rect.y() + y)) + rect.x();
            float *row = out.data() + size_t(y) * size_t(w);
            for (int x = 0; x < w; ++x)
                row[x] = float(qGray(line[x])) - 128.0f;
        }
        return;
    }
    greyRegion(image.copy(rect).convertToFormat(QImage::Format_Grayscale8), QRect(0, 0, w, h), out);
}

void smoothedRegion(const QImage &image, QRect rect, std::vector<float> &out,
                    std::vector<float> &work)
{
    const QRect big = rect.adjusted(-1, -1, 1, 1) & image.rect();
    greyRegion(image, big, work);
    const int bw = big.width(), bh = big.height();
    const int w = rect.width(), h = rect.height();
    const int ox = rect.x() - big.x(), oy = rect.y() - big.y();
    out.resize(size_t(w) * size_t(h));
    auto at = [&](int x, int y) {
        x = std::clamp(x, 0, bw - 1);
        y = std::clamp(y, 0, bh - 1);
        return work[size_t(y) * size_t(bw) + size_t(x)];
    };
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const int X = x + ox, Y = y + oy;
            float v = 0.0f;
            for (int j = -1; j <= 1; ++j) {
                const float wy = j == 0 ? 2.0f : 1.0f;
                v += wy * (at(X - 1, Y + j) + 2.0f * at(X, Y + j) + at(X + 1, Y + j));
            }
            out[size_t(y) * size_t(w) + size_t(x)] = v / 16.0f;
        }
    }
}

MatchTemplate::MatchTemplate(const QImage &image, QPoint centre, int half)
{
    const QRect box(centre.x() - half, centre.y() - half, 2 * half + 1, 2 * half + 1);
    if (half < 1 || image.isNull() || !image.rect().contains(box))
        return;
    std::vector<float> values, work;
    smoothedRegion(image, box, values, work);
    double mean = 0.0;
    for (float v : values)
        mean += v;
    mean /= double(values.size());
    double squares = 0.0;
    for (float &v : values) {
        v = float(v - mean);
        squares += double(v) * v;
    }
    if (squares < flatVariancePerPixel * double(values.size()))
        return;
    m_half = half;
    m_values = std::move(values);
    m_norm = std::sqrt(squares);
}

double MatchTemplate::halfTurnSymmetry() const
{
    if (isEmpty())
        return 0.0;
    // The values are zero-mean, and turning them keeps their norm.
    double dot = 0.0;
    const size_t n = m_values.size();
    for (size_t i = 0; i < n; ++i)
        dot += double(m_values[i]) * m_values[n - 1 - i];
    return dot / (m_norm * m_norm);
}

double parabolaPeak(double left, double centre, double right)
{
    const double curvature = left - 2.0 * centre + right;
    if (!(curvature < 0.0))
        return 0.0;
    return std::clamp(0.5 * (left - right) / curvature, -0.5, 0.5);
}

TemplateMatch TemplateMatcher::search(const QImage &image, const MatchTemplate &tmpl,
                                      QRect candidates)
{
    TemplateMatch match;
    if (tmpl.isEmpty() || image.isNull())
        return match;
    const int half = tmpl.m_half, side = tmpl.side();
    const QRect fits(half, half, image.width() - 2 * half, image.height() - 2 * half);
    const QRect wanted = candidates.normalized();
    const QRect cand = wanted & fits;
    if (cand.isEmpty())
        return match;
    match.clippedByPicture = cand != wanted;

    // The region every candidate's template square covers.
    const QRect region = cand.adjusted(-half, -half, half, half);
    const int rw = region.width(), rh = region.height();
    smoothedRegion(image, region, m_region, m_work);

    // Integral images of the grey levels and of their squares, for the mean
    // and the variance of each candidate square in four reads.
    const size_t iw = size_t(rw) + 1;
    m_sum.assign(iw * (size_t(rh) + 1), 0.0);
    m_sumSquares.assign(iw * (size_t(rh) + 1), 0.0);
    for (int y = 0; y < rh; ++y) {
        double rowSum = 0.0, rowSquares = 0.0;
        const float *row = m_region.data() + size_t(y) * size_t(rw);
        for (int x = 0; x < rw; ++x) {
            rowSum += row[x];
            rowSquares += double(row[x]) * row[x];
            const size_t at = (size_t(y) + 1) * iw + size_t(x) + 1;
            m_sum[at] = m_sum[at - iw] + rowSum;
            m_sumSquares[at] = m_sumSquares[at - iw] + rowSquares;
        }
    }

    const int cw = cand.width(), ch = cand.height();
    m_scores.resize(size_t(cw) * size_t(ch));
    m_dots.resize(size_t(cw));
    const double n = double(side) * side;
    const float *t = tmpl.m_values.data();
    int best = 0;
    for (int cy = 0; cy < ch; ++cy) {
        // Products summed for a whole row of candidates at once: the inner
        // loop runs along the candidates, contiguous in the region, so that
        // it needs no reduction and vectorises.
        std::fill(m_dots.begin(), m_dots.end(), 0.0f);
        float *dots = m_dots.data();
        for (int j = 0; j < side; ++j) {
            const float *row = m_region.data() + size_t(cy + j) * size_t(rw);
            const float *tr = t + size_t(j) * size_t(side);
            for (int i = 0; i < side; ++i) {
                const float ti = tr[i];
                const float *src = row + i;
                for (int cx = 0; cx < cw; ++cx)
                    dots[cx] += ti * src[cx];
            }
        }
        for (int cx = 0; cx < cw; ++cx) {
            const size_t a = size_t(cy) * iw + size_t(cx);
            const size_t b = a + size_t(side);
            const size_t c = a + size_t(side) * iw;
            const size_t d = c + size_t(side);
            const double s = m_sum[d] - m_sum[b] - m_sum[c] + m_sum[a];
            const double s2 = m_sumSquares[d] - m_sumSquares[b] - m_sumSquares[c] + m_sumSquares[a];
            const double variance = s2 - s * s / n;
            const double score = variance > flatVariancePerPixel * n
                ? dots[cx] / (tmpl.m_norm * std::sqrt(variance))
                : 0.0;
            const size_t at = size_t(cy) * size_t(cw) + size_t(cx);
            m_scores[at] = float(score);
            if (m_scores[at] > m_scores[size_t(best)])
                best = int(at);
        }
    }

    const int bx = best % cw, by = best / cw;
    match.found = true;
    match.pixel = QPoint(cand.x() + bx, cand.y() + by);
    match.score = m_scores[size_t(best)];
    match.onEdge = bx == 0 || by == 0 || bx == cw - 1 || by == ch - 1;
    double dx = 0.0, dy = 0.0;
    auto at = [&](int x, int y) { return double(m_scores[size_t(y) * size_t(cw) + size_t(x)]); };
    if (bx > 0 && bx < cw - 1)
        dx = parabolaPeak(at(bx - 1, by), match.score, at(bx + 1, by));
    if (by > 0 && by < ch - 1)
        dy = parabolaPeak(at(bx, by - 1), match.score, at(bx, by + 1));
    match.position = QPointF(match.pixel.x() + dx, match.pixel.y() + dy);
    return match;
}
