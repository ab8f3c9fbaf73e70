#include "module_userprofile.h"

#include "core/user_file_save.h"
#include "utils/base64.h"
#include "utils/checksums.h"
#include "utils/debug.h"
#include "utils/key_value.h"
#include "utils/number_text.h"
#include "utils/utils_fs.h"
#include "utils/utils_lang.h"
#include "utils/utils_str.h"

namespace {

VolumeUpdateHook& volumeUpdateHook() {
    static VolumeUpdateHook* hook = new VolumeUpdateHook();
    return *hook;
}

// Whether the list of seen tooltips ("key;key;...") holds the key as a whole entry.
bool hasSeenEntry(const std::string& seen, const std::string& key) {
    return find(";" + seen, ";" + key + ";") >= 0;
}

} // namespace

void setVolumeUpdateHook(VolumeUpdateHook hook) {
    volumeUpdateHook() = std::move(hook);
}

CUserProfile::CUserProfile(const std::string& name, EngineConfig& config,
                           IProfileExtension* extension)
    : Name(name), config(config) {
    if (name.empty()) {
        reportError("Can not create profile with empty name!", false);
    }
    const std::string& gameIni = config.getGameIni();
    Fullscreen = parseInt(getOption(gameIni, "Fullscreen"));
    WinCursor = parseInt(getOption(gameIni, "WinCursor"));
    EffectsVolume = parseFloat(getOption(gameIni, "EffectsVolume"));
    MusicVolume = parseFloat(getOption(gameIni, "MusicVolume"));
    XResolution = parseInt(getOption(gameIni, "XResolution"));
    YResolution = parseInt(getOption(gameIni, "YResolution"));
    if (XResolution < 100 || YResolution < 100) {
        XResolution = 800;
        YResolution = 600;
    }
    Language = getOption(gameIni, "Language");
    Extension = extension;
    if (Extension != nullptr) {
        Extension->initDefaults(gameIni, this);
    }
    Options.setChangeCount(1);
}

CUserProfile::~CUserProfile() {
    if (Extension != nullptr) {
        Extension->drop();
    }
}

void CUserProfile::load() {
    std::string contents;
    bool read = readSavedFileRaw(profilePath(), contents);
    Options.setChangeCount(0);
    if (!read) {
        markChanged();
    }
    std::string text = "\n" + contents + "\n";
    readIntOption(Fullscreen, text, "Fullscreen");
    readIntOption(WinCursor, text, "WinCursor");
    readFloatOption(EffectsVolume, text, "EffectsVolume");
    readFloatOption(MusicVolume, text, "MusicVolume");
    readIntOption(XResolution, text, "XResolution");
    readIntOption(YResolution, text, "YResolution");
    readStringOption(Language, text, "Language");
    readStringOption(TooltipShowed, text, "TooltipShowed");
    Options.parseOptions(text);
    if (Extension != nullptr) {
        Extension->load(text, this);
    }
    apply();
}

bool CUserProfile::save() {
    if (Options.changeCount() == 0) {
        return false;
    }
    std::string text;
    writeOption(text, "Fullscreen", Fullscreen);
    writeOption(text, "WinCursor", WinCursor);
    writeOption(text, "EffectsVolume", static_cast<double>(EffectsVolume));
    writeOption(text, "MusicVolume", static_cast<double>(MusicVolume));
    writeOption(text, "XResolution", XResolution);
    writeOption(text, "YResolution", YResolution);
    writeOption(text, "Language", Language);
    writeOption(text, "TooltipShowed", TooltipShowed);
    if (Extension != nullptr) {
        Extension->save(text, this);
    }
    text += Options.serializeOptions();
    return saveUserFile(profilePath(), text);
}

void CUserProfile::apply() {
    ::setLanguage(Language);
    if (volumeUpdateHook()) {
        volumeUpdateHook()(MusicVolume, EffectsVolume);
    }
}

bool CUserProfile::isTooltipShown(const std::string& tooltip, bool mark) {
    std::string key = intToText(tooltipChecksum(tooltip));
    if (!hasSeenEntry(TooltipShowed, key) || config.ShowTooltipAlways != 0) {
        if (mark) {
            markChanged();
            TooltipShowed += key + ";";
        }
        return false;
    }
    return true;
}

std::string CUserProfile::profilePath() const {
    std::string fileName = "pr_" + base64Encode(kBase64FileSafe, Name);
    sanitizeFileName(fileName);
    return userFolder() + fileName + ".ini";
}

namespace {

template <typename T>
void setField(T& field, const T& value, OptionSet& options) {
    if (field != value) {
        field = value;
        options.markChanged();
    }
}

} // namespace

void CUserProfile::setFullscreen(int value) {
    setField(Fullscreen, value, Options);
}

void CUserProfile::setWinCursor(int value) {
    setField(WinCursor, value, Options);
}

void CUserProfile::setEffectsVolume(float value) {
    setField(EffectsVolume, value, Options);
}

void CUserProfile::setMusicVolume(float value) {
    setField(MusicVolume, value, Options);
}

void CUserProfile::setResolution(int width, int height) {
    setField(XResolution, width, Options);
    setField(YResolution, height, Options);
}

void CUserProfile::setLanguage(const std::string& folder) {
    setField(Language, folder, Options);
}

void setActiveProfile(EngineConfig& config, CUserProfile*& activeProfile, const std::string& name,
                      const ProfileExtensionFactory& createExtension) {
    if (activeProfile != nullptr) {
        activeProfile->save();
        activeProfile->drop();
        activeProfile = nullptr;
    }
    if (name.empty()) {
        return;
    }
    std::string cleaned = name;
    sanitizeFileName(cleaned);
    cleaned = trim(cleaned);
    // A name made only of characters a file name cannot hold falls back to the default player
    // instead of ending the program.
    if (cleaned.empty()) {
        cleaned = "Player";
    }
    config.ActiveProfile = cleaned;
    activeProfile =
        new CUserProfile(cleaned, config, createExtension ? createExtension() : nullptr);
    activeProfile->load();
    if (activeProfile->getExtension() != nullptr) {
        activeProfile->getExtension()->onActivated();
    }
    updatePastProfiles(config.PastProfiles, cleaned);
}
