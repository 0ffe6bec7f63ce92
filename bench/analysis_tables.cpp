#include "analysis_tables.h"

#include <algorithm>
#include <cmath>
#include <random>
#include <string>
#include <utility>
#include <vector>

namespace lintrel::bench {
namespace {

constexpr double kLineCorrection = 0.01;
constexpr std::uint64_t kSeed = 1;

// Coordinates as the reader stores them: four decimals.
double round4(double value) {
    return std::round(value * 10000.0) / 10000.0;
}

struct Segment {
    Segment(double x1, double y1, double x2, double y2, const char* layer = "0",
            const char* lineType = "")
        : x1(x1), y1(y1), x2(x2), y2(y2), layer(layer), lineType(lineType) {}

    double x1;
    double y1;
    double x2;
    double y2;
    const char* layer;
    const char* lineType;
};

LineTable tableOf(const std::vector<Segment>& segments) {
    LineTable table;
    for (const Segment& segment : segments) {
        LineRow& row = table.append();
        row.X1 = round4(segment.x1);
        row.Y1 = round4(segment.y1);
        row.X2 = round4(segment.x2);
        row.Y2 = round4(segment.y2);
        row.LayerName = table.names().intern(segment.layer);
        row.LineTypeName = table.names().intern(segment.lineType);
        correctAndOrient(row, kLineCorrection);
    }
    return table;
}

// Places parts in rows on a sheet and draws each one as its LINE records.
class PartMaker {
public:
    std::vector<Segment> makeSegments(int lineCount) {
        std::vector<Segment> all;
        while (static_cast<int>(all.size()) < lineCount) {
            const std::vector<Segment> part = makePart();
            const auto room =
                std::min(part.size(), static_cast<std::size_t>(lineCount) - all.size());
            all.insert(all.end(), part.begin(), part.begin() + static_cast<long>(room));
        }
        return all;
    }

private:
    double uniform(double low, double high) {
        return std::uniform_real_distribution(low, high)(m_random);
    }
    bool chance(double p) { return std::bernoulli_distribution(p)(m_random); }
    int between(int low, int high) { return std::uniform_int_distribution(low, high)(m_random); }

    std::pair<double, double> place(double width, double height) {
        if (m_x + width > kSheetWidth) {
            m_x = 0;
            m_y += m_rowHeight + 40;
            m_rowHeight = 0;
        }
        const std::pair<double, double> origin{m_x, m_y};
        m_x += width + 40;
        m_rowHeight = std::max(m_rowHeight, height);
        return origin;
    }

    // The stretch a..b of an edge in pieces that touch, leave a small gap or overlap.
    std::vector<std::pair<double, double>> edgePieces(double a, double b) {
        const int counts[] = {1, 1, 1, 2, 2, 3, 4};
        const int count = counts[between(0, 6)];
        std::vector<double> cuts;
        for (int k = 1; k < count; ++k) {
            cuts.push_back(std::round(uniform(a, b) * 100) / 100);
        }
        std::sort(cuts.begin(), cuts.end());
        std::vector<std::pair<double, double>> pieces;
        double start = a;
        for (const double cut : cuts) {
            if (cut - start < 1 || b - cut < 1) {
                continue;
            }
            pieces.emplace_back(start, cut);
            const double joint = uniform(0, 1);
            const double gaps[] = {0.001, 0.01, 0.05, 0.1, 0.2};
            const double overlaps[] = {0.1, 0.5, 1.0, 5.0};
            start = joint < 0.6   ? cut
                    : joint < 0.8 ? cut + gaps[between(0, 4)]
                                  : std::max(a, cut - overlaps[between(0, 3)]);
        }
        pieces.emplace_back(start, b);
        return pieces;
    }

    void straight(std::vector<Segment>& segments, double x1, double y1, double x2, double y2,
                  const char* layer) {
        const bool isHorizontal = y1 == y2;
        for (auto [p, q] : edgePieces(std::min(isHorizontal ? x1 : y1, isHorizontal ? x2 : y2),
                                      std::max(isHorizontal ? x1 : y1, isHorizontal ? x2 : y2))) {
            if (chance(0.5)) {
                std::swap(p, q);
            }
            segments.push_back(isHorizontal ? Segment{p, y1, q, y1, layer}
                                            : Segment{x1, p, x1, q, layer});
        }
    }

