#pragma once

#include <map>
#include <string>
#include <vector>

// A report a game run in a child process wrote, one line per entry: a name, then numbers. The
// numbers of each name in file order; a missing file gives an empty report.
std::map<std::string, std::vector<float>> readReportFile(const std::string& path);
