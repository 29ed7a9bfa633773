#pragma once

#include <QString>
#include <QStringList>
#include <string>

namespace murmelix {

// Turns the program's "Text|*.ext|Text|*.*" dialog filter into Qt's name filters
// ("Text (*.ext)"); "*.*" stands for every file, with or without a dot in its name.
QStringList qtNameFilters(const std::string& filter);

// The extension of a Qt name filter that stands for exactly one ("Praat TextGrids
// (*.TextGrid)" -> "TextGrid"); empty for several or for a wildcard.
QString qtFilterSuffix(const QString& nameFilter);

// "*.wav" (or ".wav", "wav") -> "wav"; empty when there is none.
QString qtDefaultSuffix(const std::string& defaultExtension);

}  // namespace murmelix
