#include "open_dialogs.h"

#include "utils/utils_str.h"

int COpenDialogList::registerDialog(int op, IOpenDialog* dialog) {
    ScopedLock guard(lock);
    if (op == 1) {
        dialog->grab();
        dialogs.push_back(dialog);
    } else if (op == -1) {
        for (auto it = dialogs.begin(); it != dialogs.end(); ++it) {
            if (*it == dialog) {
                dialogs.erase(it);
                dialog->drop();
                break;
            }
        }
    }
    return 1;
}

int COpenDialogList::isDialogOpen(const std::string& name) {
    ScopedLock guard(lock);
    for (IOpenDialog* dialog : dialogs) {
        if (dialog->getDialogName() == name) {
            return 1;
        }
    }
    return 0;
}

void COpenDialogList::closeDialogs(
    const std::string& list, const std::function<void(const std::string& name)>& closeDialog) {
    std::string names = normalizeDialogList(list);
    bool closeAll = names == "," || names == ",-1,";
    // Closing unregisters dialogs from this list and takes the scene's locks, which are taken
    // before this list's lock when a dialog opens; so the names are copied under the lock and
    // the dialogs closed without it.
    std::vector<std::string> toClose;
    {
        ScopedLock guard(lock);
        for (IOpenDialog* dialog : dialogs) {
            const std::string& name = dialog->getDialogName();
            if (closeAll || names.find("," + name + ",") != std::string::npos) {
                toClose.push_back(name);
            }
        }
    }
    for (const std::string& name : toClose) {
        closeDialog(name);
    }
}

size_t COpenDialogList::size() {
    ScopedLock guard(lock);
    return dialogs.size();
}

std::string normalizeDialogList(const std::string& list) {
    std::string text = "," + list + ",";
    text = replaceAll(replaceAll(text, " ", ","), "|", ",");
    while (text.find(",,") != std::string::npos) {
        text = replaceAll(text, ",,", ",");
    }
    return text;
}
