// Frame time and draw calls of 200 text nodes of 40 characters each, drawn with the game's main
// font through the render module on OpenGL. Prints:
//   texts=200 drawcalls=D frame_ms=F
// (the draw calls of one frame and the median frame time), then comment lines ("#") with the
// glyph quads per frame and the time per glyph. All glyphs come from one font page, so the
// whole frame should take one draw call.

#include "bench_device.h"
#include "core/game_client.h"
#include "core/vellumengine.h"
#include "platform/native_path.h"
#include "scene/node_text.h"
#include "scene/rendering_font.h"
#include "utils/utils_fs.h"
#include "utils/utils_lang.h"

#include <irrlicht/irrlicht.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

using namespace irr;

namespace {

const int kTextCount = 200;
const int kTextLength = 40;
const int kColumns = 4;
const int kWarmUpFrames = 5;
const int kMeasuredFrames = 30;

// Only what text nodes ask of a game: its main font.
class BenchGame : public IGameClient {
public:
    ~BenchGame() override {
        if (font) {
            font->drop();
        }
    }
    void onStart() override {}
    void onExit() override {}
    std::wstring getWindowCaption() override { return L"bench_texts"; }
    void getCursor(bool, CursorRequest&) override {}
    CGUIFont3D* getFont(const std::string&) override { return font; }

    CGUIFont3D* font = nullptr;
};

// 40 characters of printable text, different for every node.
std::string sampleText(int index) {
    static const char alphabet[] =
        "abcdefghijklmnopqrstuvwxyz ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    std::string text;
    for (int k = 0; k < kTextLength; ++k) {
        text += alphabet[(index * 7 + k * 3) % (sizeof alphabet - 1)];
    }
    return text;
}

} // namespace

int main() {
    IrrlichtDevice* device = openBenchDevice();
    if (!device) {
        return 1;
    }
    video::IVideoDriver* driver = device->getVideoDriver();
    CVellumEngine& engine = getEngine();
    // The repository's data folders hold the game's fonts.
    setProgramFolder(toEnginePath(std::string(VELLUM_SOURCE_DIR) + "/"));
    setLanguage("data_en");

    auto* game = new BenchGame();
    game->font = createFont(resolveDataPath("gui\\font-main.xml"), 5.0f);
    engine.setClient(game);
    game->drop();
    if (game->font->glyphCount() < 20) {
        std::fprintf(stderr, "the main font did not load\n");
        return 1;
    }

    const int rows = kTextCount / kColumns;
    std::vector<CTextNode*> texts;
    for (int i = 0; i < kTextCount; ++i) {
        const float x = -15.0f + 10.0f * static_cast<float>(i % kColumns);
        const float y = 14.0f - 28.0f * static_cast<float>(i / kColumns) / (rows - 1);
        CTextNode* text = makeTextNode("<font-size:-3>\n" + sampleText(i), core::vector3df(x, y, 0),
                                       nullptr, 8001);
        texts.push_back(text);
    }

    CRenderModule& renderer = engine.getRenderer();
    std::vector<double> times;
    int drawCalls = 0;
    int vertices = 0;
    for (int frame = 0; frame < kWarmUpFrames + kMeasuredFrames; ++frame) {
        const auto start = std::chrono::steady_clock::now();
        // The texts sway a little, as animated texts do.
        const float t = static_cast<float>(frame) * 0.05f;
        for (size_t i = 0; i < texts.size(); ++i) {
            core::vector3df position = texts[i]->getPosition();
            position.X += 0.01f * std::sin(t + static_cast<float>(i));
            texts[i]->setPosition(position);
        }
        device->run();
        renderer.resetFrameStatistics();
        driver->beginScene(true, true, video::SColor(255, 0, 0, 0));
        renderer.renderAll();
        driver->endScene();
        const auto end = std::chrono::steady_clock::now();
        if (frame >= kWarmUpFrames) {
            times.push_back(std::chrono::duration<double, std::milli>(end - start).count());
        }
        drawCalls = renderer.switchCount();
        vertices = renderer.trigCount();
    }
    std::sort(times.begin(), times.end());
    const double median = times[times.size() / 2];
    std::printf("texts=%i drawcalls=%i frame_ms=%.2f\n", kTextCount, drawCalls, median);
    std::printf("#   %i glyph quads per frame, %.3f us per glyph\n", vertices / 4,
                median * 1000 / (vertices / 4 > 0 ? vertices / 4 : 1));

    engine.setClient(nullptr);
    closeBenchDevice(device);
    return 0;
}
