#pragma once

#include <QString>

namespace preview {

// Every sign, digit and letter, for the "Alphabets" choice of the sample chooser.
inline const QString alphabetSample = QStringLiteral(
    "!@#$%^&*()_+|-=\\;:\"[{]}<>?/1234567890,ABCDEFGHIJKLMNOPQRSTUVWXYZ.abcdefghijklmnopqrstuvwxyz");

// What the sample shows for the chooser's text: the alphabet sample for exactly
// "Alphabets", the text itself otherwise.
QString sampleText(const QString& chosen);

// The sample's size in points for a typed whole number. 0 gives the interface's
// default size; a negative number its magnitude; sizes beyond what can be drawn
// in reasonable time stop at the largest size offered.
int sampleSize(int typed);
inline constexpr int largestSampleSize = 1000;

} // namespace preview
