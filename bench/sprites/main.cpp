// Frame times of N small moving sprites drawn by the render module, against the same number of
// the library's own billboard nodes, on OpenGL and on the library's NULL driver (which draws
// nothing, so its times are the engine's and the library's own work), and against the
// rasteriser's limit: the same quads, unmoving, drawn by plain OpenGL with one draw call in the
// same window, in blocks of frames that alternate with the sprites' own. Prints per case:
//   sprites=N textures=T drawcalls=D frame_ms=F billboard_frame_ms=B null_frame_ms=N
//   null_billboard_frame_ms=NB limit_frame_ms=L frame_ms_p95=... billboard_frame_ms_p95=...
//   null_frame_ms_p95=... null_billboard_frame_ms_p95=... limit_frame_ms_p95=...
// (on one line; medians over the measured frames, then their 95th percentiles), then comment
// lines ("#") with the draw-call runs the sort allows, the time per sprite, the allocations per
// frame and the profile of the engine's scopes. A sprite count as the argument (1000, 10000 or
// 50000) runs only those cases, and `COUNT null` only their NULL driver half.

#include "bench_device.h"
#include "circling_offsets.h"
#include "core/vellumengine.h"
#include "frame_times.h"
#include "gl_limit.h"
#include "rendered_frames.h"
#include "scene/node_sprite.h"
#include "scene/quad_batcher.h"
#include "scene/texture_region.h"
#include "utils/debug.h"

#include <irrlicht/irrlicht.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <new>
#include <string>
#include <vector>

namespace {

std::atomic<long> allocations{0};

} // namespace

void* operator new(std::size_t size) {
    ++allocations;
    if (void* memory = std::malloc(size ? size : 1)) {
        return memory;
    }
    throw std::bad_alloc();
}

void operator delete(void* memory) noexcept {
    std::free(memory);
}

void operator delete(void* memory, std::size_t) noexcept {
    std::free(memory);
}

using namespace irr;

