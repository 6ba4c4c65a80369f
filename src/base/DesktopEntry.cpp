#include "base/DesktopEntry.h"

#include "base/IniDocument.h"
#include "base/TextCodec.h"

namespace orvalis::desktop {

const std::vector<std::string>& supportedMimeTypes() {
    static const std::vector<std::string> types = [] {
        std::vector<std::string> out;
        const IniDocument entry = IniDocument::parse(entryTemplate(), {.quoteValues = false});
        const std::string* list = entry.find(kEntryGroup, "MimeType");
        std::string_view rest = list ? std::string_view(*list) : std::string_view();
        while (!rest.empty()) {
            const std::size_t end = rest.find(';');
            std::string_view item = text::trimWhitespace(rest.substr(0, end));
            if (!item.empty()) out.emplace_back(item);
            rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
        }
        return out;
    }();
    return types;
}

}  // namespace orvalis::desktop
