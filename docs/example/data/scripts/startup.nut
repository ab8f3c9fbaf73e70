// The engine runs this file before it loads the data files, then calls startGame(). All script
// files, this one included, are compiled together again once loading has ended, so this file
// (like every other) holds definitions only.

const STAGE_RUNNING = 500;

// The screen is not cleared between frames: the background image covers it for the whole game.
function startGame()
{
    core_SetBackgroundImage("gui\\black.png", 0);
    game_CreatePreloaderSlider();
    ::waitForData <- core_SetInterval(50, "whenLoaded();");
}

// Every file is loaded and every script compiled from stage 500 on.
function whenLoaded()
{
    if (core_GetGameState() < STAGE_RUNNING)
        return;
    core_CancelInterval(::waitForData);
    game_DeletePreloaderSlider();
    openMainMenu();
}
