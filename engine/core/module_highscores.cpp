#include "module_highscores.h"

#include "core/user_file_save.h"
#include "platform/files.h"
#include "utils/key_value.h"
#include "utils/number_text.h"
#include "utils/utils_fs.h"
#include "utils/utils_str.h"

#include <cassert>
#include <cstdlib>

namespace {

// Parses "flag;STAMP;score;name" into the entry: the flag is set unless the first character is
// "0"; each field is read up to the first character that does not belong to it, and the one
// character after it is skipped.
void parseEntryLine(const std::string& value, HighScoreEntry& entry) {
    entry.Flag = value[0] != '0' ? 1 : 0;
    size_t position = value.size() > 2 ? 2 : value.size();
    uint32_t stamp = 0;
    for (; position < value.size() && hexDigitValue(value[position]) >= 0; ++position) {
        stamp = stamp * 16 + static_cast<uint32_t>(hexDigitValue(value[position]));
    }
    entry.Stamp = stamp;
    if (position < value.size()) {
        ++position;
    }
    const char* scoreText = value.c_str() + position;
    char* scoreEnd = nullptr;
    entry.Score = static_cast<uint32_t>(std::strtoll(scoreText, &scoreEnd, 10));
    position += static_cast<size_t>(scoreEnd - scoreText);
    if (position < value.size()) {
        ++position;
    }
    entry.PlayerName = value.substr(position, HighScoreEntry::kMaxNameLength);
}

} // namespace

bool CHighScoreTable::loadHighScores(const std::string& name, const std::string& path) {
    assert(!name.empty());
    TableName = name;
    for (HighScoreEntry& entry : Entries) {
        entry = HighScoreEntry();
    }
    std::string contents;
    bool reset = !readSavedFileRaw(path, contents);
    if (reset) {
        resetHighScores(false);
        readSavedFileRaw(path, contents);
    }
    std::string text = "\n" + contents + "\n";
    for (int i = 0; i < kEntryCount; ++i) {
        std::string value = getOption(text, format("Line%i", i), "\n");
        if (value.empty()) {
            break;
        }
        parseEntryLine(value, Entries[i]);
        Entries[i].Internals = getOption(text, format("Line%i_internals", i), "\n")
                                   .substr(0, HighScoreEntry::kMaxInternalsLength);
    }
    // A table that had to be reset differs from its file and is written at the next save.
    Dirty = reset ? 1 : 0;
    return true;
}

bool CHighScoreTable::saveHighScores(const std::string& path) {
    if (Dirty == 0) {
        return false;
    }
    std::string text;
    for (int i = 0; i < kEntryCount; ++i) {
        const HighScoreEntry& entry = Entries[i];
        writeOption(text, format("Line%i", i),
                    format("%d;%08X;%i;%s", entry.Flag != 0 ? 1 : 0, entry.Stamp,
                           static_cast<int32_t>(entry.Score), entry.PlayerName.c_str()));
        if (!entry.Internals.empty()) {
            writeOption(text, format("Line%i_internals", i), entry.Internals);
        }
    }
    if (!saveUserFile(path, text)) {
        return false;
    }
    Dirty = 0;
    return true;
}

bool CHighScoreTable::resetHighScores(bool keepFiles) {
    for (HighScoreEntry& entry : Entries) {
        entry = HighScoreEntry();
    }
    if (!keepFiles) {
        // The copy replaces the old file in one step; without a default table to copy, the old
        // file goes, as the table is empty now.
        std::string copy = userFolder() + "hiscores_" + TableName + ".ini";
        if (!copyFile(gameFolder() + "hiscores.ini", copy)) {
            removeFile(copy);
        }
    }
    Dirty = 1;
    return true;
}

int CHighScoreTable::findRank(uint32_t score) const {
    assert(score != 0);
    for (int i = 0; i < kEntryCount; ++i) {
        if (Entries[i].Score < score) {
            return i;
        }
    }
    return kEntryCount;
}

void CHighScoreTable::removeEntry(int index) {
    for (int i = index; i + 1 < kEntryCount; ++i) {
        Entries[i] = Entries[i + 1];
    }
    Entries[kEntryCount - 1] = HighScoreEntry();
}

int CHighScoreTable::insertScore(uint32_t score, const std::string& name, uint32_t stamp, int flag,
                                 const std::string& internals) {
    if (score == 0) {
        return 0;
    }
    assert(name.size() <= HighScoreEntry::kMaxNameLength);
    for (int i = 0; i < kEntryCount; ++i) {
        if (Entries[i].Stamp == stamp && Entries[i].PlayerName == name) {
            removeEntry(i);
            // The table no longer matches its file, whatever happens to the new result.
            Dirty = 1;
            break;
        }
    }
    for (int i = 0; i < kEntryCount; ++i) {
        if (Entries[i].Score == score && Entries[i].Stamp == stamp) {
            return 0;
        }
        if (Entries[i].Score < score) {
            for (int k = kEntryCount - 1; k > i; --k) {
                Entries[k] = Entries[k - 1];
            }
            HighScoreEntry& entry = Entries[i];
            entry.Score = score;
            entry.Stamp = stamp;
            entry.Flag = flag != 0 ? 1 : 0;
            entry.PlayerName = name.substr(0, HighScoreEntry::kMaxNameLength);
            entry.Internals = internals.substr(0, HighScoreEntry::kMaxInternalsLength);
            return i + 1;
        }
    }
    return 0;
}

int CHighScoreTable::addScore(uint32_t score, const std::string& name, uint32_t stamp,
                              const std::string& internals) {
    if (stamp == 0) {
        stamp = highScoreStamp(std::time(nullptr));
    }
    int place = insertScore(score, name, stamp, 0, internals);
    if (place != 0) {
        Dirty = 1;
    }
    return place;
}

uint32_t highScoreStamp(std::time_t time) {
    std::tm utc = *std::gmtime(&time);
    uint32_t year = static_cast<uint32_t>(utc.tm_year + 1900);
    uint32_t month = static_cast<uint32_t>(utc.tm_mon + 1);
    uint32_t day = static_cast<uint32_t>(utc.tm_mday);
    uint32_t hour = static_cast<uint32_t>(utc.tm_hour);
    uint32_t minute = static_cast<uint32_t>(utc.tm_min);
    uint32_t second = static_cast<uint32_t>(utc.tm_sec);
    return minute * 60u + day * 44640u + year * 53568000u + month * 535680u + hour * 1440u +
           second + 238182400u;
}
