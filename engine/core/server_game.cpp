#include "server_game.h"

#include "animators/asystemanimators.h"
#include "core/frame_cursor.h"
#include "core/game_client.h"
#include "core/vellumengine.h"
#include "input/recorded_input.h"
#include "platform/clock.h"
#include "platform/desktop_display.h"
#include "platform/frame_capture.h"
#include "platform/heap_reuse.h"
#include "platform/native_path.h"
#include "platform/process.h"
#include "scene/node_base.h"
#include "scene/node_debug_list.h"
#include "scene/node_factory.h"
#include "scene/node_utilities.h"
#include "scene/picture_area.h"
#include "scene/texture_cache.h"
#include "script/module_scripting_core.h"
#include "utils/debug.h"
#include "utils/system.h"
#include "utils/utils_fs.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

DeviceCreator& deviceCreator() {
    static DeviceCreator* creator =
        new DeviceCreator([](const irr::SIrrlichtCreationParameters& parameters) {
            return irr::createDeviceEx(parameters);
        });
    return *creator;
}

constexpr uint32_t kMinFrameTime = 12;

const char* kDeviceFailureText =
    "Failed to create 3D Device!\nPlease upgrade you video drivers/DirectX\n\nIf you already have "
    "latest drivers installed,\npress 'Yes' button to allow us to run\nDirectX diagnostic tool "
    "and send us diagnostic result\nto find what is the problem!";

bool isSoftwareDriver(irr::video::E_DRIVER_TYPE type) {
    return type == irr::video::EDT_SOFTWARE || type == irr::video::EDT_BURNINGSVIDEO;
}

// One line for standard error on why no device could be made here and where the log is: the
// devices need an X display and, for the hardware ones, an OpenGL driver.
std::string deviceFailureCause() {
    std::string log = toNativePath(debugFolder() + "last_debug.log");
    const char* display = std::getenv("DISPLAY");
    if (display == nullptr || display[0] == '\0') {
        return "No 3D device: DISPLAY is not set, so there is no X display to open a window on; "
               "set DISPLAY or run the game under xvfb-run -a. Debug log: " +
               log;
    }
    return std::string("No 3D device: the X display ") + display +
           " could not be opened, or gave no window for OpenGL or the software renderer; check "
           "that its X server runs and accepts this user, and that an OpenGL driver (Mesa's, or "
           "the graphics card's) is installed. Debug log: " +
           log;
}

} // namespace

void setDeviceCreator(DeviceCreator creator) {
    deviceCreator() = std::move(creator);
}

int run(IGameClient* client) {
    CVellumEngine& engine = getEngine();
    engine.setStage(STAGE_STARTING);
    engine.setClient(client);
    engine.getConfig().load();
    engine.setActiveProfile(engine.getConfig().ActiveProfile);
    engine.getSound().start(engine.getConfig().SoundDevice);
    keepFreedHeapForReuse();
    createDevice();
    mainLoop();
    dropDevice();
    engine.getConfig().save();
    engine.setActiveProfile("");
    return 1;
}

