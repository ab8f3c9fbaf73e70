#include "module_scripting_core.h"

#include "script/core_api_ask.h"
#include "script/core_api_dates.h"
#include "script/core_api_dialogs.h"
#include "script/core_api_engine.h"
#include "script/core_api_files.h"
#include "script/core_api_highscores.h"
#include "script/core_api_input.h"
#include "script/core_api_nodes.h"
#include "script/core_api_profile.h"
#include "script/core_api_random.h"
#include "script/core_api_serialization.h"
#include "script/core_api_sound.h"
#include "script/core_api_text.h"
#include "script/core_api_text_nodes.h"
#include "script/core_api_timers.h"

namespace {

struct CoreFunctionEntry {
    const char* name;
    const char* mask;
    CoreFunction function;
};

// In the order scripts have always seen them registered. The sound, text, input and dialog
// functions take their places in this list with the modules they reach.
const CoreFunctionEntry kCoreFunctions[] = {
    {"core_SetBackgroundImage", "sn", core_SetBackgroundImage},
    {"core_SetBackgroundMusic", "s", core_SetBackgroundMusic},
    {"core_PlayEffect", "s", core_PlayEffect},
    {"core_Alert", "s", core_Alert},
    {"core_Warning", "*", core_Warning},
    {"core_CloseGame", "", core_CloseGame},
    {"core_IsNewProfileRequired", "", core_IsNewProfileRequired},
    {"core_ClearAnyInputOcured", "", core_ClearAnyInputOcured},
    {"core_SetAnyInputOcured", "", core_SetAnyInputOcured},
    {"core_AnyInputOcured", "", core_AnyInputOcured},
    {"core_IsAnyKeySince", "*", core_IsAnyKeySince},
    {"core_KeyPressed", "*", core_KeyPressed},
    {"core_JustifyText", "*", core_JustifyText},
    {"core_GetGameState", "", core_GetGameState},
    {"core_SetGameState", "n", core_SetGameState},
    {"core_IsGamePaused", "", core_IsGamePaused},
    {"core_IsDebug", "", core_IsDebug},
    {"core_GetFileListing", "*", core_GetFileListing},
    {"core_GetPathPart", "*", core_GetPathPart},
    {"core_AskChoice", "*", core_AskChoice},
    {"core_AskString", "*", core_AskString},
    {"core_OpenDialog", "s", core_OpenDialog},
    {"core_CloseDialog", "*", core_CloseDialog},
    {"core_IsDialogOpened", "s", core_IsDialogOpened},
    {"core_GetDialogRootFolder", "s", core_GetDialogRootFolder},
    {"core_FadeSprite", "*", core_FadeSprite},
    {"core_ShowSprite", "*", core_ShowSprite},
    {"core_SetNodeText", "*", core_SetNodeText},
    {"core_GetNodeText", "*", core_GetNodeText},
    {"core_GetNode", "*", core_GetNode},
    {"core_GetNodeAtlas", "*", core_GetNodeAtlas},
    {"core_SetNodeAtlas", "*", core_SetNodeAtlas},
    {"core_GetNodeAttribute", "*", core_GetNodeAttribute},
    {"core_GetNodeSubnode", "*", core_GetNodeSubnode},
    {"core_SetNode", "*", core_SetNode},
    {"core_SetNodeAttribute", "*", core_SetNodeAttribute},
    {"core_AttachToNode", "*", core_AttachToNode},
    {"core_ConvertXYCoords", "*", core_ConvertXYCoords},
    {"core_SetNodeAction", "*", core_SetNodeAction},
    {"core_CreateSprite", "*", core_CreateSprite},
    {"core_DeleteSprite", "*", core_FadeSprite},
    {"core_EnableNode", "*", core_EnableNode},
    {"core_GetTick", "", core_GetTick},
    {"core_GetActiveProfileName", "", core_GetActiveProfileName},
    {"core_GetTranslation", "*", core_GetTranslation},
    {"core_Translate", "*", core_GetTranslation},
    {"core_GetDataPath", "s", core_GetDataPath},
    {"core_AddDataPath", "s", core_AddDataPath},
    {"core_GetLastClickPosition", "*", core_GetLastClickPosition},
    {"core_GetCurrentCursorPosition", "*", core_GetCurrentCursorPosition},
    {"core_GetIsLeftButtonDown", "", core_GetIsLeftButtonDown},
    {"core_GetStrSlice", "*", core_GetStrSlice},
    {"core_CreateRndSequence", "*", core_CreateRndSequence},
    {"core_ReadTextFile", "s", core_ReadTextFile},
    {"core_SaveFile", "ss", core_SaveFile},
    {"core_Rnd", "*", core_Rnd},
    {"core_Escape", "s", core_Escape},
    {"core_Unescape", "s", core_Unescape},
    {"core_StrMask", "*", core_StrMask},
    {"core_StrReplace", "*", core_StrReplace},
    {"core_checkTextUsingProfile", "*", core_checkTextUsingProfile},
    {"core_GetProfileOption", "*", core_GetProfileOption},
    {"core_SetProfileOption", "*", core_SetProfileOption},
    {"core_SaveProfile", "*", core_SaveProfile},
    {"core_SetInterval", "*", core_SetInterval},
    {"core_CancelInterval", "*", core_CancelInterval},
    {"core_SetTimeout", "*", core_SetTimeout},
    {"core_CancelTimeout", "*", core_CancelInterval},
    {"core_SetIntervalTimer", "*", core_SetIntervalTimer},
    {"core_GetDate", "*", core_GetDate},
    {"core_AddTime2Date", "*", core_AddTime2Date},
    {"core_GetIniParameter", "*", core_GetIniParameter},
    {"core_GetSprIniParameter", "*", core_GetSprIniParameter},
    {"core_SerializeObj", "*", core_SerializeObj},
    {"core_DeserializeObj", "*", core_DeserializeObj},
    {"core_GetHighScores", "", core_GetHighScores},
    {"core_GetHighScorePlace", "n", core_GetHighScorePlace},
    {"core_AddHighScore", "*", core_AddHighScore},
};

} // namespace

void registerCoreFunction(squirrel::VM& vm, std::string_view name, std::string_view mask,
                          CoreFunction function) {
    int count = mask == "*" ? squirrel::VM::kAnyArgumentCount : static_cast<int>(mask.size());
    std::string_view typeMask = mask == "*" ? std::string_view() : mask;
    vm.registerFunction(name, function, count, typeMask);
}

void registerCoreFunctions(squirrel::VM& vm) {
    for (const CoreFunctionEntry& entry : kCoreFunctions) {
        registerCoreFunction(vm, entry.name, entry.mask, entry.function);
    }
}
