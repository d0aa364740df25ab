// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>
#include <QPointF>
#include <QRect>

#include <vector>

// Zero-mean normalised cross-correlation of a square grey template against a
// frame, inside a search window only. Brightness and contrast changes of the
// whole patch (mains flicker, automatic exposure) leave the score unchanged.
//
// Pixel coordinates are integers: the template is centred on a pixel, and a
// match gives the sub-pixel position of that centre pixel in the frame.

// The grey levels of rect (which must lie inside image), row by row, shifted
// by −128 so that sums of products stay small; out is resized, not reallocated
// when it is large enough. Grayscale8 and the 32-bit RGB formats are read in
// place; other formats are converted first (slower).
void greyRegion(const QImage &image, QRect rect, std::vector<float> &out);
// The same grey levels smoothed by the 3×3 binomial kernel (pixels outside
// the image repeat the edge; work is a scratch buffer). Template and frame
// are both read smoothed: the correlation peak of a sharp-edged ball is then
// round enough at its top for the parabola through three scores to find its
// vertex without pulling it towards the nearest pixel (a fifth of the bias of
// raw pixels on a 6 px ball).
void smoothedRegion(const QImage &image, QRect rect, std::vector<float> &out,
                    std::vector<float> &work);

class MatchTemplate
{
public:
    // An empty template.
    MatchTemplate() = default;
    // The square of side 2·half + 1 centred on pixel centre of image. Empty
    // when the square does not lie inside the image or holds a uniform grey.
    MatchTemplate(const QImage &image, QPoint centre, int half);

    bool isEmpty() const { return m_values.empty(); }
    int half() const { return m_half; }
    int side() const { return 2 * m_half + 1; }
    // The correlation of the template with itself turned half a turn about
    // its centre pixel: near 1 for a whole ball on an even background
    // (blurred along its path included), lower when something covers part
    // of it or an edge crosses it off centre.
    double halfTurnSymmetry() const;

private:
    friend class TemplateMatcher;
    int m_half = 0;
    std::vector<float> m_values; // zero mean, row by row
    double m_norm = 0.0;         // sqrt of the sum of squares of m_values
};

struct TemplateMatch
{
    bool found = false; // false: no candidate position inside the picture
    QPointF position;   // sub-pixel position of the template's centre pixel
    QPoint pixel;       // the best candidate pixel
    double score = 0.0; // NCC at the best candidate pixel, −1 … 1
    // The best candidate lies on the window's edge, so the true maximum may
    // be outside: the caller moves the window and searches again.
    bool onEdge = false;
    // The window had to be cut by the picture's border on that side.
    bool clippedByPicture = false;
};

// Keeps its buffers between frames, so that tracking allocates nothing per
// frame once the window sizes are known.
class TemplateMatcher
{
public:
    // Tries every centre pixel of candidates (clipped so that the template
    // fits inside the image) and returns the best, refined to sub-pixel by a
    // parabola through the maximum and its neighbours along x and along y.
    TemplateMatch search(const QImage &image, const MatchTemplate &tmpl, QRect candidates);

    // The scores of the last search, row by row over the clipped candidates.
    const std::vector<float> &scores() const { return m_scores; }

private:
    std::vector<float> m_region, m_work;
    std::vector<double> m_sum, m_sumSquares; // integral images of the region
    std::vector<float> m_dots;
    std::vector<float> m_scores;
};

// The vertex of the parabola through (−1, left), (0, centre), (1, right),
// within [−0,5, 0,5]; 0 when the three values do not make a maximum.
double parabolaPeak(double left, double centre, double right);
