// The level flow: from a menu into a level behind a black curtain, and from a won or lost level
// to the next screen. A run (from "New game" on) keeps its score, its high-score stamp and the
// player's name in the profile, so that "Continue" carries them on.

const FIRST_LEVEL = "level1";
const CURTAIN_MS = 350;
// A lost level stays on screen this long before its result is shown (the station's explosion).
const LOST_RESULT_DELAY_MS = 1200;
// A won level ends as the ship leaves the field, so its result follows almost at once.
const WON_RESULT_DELAY_MS = 100;
// The result of a won level is shown this long before a new high score asks for a name over it.
const NAME_PROMPT_DELAY_MS = 1200;
// A level is worth its number times this; every lost try of it costs a penalty.
const LEVEL_SCORE_STEP = 1000;
const RETRY_PENALTY = 250;
const MIN_LEVEL_SCORE = 250;
const LAST_LEVEL_NUMBER = 9;

::levelInPlay <- "";   // the level dialog on screen, "" when none
::levelOver <- true;   // no level is being played (none open, or it was won or lost)
::nextLevelName <- "";
::pendingLevel <- "";
::lastLevelScore <- 0;
::resultDialog <- "";
::afterHighScores <- "";   // the screen to show again when the high scores close
::namePromptDue <- false;  // a new high score waits for the run's name
::curtainCount <- 0;
::curtainName <- "";

// Every dialog that a level or a menu may leave open.
::screenDialogs <- ["main_menu", "options", "highscores", "alert_dialog", "pause", "level_won",
                    "level_lost", "game_end", "highscore_name", "level_controls"];

function profileNumber(key)
{
    local value = core_GetProfileOption(key);
    return typeof value == "integer" ? value : 0;
}

function profileText(key)
{
    local value = core_GetProfileOption(key);
    return typeof value == "string" ? value : "";
}

function startNewRun()
{
    core_SetProfileOption("RunScore", 0);
    core_SetProfileOption("RunStamp", newRunStamp());
    core_SetProfileOption("RunName", "");
    core_SetProfileOption("RunFails", 0);
    core_SetProfileOption("RunOver", 0);
    core_SaveProfile();
}

// A stamp that tells this run's high-score entry from every other one: the seconds since 2000
// (counting every month as 31 days), never 0.
function newRunStamp()
{
    local d = core_GetDate();
    local days = ((d._year - 2000) * 12 + d._month - 1) * 31 + d._day;
    return days * 86400 + d._hour * 3600 + d._min * 60 + d._sec + 1;
}

function levelNumber(name)
{
    for (local n = 1; n <= LAST_LEVEL_NUMBER; n++)
    {
        if (name == "level" + n)
            return n;
    }
    return 1;
}

function levelScore(name, fails)
{
    local score = levelNumber(name) * LEVEL_SCORE_STEP - fails * RETRY_PENALTY;
    return score < MIN_LEVEL_SCORE ? MIN_LEVEL_SCORE : score;
}

// The curtain takes the input while it exists; each gets a name of its own, since an old one
// may still be fading out.
function dropCurtain()
{
    ::curtainCount++;
    ::curtainName = "screen_curtain" + ::curtainCount;
    game_createFader_BlackCurtain(::curtainName, CURTAIN_MS);
}

function liftCurtain()
{
    core_FadeSprite(::curtainName, 1.0, 0.0, CURTAIN_MS, 1);
}

function closeScreens()
{
    foreach (name in ::screenDialogs)
        core_CloseDialog(name);
    if (::levelInPlay != "")
        core_CloseDialog(::levelInPlay);
    ::levelInPlay = "";
}

// Closes the menus and any level behind the curtain, then opens the level `name` (a dialog
// name) with the level controls and their music. The old level is gone before the new one
// opens, since a replayed level has the same node names.
function playLevel(name)
{
    enterDueRunName();
    ::pendingLevel = name;
    ::levelOver = true;
    core_SetProfileOption("RunOver", 0);
    dropCurtain();
    core_SetTimeout(CURTAIN_MS, "leaveForLevel();");
}

