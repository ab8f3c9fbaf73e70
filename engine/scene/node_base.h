#pragma once

#include "scene/node_memory.h"

#include <irrlicht/irrlicht.h>

#include <cstdint>
#include <memory>
#include <string>

class OptionSet;

// Class markers: the debug name of every engine node is one of these shared strings, which is how
// engine code tells its own nodes from the library's (root node, camera).
extern const char* const NBASE_SPR;
extern const char* const NBASE_TXT;

// The base of the engine's nodes (sprites and text): a flat node with a size and a flat bounding
// box, opacity with a subtree multiplier and a drawing threshold, a tint, a render pass and a
// depth for sorting, an owning object, named properties, and its entry in the node ID table.
class CNodeBasement : public irr::scene::ISceneNode {
public:
    CNodeBasement(irr::scene::ISceneNode* parent, irr::scene::ISceneManager* manager, irr::s32 id,
                  const irr::core::vector3df& position, const irr::core::dimension2df& size);
    ~CNodeBasement() override;
    // Engine nodes live in the node memory blocks (node_memory.h).
    static void* operator new(std::size_t size) { return allocateNodeMemory(size); }
    static void operator delete(void* memory, std::size_t size) { releaseNodeMemory(memory, size); }

    // Nodes are never read from attributes.
    void deserializeAttributes(irr::io::IAttributes* in,
                               irr::io::SAttributeReadWriteOptions* options = nullptr) override;
    // Adds the node to the renderer's pass when it is drawn (effective alpha above 0), then
    // registers the children; an invisible node skips its whole subtree.
    void OnRegisterSceneNode() override;
    // Runs the animators (when enabled), updates the absolute position, then animates the
    // children; an invisible node does nothing.
    void OnAnimate(irr::u32 timeMs) override;
    // The base draws nothing.
    void render() override;
    const irr::core::aabbox3d<irr::f32>& getBoundingBox() const override;
    // Prefixes the name with "id%08X_" and moves the node's ID table entry to the new ID.
    void setID(irr::s32 id) override;
    void setPosition(const irr::core::vector3df& position) override;
    // Also follows the Y position into the depth (MapY2Z) and adds the parent's depth.
    void updateAbsolutePosition() override;

    // A zero component is stored as 1.
    virtual void setSize(float width, float height);
    virtual irr::core::dimension2df getSize() const;
    // Does nothing.
    virtual void emptyHook(int first, int second);
    // The library's type code of a billboard ("bill"); text nodes return "text".
    virtual irr::u32 getNodeKind() const;

    // 0..255; 0 when the node is not to be drawn (hidden, or below its threshold).
    int getEffectiveAlpha() const;
    void setAlpha(float alpha) { Alpha = alpha; }
    float getAlpha() const { return Alpha; }
    // These three reach every descendant that exists now.
    void setAlphaFactor(float factor);
    void setAlphaThreshold(int threshold);
    void setRenderOrder(int order);
    float getAlphaFactor() const { return AlphaFactor; }
    int getAlphaThreshold() const { return AlphaThreshold; }
    int getRenderOrder() const { return RenderOrder; }

    void setHideCount(int count) { HideCount = count; }
    int getHideCount() const { return HideCount; }
    void setTint(uint32_t argb) { Tint = argb; }
    uint32_t getTint() const { return Tint; }
    // Sets the own depth, then updates the absolute position and the depth box.
    void setLocalDepth(int depth);
    int getLocalDepth() const { return LocalDepth; }
    int getAbsoluteDepth() const { return AbsoluteDepth; }
    void setMapY2Z(int factor) { MapY2Z = factor; }
    int getMapY2Z() const { return MapY2Z; }

    // The node takes over one reference of the owner and drops it when destroyed.
    void setOwner(irr::IReferenceCounted* owner);
    irr::IReferenceCounted* getOwner() const { return Owner; }

    bool isGeometryValid() const { return GeometryValid != 0; }
    void setGeometryValid(bool valid) { GeometryValid = valid ? 1 : 0; }
    bool areAnimatorsEnabled() const { return AnimatorsEnabled != 0; }
    void setAnimatorsEnabled(bool enabled) { AnimatorsEnabled = enabled ? 1 : 0; }
    const std::string& getOnDestroyText() const { return OnDestroyText; }
    void setOnDestroyText(const std::string& text) { OnDestroyText = text; }
    int getSerial() const { return Serial; }

    const irr::core::aabbox3d<irr::f32>& getDepthBox() const { return DepthBox; }
    // The depth box transformed by the absolute transformation (for hit testing).
    irr::core::aabbox3d<irr::f32> getTransformedDepthBox() const;

    // The first animator named `name` (exactly); with `recursive`, when the node has none, the
    // first found depth-first among the children in list order.
    irr::scene::ISceneNodeAnimator* findAnimator(const std::string& name, bool recursive);
    // The n-th (from 0) direct child that is a text node, or null.
    CNodeBasement* getTextChild(int n) const;

    // Named values; a getter returns the default while the node has no properties.
    void setStringProperty(const std::string& key, const std::string& text);
    std::string getStringProperty(const std::string& key, const std::string& fallback) const;
    void setIntProperty(const std::string& key, int value);
    int getIntProperty(const std::string& key, int fallback) const;
    void setFloatProperty(const std::string& key, float value);
    float getFloatProperty(const std::string& key, float fallback) const;
    // The named values with their types; null while the node has none.
    const OptionSet* getProperties() const { return Properties.get(); }

protected:
    void updateDepthBox();
    // The library's absolute transformation (the parent's times the relative one), without the
    // trigonometry and the full matrix product for a node that is neither turned nor scaled.
    void updateAbsoluteTransformation();
    OptionSet& properties();

    // What every frame reads (animating, registering, drawing) comes first, so that it shares
    // as few cache lines as possible; the rest follows.
    int AlphaThreshold = 12;
    int HideCount = 0;
    float Alpha = 1.0f;
    float AlphaFactor = 1.0f;
    uint32_t Tint = 0xFFFFFFFFu;
    int MapY2Z = 0;
    int LocalDepth = 0;
    int AbsoluteDepth = 0;
    int GeometryValid = 0;
    int RenderOrder = 0;
    int AnimatorsEnabled = 1;
    irr::core::dimension2df Size;
    int Serial;
    irr::IReferenceCounted* Owner = nullptr;
    std::string OnDestroyText;
    irr::core::aabbox3d<irr::f32> Box;
    irr::core::aabbox3d<irr::f32> DepthBox;
    std::unique_ptr<OptionSet> Properties;
};

// The engine node behind a scene node (one carrying either class marker), or null.
CNodeBasement* asEngineNode(irr::scene::ISceneNode* node);
