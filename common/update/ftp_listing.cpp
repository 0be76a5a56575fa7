#include "common/update/ftp_listing.h"

#include <algorithm>
#include <cctype>
#include <optional>
#include <set>

#include "common/errors.h"
#include "common/update/lines.h"

namespace pivolane::update {

namespace {

constexpr std::string_view kLineEnd = "\r\n";

struct Entry {
  std::string_view name;
  bool folder = false;
};

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) ==
                  std::tolower(static_cast<unsigned char>(y));
         });
}

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

// The next word of line, which loses it and the blanks before it.
std::string_view NextWord(std::string_view& line) {
  while (!line.empty() && IsBlank(line.front())) line.remove_prefix(1);
  std::size_t end = 0;
  while (end < line.size() && !IsBlank(line[end])) ++end;
  const std::string_view word = line.substr(0, end);
  line.remove_prefix(end);
  return word;
}

// "type=file;size=12;modify=20240101000000; name": the facts, one space, the
// name.
std::optional<Entry> ReadMlsdLine(std::string_view line) {
  const std::size_t space = line.find(' ');
  if (space == std::string_view::npos) return std::nullopt;
  std::string_view facts = line.substr(0, space);
  std::optional<Entry> entry;
  while (!facts.empty()) {
    const std::size_t end = facts.find(';');
    const std::string_view fact = facts.substr(0, end);
    facts.remove_prefix(end == std::string_view::npos ? facts.size() : end + 1);
    const std::size_t equals = fact.find('=');
    if (equals == std::string_view::npos || !EqualsIgnoringCase(fact.substr(0, equals), "type")) {
      continue;
    }
    const std::string_view type = fact.substr(equals + 1);
    if (EqualsIgnoringCase(type, "file")) entry = Entry{line.substr(space + 1), false};
    if (EqualsIgnoringCase(type, "dir")) entry = Entry{line.substr(space + 1), true};
  }
  return entry;
}

// A Unix "ls -l" line ("-rw-r--r-- 1 owner group 12 Jan 01 10:00 name") or a
// DOS one ("01-01-24  10:00AM  <DIR>  name").
std::optional<Entry> ReadListLine(std::string_view line) {
  if (line.empty()) return std::nullopt;
  if (std::isdigit(static_cast<unsigned char>(line.front()))) {
    NextWord(line);  // date
    NextWord(line);  // time
    const bool folder = NextWord(line) == "<DIR>";
    while (!line.empty() && IsBlank(line.front())) line.remove_prefix(1);
    return Entry{line, folder};
  }
  const char kind = line.front();
  if (kind != '-' && kind != 'd') return std::nullopt;
  for (int field = 0; field < 8; ++field) NextWord(line);
  while (!line.empty() && IsBlank(line.front())) line.remove_prefix(1);
  return Entry{line, kind == 'd'};
}

bool MatchFrom(std::string_view name, std::string_view pattern) {
  // Iterative matching with one back-tracking point for the last "*".
  std::size_t n = 0, p = 0, starAt = std::string_view::npos, resumeAt = 0;
  while (n < name.size()) {
    if (p < pattern.size() && (pattern[p] == '?' || pattern[p] == name[n])) {
      ++n;
      ++p;
    } else if (p < pattern.size() && pattern[p] == '*') {
      starAt = p++;
      resumeAt = n;
    } else if (starAt != std::string_view::npos) {
      p = starAt + 1;
      n = ++resumeAt;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

}  // namespace

bool MatchesPattern(std::string_view name, std::string_view pattern) {
  return pattern == "*.*" || MatchFrom(name, pattern);
}

std::string DirectoryListing(std::string_view reply, ListingFormat format,
                             std::string_view pattern) {
  std::string listing;
  // A folder holds each name once, whatever the server repeats.
  std::set<std::string> listed;
  for (const std::string_view line : SplitLines(reply)) {
    const std::optional<Entry> entry =
        format == ListingFormat::kMlsd ? ReadMlsdLine(line) : ReadListLine(line);
    if (!entry || entry->name.empty() || entry->name == "." || entry->name == "..") continue;
    if (!MatchesPattern(entry->name, pattern)) continue;
    std::string listedLine(entry->name);
    if (entry->folder) listedLine.push_back('/');
    if (!listed.insert(listedLine).second) continue;
    listing.append(listedLine).append(kLineEnd);
  }
  return listing;
}

std::string FirstListingLine(std::string_view listing) {
  const std::size_t end = listing.find(kLineEnd);
  if (end == std::string_view::npos) {
    throw Failure(error_number::kInvalidArgument, "Invalid procedure call or argument");
  }
  return std::string(listing.substr(0, end));
}

std::vector<std::string> ListingLines(std::string_view listing) {
  std::vector<std::string> lines;
  for (std::size_t end; (end = listing.find(kLineEnd)) != std::string_view::npos;) {
    lines.emplace_back(listing.substr(0, end));
    listing.remove_prefix(end + kLineEnd.size());
  }
  return lines;
}

}  // namespace pivolane::update
