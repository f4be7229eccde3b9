#pragma once
// Line-oriented text files in code page 1251, the in-memory form of every document.
#include <QString>
#include <QStringList>

class QFile;
class QFileDevice;

namespace textfile {

// CR LF, LF and CR each end a line; a final line break adds no empty line.
QStringList splitLines(const QString& text);

// Opens a file to be read. Anything but a regular file (a folder, a FIFO, a device, a socket) is
// refused before it is opened: a FIFO would wait for a writer, a device never ends. False with
// *error ("Не удается открыть файл <path>: <cause>").
bool openForReading(QFile* file, const QString& path, QString* error);
// Why `path` cannot be read as a file: empty for a regular file (or one that does not exist),
// else the cause in words ("открываемый файл является каталогом", ...).
QString notRegularCause(const QString& path);

// Reads and decodes a whole file. On failure returns false and sets *error.
bool readBytes(const QString& path, QByteArray* bytes, QString* error);
bool readText(const QString& path, QString* text, QString* error);
bool readLines(const QString& path, QStringList* lines, QString* error);
// The lines readLines finds, joined by '\n' (no list of lines is made: a long file would take
// several times its size in it).
bool readJoined(const QString& path, QString* text, QString* error);

// Message naming the first character of `text` that has no 1251 code, or empty.
// `lineNo` (1-based, 0 = not a line) is named in the message when given.
QString unencodableMessage(const QString& text, int lineNo = 0);

// Why a file operation failed, in Russian words a user understands, from the errno read right
// after the failing call (0: from the device's error kind). The system's own text only follows a
// Russian one, for a code the programs do not name.
QString failureCause(int err, const QFileDevice& f);

// Encodes first (nothing is written when a character has no 1251 code), then writes
// atomically: the old file stays whole when writing fails.
bool writeBytes(const QString& path, const QByteArray& bytes, QString* error);
bool writeText(const QString& path, const QString& text, QString* error);
// Every line followed by CR LF.
bool writeLines(const QString& path, const QStringList& lines, QString* error);
QByteArray joinCrLf(const QStringList& lines, bool* ok, QString* error);

}  // namespace textfile
