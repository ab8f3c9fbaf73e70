#include "support/profiled_counts.h"

#include <cstdlib>
#include <sstream>

int profiledCount(const std::string& report, const std::string& tag) {
    int total = 0;
    std::istringstream lines(report);
    std::string line;
    while (std::getline(lines, line)) {
        const size_t at = line.find("count=");
        if (at == std::string::npos || line.find("\t" + tag + "|") == std::string::npos) {
            continue;
        }
        total += std::atoi(line.c_str() + at + 6);
    }
    return total;
}
