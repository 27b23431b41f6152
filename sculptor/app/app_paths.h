// Where the sculptor finds its installed data and the user's own files.
#pragma once

#include <QString>

// Names the application, which places its configuration folder. Call right
// after the QApplication is created.
void SetApplicationIdentity();

// The executable's folder, which holds models/, images/ and the shipped prefer1.txt.
QString ProgramDirectory();

// The user's copy of the preferences (written by "Save Preferences").
QString UserPreferencesPath();

// The preferences to read at start-up: the user's copy when it exists, else the
// installed default in `programDir`.
QString PreferencesPathToRead(const QString& programDir);

// `name` with `extension` appended unless it already ends with it (in any case).
QString WithExtension(const QString& name, const QString& extension);
