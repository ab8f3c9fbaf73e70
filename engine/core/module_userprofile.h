#pragma once

#include "core/engine_config.h"
#include "core/profile_extension.h"
#include "utils/option_set.h"

#include <irrlicht/irrlicht.h>

#include <functional>
#include <string>

// One player's settings, kept in "pr_<name in file-safe Base64>.ini" in the user folder: screen,
// cursor, volumes, language, the tooltips already seen, the game's own values (through the
// extension) and free-form named options. The options' change counter tells whether the profile
// has to be written: 1 after creation, 0 after its file was read.
class CUserProfile : public irr::IReferenceCounted {
public:
    // Takes the defaults from the configuration's game.ini and then lets the extension (may be
    // null; the profile takes over its reference) set its own. An empty name is a fatal error.
    CUserProfile(const std::string& name, EngineConfig& config, IProfileExtension* extension);
    ~CUserProfile() override;
    CUserProfile(const CUserProfile&) = delete;
    CUserProfile& operator=(const CUserProfile&) = delete;

    // Reads the profile file over the defaults (a missing file marks the profile changed, so
    // it is written at its first save), then applies it.
    void load();
    // Writes the profile file when the profile has changed since it was read. False when
    // nothing was written.
    bool save();
    // Takes the language and the volumes into use; the volumes the sound server uses are written
    // back into the profile without counting as a change.
    void apply();
    void markChanged() { Options.markChanged(); }
    int changeCount() const { return Options.changeCount(); }

    // Whether the tooltip was already seen (always false with ShowTooltipAlways). When it counts
    // as not seen and `mark` is set, it is recorded as seen.
    bool isTooltipShown(const std::string& tooltip, bool mark);

    // The profile file: the user folder, "pr_" with the name in file-safe Base64, ".ini".
    std::string profilePath() const;

    const std::string& getName() const { return Name; }
    int getFullscreen() const { return Fullscreen; }
    int getWinCursor() const { return WinCursor; }
    float getEffectsVolume() const { return EffectsVolume; }
    float getMusicVolume() const { return MusicVolume; }
    // The volume fields themselves, for bars that show them while they change.
    const float* musicVolumeValue() const { return &MusicVolume; }
    const float* effectsVolumeValue() const { return &EffectsVolume; }
    int getXResolution() const { return XResolution; }
    int getYResolution() const { return YResolution; }
    const std::string& getLanguage() const { return Language; }
    const std::string& getTooltipShowed() const { return TooltipShowed; }
    OptionSet& getOptions() { return Options; }
    IProfileExtension* getExtension() const { return Extension; }

    // Each setter counts a change when the value differs.
    void setFullscreen(int value);
    void setWinCursor(int value);
    void setEffectsVolume(float value);
    void setMusicVolume(float value);
    void setResolution(int width, int height);
    void setLanguage(const std::string& folder);

private:
    std::string Name;
    int Fullscreen = 0;
    int WinCursor = 0;
    float EffectsVolume = 0;
    float MusicVolume = 0;
    int XResolution = 0;
    int YResolution = 0;
    std::string Language;
    std::string TooltipShowed;
    OptionSet Options;
    IProfileExtension* Extension = nullptr;
    const EngineConfig& config;
};

// The sound server's volume update: takes the music and effects volumes into use and writes the
// values it uses back into its arguments. The engine core connects its sound server here; until
// then applying a profile sets only the language.
using VolumeUpdateHook = std::function<void(float& music, float& effects)>;
void setVolumeUpdateHook(VolumeUpdateHook hook);

// Creates the extension of a new profile (the game client's createProfileExtension).
using ProfileExtensionFactory = std::function<IProfileExtension*()>;

// Switches the active profile: the one in `activeProfile` is saved when changed and dropped;
// then, for a non-empty name, the profile of the cleaned name (file-name characters sanitized,
// blanks trimmed) is created, loaded, applied and told it is active, becomes the
// configuration's ActiveProfile and moves up in its PastProfiles.
void setActiveProfile(EngineConfig& config, CUserProfile*& activeProfile, const std::string& name,
                      const ProfileExtensionFactory& createExtension);
