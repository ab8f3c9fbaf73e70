#pragma once

#include "platform/locks.h"

#include <irrlicht/irrlicht.h>

#include <functional>
#include <string>
#include <vector>

// What the engine needs of an open dialog: its name.
class IOpenDialog : public irr::IReferenceCounted {
public:
    virtual const std::string& getDialogName() const = 0;
};

// The dialogs currently open, one reference each, in the order they opened.
class COpenDialogList {
public:
    // op 1 adds the dialog (grabbing it), -1 removes its first entry (dropping it). Returns 1.
    int registerDialog(int op, IOpenDialog* dialog);
    // 1 when an open dialog has that name.
    int isDialogOpen(const std::string& name);
    // Closes the named dialogs through closeDialog (name): a list separated by ",", " " or "|";
    // an empty list or "-1" closes all.
    void closeDialogs(const std::string& list,
                      const std::function<void(const std::string& name)>& closeDialog);
    size_t size();

private:
    CriticalSectionLock lock;
    std::vector<IOpenDialog*> dialogs;
};

// The close list in the form ",a,b,": separators made commas, runs of commas made one.
std::string normalizeDialogList(const std::string& list);
