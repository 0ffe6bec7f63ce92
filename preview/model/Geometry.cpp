#include "Geometry.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

namespace lintrel::preview {
namespace {

// Gauss-Legendre nodes and weights of order 8 on [-1, 1].
constexpr std::array<double, 8> kNodes = {
    -0.9602898564975363, -0.7966664774136267, -0.5255324099163290, -0.1834346424956498,
    0.1834346424956498,  0.5255324099163290,  0.7966664774136267,  0.9602898564975363};
constexpr std::array<double, 8> kWeights = {
    0.1012285362903763, 0.2223810344533745, 0.3137066458778873, 0.3626837833783620,
    0.3626837833783620, 0.3137066458778873, 0.2223810344533745, 0.1012285362903763};

template <class Speed>
double integrate(Speed&& speed, double from, double to, int pieces) {
    double sum = 0;
    const double step = (to - from) / pieces;
    for (int k = 0; k < pieces; ++k) {
        const double middle = from + (k + 0.5) * step;
        for (std::size_t i = 0; i < kNodes.size(); ++i) {
            sum += kWeights[i] * speed(middle + kNodes[i] * step / 2);
        }
    }
    return sum * step / 2;
}

double chordLength(const Spline& spline, double from, double to, int pieces) {
    double sum = 0;
    Point last = spline.at(from);
    for (int k = 1; k <= pieces; ++k) {
        const Point next = spline.at(from + (to - from) * k / pieces);
        sum += distance(last, next);
        last = next;
    }
    return sum;
}

// Calls onSpan(from, to) for every knot span of the curve that is not empty.
template <class OnSpan>
void forEachSpan(const Spline& spline, OnSpan&& onSpan) {
    for (auto span = static_cast<std::size_t>(spline.degree); span < spline.control.size();
         ++span) {
        if (spline.knots[span] < spline.knots[span + 1]) {
            onSpan(spline.knots[span], spline.knots[span + 1]);
        }
    }
}

}  // namespace

Affine Affine::after(const Affine& inner) const {
    return {a * inner.a + c * inner.b,     b * inner.a + d * inner.b,
            a * inner.c + c * inner.d,     b * inner.c + d * inner.d,
            a * inner.e + c * inner.f + e, b * inner.e + d * inner.f + f};
}

Affine Affine::placing(Point to, double sx, double sy, double radians) {
    const double cosine = std::cos(radians);
    const double sine = std::sin(radians);
    return {cosine * sx, sine * sx, -sine * sy, cosine * sy, to.x, to.y};
}

double distance(Point p, Point q) {
    return std::hypot(q.x - p.x, q.y - p.y);
}

Conic Conic::mapped(const Affine& map) const {
    return {map.map(centre), map.mapVector(u), map.mapVector(v), t0, t1};
}

Point Conic::at(double t) const {
    return {centre.x + u.x * std::cos(t) + v.x * std::sin(t),
            centre.y + u.y * std::cos(t) + v.y * std::sin(t)};
}

int Conic::pieces(double perTurn) const {
    // More than a turn is drawn over the same points.
    const double turns = std::min(std::abs(t1 - t0) / (2 * std::numbers::pi), 1.0);
    return std::max(8, static_cast<int>(std::ceil(turns * perTurn)));
}

void Conic::sample(double perTurn, std::vector<Point>& points) const {
    const int count = pieces(perTurn);
    for (int k = 0; k <= count; ++k) {
        points.push_back(at(t0 + (t1 - t0) * k / count));
    }
}

std::array<double, 4> Conic::bounds() const {
    const Point start = at(t0);
    const Point end = at(t1);
    std::array<double, 4> box = {std::min(start.x, end.x), std::min(start.y, end.y),
                                 std::max(start.x, end.x), std::max(start.y, end.y)};
    const double low = std::min(t0, t1);
    const double high = std::min(std::max(t0, t1), low + 2 * std::numbers::pi);
    // x = cx + ux cos t + vx sin t turns where tan t = vx / ux, and again half a turn on; the
    // same for y.
    for (const double turn : {std::atan2(v.x, u.x), std::atan2(v.y, u.y)}) {
        for (double t = turn + std::ceil((low - turn) / std::numbers::pi) * std::numbers::pi;
             t <= high; t += std::numbers::pi) {
            const Point p = at(t);
            box = {std::min(box[0], p.x), std::min(box[1], p.y), std::max(box[2], p.x),
                   std::max(box[3], p.y)};
        }
    }
    return box;
}

double Conic::length() const {
    const double ru = std::hypot(u.x, u.y);
    const double rv = std::hypot(v.x, v.y);
    const double dot = u.x * v.x + u.y * v.y;
    if (std::abs(ru - rv) <= 1e-12 * ru && std::abs(dot) <= 1e-12 * ru * rv) {
        return ru * std::abs(t1 - t0);
    }
    auto speed = [&](double t) {
        const double s = std::sin(t);
        const double c = std::cos(t);
        return std::hypot(-u.x * s + v.x * c, -u.y * s + v.y * c);
    };
    const int pieces = std::max(8, static_cast<int>(std::ceil(std::abs(t1 - t0) * 16)));
    return std::abs(integrate(speed, t0, t1, pieces));
}

Conic circleArc(Point centre, double radius, double start, double end) {
    while (end < start) {
        end += 2 * std::numbers::pi;
    }
    return {centre, {radius, 0}, {0, radius}, start, end};
}

Conic bulgeArc(Point p, Point q, double bulge) {
    const double chord = distance(p, q);
    if (bulge == 0 || chord == 0) {
        return {p, {0, 0}, {0, 0}, 0, 0};
    }
    const double sweep = 4 * std::atan(bulge);
    const double radius = chord / (2 * std::sin(std::abs(sweep) / 2));
    // The centre lies on the chord's normal, on the left for a counter-clockwise arc.
    const double toCentre = radius * std::cos(std::abs(sweep) / 2) * (bulge > 0 ? 1 : -1);
    const Point middle{(p.x + q.x) / 2, (p.y + q.y) / 2};
    const Point normal{-(q.y - p.y) / chord, (q.x - p.x) / chord};
    const Point centre{middle.x + normal.x * toCentre, middle.y + normal.y * toCentre};
    const double start = std::atan2(p.y - centre.y, p.x - centre.x);
    return {centre, {radius, 0}, {0, radius}, start, start + sweep};
}

bool Spline::isValid() const {
    const std::size_t order = static_cast<std::size_t>(degree) + 1;
    return degree >= 1 && degree <= kMaxDegree && control.size() >= order &&
           knots.size() == control.size() + order &&
           (weights.empty() || weights.size() == control.size()) &&
           std::is_sorted(knots.begin(), knots.end()) &&
           knots[static_cast<std::size_t>(degree)] < knots[control.size()];
}

Spline Spline::mapped(const Affine& map) const {
    Spline image = *this;
    for (Point& p : image.control) {
        p = map.map(p);
    }
    return image;
}

Point Spline::at(double t) const {
    const auto p = static_cast<std::size_t>(degree);
    const std::size_t n = control.size();
    t = std::clamp(t, knots[p], knots[n]);
    std::size_t span = p;
    while (span + 1 < n && knots[span + 1] <= t) {
        ++span;
    }
    // Homogeneous de Boor: weights ride along as the third coordinate.
    std::array<std::array<double, 3>, kMaxDegree + 1> d{};
    for (std::size_t j = 0; j <= p; ++j) {
        const std::size_t i = span - p + j;
        const double w = weights.empty() ? 1 : weights[i];
        d[j] = {control[i].x * w, control[i].y * w, w};
    }
    for (std::size_t r = 1; r <= p; ++r) {
        for (std::size_t j = p; j >= r; --j) {
            const std::size_t i = span - p + j;
            const double denominator = knots[i + p + 1 - r] - knots[i];
            const double alpha = denominator == 0 ? 0 : (t - knots[i]) / denominator;
            for (std::size_t k = 0; k < 3; ++k) {
                d[j][k] = (1 - alpha) * d[j - 1][k] + alpha * d[j][k];
            }
        }
    }
    return {d[p][0] / d[p][2], d[p][1] / d[p][2]};
}

double Spline::length() const {
    double total = 0;
    forEachSpan(*this, [&](double from, double to) {
        // Chords converge as the square of their length: Richardson's step removes that term.
        int pieces = 16;
        double coarse = chordLength(*this, from, to, pieces);
        double estimate = coarse;
        for (int round = 0; round < 12; ++round) {
            pieces *= 2;
            const double fine = chordLength(*this, from, to, pieces);
            const double better = (4 * fine - coarse) / 3;
            const bool isSettled = std::abs(better - estimate) <= 1e-10 * std::max(better, 1e-300);
            estimate = better;
            coarse = fine;
            if (isSettled) {
                break;
            }
        }
        total += estimate;
    });
    return total;
}

std::vector<Point> Spline::sample(int perSpan) const {
    std::vector<Point> points;
    forEachSpan(*this, [&](double from, double to) {
        for (int k = points.empty() ? 0 : 1; k <= perSpan; ++k) {
            points.push_back(at(from + (to - from) * k / perSpan));
        }
    });
    return points;
}

double polylineLength(std::span<const Point> points, bool isClosed) {
    double sum = 0;
    for (std::size_t i = 1; i < points.size(); ++i) {
        sum += distance(points[i - 1], points[i]);
    }
    if (isClosed && points.size() > 2) {
        sum += distance(points.back(), points.front());
    }
    return sum;
}

}  // namespace lintrel::preview
