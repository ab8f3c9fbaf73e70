#include "system.h"

#include "engine_state.h"
#include "platform/clock.h"
#include "platform/key_state.h"
#include "platform/locale_text.h"
#include "platform/os_info.h"

namespace {

std::time_t nowOr(std::time_t time) {
    return time == -1 ? std::time(nullptr) : time;
}

} // namespace

uint32_t getTicks() {
    return monotonicMilliseconds();
}

bool getOsInfo(std::string& name, int& majorVersion, bool& isNt) {
    static const OsVersion version = readOsVersion();
    name = version.name;
    majorVersion = version.majorVersion;
    isNt = true;
    return true;
}

std::string getSpecialFolder(int folderId) {
    return folderId == kFolderRoamingAppData ? userDataFolder() : std::string();
}

std::wstring toWide(const std::string& text) {
    return widenText(text);
}

std::string toNarrow(const std::wstring& text) {
    return narrowText(text);
}

std::string timeText(std::time_t time) {
    return formatTime24(nowOr(time));
}

std::string dateText(std::time_t time) {
    return formatShortDate(nowOr(time));
}

int isKeyDown(int virtualKey) {
    if (enginePauseLevel() >= 2) {
        return 0;
    }
    return readKeyState(virtualKey) ? 1 : 0;
}
