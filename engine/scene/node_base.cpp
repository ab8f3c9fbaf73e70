#include "node_base.h"

#include "core/vellumengine.h"
#include "node_animator.h"
#include "node_debug_list.h"
#include "node_utilities.h"
#include "utils/debug.h"
#include "utils/engine_state.h"
#include "utils/option_set.h"
#include "utils/utils_str.h"

#include <atomic>
#include <cmath>
#include <cstring>

const char* const NBASE_SPR = "NBASE_SPR";
const char* const NBASE_TXT = "NBASE_TXT";

namespace {

std::atomic<int> serialCounter{0};

const float kBoxHalfThickness = 0.001f;
const float kDepthBoxStep = 1e-8f;
const float kMoveTolerance = 1e-8f;

// Calls apply on every engine node of the subtree, the root included.
template <typename Apply>
void forEachEngineNode(irr::scene::ISceneNode* root, Apply&& apply) {
    if (CNodeBasement* node = asEngineNode(root)) {
        apply(*node);
    }
    for (irr::scene::ISceneNode* child : root->getChildren()) {
        forEachEngineNode(child, apply);
    }
}

irr::scene::ISceneNodeAnimator* findNamedAnimator(irr::scene::ISceneNode* node,
                                                  const std::string& name, bool recursive) {
    for (irr::scene::ISceneNodeAnimator* animator : node->getAnimators()) {
        INodeAnimator* named = asNodeAnimator(animator);
        if (named != nullptr && name == named->getName()) {
            return animator;
        }
    }
    if (recursive) {
        for (irr::scene::ISceneNode* child : node->getChildren()) {
            if (irr::scene::ISceneNodeAnimator* found = findNamedAnimator(child, name, true)) {
                return found;
            }
        }
    }
    return nullptr;
}

} // namespace

CNodeBasement* asEngineNode(irr::scene::ISceneNode* node) {
    if (node == nullptr) {
        return nullptr;
    }
    const char* marker = node->getDebugName();
    return marker == NBASE_SPR || marker == NBASE_TXT ? static_cast<CNodeBasement*>(node) : nullptr;
}

CNodeBasement::CNodeBasement(irr::scene::ISceneNode* parent, irr::scene::ISceneManager* manager,
                             irr::s32 id, const irr::core::vector3df& position,
                             const irr::core::dimension2df& size)
    : irr::scene::ISceneNode(parent, manager, id, position), Serial(++serialCounter) {
    ProfileScope scope("ADDSPR-CNodeBasement constr|" __FILE__, __LINE__);
    setID(id);
    if (debugModeActive()) {
        std::string debugName =
            format("CSpriteNode id=%i pos=(%04i:%04i)", id, static_cast<int>(position.X * 1000),
                   static_cast<int>(position.Y * 1000));
        setName(debugName.c_str());
        addDebugNode(this);
    }
    setDebugName(NBASE_SPR);
    MapY2Z = 0;
    AbsoluteDepth = 0;
    setLocalDepth(0);
    HideCount = 0;
    setAlphaThreshold(12);
    Owner = nullptr;
    setAutomaticCulling(irr::scene::EAC_OFF);
    AnimatorsEnabled = 1;
    setSize(size.Width, size.Height);
    setPosition(position);
    Alpha = 1.0f;
    AlphaFactor = 1.0f;
    Tint = 0xFFFFFFFFu;
}

CNodeBasement::~CNodeBasement() {
    for (irr::scene::ISceneNodeAnimator* animator : Animators) {
        if (INodeAnimator* engineAnimator = asNodeAnimator(animator)) {
            engineAnimator->finish();
        }
    }
    getIdCache(ID, kIdCacheClear, this);
    if (Owner != nullptr) {
        Owner->drop();
        Owner = nullptr;
    }
    removeAnimators();
    removeAll();
    removeDebugNode(this);
    Properties.reset();
}

void CNodeBasement::deserializeAttributes(irr::io::IAttributes*,
                                          irr::io::SAttributeReadWriteOptions*) {}

