#pragma once

#include <gtest/gtest.h>

#include <functional>

#include "settings/PageValues.h"
#include "support/TestSupport.h"

namespace orvalis::test {

inline const SheetEnvironment kSheetEnv{"/home/me/Pictures", "Linux"};

// Every field of the store given a value that is no page's default, as a user's sheet holds.
inline void fillWithOddValues(MemorySettingsStore& store) {
    for (const auto& p : sheetPages())
        for (const auto& f : p.fields) {
            const bool choice = f.control == FieldControl::Check || f.control == FieldControl::Radio ||
                                f.control == FieldControl::Combo;
            if (f.section.empty() || f.kind() == ValueKind::List) continue;
            if (f.kind() == ValueKind::Text) store.putString(f.section, f.key, "/odd/" + f.key);
            else store.putInt(f.section, f.key, choice ? (f.resetNumber == 1 ? 0 : 1) : 2777);
        }
    store.putString("Config\\Control", "Sound File", "/odd/beep.wav");
}

// Every field of every page the same in both, but those skip names.
inline void expectSameFields(const PageValues& a, const PageValues& b,
                             const std::function<bool(const PageField&)>& skip) {
    for (int p = 0; p < page::Count; ++p)
        for (std::size_t i = 0; i < sheetPages()[std::size_t(p)].fields.size(); ++i) {
            const PageField& f = sheetPages()[std::size_t(p)].fields[i];
            if (skip(f)) continue;
            EXPECT_EQ(a.value(p, int(i)), b.value(p, int(i))) << f.section << "/" << f.key;
        }
}

}  // namespace orvalis::test
