#pragma once
// Parts of the user's input as a message quotes them: never more than about a line's worth,
// and nothing that could not be seen. Every message that shows a name, a line or a value
// read from a file or typed goes through here.
#include <QString>
#include <QStringView>

namespace quote {

constexpr int kLimit = 60;  // characters of the input a message shows

// At most `limit` characters of `text`, cut with "…"; a control character becomes its visible
// mark (U+2400 and on: ␀, ␉, ␊, ␍ ...; ␡ for DEL, � for the C1 codes).
QString excerpt(QStringView text, int limit = kLimit);
// The excerpt in double quotes.
QString quoted(QStringView text, int limit = kLimit);

}  // namespace quote
