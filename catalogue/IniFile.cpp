#include "catalogue/IniFile.h"

#include <cctype>
#include <cstdlib>

namespace {

std::string_view Trim(std::string_view text) {
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    return text;
}

std::string Lower(std::string_view text) {
    std::string lower(text);
    for (char& c : lower)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return lower;
}

std::string Key(std::string_view section, std::string_view key) {
    return Lower(section) + "\n" + Lower(key);
}

// Cuts an inline comment: a ';' that follows a blank.
std::string_view WithoutComment(std::string_view value) {
    for (std::size_t i = 1; i < value.size(); ++i) {
        if (value[i] == ';' && (value[i - 1] == ' ' || value[i - 1] == '\t'))
            return value.substr(0, i);
    }
    return value;
}

}  // namespace

IniFile IniFile::Parse(std::string_view text) {
    IniFile file;
    if (text.starts_with("\xEF\xBB\xBF"))
        text.remove_prefix(3);
    std::string section;
    int lineNumber = 0;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        const std::string_view line = Trim(text.substr(0, end));
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        ++lineNumber;
        if (line.empty() || line.front() == ';' || line.front() == '#')
            continue;
        if (line.front() == '[') {
            const std::size_t close = line.find(']');
            if (close == std::string_view::npos) {
                file.errorLine_ = lineNumber;
                return file;
            }
            section = std::string(Trim(line.substr(1, close - 1)));
            continue;
        }
        const std::size_t separator = line.find_first_of("=:");
        if (separator == std::string_view::npos || Trim(line.substr(0, separator)).empty()) {
            file.errorLine_ = lineNumber;
            return file;
        }
        file.values_[Key(section, Trim(line.substr(0, separator)))] =
            std::string(Trim(WithoutComment(line.substr(separator + 1))));
    }
    return file;
}

std::optional<std::string> IniFile::Get(std::string_view section, std::string_view key) const {
    const auto found = values_.find(Key(section, key));
    if (found == values_.end())
        return std::nullopt;
    return found->second;
}

std::string IniFile::Get(std::string_view section, std::string_view key, const std::string& fallback) const {
    return Get(section, key).value_or(fallback);
}

long IniFile::GetInteger(std::string_view section, std::string_view key, long fallback) const {
    const std::optional<std::string> value = Get(section, key);
    if (!value || value->empty())
        return fallback;
    char* end = nullptr;
    const long number = std::strtol(value->c_str(), &end, 0);
    return *end == '\0' ? number : fallback;
}
