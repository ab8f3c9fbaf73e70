#include "vellumengine.h"

#include "animators/abaseanimators.h"
#include "animators/afadeanimators.h"
#include "animators/alifetimeanimators.h"
#include "core/game_client.h"
#include "dialogs/dialog_registry.h"
#include "platform/process.h"
#include "scene/node_animator.h"
#include "scene/node_base.h"
#include "scene/node_factory.h"
#include "scene/node_text.h"
#include "scene/node_utilities.h"
#include "scene/particle_groups.h"
#include "scene/pixel_copies.h"
#include "scene/texture_lists.h"
#include "utils/debug.h"
#include "utils/engine_state.h"
#include "utils/utils_fs.h"
#include "utils/utils_lang.h"
#include "utils/utils_str.h"

CVellumEngine::CVellumEngine() {
    // The utilities below the core follow the engine's stage, debug mode and pause level.
    setEngineStageSource([this] { return getStage(); });
    setDebugModeSource([this] { return isDebugMode(); });
    setPauseLevelSource([this] { return pauseLevel; });
    // "-Text:" and "-Label:" descriptions, dialogs, the pause fader and warnings get their text
    // nodes from the factory, which learns here how text nodes are made.
    setTextNodeCreator(makeTextNode);
    // A profile's volumes are slider values with a dead margin at either end.
    setVolumeUpdateHook([this](float& music, float& effects) {
        constexpr float kSliderMargin = 0.05f;
        sound.setVolumes(kSliderMargin, &music, &effects);
    });
}

CVellumEngine::~CVellumEngine() {
    if (activeProfile) {
        activeProfile->save();
    }
    sound.shutdown();
    if (activeProfile) {
        activeProfile->drop();
        activeProfile = nullptr;
    }
    setVolumeUpdateHook(nullptr);
    setClient(nullptr);
    setEngineStageSource(nullptr);
    setDebugModeSource(nullptr);
    setPauseLevelSource(nullptr);
    writeDebugLog();
}

IGameClient* CVellumEngine::getClient() {
    if (!client) {
        reportError("Client is not set!", false);
    }
    return client;
}

void CVellumEngine::setClient(IGameClient* newClient) {
    if (newClient) {
        newClient->grab();
    }
    if (client) {
        client->drop();
    }
    client = newClient;
}

CUserProfile* CVellumEngine::getActiveProfile() {
    if (!activeProfile) {
        if (config.ActiveProfile.empty()) {
            config.ActiveProfile = "Player";
        }
        activeProfile = new CUserProfile(config.ActiveProfile, config, createProfileExtension());
    }
    return activeProfile;
}

void CVellumEngine::setActiveProfile(const std::string& name) {
    ::setActiveProfile(config, activeProfile, name, [this] { return createProfileExtension(); });
}

IProfileExtension* CVellumEngine::createProfileExtension() {
    return client ? client->createProfileExtension() : nullptr;
}

void CVellumEngine::setDeviceServices(irr::IrrlichtDevice* newDevice) {
    device = newDevice;
    driver = device ? device->getVideoDriver() : nullptr;
    sceneManager = device ? device->getSceneManager() : nullptr;
    logger = device ? device->getLogger() : nullptr;
    fileSystem = device ? device->getFileSystem() : nullptr;
}

bool CVellumEngine::isDebugMode() const {
    return config.Debug != 0;
}

int CVellumEngine::getPauseLevel() {
    if (pauseLevel != 0) {
        return pauseLevel;
    }
    // The fader of an ended pause is still fading out.
    return getNodeByName("pause_fader") ? 1 : 0;
}

int CVellumEngine::setPauseLevel(int level, bool set) {
    ScopedLock guard(sceneLock);
    if (set && level == 99) {
        storePauseLevel(99);
        return 1;
    }
    if (!set && pauseLevel == 99) {
        return 0;
    }
    constexpr int kFadeMs = 1000;
    if (stage == STAGE_RUNNING) {
        if (set && level == 2 && pauseLevel != 2 && !fader) {
            showPauseFader(kFadeMs);
        } else if (!set && level <= 2 && pauseLevel == 2 && fader) {
            if (fader->getParent()) {
                attachAnimator(fader, new CSelfDestructAnimator(kFadeMs, 900));
            }
            holdNode(fader, nullptr);
        }
    }
    if (set || level == 0) {
        storePauseLevel(level);
    } else {
        setPauseLevel(0, set);
    }
    return 1;
}

void CVellumEngine::storePauseLevel(int level) {
    if (level == pauseLevel) {
        return;
    }
    pauseLevel = level;
    sound.setPauseLevel(level);
    sound.setVolumes(0, nullptr, nullptr);
}

