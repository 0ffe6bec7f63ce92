#pragma once

#include "LineTable.h"

namespace lintrel::bench {

// Line tables as the first pass leaves them (corrected and oriented with a correction of 0.01),
// in the shapes that make the line analysis work hardest. The same arguments give the same table.

// A nesting layout of parts: outlines whose edges come in pieces that touch, leave small gaps or
// overlap, cut-outs, slanted engraving in collinear pieces, centre lines in their own linetype,
// nearly straight lines; then duplicates, near-duplicates, copies on another layer, pieces lying
// on edges and zero-length lines, as merged drawings have them.
LineTable realisticTable(int lineCount);

// Unit pieces of one horizontal line, end to end, shuffled: the joins cascade.
LineTable oneLineTable(int pieceCount);

// `size` horizontal and `size` vertical lines, each cut at every second crossing, shuffled: every
// piece shares its coordinates with many others.
LineTable gridTable(int size);

enum class Direction { Horizontal, Vertical, Slanted };

// Copies of one line.
LineTable identicalTable(int lineCount, Direction direction);

// Collinear slanted pieces, end to end, shuffled.
LineTable slantedTable(int pieceCount);

}  // namespace lintrel::bench