    std::vector<Segment> makePart() {
        const double w = std::round(uniform(40, 400) * 10) / 10;
        const double h = std::round(uniform(30, 300) * 10) / 10;
        const auto [ox, oy] = place(w, h);
        const char* layer = chance(0.67) ? "OUTLINE" : "CUT_OUTER";
        const double c = std::min(w, h) * uniform(0.05, 0.15);  // chamfer at the upper right
        std::vector<Segment> segments;
        straight(segments, ox, oy, ox + w, oy, layer);
        straight(segments, ox + w, oy, ox + w, oy + h - c, layer);
        straight(segments, ox + w - c, oy + h, ox, oy + h, layer);
        straight(segments, ox, oy + h, ox, oy, layer);
        segments.push_back({ox + w, oy + h - c, ox + w - c, oy + h, layer});
        for (int k = between(0, 3); k > 0; --k) {
            const double cw = uniform(4, w / 4);
            const double ch = uniform(4, h / 4);
            const double cx = ox + uniform(5, w - cw - 5);
            const double cy = oy + uniform(5, h - ch - 5);
            straight(segments, cx, cy, cx + cw, cy, "CUT_INNER");
            straight(segments, cx + cw, cy, cx + cw, cy + ch, "CUT_INNER");
            straight(segments, cx + cw, cy + ch, cx, cy + ch, "CUT_INNER");
            straight(segments, cx, cy + ch, cx, cy, "CUT_INNER");
        }
        for (int k = between(2, 6); k > 0; --k) {
            const double x1 = ox + w * 0.1 + k * 2.0;
            const double y1 = oy + h * 0.1;
            if (chance(0.3)) {
                segments.push_back({x1, y1, x1 + 4, y1 + 3, "ENGRAVE"});
                segments.push_back({x1 + 4, y1 + 3, x1 + 10, y1 + 7.5, "ENGRAVE"});
            } else {
                segments.push_back({x1, y1, x1 + 10, y1 + 7.5, "ENGRAVE"});
            }
        }
        for (int k = between(0, 3); k > 0; --k) {
            const double hx = ox + uniform(10, w - 10);
            const double hy = oy + uniform(10, h - 10);
            segments.push_back({hx - 4, hy, hx + 4, hy, "CENTRE", "CENTER"});
            segments.push_back({hx, hy - 4, hx, hy + 4, "CENTRE", "CENTER"});
        }
        if (chance(0.3)) {
            const double drifts[] = {0.0004, 0.001, 0.003};
            const double y = oy + h * 0.5;
            segments.push_back({ox + w * 0.2, y, ox + w * 0.5, y + drifts[between(0, 2)], "BEND"});
            segments.push_back({ox + w * 0.5, y, ox + w * 0.8, y, "BEND"});
        }
        addMergeDebris(segments);
        if (chance(0.7)) {
            std::shuffle(segments.begin(), segments.end(), m_random);
        }
        return segments;
    }

    // Duplicates as merged drawings have them.
    void addMergeDebris(std::vector<Segment>& segments) {
        std::vector<Segment> extra;
        for (const Segment& s : segments) {
            const double roll = uniform(0, 1);
            if (roll < 0.10) {
                extra.push_back(chance(0.5) ? s
                                            : Segment{s.x2, s.y2, s.x1, s.y1, s.layer, s.lineType});
            } else if (roll < 0.13) {
                const double shifts[] = {0.001, 0.005, 0.01, 0.05};
                const double d = shifts[between(0, 3)];
                extra.push_back(s.y1 == s.y2
                                    ? Segment{s.x1, s.y1 + d, s.x2, s.y2 + d, s.layer, s.lineType}
                                    : Segment{s.x1 + d, s.y1, s.x2 + d, s.y2, s.layer, s.lineType});
            } else if (roll < 0.15) {
                extra.push_back({s.x1, s.y1, s.x2, s.y2, "0", s.lineType});
            } else if (roll < 0.17) {
                const double t1 = uniform(0.1, 0.5);
                const double t2 = uniform(0.5, 0.9);
                extra.push_back({s.x1 + (s.x2 - s.x1) * t1, s.y1 + (s.y2 - s.y1) * t1,
                                 s.x1 + (s.x2 - s.x1) * t2, s.y1 + (s.y2 - s.y1) * t2, s.layer,
                                 s.lineType});
            } else if (roll < 0.18) {
                extra.push_back({s.x1, s.y1, s.x1, s.y1, s.layer, s.lineType});
            }
        }
        segments.insert(segments.end(), extra.begin(), extra.end());
    }

    static constexpr double kSheetWidth = 20000;
    std::mt19937_64 m_random{kSeed};
    double m_x = 0;
    double m_y = 0;
    double m_rowHeight = 0;
};

LineTable shuffledTable(std::vector<Segment> segments) {
    std::shuffle(segments.begin(), segments.end(), std::mt19937_64(kSeed));
    return tableOf(segments);
}

}  // namespace

LineTable realisticTable(int lineCount) {
    return tableOf(PartMaker().makeSegments(lineCount));
}

LineTable oneLineTable(int pieceCount) {
    std::vector<Segment> pieces;
    for (int k = 0; k < pieceCount; ++k) {
        pieces.push_back({static_cast<double>(k), 0, k + 1.0, 0});
    }
    return shuffledTable(std::move(pieces));
}

LineTable gridTable(int size) {
    constexpr double kStep = 10;
    std::vector<Segment> pieces;
    for (int j = 0; j < size; ++j) {
        for (int k = 0; k < size / 2; ++k) {
            pieces.push_back({2 * k * kStep, j * kStep, (2 * k + 2) * kStep, j * kStep});
            pieces.push_back({j * kStep, 2 * k * kStep, j * kStep, (2 * k + 2) * kStep});
        }
    }
    return shuffledTable(std::move(pieces));
}

LineTable identicalTable(int lineCount, Direction direction) {
    const Segment line = direction == Direction::Horizontal ? Segment{0, 50, 100, 50}
                         : direction == Direction::Vertical ? Segment{50, 0, 50, 100}
                                                            : Segment{0, 0, 80, 60};
    return tableOf(std::vector<Segment>(static_cast<std::size_t>(lineCount), line));
}

LineTable slantedTable(int pieceCount) {
    std::vector<Segment> pieces;
    for (int k = 0; k < pieceCount; ++k) {
        pieces.push_back({k + 1.0, 0.75 * (k + 1) + 3, static_cast<double>(k), 0.75 * k + 3});
    }
    return shuffledTable(std::move(pieces));
}

}  // namespace lintrel::bench
