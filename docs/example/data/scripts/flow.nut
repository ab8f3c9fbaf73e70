// The game's screens: the main menu, the level, and the screen that tells how the level ended.

const LEVEL = "example_level";
// A finished level stays on screen this long before its result is shown.
const RESULT_DELAY_MS = 1000;

// How the levels of this run ended.
::levelsWon <- 0;
::levelsLost <- 0;
// The level ends once: a station destroyed after the ship has gone changes nothing.
::levelOver <- true;

function openMainMenu()
{
    core_OpenDialog("main_menu");
}

// Closes whatever is open (closing a dialog that is not open does nothing), then opens the level
// afresh. The old level's nodes must be gone first: the new ones take the same names.
function playLevel()
{
    closeScreens();
    core_SetTimeout(50, "enterLevel();");
}

function enterLevel()
{
    ::levelOver = false;
    core_OpenDialog(LEVEL);
}

function closeScreens()
{
    foreach (name in ["main_menu", "level_won", "level_lost", LEVEL])
        core_CloseDialog(name);
}

function backToMainMenu()
{
    ::levelOver = true;
    closeScreens();
    openMainMenu();
}

// The ship has flown its last wave: the level is won.
function levelFinished_Good(nextLevel)
{
    if (::levelOver)
        return;
    ::levelOver = true;
    ::levelsWon++;
    core_SetTimeout(RESULT_DELAY_MS, "core_OpenDialog(\"level_won\");");
}

// An object of type TARGET was destroyed: the level is lost.
function levelFinished_Bad(nextLevel)
{
    if (::levelOver)
        return;
    ::levelOver = true;
    ::levelsLost++;
    core_SetTimeout(RESULT_DELAY_MS, "core_OpenDialog(\"level_lost\");");
}
