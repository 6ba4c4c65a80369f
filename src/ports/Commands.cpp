#include "ports/Commands.h"

namespace orvalis {

void CommandTable::add(CommandId id, Handler handler) {
    handlers_[commandNumber(id)] = std::move(handler);
}

bool CommandTable::run(CommandId id) const {
    auto it = handlers_.find(commandNumber(id));
    if (it == handlers_.end() || !it->second) return false;
    it->second();
    return true;
}

bool CommandTable::handles(CommandId id) const {
    auto it = handlers_.find(commandNumber(id));
    return it != handlers_.end() && it->second;
}

}  // namespace orvalis
