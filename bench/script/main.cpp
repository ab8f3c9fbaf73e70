// Times what every click, node creation and script timer pays: one action text run through the
// script host (compiled once, then taken from the cache), and one node table read from a sprite
// and applied back to it. Prints `action_call_us=A node_table_us=N` (microseconds per run, the
// best of five rounds).
#include "core/vellumengine.h"
#include "platform/process.h"
#include "scene/node_base.h"
#include "script/module_scripting.h"
#include "script/node_table.h"

#include <irrlicht/irrlicht.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>

namespace {

constexpr int kRuns = 100000;
constexpr int kRounds = 5;

double bestMicrosecondsPerRun(const std::function<void()>& work) {
    double best = 1e30;
    for (int round = 0; round < kRounds; ++round) {
        auto start = std::chrono::steady_clock::now();
        for (int run = 0; run < kRuns; ++run) {
            work();
        }
        std::chrono::duration<double, std::micro> spent = std::chrono::steady_clock::now() - start;
        best = std::min(best, spent.count() / kRuns);
    }
    return best;
}

} // namespace

int main() {
    CVellumEngine& engine = getEngine();
    engine.setMainThreadId(currentThreadId());
    CScriptHost& host = engine.getScripting();
    host.vm().run("clicks <- 0; function onClick(table) { ::clicks += table.x; }", "bench");

    double actionCall =
        bestMicrosecondsPerRun([&] { host.callScriptCode("onClick({x = 1, y = 2});"); });

    irr::IrrlichtDevice* device = irr::createDevice(irr::video::EDT_NULL);
    irr::scene::ISceneManager* scene = device->getSceneManager();
    auto* node = new CNodeBasement(scene->getRootSceneNode(), scene, 8001,
                                   irr::core::vector3df(1, 2, 3), irr::core::dimension2df(4, 5));
    NodeTableGroups groups = allNodeTableGroups();
    squirrel::Object table = host.vm().newTable();
    double nodeTable = bestMicrosecondsPerRun([&] {
        readNodeTable(host.vm(), node, table, groups);
        applyNodeTable(node, table, groups);
    });
    node->drop();
    scene->clear();
    device->drop();
    engine.setMainThreadId(0);

    std::printf("action_call_us=%.3f node_table_us=%.3f\n", actionCall, nodeTable);
    return 0;
}
