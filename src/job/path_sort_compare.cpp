#include "job/path_sort_compare.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace {

bool IsDigit(char c) {
    return static_cast<unsigned char>(c - '0') < 10;
}

long double RunValue(const char* run, size_t length) {
    char text[1025];
    length = std::min(length, sizeof text - 1);
    std::memcpy(text, run, length);
    text[length] = '\0';
    return std::strtold(text, nullptr);
}

// Compares two digit runs by their decimal value: -1, 0 or 1. Runs of up to 19
// significant digits are exact in extended precision, so they compare as text; longer
// ones compare as the extended-precision values they convert to.
int CompareRunValues(const char* a, size_t la, const char* b, size_t lb) {
    size_t za = 0, zb = 0;
    while (za < la && a[za] == '0')
        ++za;
    while (zb < lb && b[zb] == '0')
        ++zb;
    const size_t sa = la - za, sb = lb - zb;
    if (sa <= 19 || sb <= 19) {
        if (sa != sb) return sa < sb ? -1 : 1;
        const int order = std::memcmp(a + za, b + zb, sa);
        return order < 0 ? -1 : order > 0 ? 1 : 0;
    }
    const long double va = RunValue(a, la);
    const long double vb = RunValue(b, lb);
    return va < vb ? -1 : va > vb ? 1 : 0;
}

} // namespace

std::string SortKey(std::string_view Path, int Depth) {
    std::string_view part;
    if (Depth == -1 || (Depth > 0 && static_cast<size_t>(Depth) >= Path.size()))
        part = Path;
    else if (Depth > 0)
        part = Path.substr(Path.size() - static_cast<size_t>(Depth));
    std::string key(part);
    for (char& c : key)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return key;
}

bool CandidateWins(std::string_view A, std::string_view B, bool Forward) {
    const char* a = A.data();
    const char* b = B.data();
    const size_t la = A.size();
    const size_t lb = B.size();
    size_t k = 0;
    while (k < la && k < lb) {
        char ca = a[k];
        char cb = b[k];
        if (IsDigit(ca) && IsDigit(cb)) {
            size_t endA = k + 1;
            size_t endB = k + 1;
            while (endA < la && IsDigit(a[endA]))
                ++endA;
            while (endB < lb && IsDigit(b[endB]))
                ++endB;
            const int order = CompareRunValues(a + k, endA - k, b + k, endB - k);
            if (order != 0) return Forward ? order > 0 : order < 0;
            k = endA;
            ca = k < la ? a[k] : '\0';
            cb = k < lb ? b[k] : '\0';
        }
        if (ca != cb) {
            const auto sa = static_cast<signed char>(ca);
            const auto sb = static_cast<signed char>(cb);
            return Forward ? sa > sb : sa < sb;
        }
        ++k;
        if (k >= lb && k < la) return true;
    }
    return false;
}