void createDevice() {
    CVellumEngine& engine = getEngine();
    EngineConfig& config = engine.getConfig();
    CUserProfile* profile = engine.getActiveProfile();

    irr::SIrrlichtCreationParameters parameters;
    // Every hardware request is served by the OpenGL driver on this platform.
    parameters.DriverType = irr::video::EDT_OPENGL;
    parameters.WindowSize =
        irr::core::dimension2du(profile->getXResolution(), profile->getYResolution());
    parameters.Bits = static_cast<irr::u8>(config.BitsPerPixel);
    // Full screen is a window of the desktop's size that the window manager shows over the whole
    // screen; the library's own full screen would switch the display mode.
    const bool fullScreen = profile->getFullscreen() != 0;
    parameters.Fullscreen = false;
    parameters.Stencilbuffer = false;
    parameters.Vsync = config.VSync != 0;
    parameters.AntiAlias = config.Antialiasing != 0 ? 1 : 0;
    parameters.EventReceiver = &engine.getInput();
    fullScreenMode = fullScreen ? 1 : 0;
    if (fullScreen) {
        const irr::core::dimension2du desktop = desktopResolution();
        if (desktop.Width > 0 && desktop.Height > 0) {
            parameters.WindowSize = desktop;
        }
    }

    irr::IrrlichtDevice* device = deviceCreator()(parameters);
    if (!device && parameters.Bits >= 32) {
        logDebug("Failed to create 3D device... Defaulting to 16b mode...");
        parameters.Bits = 16;
        device = deviceCreator()(parameters);
    }
    if (!device) {
        logDebug("Failed to create 3D device... Defaulting to software mode...");
        parameters.DriverType = irr::video::EDT_BURNINGSVIDEO;
        parameters.Bits = 32;
        parameters.Vsync = false;
        parameters.AntiAlias = 0;
        parameters.WindowSize = irr::core::dimension2du(640, 480);
        device = deviceCreator()(parameters);
    }
    if (!device) {
        std::fprintf(stderr, "%s\n", deviceFailureCause().c_str());
        messageBox(kDeviceFailureText, 3);
        // Nothing ran: launchers and scripts must see a failure.
        terminateProcess(1);
    }
    if (isSoftwareDriver(parameters.DriverType)) {
        config.softwareRendering = 1;
        config.HiQuality = 0;
        config.Antialiasing = 0;
    }

    engine.setDeviceServices(device);
    if (!engine.getLogger()) {
        reportError("Failed to make logger!", false);
    }
    engine.getLogger()->setLogLevel(static_cast<irr::ELOG_LEVEL>(config.LogLevel));
    irr::video::IVideoDriver* driver = engine.getDriver();
    if (!driver) {
        reportError("Failed to make driver!", false);
    }
    driver->setTextureCreationFlag(irr::video::ETCF_CREATE_MIP_MAPS, false);
    driver->setTextureCreationFlag(irr::video::ETCF_ALWAYS_32_BIT, true);
    device->setWindowCaption(engine.getClient()->getWindowCaption().c_str());
    // The picture follows the window's size, so the player may resize and maximise it.
    device->setResizable(true);
    if (fullScreen && !requestFullScreenWindow(device)) {
        logDebug("The window manager was not asked for a full-screen window: the driver does not "
                 "name its window.");
    }
    if (!engine.getSceneManager()) {
        reportError("Failed to make smgr!", false);
    }
    engine.getFileSystem()->changeWorkingDirectoryTo(toNativePath(gameFolder()).c_str());
    engine.getClient()->registerScriptFunctions();
    registerCoreFunctions(engine.getScripting().vm());
}

void dropDevice() {
    CVellumEngine& engine = getEngine();
    if (irr::IrrlichtDevice* device = engine.getDevice()) {
        // Cached regions point at textures that die with the device.
        forgetTextureCache();
        device->drop();
        engine.setDeviceServices(nullptr);
    }
}

