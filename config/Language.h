#pragma once

#include <QString>

// A text that exists in English and in Chinese; the language flag picks one.
struct CBilingual
{
    const char *english;
    const char *chinese; // UTF-8

    QString Text(bool chinese) const;
    QString Text() const; // by the process-wide language flag
    // True when text is either form (the encoders accept both whatever the running language).
    bool Matches(const QString &text) const;
};

// The process-wide user-interface language, fixed at start-up from [Setup] Language.
class CLanguage
{
public:
    // True exactly when the configured language name is "Chinese" (case-sensitive).
    static bool IsChinese();
    static void SetName(const QString &languageName);
    static QString Name();

private:
    static QString s_Name;
};
