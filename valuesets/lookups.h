#pragma once

namespace ohmtrim {

// Lookups on an ascending value table (ties between equal entries allowed).

// Index of the entry nearest to x; a tie goes to the larger entry. 0 when n < 2.
int NearestIndex(double x, const double* v, int n);
// lo and hi with v[lo] <= x < v[hi], hi = lo + 1; both 0 below the first
// entry (or n < 2), both n - 1 at or above the last.
void BracketIndices(double x, const double* v, int n, int& lo, int& hi);
// Index of the first entry >= x (an x equal to the last entry gives n - 1),
// or -1 when there is none.
int CeilingIndex(double x, const double* v, int n);

} // namespace ohmtrim
