#include "user_file_save.h"

#include "platform/native_path.h"
#include "utils/debug.h"
#include "utils/utils_fs.h"

bool saveUserFile(const std::string& path, const std::string& text) {
    std::string failure;
    if (writeTextFile(path, text, &failure)) {
        return true;
    }
    showErrorBox("Could not save " + toNativePath(path) + " (" + failure +
                     "). The game goes on; what was saved before is kept.",
                 false);
    return false;
}
