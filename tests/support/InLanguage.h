#pragma once

#include "app/Translations.h"

// The windows built while it lives speak `language`; German again after it, as TestMain.h pins.
class InLanguage
{
public:
    explicit InLanguage(Language language) { Translations::install(language); }
    ~InLanguage() { Translations::install(Language::German); }
    InLanguage(const InLanguage&) = delete;
    InLanguage& operator=(const InLanguage&) = delete;
};
