// The menus: the main menu and the screens it opens (options, high scores), the pause screen of
// a level and the name prompt of a new high score. The level flow itself is in flow.nut.

// Half the distance between two main-menu buttons: without "Continue" the others move up by it
// so that the column stays centred in its panel.
const MENU_BUTTON_HALF_STEP = 1.25;
// The effect that lets the player hear a new effects volume.
const VOLUME_PROBE_EFFECT = "hover";
// The longest name the high-score table keeps.
const HIGHSCORE_NAME_LENGTH = 16;
// The markup of the high-score columns' lines.
const HIGHSCORE_LINES = "<font-size:+1>\n";

function openMainMenu()
{
    core_OpenDialog("main_menu");
}

// "Continue" is offered while the player has a level to go back to and the run is not over.
function mainMenuOpened()
{
    if (canContinue())
    {
        core_EnableNode("main_menu_panel_short", false);
        return;
    }
    core_EnableNode("menu_continue", false);
    core_EnableNode("main_menu_panel", false);
    local buttons = core_GetNode("main_menu_buttons");
    buttons._y += MENU_BUTTON_HALF_STEP;
    core_SetNode("main_menu_buttons", buttons);
}

function canContinue()
{
    return game_GetCurrentLevelName() != "" && profileNumber("RunOver") == 0;
}

function menuContinue()
{
    if (profileNumber("RunStamp") == 0)
        startNewRun();
    playLevel(game_GetCurrentLevelName());
}

function menuNewGame()
{
    startNewRun();
    playLevel(FIRST_LEVEL);
}

function menuOptions()
{
    core_OpenDialog("options");
}

function menuHighScores()
{
    core_OpenDialog("highscores");
}

function menuQuit()
{
    core_CloseGame();
}

// Options: every control shows the profile's present value when the screen opens.
function optionsOpened()
{
    game_SwitchFullScreen(0);
    game_SwitchWinCursor(0);
    game_SwitchVolume(0);
    game_SwitchEffect(0);
}

function changeEffectsVolume()
{
    game_SwitchEffect(1);
    core_PlayEffect(VOLUME_PROBE_EFFECT);
}

function closeOptions()
{
    core_CloseDialog("options");
}

// High scores: three columns (place, name, score), one line per entry of the table.
function highScoresOpened()
{
    local places = "";
    local names = "";
    local scores = "";
    foreach (entry in core_GetHighScores())
    {
        places += entry._place + ".\n";
        names += shortName(entry._name) + "\n";
        scores += entry._score + "\n";
    }
    if (names == "")
        core_SetNodeText("highscores_empty", core_Translate("HIGHSCORES.EMPTY"));
    core_SetNodeText("highscores_places", HIGHSCORE_LINES + "<right>\n" + places);
    core_SetNodeText("highscores_names", HIGHSCORE_LINES + "<left>\n" + names);
    core_SetNodeText("highscores_scores", HIGHSCORE_LINES + "<right>\n" + scores);
}

// Names from an older or hand-edited table may be longer than a typed one; the column fits
// only so many letters.
function shortName(name)
{
    return name.len() > HIGHSCORE_NAME_LENGTH ? name.slice(0, HIGHSCORE_NAME_LENGTH) : name;
}

function closeHighScores()
{
    core_CloseDialog("highscores");
    if (::afterHighScores == "")
        return;
    core_OpenDialog(::afterHighScores);
    ::afterHighScores = "";
}

// Pause: only while a level is being played.
function openPause()
{
    if (::levelOver || ::levelInPlay == "" || core_IsDialogOpened("pause"))
        return;
    core_OpenDialog("pause");
}

function resumeGame()
{
    core_CloseDialog("pause");
}

// The name the prompt offers: the one the player gave last, or the profile's name.
function offeredHighScoreName()
{
    local name = profileText("LastHighScoreName");
    return name == "" ? core_GetActiveProfileName() : name;
}

// The name prompt, over the result screen while the run's name is still due.
function askHighScoreName()
{
    if (!::namePromptDue || core_IsDialogOpened("highscore_name"))
        return;
    core_OpenDialog("highscore_name");
    core_SetNodeAttribute("highscore_name_field_text", "typed", offeredHighScoreName());
}

function highScoreNameEntered()
{
    local typed = core_GetNodeAttribute("highscore_name_field_text", "typed");
    local name = typeof typed == "string" ? strip(typed) : "";
    if (name == "")
        name = core_GetActiveProfileName();
    core_CloseDialog("highscore_name");
    setRunName(shortName(name));
}
