#pragma once

#include "animators/afadeanimators.h"
#include "dialogs/dialog_registry.h"
#include "dialogs/module_dialogfactory.h"
#include "scene/node_utilities.h"
#include "scene/sprite_description.h"
#include "script_timers/script_fixture.h"
#include "utils/utils_str.h"

#include <string>
#include <vector>

class DialogGame;

// The game's dialog object: tells the game what each dialog was created with.
class RecordingDialog : public CDialogFactory {
public:
    explicit RecordingDialog(DialogGame& game) : game(game) {}
    void onDialogCreated(CNodeBasement* root, const std::string& header,
                         const std::vector<std::string>& macroParams) override;

private:
    DialogGame& game;
};

// A description record that starts every empty grouping node fading in, as a game's own
// description keys may.
class FadingEmptyNodes : public SpriteDescription {
public:
    void applyCustomKeys(CNodeBasement* node, const SpriteCreationParams*) override {
        if (TexturePath.size() >= 9 && TexturePath.substr(TexturePath.size() - 9) == "empty.png") {
            attachAnimator(node, new CAlphaFadeAnimator(1000, 0, 1));
        }
    }
};

// A game that supplies its own dialog objects and records what they saw.
class DialogGame : public TimedGame {
public:
    CDialogFactory* createDialogFactory() override { return new RecordingDialog(*this); }
    SpriteDescription* createSpriteDescription() override {
        return fadeEmptyNodes ? new FadingEmptyNodes() : IGameClient::createSpriteDescription();
    }

    struct Created {
        CNodeBasement* root;
        std::string header;
        std::vector<std::string> macroParams;
        bool visiblePartMade;
    };
    std::vector<Created> created;
    bool fadeEmptyNodes = false;
};

inline void RecordingDialog::onDialogCreated(CNodeBasement* root, const std::string& header,
                                             const std::vector<std::string>& macroParams) {
    bool visiblePartMade = false;
    for (irr::scene::ISceneNode* child : root->getChildren()) {
        visiblePartMade = visiblePartMade || startsWith(child->getName(), "DLGVis:");
    }
    game.created.push_back({root, header, macroParams, visiblePartMade});
}

// The script test scene with the dialog game as client and dialog files below "dialogs\".
class DialogTest : public ScriptTest {
protected:
    void SetUp() override {
        ScriptTest::SetUp();
        dialogGame = new DialogGame();
        getEngine().setClient(dialogGame);
        dialogGame->drop();
    }
    void TearDown() override {
        ScriptTest::TearDown();
        // Every dialog went with the scene and took its stack entries along.
        EXPECT_EQ(getEngine().openDialogs().size(), 0u);
        EXPECT_EQ(getTopEscAction(), "");
        EXPECT_EQ(getTopKeyAction(), "");
    }

    void writeDialog(const std::string& name, const std::string& text) {
        program.writeData("dialogs/" + name, text);
    }
    static CNodeBasement* open(const std::string& file,
                               const irr::core::vector3df& position = {0, 0, 0}) {
        return openDialog("dialogs\\" + file, position);
    }
    // Closes the dialog at once and lets the frame's deletions happen.
    static void closeNow(const std::string& name) {
        getEngine().closeDialog(name, 0);
        getEngine().getRenderer().drainDeletionQueue();
    }
    static bool isOpen(const std::string& name) {
        return getEngine().openDialogs().isDialogOpen(name) != 0;
    }
    // The dialog's visible part below its root, or null.
    static irr::scene::ISceneNode* visiblePart(irr::scene::ISceneNode* root) {
        for (irr::scene::ISceneNode* child : root->getChildren()) {
            if (startsWith(child->getName(), "DLGVis:")) {
                return child;
            }
        }
        return nullptr;
    }
    template <typename Animator>
    static int countAnimators(irr::scene::ISceneNode* node) {
        int count = 0;
        for (irr::scene::ISceneNodeAnimator* animator : node->getAnimators()) {
            count += dynamic_cast<Animator*>(animator) != nullptr ? 1 : 0;
        }
        return count;
    }

    DialogGame* dialogGame = nullptr;
};