function leaveForLevel()
{
    closeScreens();
    core_SetTimeout(50, "enterPendingLevel();");
}

function enterPendingLevel()
{
    ::levelInPlay = ::pendingLevel;
    ::levelOver = false;
    core_OpenDialog(::levelInPlay);
    core_OpenDialog("level_controls");
    liftCurtain();
}

function backToMainMenu()
{
    enterDueRunName();
    ::levelOver = true;
    dropCurtain();
    core_SetTimeout(CURTAIN_MS, "enterMainMenu();");
}

function enterMainMenu()
{
    closeScreens();
    openMainMenu();
    liftCurtain();
}

function levelFinished_Good(next)
{
    ::levelOver = true;
    ::nextLevelName = next;
    ::lastLevelScore = levelScore(::levelInPlay, profileNumber("RunFails"));
    core_SetProfileOption("RunScore", profileNumber("RunScore") + ::lastLevelScore);
    core_SetProfileOption("RunFails", 0);
    if (isGameEnd(next))
        core_SetProfileOption("RunOver", 1);
    core_SaveProfile();
    core_CloseDialog("pause");
    core_SetTimeout(WON_RESULT_DELAY_MS, "showLevelWon();");
}

function levelFinished_Bad(next)
{
    ::levelOver = true;
    core_SetProfileOption("RunFails", profileNumber("RunFails") + 1);
    core_SaveProfile();
    core_CloseDialog("pause");
    core_SetTimeout(LOST_RESULT_DELAY_MS, "core_OpenDialog(\"level_lost\");");
}

function isGameEnd(next)
{
    return next == "" || next == "end";
}

// The result screen comes first. A score good enough for the table enters it under the run's
// name; the first time in a run, the name prompt opens over the result a moment later.
function showLevelWon()
{
    ::resultDialog = isGameEnd(::nextLevelName) ? "game_end" : "level_won";
    core_OpenDialog(::resultDialog);
    if (core_GetHighScorePlace(profileNumber("RunScore")) == 0)
        return;
    if (profileText("RunName") != "")
    {
        enterRunScore();
        return;
    }
    ::namePromptDue = true;
    core_SetTimeout(NAME_PROMPT_DELAY_MS, "askHighScoreName();");
}

function levelWonOpened()
{
    core_SetNodeText("level_won_score", format(core_Translate("LEVEL.SCORE"), ::lastLevelScore));
    core_SetNodeText("level_won_total", format(core_Translate("LEVEL.TOTAL"),
                                               profileNumber("RunScore")));
}

function gameEndOpened()
{
    core_SetNodeText("game_end_total", format(core_Translate("LEVEL.TOTAL"),
                                              profileNumber("RunScore")));
}

function playNextLevel()
{
    playLevel(::nextLevelName);
}

function retryLevel()
{
    playLevel(::levelInPlay);
}

// The table replaces the game-end screen, which comes back when the table is closed.
function showHighScoresAfterGame()
{
    enterDueRunName();
    core_CloseDialog("game_end");
    ::afterHighScores = "game_end";
    core_OpenDialog("highscores");
}

// The run's entry in the high-score table grows with the run under the name given for it.
function enterRunScore()
{
    core_AddHighScore(profileNumber("RunScore"), profileText("RunName"), profileNumber("RunStamp"));
}

// Names the run and enters its score under that name.
function setRunName(name)
{
    ::namePromptDue = false;
    core_SetProfileOption("LastHighScoreName", name);
    core_SetProfileOption("RunName", name);
    core_SaveProfile();
    enterRunScore();
}

// A player who leaves the result screen before the name prompt has answered it keeps the name
// it would have offered, so the new high score is never lost.
function enterDueRunName()
{
    if (::namePromptDue)
        setRunName(offeredHighScoreName());
}
