#include "description_input.h"

#include "input/auto_disable_behaviour.h"
#include "input/click_behaviour.h"
#include "input/click_blocker.h"
#include "input/hover_behaviour.h"
#include "input/text_editor_behaviour.h"
#include "scene/node_base.h"
#include "scene/sprite_description.h"

void attachLabelEditor(CNodeBasement* label, const SpriteDescription& description) {
    if (description.EditorSize <= 0) {
        return;
    }
    label->setStringProperty(description.EditorTarget, std::string());
    auto* editor = new CTextEditorBehaviour(description.EditorSize, description.EditorTarget);
    editor->setCapitalize(true);
    // The label's formatting stays above the edited line.
    if (!description.LabelFormatting.empty()) {
        editor->setShownPrefix(description.LabelFormatting + "\n");
    }
    attachAnimator(label, editor);
}

void attachInputBehaviours(CNodeBasement* node, const SpriteDescription& description,
                           const std::string& originFile) {
    if (!description.OverImage.empty() || !description.OverSound.empty() ||
        !description.OverInScript.empty() || !description.OverOutScript.empty()) {
        auto* hover = new CHoverBehaviour(description.OverImage, description.OverSound);
        hover->setInScript(description.OverInScript);
        hover->setOutScript(description.OverOutScript);
        hover->setOriginFile(originFile);
        attachAnimator(node, hover);
    }
    if (!description.ClickAction.empty() || !description.RClickAction.empty() ||
        !description.DragAction.empty()) {
        auto* click =
            new CClickBehaviour(description.ClickImage, description.ClickAction,
                                description.ClickSound, description.ClickPixelPerfect != 0);
        click->setKeyShortcut(description.ClickKeyShortcut);
        click->setOriginFile(originFile);
        if (!description.AutodisableAction.empty()) {
            auto* autoDisable = new CAutoDisableBehaviour(description.AutodisableAction,
                                                          description.AutodisableImage);
            autoDisable->setOriginFile(originFile);
            attachAnimator(node, autoDisable);
        }
        click->setRightClickAction(description.RClickAction);
        click->setDragAction(description.DragAction);
        if (description.ClickSpeed != 0) {
            click->setClickSpeed(description.ClickSpeed);
        }
        attachAnimator(node, click);
    }
    if (description.ClickBlock != 0) {
        attachAnimator(node, new CClickBlocker(description.ClickBlock));
    }
}
