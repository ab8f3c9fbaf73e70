// A recorded-input file as game.ini's InputReplay names it. Every event read must come back as
// itself from the line written for it: a line that reads back as another event is a fault, and
// aborts.
#include "input/input_record.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const InputRecording recording =
        parseInputRecording(std::string(reinterpret_cast<const char*>(data), size));
    for (const RecordedEvent& recorded : recording.events) {
        const std::string line = formatRecordedEvent(recorded.frame, recorded.event);
        const InputRecording back = parseInputRecording(line);
        if (line.empty() || back.events.size() != 1 || !back.problems.empty() ||
            formatRecordedEvent(back.events[0].frame, back.events[0].event) != line) {
            std::fprintf(stderr, "event line does not read back as itself: %s\n", line.c_str());
            std::abort();
        }
    }
    return 0;
}
