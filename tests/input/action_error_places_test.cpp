#include "input_fixture.h"

namespace {

using ActionErrorPlaces = InputTest;

const irr::core::vector3df kButton(-6, 0, 0);

std::string boxTexts(const MessageBoxRecorder& boxes) {
    std::string texts;
    for (const auto& box : boxes.boxes()) {
        texts += box.text + "\n--\n";
    }
    return texts;
}

TEST_F(ActionErrorPlaces, AClickActionFromADescriptionFileNamesThatFileAndTheLineOfItsKey) {
    program.writeData("sprites/button.spr", "-Texture:\\gui\\orange.png\n"
                                            "-Size:w4 h2\n"
                                            "\n"
                                            "-Event.Mouse.Click.Action:local t = {}; t.missing;\n");
    createSprite("sprites\\button.spr", 1, 1, kButton, pole, nullptr, "test");
    frame();
    startRunning();
    clickAt(kButton);
    ASSERT_EQ(boxes.boxes().size(), 1u);
    EXPECT_NE(boxes.boxes()[0].text.find("*FUNCTION [main()] console_buffer line [1] "
                                         "(sprites\\button.spr line 4), Calling script code\n"),
              std::string::npos)
        << boxes.boxes()[0].text;
}

TEST_F(ActionErrorPlaces, TheActionsOfADialogAndOfTheSpritesInItNameTheDialogFile) {
    program.writeData("dialogs/panel.dlg", "-DialogName:panel\n"
                                           "-Event.Keyboard.Esc.Pressed:escapeMissing();\n"
                                           "-Event.Created.Action:\n"
                                           "local ready = 1;\n"
                                           "local broken = ready.missing;\n"
                                           "[Sprite]\n"
                                           "-Texture:\\gui\\orange.png\n"
                                           "-Size:0.01\n"
                                           "[Sprite]\n"
                                           "-Texture:\\gui\\orange.png\n"
                                           "-Size:w4 h2\n"
                                           "-Event.Mouse.Click.Action:missingFunction();\n");
    openDialog("dialogs\\panel.dlg", kButton);
    // The created action's second line is the file's line 5.
    ASSERT_EQ(boxes.boxes().size(), 1u);
    EXPECT_NE(boxes.boxes()[0].text.find("*FUNCTION [main()] console_buffer line [2] "
                                         "(dialogs\\panel.dlg line 5), Calling script code\n"),
              std::string::npos)
        << boxes.boxes()[0].text;

    // The button is the second sprite of the dialog's sprite part.
    frame();
    startRunning();
    clickAt(kButton + irr::core::vector3df(1.5f, 0, 0));
    ASSERT_EQ(boxes.boxes().size(), 2u) << boxTexts(boxes);
    EXPECT_NE(boxes.boxes()[1].text.find("*FUNCTION [main()] console_buffer line [1] "
                                         "(dialogs\\panel.dlg line 12), Calling script code\n"),
              std::string::npos)
        << boxes.boxes()[1].text;

    // Escape runs the dialog's Escape action on the next frame.
    tap(irr::KEY_ESCAPE);
    frames(2);
    ASSERT_EQ(boxes.boxes().size(), 3u) << boxTexts(boxes);
    EXPECT_NE(boxes.boxes()[2].text.find("*FUNCTION [main()] console_buffer line [1] "
                                         "(dialogs\\panel.dlg line 2), Calling script code\n"),
              std::string::npos)
        << boxes.boxes()[2].text;
}

} // namespace
