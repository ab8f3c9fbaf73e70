#pragma once

#include <irrlicht/irrlicht.h>

#include <string>

class CUserProfile;

// The game's own per-profile data, kept inside the profile file. The game creates one for each
// new profile (IGameClient::createProfileExtension); the profile holds its one reference.
class IProfileExtension : public irr::IReferenceCounted {
public:
    ~IProfileExtension() override = default;
    // Sets the game's defaults; called once, after the profile took its defaults from game.ini.
    virtual void initDefaults(const std::string& /*gameIni*/, CUserProfile* /*profile*/) {}
    // Reads the game's values from the profile file's text ("\n" before and after it).
    virtual void load(const std::string& /*profileText*/, CUserProfile* /*profile*/) {}
    // Appends the game's lines to the profile file's text.
    virtual void save(std::string& /*text*/, CUserProfile* /*profile*/) {}
    // The profile became the active one.
    virtual void onActivated() {}
};
