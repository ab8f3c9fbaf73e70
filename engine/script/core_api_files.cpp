#include "core_api_files.h"

#include "script/core_arguments.h"
#include "utils/debug.h"
#include "utils/utils_fs.h"

#include <string>
#include <vector>

squirrel::Object core_GetFileListing(squirrel::CallContext& call) {
    std::vector<std::string> files;
    listFiles(files, resolveDataPath(textArgument(call, 0)), "");
    if (files.empty()) {
        return squirrel::Object(false);
    }
    squirrel::Object list = call.vm().newArray();
    for (const std::string& file : files) {
        list.append(call.vm().string(file));
    }
    return list;
}

squirrel::Object core_GetPathPart(squirrel::CallContext& call) {
    return call.vm().string(splitPath(textArgument(call, 0), call.boolArg(1), call.boolArg(2),
                                      call.boolArg(3), call.boolArg(4)));
}

squirrel::Object core_GetDataPath(squirrel::CallContext& call) {
    return call.vm().string(resolveDataPath(call.stringArg(0)));
}

squirrel::Object core_AddDataPath(squirrel::CallContext& call) {
    return call.vm().string(resolveDataPathUncached(call.stringArg(0)));
}

squirrel::Object core_ReadTextFile(squirrel::CallContext& call) {
    std::string text;
    readTextFile(call.stringArg(0), text);
    return call.vm().string(text);
}

squirrel::Object core_SaveFile(squirrel::CallContext& call) {
    std::string path = call.stringArg(0);
    if (writeTextFile(path, call.stringArg(1))) {
        return squirrel::Object(true);
    }
    logDebug("core_SaveFile: can not write " + path, __FILE__, __LINE__);
    return squirrel::Object(false);
}
