#include "click_behaviour.h"

#include "animators/alifetimeanimators.h"
#include "core/vellumengine.h"
#include "input/any_input.h"
#include "input/auto_disable_behaviour.h"
#include "input/behaviour_scripts.h"
#include "input/exclusive_link.h"
#include "input/feedback_image.h"
#include "input/focus_chain.h"
#include "input/hover_behaviour.h"
#include "scene/node_base.h"
#include "scene/node_utilities.h"
#include "scene/text_warnings.h"
#include "utils/system.h"

#include <atomic>

const char* const CClickBehaviour::kName = "ONCLAN";
const char* const CClickBehaviour::kSwallowAction = "/*NOPE*/";

namespace {

// A shortcut counts only for inputs this long after the behaviour was made or last fired.
const uint32_t kShortcutQuietMs = 500;
// Two shortcut clicks (of any behaviours) are at least this far apart.
const uint32_t kShortcutSpacingMs = 1000;
const int kFeedbackLifeMs = 1000;
const int kFeedbackFadeMs = 500;
const int kExclusiveFeedbackMs = 3000;
const int kWarningMs = 3000;

std::atomic<uint32_t> lastShortcutClick{0};

} // namespace

CClickBehaviour::CClickBehaviour(const std::string& image, const std::string& clickAction,
                                 const std::string& sound, bool pixelPerfect)
    : Image(image), ClickAction(clickAction), Sound(sound),
      AnyInputSince(getTicks() + kShortcutQuietMs), PixelPerfect(pixelPerfect) {
    setName(kName);
    CInputModule& input = getEngine().getInput();
    if (input.isLeftDown()) {
        LockedPress = input.pressCount();
    }
}

CClickBehaviour::~CClickBehaviour() {
    leave();
}

void CClickBehaviour::setClickSpeed(int ms) {
    setInterval(static_cast<irr::u32>(ms));
    LockedPress = 0;
    Polling = true;
}

void CClickBehaviour::onAttached(irr::scene::ISceneNode* node) {
    Target = asEngineNode(node);
    if (Target == nullptr) {
        return;
    }
    ForceNodeToHaveID(Target);
    CFocusChain& chain = getFocusChain();
    chain.registerClickable(Target, PixelPerfect);
    chain.addHandler(InputHandlers::Click, this);
    Joined = true;
    if (KeyShortcut == 0 && !Polling) {
        setInterval(kDormantInterval);
    }
}

void CClickBehaviour::finish() {
    leave();
    CBaseAnimator::finish();
}

void CClickBehaviour::leave() {
    if (!Joined) {
        return;
    }
    Joined = false;
    CFocusChain& chain = getFocusChain();
    chain.unregisterClickable(Target);
    chain.removeHandler(InputHandlers::Click, this);
}

void CClickBehaviour::onTick(irr::scene::ISceneNode*, irr::u32) {
    CVellumEngine& engine = getEngine();
    if (Target == nullptr || isFinished() || engine.getPauseLevel() > 0) {
        return;
    }
    if (KeyShortcut != 0 && handleShortcut()) {
        return;
    }
    // The scene lock comes before the input lock (see CVellumEngine); a frame already holds it.
    ScopedLock sceneGuard(engine.getSceneLock());
    ScopedLock guard(engine.getInputLock());
    CFocusChain& chain = getFocusChain();
    int id = Target->getID();
    if (id == kNoNodeId) {
        showWarning("Wrong onclick error!", kWarningMs);
        return;
    }
    if (chain.releasedId() == id && !ClickAction.empty()) {
        if (LockedPress != 0 && chain.releasedPress() == LockedPress) {
            // The release of the press this behaviour was made during: swallowed.
            chain.setReleasedId(0);
        } else {
            int result = clickNode(kLeftClick);
            if (result == kClicked || result == kDisabled || result == kSwallowed) {
                if (result != kSwallowed) {
                    chain.countHandled();
                    clearAnyInput();
                }
                chain.setReleasedId(0);
            }
        }
    }
    if (chain.rightClickId() == id && !RightClickAction.empty()) {
        int result = clickNode(kRightClick);
        if (result == kClicked || result == kDisabled) {
            chain.countHandled();
            clearAnyInput();
            chain.setRightClickId(0);
        }
    }
    if (engine.getInput().isLeftDown()) {
        if (chain.underCursorId() == id && !DragAction.empty()) {
            chain.countHandled();
            clearAnyInput();
            if (!Dragging) {
                Dragging = true;
                clickNode(kDrag);
            }
        }
    } else {
        Dragging = false;
    }
}

bool CClickBehaviour::isShortcutPressed() {
    if (KeyShortcut == kAnyInputShortcut) {
        return consumeAnyInput(AnyInputSince);
    }
    if (KeyShortcut < 1) {
        return false;
    }
    getEngine().getInput().checkWindowFocus();
    return isKeyDown(KeyShortcut) != 0;
}

bool CClickBehaviour::handleShortcut() {
    if (!isShortcutPressed()) {
        ShortcutLatched = false;
        return false;
    }
    uint32_t now = getTicks();
    AnyInputSince = now + kShortcutQuietMs;
    clearAnyInput();
    if (!ShortcutLatched && now - lastShortcutClick > kShortcutSpacingMs &&
        clickNode(kLeftClick) == kClicked) {
        lastShortcutClick = now;
        ShortcutLatched = true;
    }
    return true;
}

int CClickBehaviour::clickNode(int mode) {
    if (Target == nullptr) {
        return kNotAllowed;
    }
    CNodeBasement* node = Target;
    if (!getFocusChain().isInputAllowed(node->getID())) {
        return kNotAllowed;
    }
    auto* autoDisable = dynamic_cast<CAutoDisableBehaviour*>(
        node->findAnimator(CAutoDisableBehaviour::kName, false));
    bool disabled = autoDisable != nullptr && autoDisable->isDisabled();
    auto* hover = dynamic_cast<CHoverBehaviour*>(node->findAnimator(CHoverBehaviour::kName, false));
    if (hover != nullptr) {
        hover->setDisabled(disabled);
    }
    if (disabled) {
        return kDisabled;
    }
    if (!Sound.empty()) {
        getEngine().getSound().playEffect(Sound, -1.0f);
    }
    if (!Image.empty()) {
        showClickImage(node);
    }
    const std::string& action =
        mode == kRightClick ? RightClickAction : (mode == kDrag ? DragAction : ClickAction);
    if (action == kSwallowAction) {
        return kSwallowed;
    }
    if (!action.empty()) {
        callNodeScript(action, node, OriginFile);
    }
    return kClicked;
}

void CClickBehaviour::showClickImage(CNodeBasement* node) {
    CNodeBasement* image = createFeedbackImage(node, Image);
    if (image == nullptr) {
        return;
    }
    if (image->findAnimator(CSelfDestructAnimator::kName, false) == nullptr) {
        attachAnimator(image, new CSelfDestructAnimator(kFeedbackLifeMs, kFeedbackFadeMs));
    }
    if (node->findAnimator(CHoverBehaviour::kName, false) != nullptr) {
        attachAnimator(image, new CExclusiveLink(node));
        attachAnimator(image, new CSelfDestructAnimator(kExclusiveFeedbackMs, 0));
    }
}
