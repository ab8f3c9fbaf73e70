#include "support/kept_screenshot.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

void keepScreenshot(const std::string& path, const std::string& name) {
    if (const char* folder = std::getenv("VELLUM_TEST_SCREENSHOTS")) {
        std::error_code ignored;
        std::filesystem::copy_file(path, std::string(folder) + "/" + name,
                                   std::filesystem::copy_options::overwrite_existing, ignored);
    }
}
