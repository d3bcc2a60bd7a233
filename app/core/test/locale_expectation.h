#pragma once

#include <cstdlib>
#include <cstring>

// Which locale CTest started this run under (LOCALES en zh): Wine derives the user locale and
// the ANSI code page from it.
enum class TestLocale { English, Chinese, Other };

inline TestLocale CurrentTestLocale() {
    const char* lang = std::getenv("LC_ALL");
    if (!lang || !*lang) lang = std::getenv("LANG");
    if (!lang) return TestLocale::Other;
    if (std::strncmp(lang, "zh_CN", 5) == 0) return TestLocale::Chinese;
    if (std::strncmp(lang, "en_US", 5) == 0) return TestLocale::English;
    return TestLocale::Other;
}
