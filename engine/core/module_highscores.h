#pragma once

#include <cstdint>
#include <ctime>
#include <string>

// One result of the high-score table; an empty entry has a score of 0 and empty texts.
struct HighScoreEntry {
    static constexpr size_t kMaxNameLength = 40;
    static constexpr size_t kMaxInternalsLength = 1024;

    std::string PlayerName;
    uint32_t Score = 0;
    uint32_t Stamp = 0;
    uint8_t Flag = 0;
    std::string Internals;
};

// The eight best results, best first, kept in a key-value file with the lines "Line%i"
// ("flag;STAMP;score;name") and, for entries that have them, "Line%i_internals".
class CHighScoreTable {
public:
    static constexpr int kEntryCount = 8;

    // Reads the table from the file. An empty or missing file resets the table (which also
    // renews the user's copy of the program's default table) and reads the file once more. The
    // first missing entry line ends the reading. Always true.
    bool loadHighScores(const std::string& name, const std::string& path);
    // Writes the table when it differs from its file; true when the file was written.
    bool saveHighScores(const std::string& path);
    // Empties every entry and marks the table changed. Unless keepFiles, the user folder's
    // "hiscores_<name>.ini" is replaced by a copy of the program's "hiscores.ini".
    bool resetHighScores(bool keepFiles);

    // The index of the first entry with a lower score, or 8 when there is none.
    int findRank(uint32_t score) const;
    // Places the result by its score (after equal scores) and returns its 1-based place, or 0
    // when it does not enter the table. An existing entry with the same stamp and name is
    // removed first; an entry with the same score and stamp makes the insertion fail.
    int insertScore(uint32_t score, const std::string& name, uint32_t stamp, int flag,
                    const std::string& internals);
    // insertScore with flag 0; a stamp of 0 is made from the current time. Marks the table
    // changed when the result entered it.
    int addScore(uint32_t score, const std::string& name, uint32_t stamp,
                 const std::string& internals);

    const std::string& tableName() const { return TableName; }
    const HighScoreEntry& entry(int index) const { return Entries[index]; }
    bool isDirty() const { return Dirty != 0; }

private:
    void removeEntry(int index);

    std::string TableName;
    HighScoreEntry Entries[kEntryCount];
    int Dirty = 0;
};

// The stamp of a result made at the given time: its UTC calendar fields weighted and summed in
// 32-bit arithmetic.
uint32_t highScoreStamp(std::time_t time);
