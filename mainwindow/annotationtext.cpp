#include "annotationtext.h"

#include <QStringDecoder>

namespace annotationtext {

QString toDisplay(const std::string &bytes) {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8.decode(QByteArrayView(bytes.data(), qsizetype(bytes.size())));
    if (!utf8.hasError())
        return text;
    return QString::fromLatin1(bytes.data(), qsizetype(bytes.size()));
}

std::string toBytes(const QString &text) {
    return text.toStdString();
}

std::vector<std::string> linesOf(const QString &memoText) {
    std::vector<std::string> lines;
    for (const QString &line : memoText.split(QLatin1Char('\n')))
        lines.push_back(toBytes(line));
    return lines;
}

QString memoTextOf(const std::vector<std::string> &lines) {
    QStringList shown;
    for (const std::string &line : lines)
        shown << toDisplay(line);
    return shown.join(QLatin1Char('\n'));
}

} // namespace annotationtext