void CNodeBasement::OnRegisterSceneNode() {
    if (!IsVisible) {
        return;
    }
    if (getEffectiveAlpha() != 0) {
        getEngine().getRenderer().addNode(this, RenderOrder);
    }
    irr::scene::ISceneNode::OnRegisterSceneNode();
}

void CNodeBasement::OnAnimate(irr::u32 timeMs) {
    if (!IsVisible) {
        return;
    }
    if (AnimatorsEnabled != 0) {
        // The iterator moves on before the step, so an animator may remove itself.
        auto animator = Animators.begin();
        while (animator != Animators.end()) {
            irr::scene::ISceneNodeAnimator* current = *animator;
            ++animator;
            current->animateNode(this, timeMs);
        }
    }
    updateAbsolutePosition();
    for (irr::scene::ISceneNode* child : Children) {
        child->OnAnimate(timeMs);
    }
}

void CNodeBasement::render() {}

const irr::core::aabbox3d<irr::f32>& CNodeBasement::getBoundingBox() const {
    return Box;
}

void CNodeBasement::setID(irr::s32 id) {
    ProfileScope scope("SETID|" __FILE__, __LINE__);
    setName(format("id%08X_%s", static_cast<unsigned>(id), getName()).c_str());
    // The old entry is released whatever the old ID was (0 included), so no table entry is left
    // pointing at a node that has moved to another ID.
    getIdCache(ID, kIdCacheClear, this);
    ID = id;
    getIdCache(id, kIdCacheWrite, this);
}

void CNodeBasement::setPosition(const irr::core::vector3df& position) {
    GeometryValid = 0;
    irr::scene::ISceneNode::setPosition(position);
}

void CNodeBasement::updateAbsolutePosition() {
    ProfileScope scope("updateAbsolutePosition|" __FILE__, __LINE__);
    irr::core::vector3df before = AbsoluteTransformation.getTranslation();
    updateAbsoluteTransformation();
    irr::core::vector3df after = AbsoluteTransformation.getTranslation();
    if (GeometryValid != 0 && (std::fabs(after.X - before.X) > kMoveTolerance ||
                               std::fabs(after.Y - before.Y) > kMoveTolerance ||
                               std::fabs(after.Z - before.Z) > kMoveTolerance)) {
        GeometryValid = 0;
    }
    if (MapY2Z != 0) {
        LocalDepth = static_cast<int>(MapY2Z * RelativeTranslation.Y);
    }
    CNodeBasement* parent = asEngineNode(Parent);
    AbsoluteDepth = parent != nullptr ? LocalDepth + parent->AbsoluteDepth : LocalDepth;
}

void CNodeBasement::updateAbsoluteTransformation() {
    const bool turned =
        RelativeRotation.X != 0 || RelativeRotation.Y != 0 || RelativeRotation.Z != 0;
    // The library compares the scale with the same tolerance before it applies it.
    if (Parent == nullptr || turned || RelativeScale != irr::core::vector3df(1.f, 1.f, 1.f)) {
        irr::scene::ISceneNode::updateAbsolutePosition();
        return;
    }
    // The relative transformation is a plain translation, so the product keeps the parent's
    // first three columns and carries the translation through them, summed in the same order
    // as the library's full product. Working on local copies tells the compiler that the two
    // matrices do not overlap, so it copies and sums whole rows at once.
    irr::f32 parent[16];
    std::memcpy(parent, Parent->getAbsoluteTransformation().pointer(), sizeof parent);
    irr::f32 absolute[16];
    std::memcpy(absolute, parent, 12 * sizeof(irr::f32));
    const irr::core::vector3df t = RelativeTranslation;
    for (int row = 0; row < 4; ++row) {
        absolute[12 + row] =
            parent[row] * t.X + parent[4 + row] * t.Y + parent[8 + row] * t.Z + parent[12 + row];
    }
    std::memcpy(AbsoluteTransformation.pointer(), absolute, sizeof absolute);
}

