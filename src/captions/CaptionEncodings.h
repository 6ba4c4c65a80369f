#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "base/TextCodec.h"

namespace orvalis {

// The encodings the user chose for caption files, one per file, kept in a small text file
// (one "ENCODING<TAB>path" line per file, the latest first) that is replaced whole at every
// change. Files beyond the latest kMaxFiles are forgotten. A line that cannot be read is
// passed over, so a damaged file costs only its damaged lines.
class CaptionEncodingStore {
public:
    static constexpr std::size_t kMaxFiles = 500;

    explicit CaptionEncodingStore(std::string file) : file_(std::move(file)) {}

    // The encoding chosen for a caption file, if any.
    std::optional<text::Encoding> encodingOf(const std::string& captionPath) const;
    // Keeps the encoding for the caption file, or with nothing forgets the choice. False when
    // the store could not be written (the choice then lasts only while the file is loaded).
    bool remember(const std::string& captionPath, std::optional<text::Encoding> encoding);

private:
    std::string file_;
};

}  // namespace orvalis
