#include "game_check.h"

#include "game_data_files.h"
#include "level_check.h"
#include "physics_parameters.h"
#include "spriting.h"
#include "utils/utils_str.h"

#include <algorithm>
#include <regex>

namespace {

// Features the check notes where first used, for the files and script functions they need.
const char kHoleMakerFeature[] = "-GameLogic-FollowCursor:";
const char kHealthBarFeature[] = "-GameLogic-ObjectInfo: with b";
const char kObjectInfoFeature[] = "-GameLogic-ObjectInfo:";

const std::vector<DescriptionKey>& gameKeys() {
    static const std::vector<DescriptionKey> keys = {
        {"-Animation.GeometryWarp:", kSpriteKey, KeyForm::Tagged, "ta"},
        {"-Animation.Align2Path:", kSpriteKey, KeyForm::Int},
        {"-Animation.Physics2D:", kSpriteKey, KeyForm::Raw},
        {"-GameLogic-ObjectInfo:", kSpriteKey, KeyForm::Tagged, "hab", 't', false, true},
        {"-GameLogic-FollowCursor:", kSpriteKey, KeyForm::Tagged, "s"},
        {"-PauseGame:", kDialogHeaderKey, KeyForm::Int},
        {"-Game-", kDialogHeaderKey, KeyForm::Marker},
        {"-Game-IsLevel:", kDialogHeaderKey, KeyForm::Int},
        {"-Game-ShowTutorialOn1stFire:", kDialogHeaderKey, KeyForm::Int},
        {"-Game-NextLevel:", kDialogHeaderKey, KeyForm::Text},
        {"-Wave#:", kDialogHeaderKey, KeyForm::Text},
    };
    return keys;
}

void checkPhysics(CheckSession& session, const std::string& parameters, const CheckPlace& place) {
    static const std::regex item(R"(([A-Za-z0-9_]+)\[)");
    const std::vector<std::string>& names = physicsParameterNames();
    for (auto it = std::sregex_iterator(parameters.begin(), parameters.end(), item);
         it != std::sregex_iterator(); ++it) {
        std::string name = (*it)[1];
        if (std::find(names.begin(), names.end(), name) == names.end()) {
            session.error(
                place, format("unknown physics item '%s[': the engine ignores it", name.c_str()));
        }
    }
    std::string shape = parsePhysicsParameters(parameters).shape;
    // Without a shape the body only pulls or pushes (the holes).
    if (!shape.empty() && shape != "box" && shape != "circle") {
        session.error(place, format("physics shape '%s' is neither box nor circle: the body gets "
                                    "no shape",
                                    shape.c_str()));
    }
}

void checkGameKeys(CheckSession& session, const SpriteDescription& record,
                   const SectionLines& keys) {
    const auto* game = dynamic_cast<const CGameSpriteDescription*>(&record);
    if (!game) {
        return;
    }
    if (game->FollowCursor != 0) {
        session.noteUse(kHoleMakerFeature, keys.placeOf("-GameLogic-FollowCursor:"));
    }
    CheckPlace objectInfo = keys.placeOf("-GameLogic-ObjectInfo:");
    if (game->ObjectHealth != 0) {
        session.noteUse(kObjectInfoFeature, objectInfo);
    }
    if (game->ObjectHealthBar != 0) {
        session.noteUse(kHealthBarFeature, objectInfo);
    }
    if (game->ObjectHealth == 0 && !game->ObjectType.empty()) {
        session.warning(objectInfo, "-GameLogic-ObjectInfo: without health (h): the object "
                                    "gets no object info and raises no collision events");
    }
    if (!game->PhysicsParameters.empty()) {
        checkPhysics(session, game->PhysicsParameters, keys.placeOf("-Animation.Physics2D:"));
    }
}

const std::vector<RequiredFile>& gameRequiredFiles() {
    using namespace gamefiles;
    static const std::vector<RequiredFile> files = {
        {kMainFont, "the main font", "", kMinimumFontCharacters},
        {kAlternativeFont, "the alternative font (<font-face:alt>)", "", kMinimumFontCharacters},
        {kUsualCursor, "the drawn cursor outside levels"},
        {kPointCursor, "the drawn cursor in levels"},
        {kBlackHole, "the black hole a right click drops", kHoleMakerFeature},
        {kWhiteHole, "the white hole a left click drops", kHoleMakerFeature},
        {kHealthBar, "the health bar of game objects", kHealthBarFeature},
        {kLoadingBackground, "the loading bar's background", "game_CreatePreloaderSlider"},
        {kLoadingBar, "the loading bar", "game_CreatePreloaderSlider"},
        {kVolumeBackground, "the volume bar's background", "game_SwitchVolume"},
        {kVolumeBar, "the volume bar", "game_SwitchVolume"},
        {kVolumeBackground, "the volume bar's background", "game_SwitchEffect"},
        {kVolumeBar, "the volume bar", "game_SwitchEffect"},
        {kBlackCurtain, "the black curtain", "game_createFader_BlackCurtain"},
        {kWhiteCurtain, "the white curtain", "game_createFader_WhiteCurtain"},
    };
    return files;
}

const std::vector<RequiredFunction>& gameRequiredFunctions() {
    static const std::vector<RequiredFunction> functions = {
        {"levelFinished_Good", "when a level is won", kLevelFeature},
        {"levelFinished_Bad", "when a level is lost", kLevelFeature},
        {"onCollision", "when two game objects touch", kObjectInfoFeature},
        {"onHit", "when a game object is hit", kObjectInfoFeature},
        {"onKill", "when a game object dies", kObjectInfoFeature},
        {"activateFirespot", "when the ship reaches a fire spot", kFireSpotFeature},
        {"showFireTutorial", "at the first fire spot of a level that asks for the tutorial",
         kFireTutorialFeature},
    };
    return functions;
}

} // namespace

CheckExtensions gameCheckExtensions() {
    CheckExtensions extensions;
    extensions.keys = gameKeys();
    extensions.recordChecks.push_back(checkGameKeys);
    extensions.dialogChecks.push_back(checkLevelHeader);
    extensions.requiredFiles = gameRequiredFiles();
    extensions.requiredFunctions = gameRequiredFunctions();
    return extensions;
}

int runGameCheck(IGameClient* game) {
    return runCheck(game, gameCheckExtensions(), stdout);
}