void CNodeBasement::setSize(float width, float height) {
    Size.Width = width == 0 ? 1.0f : width;
    Size.Height = height == 0 ? 1.0f : height;
    GeometryValid = 0;
    Box = irr::core::aabbox3d<irr::f32>(-Size.Width / 2, -Size.Height / 2, -kBoxHalfThickness,
                                        Size.Width / 2, Size.Height / 2, kBoxHalfThickness);
    updateDepthBox();
}

irr::core::dimension2df CNodeBasement::getSize() const {
    return Size;
}

void CNodeBasement::emptyHook(int, int) {}

irr::u32 CNodeBasement::getNodeKind() const {
    return irr::scene::ESNT_BILLBOARD;
}

int CNodeBasement::getEffectiveAlpha() const {
    if (HideCount > 0) {
        return 0;
    }
    // Clamped as a float: an author's alpha may be far beyond what an int holds, or NaN.
    const float scaled = Alpha * AlphaFactor * 255.0f;
    const int alpha = scaled > 0.0f ? static_cast<int>(scaled < 255.0f ? scaled : 255.0f) : 0;
    return alpha >= AlphaThreshold ? alpha : 0;
}

void CNodeBasement::setAlphaFactor(float factor) {
    forEachEngineNode(this, [factor](CNodeBasement& node) { node.AlphaFactor = factor; });
}

void CNodeBasement::setAlphaThreshold(int threshold) {
    forEachEngineNode(this, [threshold](CNodeBasement& node) { node.AlphaThreshold = threshold; });
}

void CNodeBasement::setRenderOrder(int order) {
    forEachEngineNode(this, [order](CNodeBasement& node) { node.RenderOrder = order; });
}

void CNodeBasement::setLocalDepth(int depth) {
    LocalDepth = depth;
    updateAbsolutePosition();
    updateDepthBox();
}

void CNodeBasement::updateDepthBox() {
    DepthBox = Box;
    float shift = static_cast<float>(AbsoluteDepth) * kDepthBoxStep;
    DepthBox.MinEdge.Z -= shift;
    DepthBox.MaxEdge.Z -= shift;
}

void CNodeBasement::setOwner(irr::IReferenceCounted* owner) {
    if (Owner != nullptr && Owner != owner) {
        Owner->drop();
    }
    Owner = owner;
}

irr::core::aabbox3d<irr::f32> CNodeBasement::getTransformedDepthBox() const {
    irr::core::aabbox3d<irr::f32> box = DepthBox;
    AbsoluteTransformation.transformBoxEx(box);
    return box;
}

irr::scene::ISceneNodeAnimator* CNodeBasement::findAnimator(const std::string& name,
                                                            bool recursive) {
    return findNamedAnimator(this, name, recursive);
}

CNodeBasement* CNodeBasement::getTextChild(int n) const {
    for (irr::scene::ISceneNode* child : Children) {
        if (child->getDebugName() == NBASE_TXT && n-- == 0) {
            return static_cast<CNodeBasement*>(child);
        }
    }
    return nullptr;
}

OptionSet& CNodeBasement::properties() {
    if (!Properties) {
        Properties = std::make_unique<OptionSet>();
    }
    return *Properties;
}

void CNodeBasement::setStringProperty(const std::string& key, const std::string& text) {
    properties().setStringOption(key, text);
}

std::string CNodeBasement::getStringProperty(const std::string& key,
                                             const std::string& fallback) const {
    return Properties ? Properties->getStringOption(key, fallback) : fallback;
}

void CNodeBasement::setIntProperty(const std::string& key, int value) {
    properties().setLongOption(key, value);
}

int CNodeBasement::getIntProperty(const std::string& key, int fallback) const {
    return Properties ? Properties->getLongOption(key, fallback) : fallback;
}

void CNodeBasement::setFloatProperty(const std::string& key, float value) {
    properties().setDoubleOption(key, value);
}

float CNodeBasement::getFloatProperty(const std::string& key, float fallback) const {
    return Properties ? Properties->getDoubleOption(key, fallback) : fallback;
}
