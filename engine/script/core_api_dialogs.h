#pragma once

#include "squirrel/squirrel.h"

// Core script functions over dialogs.

// (name): opens the dialog registered under the name at the engine's root node; a name that no
// dialog file declares is the fatal "incorrect dialog name!!!".
squirrel::Object core_OpenDialog(squirrel::CallContext& call);
// (name, fade time in ms, default 0): closes the dialog, fading it out over the time when not 0.
squirrel::Object core_CloseDialog(squirrel::CallContext& call);
// (name): whether a dialog of that name is open.
squirrel::Object core_IsDialogOpened(squirrel::CallContext& call);
// (name): the folder of the dialog's description file, ending with a backslash.
squirrel::Object core_GetDialogRootFolder(squirrel::CallContext& call);
