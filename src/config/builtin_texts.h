// The 215 built-in texts of the language table, used (and written out as Language/Russian.txt)
// whenever no usable language file exists. Constant data; any thread.
#pragma once

#include <array>

namespace zelvano {

inline constexpr int kLanguageEntryCount = 215;

extern const std::array<const char16_t*, kLanguageEntryCount> kBuiltinTexts;

// Entry N of the English language table, shipped as English.txt.
extern const std::array<const char16_t*, kLanguageEntryCount> kEnglishTexts;

} // namespace zelvano
