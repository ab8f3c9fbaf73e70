#include "core_api_dialogs.h"

#include "core/vellumengine.h"
#include "dialogs/dialog_registry.h"
#include "dialogs/module_dialogfactory.h"
#include "script/core_arguments.h"
#include "utils/utils_fs.h"

squirrel::Object core_OpenDialog(squirrel::CallContext& call) {
    openDialog(getDialogFile(call.stringArg(0)), irr::core::vector3df(0, 0, 0),
               getEngine().rootNode());
    return squirrel::Object();
}

squirrel::Object core_CloseDialog(squirrel::CallContext& call) {
    getEngine().closeDialog(textArgument(call, 0), call.intArg(1));
    return squirrel::Object();
}

squirrel::Object core_IsDialogOpened(squirrel::CallContext& call) {
    return squirrel::Object(getEngine().openDialogs().isDialogOpen(call.stringArg(0)) != 0);
}

squirrel::Object core_GetDialogRootFolder(squirrel::CallContext& call) {
    return call.vm().string(splitPath(getDialogFile(call.stringArg(0)), true, true, false, false));
}
