#pragma once

#include <array>
#include <span>
#include <vector>

namespace lintrel::preview {

// A point or a vector of the drawing's plane.
struct Point {
    double x = 0;
    double y = 0;

    bool operator==(const Point&) const = default;
};

// An affine map of the plane: x' = a x + c y + e, y' = b x + d y + f.
struct Affine {
    double a = 1;
    double b = 0;
    double c = 0;
    double d = 1;
    double e = 0;
    double f = 0;

    Point map(Point p) const { return {a * p.x + c * p.y + e, b * p.x + d * p.y + f}; }
    Point mapVector(Point v) const { return {a * v.x + c * v.y, b * v.x + d * v.y}; }
    // This map applied after `inner`.
    Affine after(const Affine& inner) const;
    // Scales by (sx, sy), turns by `radians`, then moves to `to`.
    static Affine placing(Point to, double sx, double sy, double radians);
    static Affine moving(Point by) { return {1, 0, 0, 1, by.x, by.y}; }
    bool operator==(const Affine&) const = default;
};

double distance(Point p, Point q);

// An arc of an ellipse, in any affine image: centre + u cos t + v sin t for t in [t0, t1].
// Circles, arcs, ellipses and their images under a block's scale all take this one form.
struct Conic {
    Point centre;
    Point u;
    Point v;
    double t0 = 0;
    double t1 = 0;

    Conic mapped(const Affine& map) const;
    Point at(double t) const;
    double length() const;
    // How many straight pieces it is drawn with, at `perTurn` to a full turn and 8 at the least.
    int pieces(double perTurn) const;
    // Appends the ends of those pieces, from t0 to t1.
    void sample(double perTurn, std::vector<Point>& points) const;
    // The lowest and highest x and y it reaches: {low x, low y, high x, high y}.
    std::array<double, 4> bounds() const;
    bool operator==(const Conic&) const = default;
};

// A circle or arc of a circle; angles in radians, counter-clockwise from start to end.
Conic circleArc(Point centre, double radius, double start, double end);

// The arc from p to q whose bulge (the tangent of a quarter of its angle) is given; bulge 0 is
// no arc and gives a zero sweep.
Conic bulgeArc(Point p, Point q, double bulge);

// A B-spline, rational when weights are given, evaluated by de Boor's algorithm.
struct Spline {
    static constexpr int kMaxDegree = 15;

    int degree = 3;
    std::vector<double> knots;
    std::vector<Point> control;
    std::vector<double> weights;  // empty, or one per control point

    bool isValid() const;
    Spline mapped(const Affine& map) const;
    Point at(double t) const;
    // The arc length, to a relative 1e-9 on smooth pieces.
    double length() const;
    // Points along the curve, `perSpan` to a knot span.
    std::vector<Point> sample(int perSpan) const;
    bool operator==(const Spline&) const = default;
};

double polylineLength(std::span<const Point> points, bool isClosed);

}  // namespace lintrel::preview
