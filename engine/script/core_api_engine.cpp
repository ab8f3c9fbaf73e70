#include "core_api_engine.h"

#include "core/vellumengine.h"
#include "script/core_arguments.h"
#include "utils/debug.h"
#include "utils/system.h"

squirrel::Object core_SetBackgroundImage(squirrel::CallContext& call) {
    return squirrel::Object(getEngine().setBackground(call.stringArg(0), call.intArg(1) != 0));
}

squirrel::Object core_Alert(squirrel::CallContext& call) {
    showErrorBox("SqScript alert:\n" + call.stringArg(0), false);
    return squirrel::Object();
}

squirrel::Object core_CloseGame(squirrel::CallContext&) {
    getEngine().requestExit();
    return squirrel::Object();
}

squirrel::Object core_GetGameState(squirrel::CallContext&) {
    return squirrel::Object(getEngine().getStage());
}

squirrel::Object core_SetGameState(squirrel::CallContext& call) {
    getEngine().setStage(call.intArg(0));
    return squirrel::Object();
}

squirrel::Object core_IsGamePaused(squirrel::CallContext&) {
    return squirrel::Object(getEngine().getPauseLevel() > 0 ? 1 : 0);
}

squirrel::Object core_IsDebug(squirrel::CallContext&) {
    return squirrel::Object(true);
}

squirrel::Object core_GetTick(squirrel::CallContext&) {
    return squirrel::Object(static_cast<int>(getTicks()));
}

squirrel::Object core_GetIniParameter(squirrel::CallContext& call) {
    return call.vm().string(getEngine().getConfig().getGameIniValue(textArgument(call, 0)));
}
