#pragma once
// A plain code page 1251 file in a text document, as a rich or plain edit loads and saves it:
// one paragraph per line, every character kept (a document's own plain text would turn
// non-breaking spaces into blanks).
#include <QByteArray>
#include <QString>
#include <QStringList>

class QTextDocument;

namespace plaintext {

// The text to put into the document: the file's lines joined by '\n'.
QString fromBytes(const QByteArray& bytes);

// The lines to save: one per paragraph, and a line break inside a paragraph ends a line too.
// An empty document has one empty line.
QStringList lines(const QTextDocument& doc);

}  // namespace plaintext
