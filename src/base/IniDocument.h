#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace orvalis {

// An INI text held as its lines, so that editing one key keeps every other section, key,
// comment and their order where they stood. Section and key names compare without regard
// to ASCII letter case (as the settings tree and INI files always have); the first of
// duplicate sections or keys is the one that counts.
struct IniOptions {
    // Values that need it (line breaks, blanks at either end, a leading quote) are
    // written quoted with backslash escapes and read back unquoted.
    bool quoteValues = true;
    // Lines that are neither sections nor keys (comments, junk) are kept in place.
    bool keepOtherLines = true;
    // The classic INI quoting, for the exported settings file (quoteValues off): a value
    // wrapped in one pair of double or single quotes reads without them, with no
    // escapes. Values that would not read back as written (blanks at either end, a quote
    // at both ends) are written in double quotes; a line break becomes a blank, since
    // such a file cannot hold one.
    bool windowsQuotes = false;
};

class IniDocument {
public:
    using Options = IniOptions;

    IniDocument();
    explicit IniDocument(Options options);
    IniDocument(const IniDocument&);
    IniDocument& operator=(const IniDocument&);
    IniDocument(IniDocument&&) noexcept;
    IniDocument& operator=(IniDocument&&) noexcept;
    ~IniDocument();

    static IniDocument parse(std::string_view text, Options options = Options{});
    std::string serialize() const;

    const std::string* find(std::string_view section, std::string_view key) const;
    // False when the key already held this value (nothing changed).
    bool set(std::string_view section, std::string_view key, std::string_view value);
    bool remove(std::string_view section, std::string_view key);
    bool removeSection(std::string_view section);

    bool hasSection(std::string_view section) const;
    std::vector<std::string> sectionNames() const;
    std::vector<std::pair<std::string, std::string>> entries(std::string_view section) const;

private:
    struct Section;
    Section* findSection(std::string_view name) const;
    Section& sectionFor(std::string_view name);
    void reindex();

    Options options_;
    std::vector<std::string> preamble_;  // lines before the first section
    std::vector<std::unique_ptr<Section>> sections_;
    std::unordered_map<std::string, Section*> index_;  // folded name -> first section
};

std::string foldAsciiCase(std::string_view s);

}  // namespace orvalis
