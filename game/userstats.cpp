#include "userstats.h"

#include "utils/key_value.h"

void CGameStatistics::initDefaults(const std::string&, CUserProfile*) {
    currentLevel.clear();
}

void CGameStatistics::load(const std::string& profileText, CUserProfile*) {
    currentLevel = getOption(profileText, "sCurrentLevel", "\n");
}

void CGameStatistics::save(std::string& text, CUserProfile*) {
    writeOption(text, "sCurrentLevel", currentLevel);
}
