#include "valuesets/lookups.h"

#include <cmath>

namespace ohmtrim {

namespace {

// Bisection keeping v[lo] <= x < v[hi]; the caller guarantees v[0] <= x < v[n-1].
void Bisect(double x, const double* v, int n, int& lo, int& hi) {
    lo = 0;
    hi = n - 1;
    for (;;) {
        const int mid = (lo + hi) / 2;
        if (mid == lo)
            return;
        if (x >= v[mid])
            lo = mid;
        else
            hi = mid;
    }
}

} // namespace

int NearestIndex(double x, const double* v, int n) {
    if (n < 2)
        return 0;
    if (x <= v[0])
        return 0;
    if (x >= v[n - 1])
        return n - 1;
    int lo = 0;
    int hi = 0;
    Bisect(x, v, n, lo, hi);
    if (std::fabs(v[hi] - x) > std::fabs(x - v[lo]))
        return lo;
    return hi;
}

void BracketIndices(double x, const double* v, int n, int& lo, int& hi) {
    if (n < 2 || x <= v[0]) {
        lo = hi = 0;
        return;
    }
    if (x >= v[n - 1]) {
        lo = hi = n - 1;
        return;
    }
    Bisect(x, v, n, lo, hi);
}

int CeilingIndex(double x, const double* v, int n) {
    if (n < 1 || v == nullptr)
        return -1;
    if (n == 1)
        return x <= v[0] ? 0 : -1;
    if (x <= v[0])
        return 0;
    if (x > v[n - 1])
        return -1;
    if (x == v[n - 1])
        return n - 1;
    // A NaN x fails every comparison above and below and ends with -1.
    int lo = 0;
    int hi = n - 1;
    int mid = (lo + hi) / 2;
    while (!(mid <= lo + 1 && mid + 1 >= hi)) {
        if (x > v[mid])
            lo = mid;
        else
            hi = mid;
        mid = (lo + hi) / 2;
    }
    if (v[lo] >= x)
        return lo;
    if (v[mid] >= x)
        return mid;
    if (v[hi] >= x)
        return hi;
    return -1;
}

} // namespace ohmtrim
