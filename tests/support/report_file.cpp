#include "support/report_file.h"

#include <fstream>
#include <sstream>

std::map<std::string, std::vector<float>> readReportFile(const std::string& path) {
    std::map<std::string, std::vector<float>> values;
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        std::string name;
        fields >> name;
        float value = 0;
        while (fields >> value) {
            values[name].push_back(value);
        }
    }
    return values;
}
