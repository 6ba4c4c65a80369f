#pragma once

#include <gtest/gtest.h>

#include <functional>

#include "settings/PageValues.h"
#include "settings/SheetTables.h"
#include "support/TestSupport.h"

namespace orvalis::test {

inline const SheetEnvironment kSheetEnv{"/home/me/Pictures", "Linux"};

// Every field of the store given a value that is no page's default, as a user's sheet holds.
inline void fillWithOddValues(MemorySettingsStore& store) {
    for (const auto& p : sheetPages())
        for (const auto& f : p.fields) {
            if (f.section.empty()) continue;
            bool choice = f.control == FieldControl::Check || f.control == FieldControl::Radio ||
                          f.control == FieldControl::Combo;
            if (f.kind() == ValueKind::Text) {
                store.putString(f.section, f.key, "/odd/" + f.key);
            } else if (f.kind() == ValueKind::Number) {
                store.putInt(f.section, f.key, choice ? (f.resetNumber == 1 ? 0 : 1) : 2777);
            }
        }
    store.putString("Config\\Control", "Sound File", "/odd/beep.wav");
}

// Every field of every page the same in both, but those skip names.
inline void expectSameFields(const PageValues& a, const PageValues& b,
                             const std::function<bool(const PageField&)>& skip) {
    for (int p = 0; p < page::Count; ++p) {
        const SheetPage& sp = sheetPages()[static_cast<std::size_t>(p)];
        for (std::size_t i = 0; i < sp.fields.size(); ++i) {
            if (skip(sp.fields[i])) continue;
            EXPECT_EQ(a.value(p, static_cast<int>(i)), b.value(p, static_cast<int>(i)))
                << sp.fields[i].section << "/" << sp.fields[i].key;
        }
    }
}

}  // namespace orvalis::test
