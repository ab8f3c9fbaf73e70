#include "aframeanimator.h"

#include "scene/node_base.h"
#include "scene/node_factory.h"
#include "scene/node_sprite.h"
#include "utils/debug.h"

#include <map>
#include <utility>

const char* const CFrameAnimator::kName = "ATL443";

namespace {

struct SharedLayout {
    int columns = 0;
    int rows = 0;
    std::shared_ptr<const CFrameAnimator::FrameList> frames;
};

SharedLayout shareLayout(const std::string& text) {
    FrameLayout layout = parseFrameLayout(text);
    return SharedLayout{
        layout.columns, layout.rows,
        std::make_shared<const CFrameAnimator::FrameList>(std::move(layout.frames))};
}

// The layouts almost every animated sprite uses, built once. Reached only on the main thread,
// inside sprite creation.
const SharedLayout* commonLayout(const std::string& text) {
    static auto* common = new std::map<std::string, SharedLayout>{
        {"8x1", shareLayout("8x1")}, {"8x2", shareLayout("8x2")}, {"16x1", shareLayout("16x1")}};
    auto found = common->find(text);
    return found != common->end() ? &found->second : nullptr;
}

} // namespace

CFrameAnimator::CFrameAnimator(irr::u32 durationMs, float columns, float rows,
                               std::shared_ptr<const FrameList> frames, int startFrame)
    : Duration(durationMs), StartFrame(startFrame), CurrentFrame(startFrame), Columns(columns),
      Rows(rows), Frames(std::move(frames)) {}

void CFrameAnimator::onAttached(irr::scene::ISceneNode* node) {
    if (CNodeBasement* engineNode = asEngineNode(node)) {
        detachAnimator(dynamic_cast<CBaseAnimator*>(engineNode->findAnimator(kName, false)));
    }
    setName(kName);
    showFrame(node);
}

void CFrameAnimator::onTick(irr::scene::ISceneNode* node, irr::u32 time) {
    ProfileScope scope("ANIM-FRAMES|" __FILE__, __LINE__);
    // An empty list has no frame to show, and a cycle without duration never moves on.
    if (!Frames || Frames->empty() || Duration == 0) {
        return;
    }
    double count = static_cast<double>(Frames->size());
    double passed = count * static_cast<double>(time - getStartTime()) / Duration;
    CurrentFrame = static_cast<int>(static_cast<long long>(StartFrame + passed) %
                                    static_cast<long long>(Frames->size()));
    showFrame(node);
}

void CFrameAnimator::finish() {
    CBaseAnimator::finish();
    Frames.reset();
}

void CFrameAnimator::showFrame(irr::scene::ISceneNode* node) const {
    auto* sprite = dynamic_cast<CSpriteNode*>(node);
    if (sprite == nullptr || !Frames || CurrentFrame < 0 ||
        static_cast<size_t>(CurrentFrame) >= Frames->size()) {
        return;
    }
    const irr::core::vector2di& cell = (*Frames)[CurrentFrame];
    sprite->setAtlas(static_cast<float>(cell.X), static_cast<float>(cell.Y), Columns, Rows, 0);
}

CFrameAnimator* createFrameAnimation(irr::u32 durationMs, const std::string& layout) {
    const SharedLayout* common = commonLayout(layout);
    SharedLayout own = common != nullptr ? SharedLayout() : shareLayout(layout);
    const SharedLayout& chosen = common != nullptr ? *common : own;
    if (chosen.frames->empty()) {
        return nullptr;
    }
    return new CFrameAnimator(durationMs, static_cast<float>(chosen.columns),
                              static_cast<float>(chosen.rows), chosen.frames, 0);
}
