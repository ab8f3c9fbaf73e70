// Runs before the data files are preloaded: startGame() shows the loading bar over the backdrop
// and waits for the running stage (every script compiled) before it opens the main menu.
// All script files are compiled together once preloading ends, this one included, so this file
// holds definitions only.

const STAGE_RUNNING = 500;

function startGame()
{
    core_SetBackgroundImage("gui\\backdrop.png", 0);
    core_SetBackgroundMusic("menu.ogg");
    game_CreatePreloaderSlider();
    ::startupWait <- core_SetInterval(100, "whenLoaded();");
}

function whenLoaded()
{
    if (core_GetGameState() < STAGE_RUNNING)
        return;
    core_CancelInterval(::startupWait);
    game_DeletePreloaderSlider();
    openMainMenu();
}
