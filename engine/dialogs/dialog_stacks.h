#pragma once

#include <string>

// The open dialogs' entries on the registries' stacks (dialog_registry.h reads the tops): each
// open dialog pushes its actions and its music, and takes them off again when it closes.

// Pushes the actions that are not empty onto the Escape-action and key-action stacks, with the
// dialog file they were written in.
void pushDialogActions(const std::string& escAction, const std::string& keyAction,
                       const std::string& dialogFile);
// Removes from each stack the first entry equal to the action.
void removeDialogActions(const std::string& escAction, const std::string& keyAction);

// Pushes the music name onto the music stack.
void pushDialogMusic(const std::string& music);
// Removes the first entry equal to the music name; returns the music that plays now: the last
// entry left, or "" (no music) when the stack is empty.
std::string removeDialogMusic(const std::string& music);
