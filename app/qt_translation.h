// Qt's own texts (the buttons of a question, the file dialogs) in Korean like the rest of the
// dialog, from Debian's qt6-translations-l10n.
#pragma once

class QCoreApplication;

// Whether the messages locale asks for Korean or for no language at all: the first of LC_ALL,
// LC_MESSAGES and LANG that is set decides, as in the C library; unset, "C" and "POSIX" name
// none. Null for a variable that is not set.
bool WantsKoreanQtTexts(const char* lcAll, const char* lcMessages, const char* lang);

// Installs Qt's Korean translation into `app` when the environment's locale wants it (see
// above); false when it does not or the translation is not installed.
bool InstallKoreanQtTexts(QCoreApplication& app);
