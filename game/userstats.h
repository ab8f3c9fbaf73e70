#pragma once

#include "core/profile_extension.h"

#include <string>

// The game's own value in each player's profile: the level the player last entered.
class CGameStatistics : public IProfileExtension {
public:
    void initDefaults(const std::string& gameIni, CUserProfile* profile) override;
    void load(const std::string& profileText, CUserProfile* profile) override;
    void save(std::string& text, CUserProfile* profile) override;

    const std::string& getCurrentLevel() const { return currentLevel; }
    void setCurrentLevel(const std::string& level) { currentLevel = level; }

private:
    std::string currentLevel;
};
