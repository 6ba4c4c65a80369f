#pragma once

#include <string>
#include <string_view>

namespace orvalis {

// Replaces the character references of caption text by their characters: "&#39;", "&#x3E;"
// and the common names ("&amp;", "&lt;", "&eacute;", ...). A reference that is unknown or
// not closed by ";" stays as it stands; one that names no usable character (0, a surrogate,
// beyond U+10FFFF) becomes U+FFFD, and a control character a blank, so a reference can
// never break a caption into lines.
std::string decodeCharacterReferences(std::string_view text);

}  // namespace orvalis