namespace {

// Advances the device timer by a fixed step per frame in unattended runs.
void driveTimer(irr::ITimer* timer, int fixedFrameTime, int frame) {
    if (fixedFrameTime <= 0) {
        return;
    }
    if (!timer->isStopped()) {
        timer->stop();
    }
    timer->setTime(static_cast<irr::u32>(fixedFrameTime) * static_cast<irr::u32>(frame));
}

std::string screenshotPathFor(const std::vector<ScreenshotRequest>& requests, int frame) {
    for (const ScreenshotRequest& request : requests) {
        if (request.frame == frame) {
            return request.path;
        }
    }
    return std::string();
}

void writeScreenshot(irr::video::IVideoDriver* driver, const std::string& path) {
    irr::video::IImage* image = captureFrame(driver);
    if (!image) {
        return;
    }
    if (!writePngImage(driver, image, path)) {
        logDebug("Screenshot not written: " + path);
    }
    image->drop();
}

void drawCursor(CFrameCursor& frameCursor, IGameClient::CursorRequest& cursor,
                bool systemCursorShown, irr::video::ITexture* emptyTexture) {
    ProfileScope scope(__FILE__, __LINE__);
    CVellumEngine& engine = getEngine();
    CInputModule& input = engine.getInput();
    engine.getClient()->getCursor(input.isLeftDown(), cursor);
    irr::core::recti source = frameCursor.sourceRect(cursor, systemCursorShown, getTicks());
    irr::video::ITexture* texture = systemCursorShown ? emptyTexture : cursor.texture;
    if (!texture) {
        return;
    }
    const irr::core::position2di picture = currentPictureArea().UpperLeftCorner;
    irr::core::position2di at(picture.X + input.cursorX() + cursor.hotspot.X,
                              picture.Y + input.cursorY() + cursor.hotspot.Y);
    engine.getDriver()->draw2DImage(texture, at, source, nullptr,
                                    irr::video::SColor(255, 255, 255, 255), true);
}

// Puts the recorder between the device and the input module when the run records or replays input;
// true when it is there. The replay is read first, so recording into the same file cannot empty it
// before it is read.
bool useRecordedInput(CRecordedInput& recordedInput, const EngineConfig& config,
                      irr::IrrlichtDevice* device) {
    bool replaying = !config.InputReplay.empty() && recordedInput.startReplay(config.InputReplay);
    bool recording =
        !config.InputRecord.empty() && recordedInput.startRecording(config.InputRecord);
    if (!replaying && !recording) {
        return false;
    }
    device->setEventReceiver(&recordedInput);
    return true;
}

void tearDown() {
    CVellumEngine& engine = getEngine();
    ScopedLock guard(engine.getSceneLock());
    engine.setPauseLevel(99, true);
    engine.setStage(STAGE_EXITING);
    engine.forgetSceneNodes();
    debugPrint("======= Exit in progress ========\n");
    if (irr::scene::ICameraSceneNode* camera = engine.camera()) {
        engine.camera() = nullptr;
        camera->remove();
    }
    if (irr::scene::ISceneNode* root = engine.rootNode()) {
        engine.rootNode() = nullptr;
        root->remove();
    }
    engine.getRenderer().releaseLists();
    engine.getRenderer().releaseMaterials();
    if (engine.isDebugMode()) {
        writeProfilingReport();
        std::vector<std::string> orphans = debugNodeNames();
        if (!orphans.empty()) {
            std::string text = "Orphaned Nodes found!";
            for (const std::string& name : orphans) {
                text += "\r\n" + name;
            }
            messageBox(text, 0);
        }
    }
    engine.clearCaches(true);
    engine.getClient()->onExit();
    guard.unlock();
    engine.setMainThreadId(0);
}

} // namespace

