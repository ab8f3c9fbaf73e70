#include "vellumengine.h"

#include "core/game_client.h"
#include "platform/process.h"
#include "scene/pixel_copies.h"
#include "utils/debug.h"
#include "utils/engine_state.h"
#include "utils/system.h"
#include "utils/utils_fs.h"
#include "utils/utils_lang.h"

CVellumEngine::CVellumEngine() {
    // The utilities below the core follow the engine's stage, debug mode and pause level.
    setEngineStageSource([this] { return getStage(); });
    setDebugModeSource([this] { return isDebugMode(); });
    setPauseLevelSource([this] { return pauseLevel; });
}

CVellumEngine::~CVellumEngine() {
    if (activeProfile) {
        activeProfile->save();
        activeProfile->drop();
        activeProfile = nullptr;
    }
    setClient(nullptr);
    setEngineStageSource(nullptr);
    setDebugModeSource(nullptr);
    setPauseLevelSource(nullptr);
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
    return pauseLevel;
}

int CVellumEngine::setPauseLevel(int level, bool set) {
    ScopedLock guard(sceneLock);
    if (set && level == 99) {
        pauseLevel = 99;
        return 1;
    }
    if (!set && pauseLevel == 99) {
        return 0;
    }
    if (set || level == 0) {
        pauseLevel = level;
    } else {
        setPauseLevel(0, set);
    }
    return 1;
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

CVellumEngine& getEngine() {
    static CVellumEngine engine;
    return engine;
}
