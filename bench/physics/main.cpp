// Times the physics world under game load: 500 dynamic circles drawn by 20 shapeless affinity
// holes, stepped by the world stepper on base timer 1 with 25 ms frames of driven device time.
// Prints `bodies=500 holes=20 step_ms=S frame_ms=F step_ms_p95=S95 frame_ms_p95=F95`: the median
// of one world step with its contact walk and delivery, and of one whole frame (the step, every
// body following its node and every hole's affinity), then the 95th percentile of each.
#include "frame_times.h"
#include "physics_animator.h"
#include "physics_world.h"

#include "core/game_client.h"
#include "core/vellumengine.h"
#include "scene/node_sprite.h"
#include "utils/math_fastmath.h"

#include <irrlicht/irrlicht.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr int kBodies = 500;
constexpr int kHoles = 20;
constexpr int kWarmupFrames = 60;
constexpr int kSamples = 300;
static_assert(kSamples >= kMinimumMeasuredFrames, "too few frames for a steady figure");
constexpr irr::u32 kFrameMs = 25;

// A game whose level is always in play.
class BenchGame : public IGameClient {
public:
    void onStart() override {}
    void onExit() override {}
    std::wstring getWindowCaption() override { return L"bench"; }
    void getCursor(bool, CursorRequest&) override {}
    CGUIFont3D* getFont(const std::string&) override { return nullptr; }
};

// Counts the pairs, as game logic receiving them would.
class CountingHandler : public IPhysicsContactHandler {
public:
    void onCollision(irr::scene::ISceneNode*, irr::scene::ISceneNode*) override { ++pairs; }
    long pairs = 0;
};

void addBody(irr::scene::ISceneManager* scene, const std::string& parameters, float x, float y) {
    CSpriteNode* sprite = new CSpriteNode(scene->getRootSceneNode(), scene, 8001, {x, y, 0},
                                          irr::core::dimension2df(0.6f, 0.6f));
    sprite->drop();
    attachAnimator(sprite, new CPhysicsAnimator(parameters));
}

double milliseconds(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
        .count();
}

} // namespace

int main() {
    irr::IrrlichtDevice* device = irr::createDevice(irr::video::EDT_NULL);
    irr::scene::ISceneManager* scene = device->getSceneManager();
    CVellumEngine& engine = getEngine();
    engine.setDeviceServices(device);
    BenchGame* game = new BenchGame();
    engine.setClient(game);
    game->drop();
    engine.rootNode() = scene->getRootSceneNode();
    CountingHandler handler;
    CPhysicsWorld::get().setContactHandler(&handler);

    setRandomSeed(7);
    for (int i = 0; i < kHoles; ++i) {
        addBody(scene, "affinityforce[4] affinityradius[6] affinitydeadzone[0.1]",
                randomFloat(-20, 20), randomFloat(-15, 15));
    }
    for (int i = 0; i < kBodies; ++i) {
        addBody(scene,
                "shape[circle] density[1] restitution[0.3] damping[0.2] speed[2] vx[" +
                    std::to_string(randomFloat(-1, 1)) + "] vy[" +
                    std::to_string(randomFloat(-1, 1)) + "]",
                randomFloat(-20, 20), randomFloat(-15, 15));
    }

    irr::ITimer* timer = device->getTimer();
    timer->stop();
    irr::u32 now = 1000;
    std::vector<double> frames;
    std::vector<double> steps;
    for (int i = 0; i < kWarmupFrames + kSamples; ++i) {
        now += kFrameMs;
        timer->setTime(now);
        auto frameStart = std::chrono::steady_clock::now();
        engine.getRenderer().renderAll();
        const double frame = milliseconds(frameStart);
        auto stepStart = std::chrono::steady_clock::now();
        CPhysicsWorld::get().step();
        const double step = milliseconds(stepStart);
        if (i >= kWarmupFrames) {
            frames.push_back(frame);
            steps.push_back(step);
        }
    }

    const FrameTimes stepTimes = summarizeFrameTimes(steps);
    const FrameTimes frameTimes = summarizeFrameTimes(frames);
    std::printf(
        "bodies=%d holes=%d step_ms=%.3f frame_ms=%.3f step_ms_p95=%.3f frame_ms_p95=%.3f\n",
        kBodies, kHoles, stepTimes.median, frameTimes.median, stepTimes.p95, frameTimes.p95);
    std::fprintf(stderr, "touching pairs delivered: %ld\n", handler.pairs);

    CPhysicsWorld::get().setContactHandler(nullptr);
    scene->clear();
    engine.rootNode() = nullptr;
    engine.setClient(nullptr);
    engine.setDeviceServices(nullptr);
    device->drop();
    return 0;
}
