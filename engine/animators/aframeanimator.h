#pragma once

#include "animators/abaseanimators.h"

#include <memory>
#include <string>
#include <vector>

// Plays a texture frame animation on a sprite: the cells of an atlas grid in the order of a frame
// list, all of them once per cycle, for as long as the node lives. It is named "ATL443"; a new
// frame animation on a node replaces the one the node already runs.
class CFrameAnimator : public CBaseAnimator {
public:
    static const char* const kName;
    // (column, row) cells in playing order; one list may be shared by many animations.
    using FrameList = std::vector<irr::core::vector2di>;

    CFrameAnimator(irr::u32 durationMs, float columns, float rows,
                   std::shared_ptr<const FrameList> frames, int startFrame);

    void onAttached(irr::scene::ISceneNode* node) override;
    void onTick(irr::scene::ISceneNode* node, irr::u32 time) override;
    // Also lets go of the frame list.
    void finish() override;

    int getCurrentFrame() const { return CurrentFrame; }

private:
    void showFrame(irr::scene::ISceneNode* node) const;

    irr::u32 Duration;
    int StartFrame;
    int CurrentFrame;
    float Columns;
    float Rows;
    std::shared_ptr<const FrameList> Frames;
};

// The frame animation of an "-Animation.Texture:" layout ("8x1", "NxM", "N-K/M") over
// `durationMs` per cycle; null when the layout has no frames, since there is nothing to play.
// The common strips "8x1", "8x2" and "16x1" share one frame list each.
CFrameAnimator* createFrameAnimation(irr::u32 durationMs, const std::string& layout);
