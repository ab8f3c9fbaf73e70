#include "node_factory.h"

#include "utils/number_text.h"

namespace {

FrameLayout everyCell(int columns, int rows) {
    FrameLayout layout{columns, rows, {}};
    for (int row = 0; row < rows; ++row) {
        for (int column = 0; column < columns; ++column) {
            layout.frames.emplace_back(column, row);
        }
    }
    return layout;
}

} // namespace

FrameLayout parseFrameLayout(const std::string& text) {
    size_t x = text.find('x');
    if (x != std::string::npos) {
        return everyCell(parseInt(text.substr(0, x)), parseInt(text.substr(x + 1)));
    }
    size_t dash = text.find('-');
    size_t slash = text.find('/');
    int columns = parseInt(text.substr(0, dash));
    int row = dash == std::string::npos ? 0 : parseInt(text.substr(dash + 1)) - 1;
    int rows = slash == std::string::npos ? 0 : parseInt(text.substr(slash + 1));
    FrameLayout layout{columns, rows, {}};
    for (int column = 0; column < columns; ++column) {
        layout.frames.emplace_back(column, row);
    }
    return layout;
}