void mainLoop() {
    CVellumEngine& engine = getEngine();
    EngineConfig& config = engine.getConfig();
    irr::IrrlichtDevice* device = engine.getDevice();
    irr::video::IVideoDriver* driver = engine.getDriver();
    irr::scene::ISceneManager* scene = engine.getSceneManager();

    engine.setMainThreadId(currentThreadId());
    CRecordedInput recordedInput(engine.getInput());
    bool recordedInputUsed = useRecordedInput(recordedInput, config, device);
    engine.getRenderer().registerCustomMaterials(driver, config.softwareRendering != 0);
    engine.getClient()->onStart();
    driver->setAmbientLight(irr::video::SColorf(1.0f, 1.0f, 1.0f, 1.0f));

    defineNameId("camera", 1000);
    irr::scene::ICameraSceneNode* camera =
        scene->addCameraSceneNode(nullptr, irr::core::vector3df(0, 0, -20.65f),
                                  irr::core::vector3df(0, 0, 0), nameToId("camera"));
    engine.camera() = camera;
    camera->setAspectRatio(4.0f / 3.0f);
    camera->setPosition(irr::core::vector3df(0, 0, -20.65f));
    scene->setActiveCamera(camera);

    irr::video::ITexture* emptyTexture = getTextureRegion("gui\\empty.png").Texture;

    int frame = 0;
    int lastCursorVisibility = -1;
    irr::core::recti lastPicture = currentPictureArea();
    IGameClient::CursorRequest cursor;
    CFrameCursor frameCursor;

    defineNameId("pole", 1001);
    CNodeBasement* root =
        createEmptyNode(scene->getRootSceneNode(), nameToId("pole"), irr::core::vector3df(0, 0, 0));
    engine.rootNode() = root;
    root->setName("MAIN_POLE");
    attachAnimator(root, new CSystemAnimator());

    const std::string startupFile = "scripts\\startup.nut";
    std::string startup;
    readTextFile(startupFile, startup);
    startup += "\r\n";
    startup += "startGame();";
    engine.getScripting().callScriptCode(startup, squirrel::Object(), startupFile);

    engine.setStage(STAGE_PRELOADING);

    for (;;) {
        driveTimer(device->getTimer(), config.FixedFrameTime, frame + 1);
        recordedInput.beginFrame(frame + 1);
        uint32_t frameStart = getTicks();
        {
            ScopedLock guard(engine.getSceneLock());
            if (!device->run()) {
                break;
            }
            recordedInput.replayFrame(device);
        }
        CRenderModule& renderer = engine.getRenderer();
        renderer.resetFrameStatistics();
        ++frame;
        // A resized window moves the picture under the pointer, which stays where it was.
        const irr::core::recti picture = currentPictureArea();
        if (picture != lastPicture && engine.getStage() >= STAGE_RUNNING) {
            lastPicture = picture;
            engine.getInput().updateCursor();
        }
        // The game's screens cover the picture; only the bars beside it need clearing.
        const bool windowHasBars =
            picture.getSize() != irr::core::dimension2di(driver->getScreenSize());
        driver->beginScene(windowHasBars, true, irr::video::SColor(0, 0, 0, 0));
        {
            PictureViewport viewport(driver);
            {
                ScopedLock guard(engine.getSceneLock());
                renderer.renderAll();
            }
            engine.getClient()->onFrame();
        }

        bool systemCursorShown =
            isSystemCursorShown({engine.getActiveProfile()->getWinCursor(), engine.getPauseLevel(),
                                 engine.getStage(), config.softwareRendering});
        if (static_cast<int>(systemCursorShown) != lastCursorVisibility) {
            device->getCursorControl()->setVisible(systemCursorShown);
            lastCursorVisibility = systemCursorShown ? 1 : 0;
        }
        if (!config.softwareRendering) {
            drawCursor(frameCursor, cursor, systemCursorShown, emptyTexture);
        }

        std::string screenshot = screenshotPathFor(config.ScreenshotAt, frame);
        if (!screenshot.empty()) {
            writeScreenshot(driver, screenshot);
        }
        driver->endScene();
        engine.setFrameStatistics(driver->getFPS(), renderer.switchList(), renderer.switchCount(),
                                  renderer.trigCount());

        // Unattended runs with a fixed frame time need no limiter: their time is driven.
        if (!config.softwareRendering && config.FixedFrameTime <= 0) {
            sleepMilliseconds(0);
            while (getTicks() - frameStart < kMinFrameTime) {
                sleepMilliseconds(0);
            }
        }
        if (config.ExitAfterFrames > 0 && frame >= config.ExitAfterFrames) {
            break;
        }
        if (engine.getPauseLevel() >= 99 || engine.getStage() >= STAGE_EXITING ||
            engine.isExitRequested()) {
            break;
        }
    }
    tearDown();
    if (recordedInputUsed) {
        device->setEventReceiver(&engine.getInput());
    }
}
