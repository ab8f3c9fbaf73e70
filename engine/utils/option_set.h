#pragma once

#include <cstdint>
#include <map>
#include <string>

// Orders option names by their first differing character compared as a signed byte; a name that
// begins another sorts first. Stored files list options in this order.
struct SignedByteOrder {
    bool operator()(const std::string& a, const std::string& b) const;
};

// Named string, integer and float options with a counter of the changes made through the
// setters. Written and read as option record lines of the key-value format:
// "Option[name]", "OptionStrB64[name]" (values holding CR or LF or starting or ending with
// blanks, standard Base64),
// "OptionLong[name]" and "OptionDouble[name]" (two decimals).
class OptionSet {
public:
    std::string getStringOption(const std::string& name, const std::string& fallback = "") const;
    int32_t getLongOption(const std::string& name, int32_t fallback = 0) const;
    float getDoubleOption(const std::string& name, float fallback = 0.0f) const;

    // Each setter counts a change when the new value differs from the stored one (an absent
    // option counts as "" or 0).
    void setStringOption(const std::string& name, const std::string& value);
    void setLongOption(const std::string& name, int32_t value);
    void setDoubleOption(const std::string& name, float value);

    // Removes the option from every type it is kept under; counts a change when there was one.
    void removeOption(const std::string& name);

    // Looks in the string, long and double options in that order; the first hit's value goes to
    // its out argument. Returns 1 string, 2 long, 3 double, 0 absent.
    int findOption(const std::string& name, std::string& text, int32_t& number, float& real) const;

    // "\n" followed by one line per option: string options, then long, then double options, each
    // in name order. A non-empty `include` keeps only names that match it, a non-empty `exclude`
    // drops names that match it (wildcard patterns).
    std::string serializeOptions(const std::string& include = "",
                                 const std::string& exclude = "") const;
    // Reads every option record line of the text into the options; the change counter stays.
    void parseOptions(const std::string& text);

    int changeCount() const { return changes; }
    void markChanged() { ++changes; }
    void setChangeCount(int count) { changes = count; }

private:
    int changes = 0;
    std::map<std::string, int32_t, SignedByteOrder> longOptions;
    std::map<std::string, float, SignedByteOrder> doubleOptions;
    std::map<std::string, std::string, SignedByteOrder> stringOptions;
};
