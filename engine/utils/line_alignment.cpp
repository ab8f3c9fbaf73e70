#include "line_alignment.h"

#include <algorithm>
#include <utility>

namespace {

// More differing lines than this and the middle is taken as one replaced block (the search
// keeps about the square of this number of entries).
const int kMaxEdits = 2000;

using Lines = std::vector<std::string_view>;
// Matched lines, (line of before, line of after), in order.
using Matches = std::vector<std::pair<int, int>>;

Lines splitLines(std::string_view text) {
    Lines lines;
    size_t start = 0;
    for (;;) {
        size_t end = text.find('\n', start);
        if (end == std::string_view::npos) {
            lines.push_back(text.substr(start));
            return lines;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
}

// The matched lines of a[aBegin, aEnd) and b[bBegin, bEnd) by the shortest edit script (greedy
// search over diagonals, then a walk back through the saved frontiers). False when the script
// would need more than kMaxEdits steps.
bool matchMiddle(const Lines& a, int aBegin, int aEnd, const Lines& b, int bBegin, int bEnd,
                 Matches& matches) {
    const int n = aEnd - aBegin;
    const int m = bEnd - bBegin;
    const int maxSteps = std::min(n + m, kMaxEdits);
    const int offset = maxSteps + 1;
    std::vector<int> frontier(2 * static_cast<size_t>(maxSteps) + 3, 0);
    // frontier[offset + k] for k in [-d, d] after step d, for the walk back.
    std::vector<std::vector<int>> saved;
    for (int d = 0; d <= maxSteps; ++d) {
        for (int k = -d; k <= d; k += 2) {
            bool down = k == -d || (k != d && frontier[offset + k - 1] < frontier[offset + k + 1]);
            int x = down ? frontier[offset + k + 1] : frontier[offset + k - 1] + 1;
            int y = x - k;
            while (x < n && y < m && a[aBegin + x] == b[bBegin + y]) {
                ++x;
                ++y;
            }
            frontier[offset + k] = x;
            if (x < n || y < m) {
                continue;
            }
            Matches found;
            for (int step = d; step > 0; --step) {
                const std::vector<int>& previous = saved[step - 1];
                auto at = [&](int diagonal) { return previous[diagonal + step - 1]; };
                int diagonal = x - y;
                bool cameDown =
                    diagonal == -step || (diagonal != step && at(diagonal - 1) < at(diagonal + 1));
                int fromDiagonal = cameDown ? diagonal + 1 : diagonal - 1;
                int fromX = at(fromDiagonal);
                int fromY = fromX - fromDiagonal;
                while (x > fromX && y > fromY) {
                    --x;
                    --y;
                    found.emplace_back(aBegin + x, bBegin + y);
                }
                x = fromX;
                y = fromY;
            }
            while (x > 0 && y > 0) {
                --x;
                --y;
                found.emplace_back(aBegin + x, bBegin + y);
            }
            matches.insert(matches.end(), found.rbegin(), found.rend());
            return true;
        }
        saved.emplace_back(frontier.begin() + offset - d, frontier.begin() + offset + d + 1);
    }
    return false;
}

} // namespace

std::vector<int> alignLines(std::string_view before, std::string_view after) {
    Lines a = splitLines(before);
    Lines b = splitLines(after);
    const int n = static_cast<int>(a.size());
    const int m = static_cast<int>(b.size());
    int prefix = 0;
    while (prefix < n && prefix < m && a[prefix] == b[prefix]) {
        ++prefix;
    }
    int suffix = 0;
    while (suffix < n - prefix && suffix < m - prefix && a[n - 1 - suffix] == b[m - 1 - suffix]) {
        ++suffix;
    }
    Matches matches;
    for (int line = 0; line < prefix; ++line) {
        matches.emplace_back(line, line);
    }
    matchMiddle(a, prefix, n - suffix, b, prefix, m - suffix, matches);
    for (int line = suffix; line > 0; --line) {
        matches.emplace_back(n - line, m - line);
    }
    // The end of both texts closes the last block.
    matches.emplace_back(n, m);

    std::vector<int> origins(static_cast<size_t>(m));
    int lastA = -1;
    int lastB = -1;
    for (const auto& [lineA, lineB] : matches) {
        int replacedFirst = lastA + 1;
        int replacedCount = lineA - replacedFirst;
        for (int line = lastB + 1; line < lineB; ++line) {
            int index = line - (lastB + 1);
            origins[static_cast<size_t>(line)] =
                replacedCount > 0 ? replacedFirst + std::min(index, replacedCount - 1)
                                  : std::clamp(lastA, 0, n - 1);
        }
        if (lineB < m) {
            origins[static_cast<size_t>(lineB)] = lineA;
        }
        lastA = lineA;
        lastB = lineB;
    }
    return origins;
}
