#include "feedback_image.h"

#include "animators/afadeanimators.h"
#include "animators/alifetimeanimators.h"
#include "scene/node_base.h"
#include "scene/node_factory.h"
#include "scene/node_utilities.h"

namespace {

const int kFadeMs = 300;
const char* const kCreationTag = "feedback_image";

} // namespace

CNodeBasement* createFeedbackImage(CNodeBasement* node, const std::string& image) {
    irr::core::dimension2df size = node->getSize();
    CNodeBasement* shown = createSprite(image, size.Width, size.Height,
                                        irr::core::vector3df(0, 0, 0), node, nullptr, kCreationTag);
    if (shown == nullptr) {
        return nullptr;
    }
    ForceNodeToHaveID(shown);
    attachAnimator(shown, new CAlphaFadeAnimator(kFadeMs, 0, 1));
    return shown;
}

CNodeBasement* findFeedbackImage(CNodeBasement* node, int id) {
    CNodeBasement* image = id > 0 && id < kGlobalIdCount ? getNodeById(id) : nullptr;
    return image != nullptr && image->getParent() == node ? image : nullptr;
}

void fadeOutFeedbackImage(CNodeBasement* image) {
    attachAnimator(image, new CSelfDestructAnimator(kFadeMs, kFadeMs));
}
