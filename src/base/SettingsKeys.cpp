#include "base/SettingsKeys.h"

namespace orvalis::settings {

int get(const SettingsStore& store, const IntKey& key, Context context) {
    return store.getInt(key.section, key.name, key.def(context));
}

int get(const SettingsStore& store, const ColourKey& key, Context context) {
    return store.getInt(key.section, key.name, key.def(context));
}

bool get(const SettingsStore& store, const FlagKey& key, Context context) {
    return store.getInt(key.section, key.name, key.def(context)) != 0;
}

std::string get(const SettingsStore& store, const TextKey& key, Context context) {
    return store.getString(key.section, key.name, key.def(context));
}

int getOr(const SettingsStore& store, const IntKey& key, int def) {
    return store.getInt(key.section, key.name, def);
}

int getOr(const SettingsStore& store, const ColourKey& key, int def) {
    return store.getInt(key.section, key.name, def);
}

std::string getOr(const SettingsStore& store, const TextKey& key, std::string_view def) {
    return store.getString(key.section, key.name, def);
}

void put(SettingsStore& store, const IntKey& key, int value) {
    store.putInt(key.section, key.name, value);
}

void put(SettingsStore& store, const ColourKey& key, int value) {
    store.putInt(key.section, key.name, value);
}

void put(SettingsStore& store, const FlagKey& key, bool value) {
    store.putInt(key.section, key.name, value ? 1 : 0);
}

void put(SettingsStore& store, const TextKey& key, std::string_view value) {
    store.putString(key.section, key.name, value);
}

std::string indexKey(int index) {
    return std::to_string(index);
}

std::string urlEntrySection(int index) {
    return std::string(sections::ConfigUrl) + "\\" + std::to_string(index);
}

std::string schemeSection(std::string_view name) {
    return std::string(sections::PlaylistSkins) + "\\" + std::string(name);
}

}  // namespace orvalis::settings
