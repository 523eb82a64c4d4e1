// How a grid sizes its rows or columns: one list of definitions at a time, with the state each definition keeps
// (COSMMarkupDefinitionLayout). The grid's measure pass sets the list up, raises minimum sizes by the cells it
// measures (spreading what a spanning cell needs over its definitions), and shares the room left over among star
// definitions; its arrange pass turns the list into final sizes and offsets.
//
// Sizes are whole pixels; sums and ratios are worked out in doubles and cut to whole pixels toward 0, saturating at
// the 32-bit limits. Sorting keeps definitions with equal keys in definition order, so results are reproducible.
#pragma once

#include "classlib/ClassLibBase.h"

#include <vector>

class COSMMarkupDefinitionBase;

// Borrowed definitions, in definition order.
using MarkupDefinitionList = std::vector<COSMMarkupDefinitionBase*>;

// value cut toward 0 to a whole number, saturated at the 32-bit limits; 0 for anything not a number.
int TruncateMarkupLength(double value);

// Resets the list's layout state for a measure: minimum and measure sizes from the user size, minimum and
// maximum. With treatStarAsAuto (unbounded room) star definitions measure as Auto.
void SetupMarkupDefinitions(const MarkupDefinitionList& definitions, bool treatStarAsAuto);

// What cells spanning count definitions from first are measured with: the sum of the minimum sizes of Auto
// definitions and the measure sizes of the others, not yet cut.
double GetMarkupSpanMeasureSize(const MarkupDefinitionList& definitions, int first, int count);

// Raises the minimum sizes of count definitions from first so that together they reach requested: up to their
// preferred sizes first, then up to their maxima, and beyond those in proportion.
void DistributeMarkupMinimumSize(const MarkupDefinitionList& definitions, int first, int count, double requested);

// Shares available, less what pixel and Auto definitions take, among the star definitions by their star values,
// within their minima and maxima; the shares become their measure sizes.
void ResolveMarkupStars(const MarkupDefinitionList& definitions, double available);

// The final sizes (size caches) and offsets for a final length: stars share what the others leave, and when the
// total is too long the definitions give back what they have above their minimum sizes.
void ComputeMarkupFinalSizes(const MarkupDefinitionList& definitions, int finalLength);