namespace {

const int kWarmUpFrames = 10;
const int kMeasuredFrames = kMinimumMeasuredFrames;
// The NULL driver's frames are short and noisier, so more of them are measured.
const int kNullMeasuredFrames = 2 * kMinimumMeasuredFrames;
const int kTextureCount = 8;
// The engine's and the limit's frames alternate in this many blocks, each block after the first
// with a short warm-up of its own.
const int kLimitBlocks = 12;
const int kBlockWarmUpFrames = 2;
// About five pixels at Z 0 on an 800 by 600 screen.
const float kSpriteSize = 0.25f;

struct Placement {
    float x;
    float y;
    float phase;
};

// Reproducible positions spread over the visible field at Z 0.
std::vector<Placement> placements(int count) {
    std::vector<Placement> result;
    uint32_t seed = 12345;
    auto next = [&seed] {
        seed = seed * 1664525u + 1013904223u;
        return float(seed >> 8) / float(1 << 24);
    };
    for (int i = 0; i < count; ++i) {
        result.push_back({next() * 36 - 18, next() * 26 - 13, next() * 6.28f});
    }
    return result;
}

// The corners of a sprite quad at each placement, as the sprites have them: right-bottom,
// right-top, left-top, left-bottom.
std::vector<core::vector3df> quadCorners(const std::vector<Placement>& where) {
    const float half = kSpriteSize / 2;
    std::vector<core::vector3df> corners;
    for (const Placement& p : where) {
        corners.insert(corners.end(), {{p.x + half, p.y - half, 0},
                                       {p.x + half, p.y + half, 0},
                                       {p.x - half, p.y + half, 0},
                                       {p.x - half, p.y - half, 0}});
    }
    return corners;
}

struct FrameResult {
    FrameTimes times;
    int drawCalls = 0;
    double allocationsPerFrame = 0;
    // The plain OpenGL frames measured in turn with these, where a limit was given.
    FrameTimes limit;
};

void append(std::vector<double>& to, const std::vector<double>& more) {
    to.insert(to.end(), more.begin(), more.end());
}

// Moves every node a little along a circle around its placement, then draws a frame through the
// render module, as the main loop does. With a limit, its frames alternate with the engine's in
// blocks, so that both figures come from the same stretch of time and the ratio holds whatever
// the machine does meanwhile.
FrameResult measure(IrrlichtDevice* device, const std::vector<scene::ISceneNode*>& nodes,
                    const std::vector<Placement>& where, int measuredFrames, PlainGlQuads* limit) {
    std::vector<float> phases;
    for (const Placement& p : where) {
        phases.push_back(p.phase);
    }
    CirclingOffsets offsets(phases, 0.5f, 0.05f);
    const int blocks = limit != nullptr && limit->available() ? kLimitBlocks : 1;
    std::vector<double> times;
    std::vector<double> limitTimes;
    long allocated = 0;
    for (int block = 0; block < blocks; ++block) {
        const int warmUp = block == 0 ? kWarmUpFrames : kBlockWarmUpFrames;
        const int frames = measuredFrames / blocks + (block < measuredFrames % blocks ? 1 : 0);
        long allocationsBefore = 0;
        append(times, timeRenderedFrames(device, warmUp, frames, [&](int frame) {
                   if (frame == warmUp) {
                       allocationsBefore = allocations;
                   }
                   for (size_t i = 0; i < nodes.size(); ++i) {
                       const core::vector2df offset = offsets.next(i);
                       nodes[i]->setPosition(
                           core::vector3df(where[i].x + offset.X, where[i].y + offset.Y, 0));
                   }
               }));
        allocated += allocations - allocationsBefore;
        if (blocks > 1) {
            append(limitTimes, limit->frameTimes(warmUp, frames));
        }
    }
    FrameResult result;
    result.times = summarizeFrameTimes(times);
    result.limit = summarizeFrameTimes(limitTimes);
    result.drawCalls = getEngine().getRenderer().switchCount();
    result.allocationsPerFrame = double(allocated) / double(measuredFrames);
    return result;
}

// Draw calls the sorted frame needs: each texture's run, split where a batch is full.
int expectedRuns(int sprites, int textures) {
    int runs = 0;
    for (int t = 0; t < textures; ++t) {
        const int count = sprites / textures + (t < sprites % textures ? 1 : 0);
        runs += (count + CQuadBatcher::QuadCapacity - 1) / CQuadBatcher::QuadCapacity;
    }
    return runs;
}

FrameResult runSprites(IrrlichtDevice* device, const std::vector<video::ITexture*>& textures,
                       int count, int textureCount, int measuredFrames,
                       PlainGlQuads* limit = nullptr) {
    scene::ISceneManager* sceneManager = device->getSceneManager();
    scene::ISceneNode* holder = sceneManager->addEmptySceneNode();
    const std::vector<Placement> where = placements(count);
    std::vector<scene::ISceneNode*> nodes;
    for (int i = 0; i < count; ++i) {
        CSpriteNode* sprite =
            new CSpriteNode(holder, sceneManager, 8001, core::vector3df(where[i].x, where[i].y, 0),
                            core::dimension2df(kSpriteSize, kSpriteSize));
        TextureRegion region;
        region.setFromTexture(textures[i % textureCount]);
        sprite->setTextureRegion(region);
        sprite->setSpriteMaterial(getEngine().getRenderer().getMaterialType(0), 0);
        sprite->drop();
        nodes.push_back(sprite);
    }
    FrameResult result = measure(device, nodes, where, measuredFrames, limit);
    holder->remove();
    return result;
}

FrameResult runBillboards(IrrlichtDevice* device, const std::vector<video::ITexture*>& textures,
                          int count, int textureCount, int measuredFrames) {
    scene::ISceneManager* sceneManager = device->getSceneManager();
    scene::ISceneNode* holder = sceneManager->addEmptySceneNode();
    const std::vector<Placement> where = placements(count);
    std::vector<scene::ISceneNode*> nodes;
    for (int i = 0; i < count; ++i) {
        scene::IBillboardSceneNode* billboard = sceneManager->addBillboardSceneNode(
            holder, core::dimension2df(kSpriteSize, kSpriteSize),
            core::vector3df(where[i].x, where[i].y, 0));
        billboard->setMaterialTexture(0, textures[i % textureCount]);
        billboard->setMaterialFlag(video::EMF_LIGHTING, false);
        billboard->setMaterialFlag(video::EMF_BILINEAR_FILTER, false);
        billboard->setMaterialType(video::EMT_TRANSPARENT_ALPHA_CHANNEL);
        nodes.push_back(billboard);
    }
    FrameResult result = measure(device, nodes, where, measuredFrames, nullptr);
    holder->remove();
    return result;
}

// The statistics lines of a profiling report (sprite creation and the frames).
void printProfile(const char* title, const std::string& report) {
    std::printf("# profile of %s:\n", title);
    size_t start = 0;
    while (start < report.size()) {
        size_t end = report.find('\n', start);
        if (end == std::string::npos) {
            end = report.size();
        }
        const std::string line = report.substr(start, end - start);
        if (line.compare(0, 4, "max=") == 0) {
            std::printf("#   %s\n", line.c_str());
        }
        start = end + 1;
    }
}

// The cost of one measured scope, as node code pays it per node and frame.
double profileScopeMicroseconds() {
    const int rounds = 1000000;
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < rounds; ++i) {
        ProfileScope scope(__FILE__, __LINE__);
    }
    const auto end = std::chrono::steady_clock::now();
    return std::chrono::duration<double, std::micro>(end - start).count() / rounds;
}

