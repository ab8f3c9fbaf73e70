#include "script_api.h"

#include "core/module_userprofile.h"
#include "core/vellumengine.h"
#include "dialogs/dialog_registry.h"
#include "dialogs/module_dialogfactory.h"
#include "game_data_files.h"
#include "scene/node_base.h"
#include "scene/node_helpers.h"
#include "scene/node_text.h"
#include "scene/node_utilities.h"
#include "scene/screen_mapping.h"
#include "utils/utils_fs.h"
#include "utils/utils_lang.h"

#include <algorithm>
#include <string>

namespace {

// Volume bars follow the profile's value at once.
constexpr float kVolumeFollowRate = 1000000.0f;
// Volume bars lie just in front of their option node.
constexpr float kVolumeBarDepth = -0.001f;

// Whether the script asked for a change rather than only a refresh.
bool isSwitched(const squirrel::CallContext& call) {
    return call.floatArg(0) != 0.0f;
}

void setLabel(const std::string& nodeName, const std::string& key) {
    if (CTextNode* label = findTextNode(nodeName)) {
        label->setText(localize(key));
    }
}

// The change of display mode only takes effect at the next start; the player is told so once
// per run.
void showFullScreenWarning() {
    static bool warningShown = false;
    if (warningShown) {
        return;
    }
    warningShown = true;
    openDialog(getDialogFile("alert_dialog"), irr::core::vector3df(0, 0, 0),
               getEngine().rootNode());
    if (CTextNode* field = findTextNode("alert_dialog_field")) {
        field->setText(localize("MENU.FULLSCREEN.WARNING"));
    }
}

enum class Volume { Music, Effects };

// The volume option node `nodeName`: on a switch, the volume becomes the cursor's horizontal
// place on the node (kept within 0..1, since a click may land just outside the box) and the
// profile is applied and saved; then the node gets its bar unless it has one.
void switchVolume(const std::string& nodeName, Volume volume, bool switched) {
    CNodeBasement* node = getNodeByName(nodeName);
    if (node == nullptr) {
        return;
    }
    CUserProfile* profile = getEngine().getActiveProfile();
    if (switched) {
        float value = std::clamp(getCursorInNode(node).X, 0.0f, 1.0f);
        if (volume == Volume::Music) {
            profile->setMusicVolume(value);
        } else {
            profile->setEffectsVolume(value);
        }
        profile->apply();
        profile->save();
    }
    const std::string barName = nodeName + "_slider";
    CNodeBasement* existing = getNodeByName(barName);
    if (existing != nullptr && existing->getOwner() != nullptr) {
        return;
    }
    irr::core::dimension2df size = node->getSize();
    float factor = std::max(size.Width, size.Height);
    const float* bound =
        volume == Volume::Music ? profile->musicVolumeValue() : profile->effectsVolumeValue();
    auto* slider = new CSlider(irr::core::vector3df(0, 0, kVolumeBarDepth), bound,
                               resolveDataPath(gamefiles::kVolumeBackground),
                               resolveDataPath(gamefiles::kVolumeBar), factor, factor, node, false);
    slider->setFollowRate(kVolumeFollowRate);
    setNodeName(slider->getContainer(), barName);
}

} // namespace

squirrel::Object game_SwitchFullScreen(squirrel::CallContext& call) {
    CUserProfile* profile = getEngine().getActiveProfile();
    if (isSwitched(call)) {
        profile->setFullscreen(profile->getFullscreen() != 0 ? 0 : 1);
        profile->save();
        showFullScreenWarning();
    }
    setLabel("option_fullscreen",
             profile->getFullscreen() != 0 ? "OPTION.LABEL.FULLSCREEN" : "OPTION.LABEL.WINDOWED");
    return squirrel::Object();
}

squirrel::Object game_SwitchWinCursor(squirrel::CallContext& call) {
    CUserProfile* profile = getEngine().getActiveProfile();
    if (isSwitched(call)) {
        profile->setWinCursor(profile->getWinCursor() != 0 ? 0 : 1);
        profile->save();
    }
    setLabel("option_wincursor",
             profile->getWinCursor() != 0 ? "OPTION.LABEL.WINCURSOR" : "OPTION.LABEL.FANCYCURSOR");
    return squirrel::Object();
}

squirrel::Object game_SwitchVolume(squirrel::CallContext& call) {
    switchVolume("option_musicvol", Volume::Music, isSwitched(call));
    return squirrel::Object();
}

squirrel::Object game_SwitchEffect(squirrel::CallContext& call) {
    switchVolume("option_effectvol", Volume::Effects, isSwitched(call));
    return squirrel::Object();
}
