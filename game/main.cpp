#include "platform/locale_text.h"
#include "platform/process.h"
#include "utils/debug.h"

int main(int argc, char** argv) {
    setCommandLine(argc, argv);
    adoptUserLocale();
    logDebug("Vellum started: " + commandLineText());
    return 0;
}
