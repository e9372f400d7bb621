#include "textbox.h"

#include <QMimeData>

namespace {

// Only data that names at least one format and carries text reaches Qt's own
// handling; a plain text box has nothing to take from anything else.
bool offersText(const QMimeData *source) {
    return source && !source->formats().isEmpty() && source->hasText() && !source->text().isEmpty();
}

} // namespace

TextBox::TextBox(QWidget *parent) : TextBox(QString(), parent) {}

TextBox::TextBox(const QString &text, QWidget *parent) : QPlainTextEdit(text, parent) {
    setTabChangesFocus(true);
}

bool TextBox::canInsertFromMimeData(const QMimeData *source) const {
    return offersText(source) && QPlainTextEdit::canInsertFromMimeData(source);
}

void TextBox::insertFromMimeData(const QMimeData *source) {
    if (offersText(source))
        QPlainTextEdit::insertFromMimeData(source);
}
