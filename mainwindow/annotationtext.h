#pragma once

#include <QString>
#include <QStringList>

#include <string>
#include <vector>

// The annotation is kept as the bytes of each line. New text is stored as
// UTF-8; lines that are not valid UTF-8 (files from older 8-bit editors) are
// shown as Latin-1, so every byte still shows as a character.
namespace annotationtext {

QString toDisplay(const std::string &bytes);
std::string toBytes(const QString &text);

// The lines of a memo's text, empty lines included.
std::vector<std::string> linesOf(const QString &memoText);
// The memo text that shows these lines.
QString memoTextOf(const std::vector<std::string> &lines);

} // namespace annotationtext
