#pragma once

#include "core/module_userprofile.h"
#include "core/open_dialogs.h"
#include "input/module_mousekeyb.h"
#include "platform/locks.h"
#include "scene/rendering.h"
#include "script/module_scripting.h"
#include "sound/server_sound.h"

#include <irrlicht/irrlicht.h>

#include <atomic>
#include <cstdint>
#include <string>

class IGameClient;

enum EngineStage {
    STAGE_CREATED = 0,
    STAGE_STARTING = 10,
    STAGE_PRELOADING = 100,
    STAGE_RUNNING = 500,
    STAGE_EXITING = 999,
};

// The one object that ties the engine together: it owns the configuration, the active profile
// and the engine's modules, keeps the rendering device and its services, and offers the stage,
// the pause level, the scene lock, exit requests, cache clearing and preloading.
class CVellumEngine {
public:
    CVellumEngine();
    virtual ~CVellumEngine();
    CVellumEngine(const CVellumEngine&) = delete;
    CVellumEngine& operator=(const CVellumEngine&) = delete;

    // The game; a fatal error when none is set.
    IGameClient* getClient();
    bool hasClient() const { return client != nullptr; }
    // Grabs the new client and drops the old one.
    void setClient(IGameClient* newClient);

    EngineConfig& getConfig() { return config; }
    // The active profile, created with the configured name (defaults only) when there is none.
    CUserProfile* getActiveProfile();
    // Releases the active profile (saving it when changed) and activates the named one.
    void setActiveProfile(const std::string& name);

    irr::IrrlichtDevice* getDevice() const { return device; }
    irr::video::IVideoDriver* getDriver() const { return driver; }
    irr::scene::ISceneManager* getSceneManager() const { return sceneManager; }
    irr::ILogger* getLogger() const { return logger; }
    irr::io::IFileSystem* getFileSystem() const { return fileSystem; }
    // Set by device creation; cleared by dropDevice.
    void setDeviceServices(irr::IrrlichtDevice* newDevice);

    irr::scene::ICameraSceneNode*& camera() { return cameraNode; }
    irr::scene::ISceneNode*& rootNode() { return root; }
    // The pause fader while it is shown, and the current background sprite. The engine holds a
    // reference to each, so other code deleting them never leaves these pointers dangling.
    irr::scene::ISceneNode* pauseFader() const { return fader; }
    irr::scene::ISceneNode* backgroundNode() const { return background; }
    // Lets go of the fader and the background (the scene goes away).
    void forgetSceneNodes();

    CInputModule& getInput() { return input; }
    CSoundServer& getSound() { return sound; }
    // The dialogs currently open.
    COpenDialogList& openDialogs() { return dialogList; }
    CRenderModule& getRenderer() { return renderer; }
    CScriptHost& getScripting() { return scripting; }

    bool isDebugMode() const;
    int getStage() const { return stage; }
    void setStage(int newStage) { stage = newStage; }
    bool isStageRunning() const { return stage >= STAGE_RUNNING; }

    // The pause level: 0 running, 2 paused, 99 exit; 1 while the fader of an ended pause still
    // fades out.
    int getPauseLevel();
    // Sets (set) or clears a pause level; 0 only when an exit (99) would be taken back.
    int setPauseLevel(int level, bool set);

    // Ends the main loop after the current frame; a fatal error from any thread but the main one.
    void requestExit();
    bool isExitRequested() const { return exitRequested != 0; }

    uint32_t getMainThreadId() const { return mainThreadId; }
    void setMainThreadId(uint32_t id) { mainThreadId = id; }

    // Writes the text to the debug log when the level reaches the configured LogLevel.
    void logLeveled(const std::string& text, int level);
    // Empties the engine's caches; unless silent, says so in a box with the switch list.
    void clearCaches(bool silent);
    // Loads one data file into the caches it belongs to (during preloading).
    void preloadResource(const std::string& name);
    // Shows the image as the background (fading when asked); 1 when it is shown or already was,
    // 0 when the file does not exist.
    int setBackground(const std::string& name, bool fade);
    // Ends the animators of the node of that name and deletes it, fading out over fadeMs when
    // not 0; false when no node has the name.
    bool closeDialog(const std::string& name, int fadeMs);
    // Closes the open dialogs named in the list (all for an empty list or "-1").
    void closeDialogs(const std::string& list);

    CriticalSectionLock& getSceneLock() { return sceneLock; }
    CriticalSectionLock& getInputLock() { return inputLock; }

    // Frame statistics copied from the render module each frame.
    void setFrameStatistics(int framesPerSecond, const std::string& switches, int switchTotal,
                            int trigTotal);
    int getFps() const { return fps; }
    const std::string& getSwitchList() const { return switchList; }
    int getSwitchCount() const { return switchCount; }
    int getTrigCount() const { return trigCount; }

    float getPreloadProgress() const { return preloadProgress; }
    void setPreloadProgress(float progress) { preloadProgress = progress; }
    // What the loading screen's slider shows.
    const float* preloadProgressValue() const { return &preloadProgress; }

private:
    IProfileExtension* createProfileExtension();
    void showPauseFader(int fadeMs);
    // Stores a node in one of the engine's slots, holding one reference to it.
    static void holdNode(irr::scene::ISceneNode*& slot, irr::scene::ISceneNode* node);
    // Stores the pause level; a change reaches the sound server, which refreshes its volumes.
    void storePauseLevel(int level);

    IGameClient* client = nullptr;
    EngineConfig config;
    CUserProfile* activeProfile = nullptr;
    int pauseLevel = 0;
    irr::IrrlichtDevice* device = nullptr;
    irr::video::IVideoDriver* driver = nullptr;
    irr::scene::ISceneManager* sceneManager = nullptr;
    irr::ILogger* logger = nullptr;
    irr::io::IFileSystem* fileSystem = nullptr;
    CInputModule input;
    CSoundServer sound;
    CRenderModule renderer;
    CScriptHost scripting;
    int fps = 0;
    std::string switchList;
    int switchCount = 0;
    int trigCount = 0;
    std::atomic<uint32_t> mainThreadId{0};
    // Lock order, outermost first: sceneLock, inputLock, then the focus chain's lock. A frame
    // holds sceneLock while the device delivers input and while animators (click behaviours
    // among them) tick, so whatever takes inputLock outside a frame takes sceneLock first. The
    // locks of the caches, the log and the sound server are only ever taken after these.
    CriticalSectionLock sceneLock;
    CriticalSectionLock inputLock;
    irr::scene::ISceneNode* fader = nullptr;
    irr::scene::ICameraSceneNode* cameraNode = nullptr;
    irr::scene::ISceneNode* root = nullptr;
    std::atomic<int> stage{STAGE_CREATED};
    float preloadProgress = 0;
    irr::scene::ISceneNode* background = nullptr;
    std::string backgroundName;
    COpenDialogList dialogList;
    std::atomic<int> exitRequested{0};
};

// The engine singleton, constructed on first use and destroyed at process exit. Inline, since
// per-node code asks for it several times a node and frame.
inline CVellumEngine& getEngine() {
    static CVellumEngine engine;
    return engine;
}
