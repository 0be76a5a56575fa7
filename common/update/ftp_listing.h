// Folder listings of an FTP server turned into the listing text of the
// update client's "DIR" command, and the rules by which the client reads it.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace pivolane::update {

// What the server was asked for: a machine listing (MLSD) or a plain LIST.
enum class ListingFormat { kMlsd, kList };

// True when name matches pattern: "*" stands for any run of characters, "?"
// for one; "*.*" matches every name, with or without a dot.
bool MatchesPattern(std::string_view name, std::string_view pattern);

// The names of reply that match pattern, one per line, each line ended by
// CR LF, each name once; folders end with "/". "." and "..", links and
// entries that cannot be read are left out.
std::string DirectoryListing(std::string_view reply, ListingFormat format,
                             std::string_view pattern);

// The text before the first CR LF. Throws a Failure when there is none (an
// empty or unterminated listing).
std::string FirstListingLine(std::string_view listing);

// The lines between CR LFs, in order; text after the last CR LF is not a line.
std::vector<std::string> ListingLines(std::string_view listing);

}  // namespace pivolane::update