// The one colour of bench texture t.
video::SColor benchTexel(int t) {
    return video::SColor(255, static_cast<u32>(60 + 24 * t), static_cast<u32>(255 - 24 * t), 128);
}

std::vector<video::ITexture*> makeTextures(video::IVideoDriver* driver) {
    std::vector<video::ITexture*> textures;
    for (int t = 0; t < kTextureCount; ++t) {
        video::IImage* image = driver->createImage(video::ECF_A8R8G8B8, core::dimension2du(8, 8));
        image->fill(benchTexel(t));
        char name[32];
        std::snprintf(name, sizeof name, "bench_%i", t);
        textures.push_back(driver->addTexture(name, image));
        image->drop();
    }
    return textures;
}

struct BenchCase {
    int sprites;
    int textures;
};

const BenchCase kCases[] = {{1000, 1},  {1000, kTextureCount}, {10000, 1}, {10000, kTextureCount},
                            {50000, 1}, {50000, kTextureCount}};

struct CaseResult {
    FrameResult sprites;
    FrameResult billboards;
    // The profiling report of creating the sprites and drawing their frames.
    std::string profile;
};

// The sprites' frames (alternating with the limit's, where one is given), then the billboards'.
CaseResult runCase(IrrlichtDevice* device, const std::vector<video::ITexture*>& textures,
                   const BenchCase& benchCase, int measuredFrames, PlainGlQuads* limit = nullptr) {
    CaseResult result;
    profilingReport();
    result.sprites =
        runSprites(device, textures, benchCase.sprites, benchCase.textures, measuredFrames, limit);
    result.profile = profilingReport();
    result.billboards =
        runBillboards(device, textures, benchCase.sprites, benchCase.textures, measuredFrames);
    return result;
}

} // namespace

