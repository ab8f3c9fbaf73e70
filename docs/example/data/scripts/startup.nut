// Runs before the data files are preloaded, so it only defines functions; the engine then calls
// startGame(). The level opens once every file is loaded and every script compiled (stage 500).

function startGame()
{
    core_SetBackgroundImage("gui\\black.png", 0);
    ::waitForData <- core_SetInterval(50, "openFirstLevel();");
}

function openFirstLevel()
{
    if (core_GetGameState() < 500)
        return;
    core_CancelInterval(::waitForData);
    core_OpenDialog("example_level");
}
