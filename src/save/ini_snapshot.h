#pragma once

// The save file as an ordered, case-insensitive INI document over wide text. Every save parses
// the last text handed to the writer, overwrites the keys it owns and serializes it again, so
// sections and keys the game does not know survive untouched. Lookups go through an index of
// case-folded names beside the ordered lists, so a file of many thousand keys parses in time
// linear in its size.

#include <cerrno>
#include <climits>
#include <cstdint>
#include <cwchar>
#include <cwctype>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

namespace grumbo {

struct IniSnapshot {
    struct Section {
        // As first written, trimmed; never empty.
        std::wstring name;
        // (key, value) in order of first appearance; keys unique ignoring case, never empty.
        std::vector<std::pair<std::wstring, std::wstring>> entries;
        // Case-folded key to its position in `entries`; rebuilt when out of step with it.
        mutable std::unordered_map<std::wstring, std::size_t> index;
    };

    std::vector<Section> sections;
    // How many stored names the lookups have examined: one per lookup with the index, where a
    // plain scan would examine every earlier name.
    mutable std::size_t namesExamined = 0;

    // Only these four characters count as whitespace; a byte-order mark does not.
    static bool isSpace(wchar_t c) { return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n'; }

    static std::wstring trim(const std::wstring& text) {
        std::size_t begin = 0;
        std::size_t end = text.size();
        while (begin < end && isSpace(text[begin])) {
            ++begin;
        }
        while (end > begin && isSpace(text[end - 1])) {
            --end;
        }
        return text.substr(begin, end - begin);
    }

    static std::wstring folded(const std::wstring& text) {
        std::wstring out(text.size(), L'\0');
        for (std::size_t i = 0; i < text.size(); ++i) {
            out[i] = static_cast<wchar_t>(std::towlower(static_cast<std::wint_t>(text[i])));
        }
        return out;
    }

    static bool sameIgnoringCase(const std::wstring& a, const std::wstring& b) {
        if (a.size() != b.size()) {
            return false;
        }
        for (std::size_t i = 0; i < a.size(); ++i) {
            if (std::towlower(static_cast<std::wint_t>(a[i])) !=
                std::towlower(static_cast<std::wint_t>(b[i]))) {
                return false;
            }
        }
        return true;
    }

    // Adds what the text holds to the document; callers start from an empty snapshot.
    void parse(const std::wstring& text) {
        std::wstring current;
        std::size_t position = 0;
        while (position < text.size()) {
            std::size_t lineBreak = text.find_first_of(L"\r\n", position);
            std::size_t lineEnd = lineBreak == std::wstring::npos ? text.size() : lineBreak;
            parseLine(trim(text.substr(position, lineEnd - position)), position == 0, current);
            if (lineBreak == std::wstring::npos) {
                break;
            }
            position = lineBreak + 1;
            if (text[lineBreak] == L'\r' && position < text.size() && text[position] == L'\n') {
                ++position;
            }
        }
    }

    void set(const std::wstring& section, const std::wstring& key, const std::wstring& value) {
        std::wstring sectionName = trim(section);
        std::wstring keyName = trim(key);
        if (sectionName.empty() || keyName.empty()) {
            return;
        }
        std::size_t at = sectionPosition(sectionName);
        if (at == NONE) {
            at = sections.size();
            sectionIndex.emplace(folded(sectionName), at);
            sections.push_back(Section{std::move(sectionName), {}, {}});
        }
        Section& target = sections[at];
        const std::size_t existing = entryPosition(target, keyName);
        if (existing != NONE) {
            target.entries[existing].second = value;
            return;
        }
        target.index.emplace(folded(keyName), target.entries.size());
        target.entries.emplace_back(std::move(keyName), value);
    }

    std::wstring get(const std::wstring& section, const std::wstring& key,
                     const std::wstring& fallback) const {
        const std::size_t at = sectionPosition(trim(section));
        if (at == NONE) {
            return fallback;
        }
        const Section& found = sections[at];
        const std::size_t entry = entryPosition(found, trim(key));
        return entry != NONE ? found.entries[entry].second : fallback;
    }

    // A whole decimal number in 32-bit range, optionally signed and surrounded by whitespace;
    // anything else (12abc, 1.5, 99999999999) gives the fallback.
    std::int32_t integer(const std::wstring& section, const std::wstring& key, std::int32_t fallback) const {
        std::wstring s = trim(get(section, key, std::wstring()));
        if (s.empty()) {
            return fallback;
        }
        const wchar_t* begin = s.c_str();
        wchar_t* end = nullptr;
        errno = 0;
        long long value = std::wcstoll(begin, &end, 10);
        if (errno == ERANGE || end == begin || end != begin + s.size() || value < INT32_MIN ||
            value > INT32_MAX) {
            return fallback;
        }
        return static_cast<std::int32_t>(value);
    }

    std::wstring serialize() const {
        std::wstring out;
        for (const auto& section : sections) {
            if (!out.empty()) {
                out += L"\r\n";
            }
            out += L'[';
            out += section.name;
            out += L"]\r\n";
            for (const auto& [key, value] : section.entries) {
                out += key;
                out += L'=';
                // Quotes keep surrounding whitespace, and keep a value that is itself quoted
                // from losing its own quotes when parsed back.
                if (trim(value) != value || isQuoted(value)) {
                    out += L'"';
                    out += value;
                    out += L'"';
                } else {
                    out += value;
                }
                out += L"\r\n";
            }
        }
        return out;
    }

  private:
    static bool isQuoted(const std::wstring& value) {
        return value.size() >= 2 && ((value.front() == L'"' && value.back() == L'"') ||
                                     (value.front() == L'\'' && value.back() == L'\''));
    }

    static constexpr std::size_t NONE = static_cast<std::size_t>(-1);

    // Case-folded section name to its position in `sections`.
    mutable std::unordered_map<std::wstring, std::size_t> sectionIndex;

    // The position of `name` in `list`, or NONE. The index is a cache: it is rebuilt whenever
    // its size no longer matches the list (names are unique, so in step the sizes agree), and
    // the name found is checked against the list.
    template <typename List, typename NameOf>
    std::size_t position(std::unordered_map<std::wstring, std::size_t>& index, const List& list,
                         NameOf nameOf, const std::wstring& name) const {
        if (index.size() != list.size()) {
            index.clear();
            for (std::size_t i = 0; i < list.size(); ++i) {
                index.emplace(folded(nameOf(list[i])), i);
            }
        }
        const auto found = index.find(folded(name));
        if (found == index.end()) {
            return NONE;
        }
        ++namesExamined;
        return sameIgnoringCase(nameOf(list[found->second]), name) ? found->second : NONE;
    }

    std::size_t sectionPosition(const std::wstring& name) const {
        return position(
            sectionIndex, sections, [](const Section& s) -> const std::wstring& { return s.name; }, name);
    }

    std::size_t entryPosition(const Section& section, const std::wstring& key) const {
        return position(
            section.index, section.entries,
            [](const std::pair<std::wstring, std::wstring>& e) -> const std::wstring& { return e.first; },
            key);
    }

    void parseLine(std::wstring line, bool firstLine, std::wstring& current) {
        // Only the very first line may carry a byte-order mark left over from decoding.
        if (firstLine && !line.empty() && line.front() == L'\uFEFF') {
            line = trim(line.substr(1));
        }
        if (line.empty() || line.front() == L'#' || line.front() == L';') {
            return;
        }
        if (line.front() == L'[') {
            std::size_t close = line.find(L']');
            // An unterminated header disowns every key line up to the next valid header.
            current = close == std::wstring::npos ? std::wstring() : trim(line.substr(1, close - 1));
            return;
        }
        std::size_t equals = line.find(L'=');
        if (current.empty() || equals == std::wstring::npos) {
            return;
        }
        std::wstring value = trim(line.substr(equals + 1));
        if (isQuoted(value)) {
            value = value.substr(1, value.size() - 2);
        }
        set(current, line.substr(0, equals), value);
    }
};

} // namespace grumbo
