#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace meshforge {

// An INI text held in memory: sections in file order, each with its keys in order.
// Section and key names are matched case-insensitively (ASCII), as Windows INI files do.
class IniFile {
  public:
    // Reads "[Name]" headers and "Key=Value" lines; lines may end in CR LF, LF or CR.
    // Any other line, and any key line before the first header, is ignored. Never throws.
    static IniFile Parse(std::string_view text);

    // "[Section]\r\n" then "Key=Value\r\n" lines, an empty line between sections.
    std::string Serialize() const;

    std::optional<std::string> Get(std::string_view section, std::string_view key) const;
    // Replaces the value of an existing key (keeping its position) or appends the key,
    // creating the section at the end when needed. Line breaks are removed from all three
    // texts, "=" from the key and "]" from the section so the result reads back the same.
    void Set(std::string_view section, std::string_view key, std::string_view value);
    void EraseSection(std::string_view section);
    bool HasSection(std::string_view section) const;

    std::string ReadString(std::string_view section, std::string_view key,
                           std::string_view defaultValue) const;
    // Decimal integer (optional sign, surrounding blanks allowed); anything else → default.
    int ReadInteger(std::string_view section, std::string_view key, int defaultValue) const;
    // Stored as an integer: 0 is false, any other integer true; non-integer → default.
    bool ReadBool(std::string_view section, std::string_view key, bool defaultValue) const;

    void WriteString(std::string_view section, std::string_view key, std::string_view value);
    void WriteInteger(std::string_view section, std::string_view key, int value);
    void WriteBool(std::string_view section, std::string_view key, bool value);

    struct Section {
        std::string name;
        std::vector<std::pair<std::string, std::string>> entries;
    };
    const std::vector<Section>& Sections() const { return sections_; }

  private:
    Section* FindSection(std::string_view name);
    const Section* FindSection(std::string_view name) const;

    std::vector<Section> sections_;
};

// Parses a whole decimal int; surrounding blanks allowed. Empty optional when not an int.
std::optional<int> ParseIniInteger(std::string_view text);

} // namespace meshforge