int main(int argc, char** argv) {
    // A sprite count as the argument runs only the cases of that count; "null" after it only
    // their NULL driver half (for a profiler, which the rasteriser would swamp).
    const int onlyCount = argc > 1 ? std::atoi(argv[1]) : 0;
    const bool onlyNull = argc > 2 && std::string(argv[2]) == "null";
    std::vector<BenchCase> cases;
    for (const BenchCase& benchCase : kCases) {
        if (onlyCount == 0 || benchCase.sprites == onlyCount) {
            cases.push_back(benchCase);
        }
    }
    // The NULL driver's cases first, so that each case's line can carry both.
    std::vector<CaseResult> nullResults;
    {
        IrrlichtDevice* device = openBenchDevice(video::EDT_NULL);
        if (!device) {
            return 1;
        }
        const std::vector<video::ITexture*> textures = makeTextures(device->getVideoDriver());
        for (const BenchCase& benchCase : cases) {
            nullResults.push_back(runCase(device, textures, benchCase, kNullMeasuredFrames));
            // Progress while the OpenGL cases are still to come.
            std::fprintf(stderr,
                         "NULL driver: sprites=%i textures=%i null_frame_ms=%.3f "
                         "null_billboard_frame_ms=%.3f\n",
                         benchCase.sprites, benchCase.textures,
                         nullResults.back().sprites.times.median,
                         nullResults.back().billboards.times.median);
        }
        closeBenchDevice(device);
    }
    if (onlyNull) {
        return 0;
    }

    IrrlichtDevice* device = openBenchDevice();
    if (!device) {
        return 1;
    }
    const std::vector<video::ITexture*> textures = makeTextures(device->getVideoDriver());
    // On Mesa's software rasteriser the first sprite run in a new window draws its frames about
    // 1.4 times slower than every later run, however long its warm-up: one unmeasured run of
    // the first case lets every case be measured in the same steady state.
    if (!cases.empty()) {
        runSprites(device, textures, cases.front().sprites, cases.front().textures, kWarmUpFrames);
    }
    for (size_t i = 0; i < nullResults.size(); ++i) {
        const BenchCase& benchCase = cases[i];
        const int count = benchCase.sprites;
        PlainGlQuads plainQuads(device, quadCorners(placements(count)), benchTexel(0));
        const CaseResult gl = runCase(device, textures, benchCase, kMeasuredFrames, &plainQuads);
        const CaseResult& null = nullResults[i];
        const FrameTimes& limit = gl.sprites.limit;
        const FrameTimes& sprites = gl.sprites.times;
        const FrameTimes& billboards = gl.billboards.times;
        std::printf("sprites=%i textures=%i drawcalls=%i frame_ms=%.2f billboard_frame_ms=%.2f "
                    "null_frame_ms=%.3f null_billboard_frame_ms=%.3f limit_frame_ms=%.2f "
                    "frame_ms_p95=%.2f billboard_frame_ms_p95=%.2f null_frame_ms_p95=%.3f "
                    "null_billboard_frame_ms_p95=%.3f limit_frame_ms_p95=%.2f\n",
                    count, benchCase.textures, gl.sprites.drawCalls, sprites.median,
                    billboards.median, null.sprites.times.median, null.billboards.times.median,
                    limit.median, sprites.p95, billboards.p95, null.sprites.times.p95,
                    null.billboards.times.p95, limit.p95);
        std::printf("#   runs after sorting=%i, %.3f us per sprite, %.1f allocations per "
                    "frame (billboards %.1f), %.1fx faster than billboards, %.2fx the limit\n",
                    expectedRuns(count, benchCase.textures), sprites.median * 1000 / count,
                    gl.sprites.allocationsPerFrame, gl.billboards.allocationsPerFrame,
                    billboards.median / sprites.median,
                    limit.median > 0 ? sprites.median / limit.median : 0.0);
        std::printf("#   NULL driver: %.0f ns per sprite, %.1f allocations per frame, %i draw "
                    "calls, %.1fx faster than billboards\n",
                    null.sprites.times.median * 1e6 / count, null.sprites.allocationsPerFrame,
                    null.sprites.drawCalls,
                    null.billboards.times.median / null.sprites.times.median);
        if (count == 10000 && benchCase.textures == 1) {
            char title[96];
            std::snprintf(title, sizeof title, "creating the sprites and %i frames",
                          kWarmUpFrames + kMeasuredFrames);
            printProfile(title, gl.profile);
            std::snprintf(title, sizeof title, "the same on the NULL driver (%i frames)",
                          kWarmUpFrames + kNullMeasuredFrames);
            printProfile(title, null.profile);
        }
        std::fflush(stdout);
    }
    std::printf("# one measured scope costs %.3f us\n", profileScopeMicroseconds());

    closeBenchDevice(device);
    return 0;
}