void CVellumEngine::showPauseFader(int fadeMs) {
    CNodeBasement* shade = createSprite("gui\\black.png", 40, 30, irr::core::vector3df(0, 0, -5),
                                        root, nullptr, format("%s:%i", __FILE__, __LINE__));
    if (!shade) {
        return;
    }
    shade->setID(0);
    setNodeName(shade, "pause_fader");
    holdNode(fader, shade);
    createTextNode("<font-size:-1>\n" + localize("GAME.PAUSED"), irr::core::vector3df(0, 0, -0.1f),
                   shade, kNoNodeId);
    attachAnimator(shade, new CAlphaFadeAnimator(fadeMs, 0, 1.0f));
}

void CVellumEngine::holdNode(irr::scene::ISceneNode*& slot, irr::scene::ISceneNode* node) {
    if (node) {
        node->grab();
    }
    if (slot) {
        slot->drop();
    }
    slot = node;
}

void CVellumEngine::forgetSceneNodes() {
    holdNode(fader, nullptr);
    holdNode(background, nullptr);
}

void CVellumEngine::requestExit() {
    if (currentThreadId() != mainThreadId) {
        reportError("Thread-unsafe method is called from altthread!!!", false);
    }
    exitRequested = 1;
}

void CVellumEngine::logLeveled(const std::string& text, int level) {
    if (level >= config.LogLevel) {
        logDebug(text);
    }
}

void CVellumEngine::clearCaches(bool silent) {
    profilingReport();
    clearTextCache();
    clearLocalizationCaches();
    scripting.clearCompiledScripts();
    clearDescriptionCache();
    clearPixelCopies();
    if (!silent) {
        messageBox("Caches cleared!Switch list:\n" + switchList, 0);
    }
}

void CVellumEngine::setFrameStatistics(int framesPerSecond, const std::string& switches,
                                       int switchTotal, int trigTotal) {
    fps = framesPerSecond;
    switchList = switches;
    switchCount = switchTotal;
    trigCount = trigTotal;
}

void CVellumEngine::preloadResource(const std::string& name) {
    std::string relative = name;
    makeDataRelative(relative);
    if (relative.empty() || relative.back() == '.' || relative.find(".info") != std::string::npos ||
        relative.find("u-") != std::string::npos || relative.find("svn") != std::string::npos) {
        return;
    }
    std::string path = resolveDataPath(relative);
    std::string text;
    switch (classifyPath(path)) {
    case kFileConfiguration:
        // A configuration file holds particle groups or texture lists, never both.
        readTextFile(path, text);
        if (!loadParticleGroups(text)) {
            loadTextureLists(relative, text, "", false);
        }
        break;
    case kFileSound:
        sound.loadSample(path, false);
        break;
    case kFileText:
        readTextFile(path, text);
        break;
    case kFileSpriteDescription:
        readDescriptionFile(path);
        break;
    case kFileDialog:
        registerDialogFile(path);
        break;
    case kFileScript:
        scripting.appendScriptFile(path);
        break;
    default:
        break;
    }
}

int CVellumEngine::setBackground(const std::string& name, bool fade) {
    if (name == backgroundName) {
        return 1;
    }
    std::string path = resolveDataPath(name);
    if (!fileExists(path)) {
        return 0;
    }
    backgroundName = name;
    // A background that other code already took out of the scene is only let go.
    if (background && background->getParent()) {
        if (fade) {
            background->setPosition(background->getPosition() +
                                    irr::core::vector3df(0, 0, 0.0001f));
            attachAnimator(background, new CSelfDestructAnimator(1100, 1000));
        } else {
            deleteNode(background);
        }
    }
    holdNode(background, nullptr);
    CNodeBasement* shown = createSprite(path, 80, 80, irr::core::vector3df(0, 0, 20.55f), root,
                                        nullptr, format("%s:%i", __FILE__, __LINE__));
    holdNode(background, shown);
    if (shown && fade) {
        shown->setAlphaThreshold(0);
        shown->setAlpha(0.0f);
        attachAnimatorAfter(1000, shown, new CAlphaFadeAnimator(1000, 0, 1.0f));
    }
    return 1;
}

bool CVellumEngine::closeDialog(const std::string& name, int fadeMs) {
    CNodeBasement* node = getNodeByName(name);
    if (!node) {
        return false;
    }
    for (irr::scene::ISceneNodeAnimator* animator : node->getAnimators()) {
        if (INodeAnimator* engineAnimator = asNodeAnimator(animator)) {
            engineAnimator->finish();
        }
    }
    if (fadeMs != 0) {
        attachAnimator(node, new CSelfDestructAnimator(fadeMs, fadeMs * 9 / 10));
    } else {
        deleteNode(node);
    }
    return true;
}

void CVellumEngine::closeDialogs(const std::string& list) {
    dialogList.closeDialogs(list, [this](const std::string& name) { closeDialog(name, 0); });
}
