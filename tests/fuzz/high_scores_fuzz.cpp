// A high-score file as the user folder holds it, read through the table's loader. An entry
// longer than the table keeps is a fault, and aborts.
#include "core/module_highscores.h"
#include "fuzz/fuzz_host.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // An empty file makes the loader renew the user's copy from the program's default table:
    // file work, not reading.
    if (size == 0 || data[0] == 0) {
        return 0;
    }
    const std::string path = fuzz::writeDataFile("hiscores_fuzz.ini", data, size);
    try {
        CHighScoreTable table;
        table.loadHighScores("fuzz", path);
        for (int i = 0; i < CHighScoreTable::kEntryCount; ++i) {
            if (table.entry(i).PlayerName.size() > HighScoreEntry::kMaxNameLength ||
                table.entry(i).Internals.size() > HighScoreEntry::kMaxInternalsLength) {
                std::fprintf(stderr, "entry %i is longer than a table keeps\n", i);
                std::abort();
            }
        }
    } catch (const fuzz::InputRefused&) {
    }
    return 0;
}
