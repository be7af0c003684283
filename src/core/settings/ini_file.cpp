#include "settings/ini_file.h"

#include <algorithm>
#include <charconv>

namespace meshforge {

namespace {

char LowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (LowerAscii(a[i]) != LowerAscii(b[i]))
            return false;
    return true;
}

std::string Without(std::string_view text, std::string_view banned) {
    std::string out;
    out.reserve(text.size());
    for (char c : text)
        if (banned.find(c) == std::string_view::npos)
            out.push_back(c);
    return out;
}

} // namespace

std::optional<int> ParseIniInteger(std::string_view text) {
    auto isBlank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    if (!text.empty() && text.front() == '+')
        text.remove_prefix(1);
    if (text.empty() || text.front() == '+')
        return std::nullopt;
    int value = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

IniFile IniFile::Parse(std::string_view text) {
    IniFile ini;
    Section* current = nullptr;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = text.find_first_of("\r\n", pos);
        if (end == std::string_view::npos)
            end = text.size();
        std::string_view line = text.substr(pos, end - pos);
        pos = end;
        if (pos < text.size()) {
            if (text[pos] == '\r' && pos + 1 < text.size() && text[pos + 1] == '\n')
                pos += 2;
            else
                pos += 1;
        }

        if (!line.empty() && line.front() == '[') {
            std::size_t close = line.find(']');
            if (close == std::string_view::npos)
                continue;
            std::string_view name = line.substr(1, close - 1);
            current = ini.FindSection(name);
            if (current == nullptr) {
                ini.sections_.push_back(Section{std::string(name), {}});
                current = &ini.sections_.back();
            }
            continue;
        }
        std::size_t eq = line.find('=');
        if (current == nullptr || eq == std::string_view::npos || eq == 0)
            continue;
        std::string_view key = line.substr(0, eq);
        std::string_view value = line.substr(eq + 1);
        auto it = std::find_if(current->entries.begin(), current->entries.end(),
                               [&](const auto& e) { return EqualsNoCase(e.first, key); });
        if (it == current->entries.end()) // the first occurrence wins, as on Windows
            current->entries.emplace_back(std::string(key), std::string(value));
    }
    return ini;
}

std::string IniFile::Serialize() const {
    std::string out;
    bool first = true;
    for (const Section& s : sections_) {
        if (!first)
            out += "\r\n";
        first = false;
        out += '[';
        out += s.name;
        out += "]\r\n";
        for (const auto& [key, value] : s.entries) {
            out += key;
            out += '=';
            out += value;
            out += "\r\n";
        }
    }
    return out;
}

IniFile::Section* IniFile::FindSection(std::string_view name) {
    for (Section& s : sections_)
        if (EqualsNoCase(s.name, name))
            return &s;
    return nullptr;
}

const IniFile::Section* IniFile::FindSection(std::string_view name) const {
    for (const Section& s : sections_)
        if (EqualsNoCase(s.name, name))
            return &s;
    return nullptr;
}

bool IniFile::HasSection(std::string_view section) const {
    return FindSection(section) != nullptr;
}

std::optional<std::string> IniFile::Get(std::string_view section, std::string_view key) const {
    const Section* s = FindSection(section);
    if (s == nullptr)
        return std::nullopt;
    for (const auto& [k, v] : s->entries)
        if (EqualsNoCase(k, key))
            return v;
    return std::nullopt;
}

void IniFile::Set(std::string_view section, std::string_view key, std::string_view value) {
    std::string cleanSection = Without(section, "\r\n]");
    std::string cleanKey = Without(key, "\r\n=");
    std::string cleanValue = Without(value, "\r\n");
    if (cleanKey.empty() || cleanKey.front() == '[')
        return; // could never be read back
    Section* s = FindSection(cleanSection);
    if (s == nullptr) {
        sections_.push_back(Section{cleanSection, {}});
        s = &sections_.back();
    }
    for (auto& [k, v] : s->entries) {
        if (EqualsNoCase(k, cleanKey)) {
            v = std::move(cleanValue);
            return;
        }
    }
    s->entries.emplace_back(std::move(cleanKey), std::move(cleanValue));
}

void IniFile::EraseSection(std::string_view section) {
    std::erase_if(sections_, [&](const Section& s) { return EqualsNoCase(s.name, section); });
}

std::string IniFile::ReadString(std::string_view section, std::string_view key,
                                std::string_view defaultValue) const {
    auto v = Get(section, key);
    return v ? *v : std::string(defaultValue);
}

int IniFile::ReadInteger(std::string_view section, std::string_view key, int defaultValue) const {
    auto v = Get(section, key);
    if (!v)
        return defaultValue;
    return ParseIniInteger(*v).value_or(defaultValue);
}

bool IniFile::ReadBool(std::string_view section, std::string_view key, bool defaultValue) const {
    auto v = Get(section, key);
    if (!v)
        return defaultValue;
    auto n = ParseIniInteger(*v);
    return n ? *n != 0 : defaultValue;
}

void IniFile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
    Set(section, key, value);
}

void IniFile::WriteInteger(std::string_view section, std::string_view key, int value) {
    Set(section, key, std::to_string(value));
}

void IniFile::WriteBool(std::string_view section, std::string_view key, bool value) {
    Set(section, key, value ? "1" : "0");
}

} // namespace meshforge
