#include "job/path_sort_compare.h"

#include <cstdlib>
#include <algorithm>
#include <cstring>

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

size_t RunEnd(std::string_view key, size_t k) {
    while (k < key.size() && IsDigit(key[k])) ++k;
    return k;
}

long double RunValue(std::string_view run) {
    char text[1025];
    const size_t length = run.size() < sizeof text ? run.size() : sizeof text - 1;
    std::memcpy(text, run.data(), length);
    text[length] = '\0';
    return std::strtold(text, nullptr);
}

// Compares two digit runs by their decimal value: -1, 0 or 1. Runs of up to 19
// significant digits are exact in extended precision, so they compare as text; longer
// ones compare as the extended-precision values they convert to.
int CompareRunValues(std::string_view a, std::string_view b) {
    std::string_view sa = a.substr(std::min(a.find_first_not_of('0'), a.size()));
    std::string_view sb = b.substr(std::min(b.find_first_not_of('0'), b.size()));
    if (sa.size() <= 19 || sb.size() <= 19) {
        if (sa.size() != sb.size()) return sa.size() < sb.size() ? -1 : 1;
        const int order = sa.compare(sb);
        return order < 0 ? -1 : order > 0 ? 1 : 0;
    }
    const long double va = RunValue(a);
    const long double vb = RunValue(b);
    return va < vb ? -1 : va > vb ? 1 : 0;
}

signed char At(std::string_view key, size_t k) { return k < key.size() ? static_cast<signed char>(key[k]) : 0; }

} // namespace

std::string SortKey(std::string_view Path, int Depth) {
    std::string_view part;
    if (Depth == -1 || (Depth > 0 && static_cast<size_t>(Depth) >= Path.size())) part = Path;
    else if (Depth > 0) part = Path.substr(Path.size() - static_cast<size_t>(Depth));
    std::string key(part);
    for (char& c : key)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return key;
}

bool CandidateWins(std::string_view A, std::string_view B, bool Forward) {
    size_t k = 0;
    while (k < A.size() && k < B.size()) {
        if (IsDigit(A[k]) && IsDigit(B[k])) {
            const size_t endA = RunEnd(A, k);
            const size_t endB = RunEnd(B, k);
            const int order = CompareRunValues(A.substr(k, endA - k), B.substr(k, endB - k));
            if (order != 0) return Forward ? order > 0 : order < 0;
            k = endA;
        }
        const signed char a = At(A, k);
        const signed char b = At(B, k);
        if (a != b) return Forward ? a > b : a < b;
        ++k;
        if (k >= B.size() && k < A.size()) return true;
    }
    return false;
}
