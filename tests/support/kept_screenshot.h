#pragma once

#include <string>

// When VELLUM_TEST_SCREENSHOTS names a folder, a copy of the picture file at `path` goes there
// under `name`, to be looked at.
void keepScreenshot(const std::string& path, const std::string& name);
