#pragma once
// The small INI dialect of the settings file: "[section]" lines, "key = value" (or "key: value")
// lines, whole-line comments starting with ';' or '#', and inline comments after a blank and ';'.
// Section and key names are compared without regard to case; blanks around names and values are
// dropped; a UTF-8 byte-order mark is skipped. Pure, any thread.
#include <map>
#include <optional>
#include <string>
#include <string_view>

class IniFile {
  public:
    // Parses text. On a line that is none of the above, parsing stops and ErrorLine() names it.
    static IniFile Parse(std::string_view text);

    // 0 when the whole text was understood, else the 1-based number of the first bad line.
    int ErrorLine() const { return errorLine_; }

    std::optional<std::string> Get(std::string_view section, std::string_view key) const;
    std::string Get(std::string_view section, std::string_view key, const std::string& fallback) const;
    // A decimal (or 0x hexadecimal) whole number; fallback when the key is absent or not a number.
    long GetInteger(std::string_view section, std::string_view key, long fallback) const;

  private:
    std::map<std::string, std::string> values_;  // "section\nkey" in lower case -> value
    int errorLine_ = 0;
};
