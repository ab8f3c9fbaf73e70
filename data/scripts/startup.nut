// Runs before the data files are preloaded: startGame() shows the backdrop at once and waits
// for the running stage (every script compiled) before it shows the title.
// All script files are compiled together once preloading ends, this one included, so this file
// holds definitions only.

const STAGE_RUNNING = 500;

function startGame()
{
    core_SetBackgroundImage("gui\\backdrop.png", 0);
    core_SetBackgroundMusic("menu.ogg");
    ::startupWait <- core_SetInterval(100, "whenLoaded();");
}

function whenLoaded()
{
    if (core_GetGameState() < STAGE_RUNNING)
        return;
    core_CancelInterval(::startupWait);
    showTitle();
}

function showTitle()
{
    core_CreateSprite("gui\\title_hole.spr", "", {x = 0.0, y = 0.0, z = 0.0, name = "title_hole"});
    core_CreateSprite("gui\\title_text.spr", "", {x = 0.0, y = 0.0, z = 0.0});
}
