#include "core_api_sound.h"

#include "core/vellumengine.h"

squirrel::Object core_SetBackgroundMusic(squirrel::CallContext& call) {
    getEngine().getSound().setMusic(call.stringArg(0));
    return squirrel::Object();
}

squirrel::Object core_PlayEffect(squirrel::CallContext& call) {
    getEngine().getSound().playEffect(call.stringArg(0), -1.0f);
    return squirrel::Object();
}
