#include "level.h"

#include "animators/abaseanimators.h"
#include "core/module_userprofile.h"
#include "core/vellumengine.h"
#include "level_controller.h"
#include "level_outcome.h"
#include "pause_marker.h"
#include "scene/description_values.h"
#include "scene/node_base.h"
#include "scene/pixel_copies.h"
#include "userstats.h"
#include "utils/utils_fs.h"
#include "wave_actors.h"

namespace {

int readHeaderInt(const std::string& header, const std::string& key) {
    std::string value;
    return getKeyValue(header, key, value) ? readDescriptionInt(value) : 0;
}

// The active player's profile remembers the level as the one to continue from, at once.
void rememberCurrentLevel(const std::string& name) {
    CUserProfile* profile = getEngine().getActiveProfile();
    if (!profile) {
        return;
    }
    auto* statistics = dynamic_cast<CGameStatistics*>(profile->getExtension());
    if (!statistics) {
        return;
    }
    if (statistics->getCurrentLevel() != name) {
        statistics->setCurrentLevel(name);
        profile->markChanged();
    }
    profile->save();
}

} // namespace

void CGameDialogFactory::onDialogCreated(CNodeBasement* root, const std::string& header,
                                         const std::vector<std::string>&) {
    if (readHeaderInt(header, "-PauseGame:") != 0) {
        attachAnimatorDormant(root, new CPauseMarker());
    }
    if (header.find("-Game-") == std::string::npos) {
        return;
    }
    attachAnimator(root, new CLevelController(this));

    std::string value;
    if (getKeyValue(header, "-Game-IsLevel:", value)) {
        if (readDescriptionInt(value) != 0) {
            rememberCurrentLevel(Name);
        }
        clearPixelCopies();
    }
    if (getKeyValue(header, "-Game-ShowTutorialOn1stFire:", value)) {
        showTutorialOnFirstFire = readDescriptionInt(value);
    }
    getKeyValue(header, "-Game-NextLevel:", nextLevel);
    clearPixelCopies();
    startLevelOutcome(nextLevel);

    levelFolder = splitPath(FilePath, true, true, false, false);
    waveFiles = readWaveFileList(header, levelFolder);
    std::vector<WaveActor> actors;
    if (!waveFiles.empty()) {
        actors = readWaveActors(readWaveText(waveFiles[0]));
    }
    currentWave = 0;
    loadWave(0);
    createWaveActors(actors, root, levelFolder);
    getEngine().clearCaches(true);
}

bool CGameDialogFactory::loadWave(int index) {
    if (index < 0 || static_cast<size_t>(index) >= waveFiles.size()) {
        levelWon();
        return true;
    }
    WavePoints points = readWavePoints(readWaveText(waveFiles[index]));
    if (points.hasMainPath) {
        mainPath = std::move(points.mainPath);
    }
    fireSpots.insert(fireSpots.end(), points.fireSpots.begin(), points.fireSpots.end());
    return false;
}
