#pragma once

#include "check_report.h"
#include "utils/source_text.h"

#include <irrlicht/irrlicht.h>

#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

// A place in the game's files: a file (engine form) and a line, 0 for the file as a whole; the
// place a line of a read text came from is one.
using CheckPlace = SourceText::Origin;

// What one run of the check mode knows while it reads the game: the report, the places that named
// things (so that what is missing is reported where it was named), the files already looked at,
// and the engine's messages, which are caught and reported at the place being read instead of
// being shown in boxes. A fatal report of the engine's readers ends the piece of work being read
// (reported as an error there) instead of the process.
class CheckSession {
public:
    CheckSession();
    ~CheckSession();
    CheckSession(const CheckSession&) = delete;
    CheckSession& operator=(const CheckSession&) = delete;

    CheckReport report;

    void error(const CheckPlace& place, const std::string& message);
    void warning(const CheckPlace& place, const std::string& message);

    // Runs a piece of reading with the engine's messages reported at the place: boxes as
    // warnings, a fatal report as an error that ends only this piece. False when the engine
    // stopped the piece.
    bool readAt(const CheckPlace& place, const std::function<void()>& work);

    // The NULL device the check loads images and fonts with (no window).
    irr::video::IVideoDriver* driver() const { return videoDriver; }
    // Whether the image file (a resolved path) exists and can be decoded.
    bool imageLoads(const std::string& path);

    // The language folders of the game ("data_en", ...), English first.
    const std::vector<std::string>& languages() const { return languageFolders; }

    // Marks a source (a file with its parameters, or a text) as checked; false when it already was.
    bool firstVisit(const std::string& source) { return visited.insert(source).second; }

    // Names that descriptions give nodes (and dialogs their roots), and the places that ask for
    // them as parents; checked against each other once everything is read.
    void defineName(const std::string& name) { definedNames.insert(name); }
    void useParent(const std::string& name, const CheckPlace& place);
    void checkParents();

    // Anchors that descriptions define with "-DefineAnchor:" and the places that use anchors;
    // checked once everything is read, together with the "[Anchor]" sections the engine read.
    void defineAnchor(const std::string& name) { definedAnchors.insert(name); }
    void useAnchor(const std::string& name, const CheckPlace& place);
    void checkAnchors();

    // Dialog names and their files, as the engine registers them at preload.
    std::map<std::string, std::string> dialogs;

    // Functions the game's script files define, and the places that call functions by name.
    std::set<std::string> scriptFunctions;
    std::vector<std::pair<std::string, CheckPlace>> scriptCalls;
    // The string literals of the script files (names that scripts compare with, such as a
    // level's next level "end").
    std::set<std::string> scriptStrings;

    // The first place that uses a feature ("frame markup", a script function, ...), so that
    // files needed only by that feature are asked for there.
    void noteUse(const std::string& feature, const CheckPlace& place);
    const CheckPlace* firstUse(const std::string& feature) const;

private:
    void onEngineMessage(const std::string& text);

    irr::IrrlichtDevice* device = nullptr;
    irr::video::IVideoDriver* videoDriver = nullptr;
    std::vector<std::string> languageFolders;
    std::set<std::string> visited;
    std::map<std::string, bool> images;
    std::set<std::string> definedNames;
    std::vector<std::pair<std::string, CheckPlace>> parentUses;
    std::set<std::string> definedAnchors;
    std::vector<std::pair<std::string, CheckPlace>> anchorUses;
    std::map<std::string, CheckPlace> uses;
    // The place being read and the engine's messages caught there.
    CheckPlace current;
    std::vector<std::string> pendingMessages;
};
