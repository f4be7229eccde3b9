#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cerrno>
#include <functional>

#include <QBuffer>
#include <QFile>
#include <QTemporaryDir>

#include "platform/cp1251.h"
#include "platform/filewriter.h"
#include "platform/linereader.h"
#include "platform/plaintext.h"
#include "platform/textfile.h"

TEST(TextFile, LineEndsOfEveryKind) {
  EXPECT_EQ(textfile::splitLines("a\r\nb\nc\rd"), (QStringList{"a", "b", "c", "d"}));
  EXPECT_EQ(textfile::splitLines("a\r\n"), (QStringList{"a"}));
  EXPECT_EQ(textfile::splitLines("a\r\n\r\n"), (QStringList{"a", ""}));
  EXPECT_EQ(textfile::splitLines("\n"), (QStringList{""}));
  EXPECT_TRUE(textfile::splitLines("").isEmpty());
  EXPECT_EQ(textfile::splitLines("a\r\rb"), (QStringList{"a", "", "b"}));
}

// Lines of every length up to several blocks of characters, so that a break falls at
// every place within a block.
TEST(TextFile, LongLinesSplitAtEveryBreak) {
  const char* const ends[] = {"\r\n", "\n", "\r"};
  QStringList expected;
  QString text;
  for (int n = 0; n < 40; ++n) {
    const QString line = QString(n, QLatin1Char('x')) + QString::fromUtf8("ж") + QString::number(n);
    expected << line;
    text += line + QLatin1String(ends[n % 3]);
  }
  text += QStringLiteral("tail without a break, longer than a block");
  expected << QStringLiteral("tail without a break, longer than a block");
  EXPECT_EQ(textfile::splitLines(text), expected);
}

TEST(TextFile, WritesCrLfAndRefusesUnencodable) {
  QTemporaryDir dir;
  const QString path = dir.filePath("t.txt");
  QString err;
  ASSERT_TRUE(textfile::writeLines(path, {QString::fromUtf8("у1"), ""}, &err));
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  EXPECT_EQ(f.readAll(), QByteArray("\xf3"
                                    "1\r\n\r\n"));
  f.close();
  EXPECT_FALSE(textfile::writeLines(path, {"ok", QString::fromUtf8("x✓")}, &err));
  EXPECT_TRUE(err.contains(QString::fromUtf8("строке 2"))) << err.toStdString();
  QStringList lines;
  ASSERT_TRUE(textfile::readLines(path, &lines, &err));
  EXPECT_EQ(lines, (QStringList{QString::fromUtf8("у1"), ""}));  // old file untouched
}

TEST(TextFile, ReadMissingFileFails) {
  QStringList lines;
  QString err;
  EXPECT_FALSE(textfile::readLines("/nonexistent/x.txt", &lines, &err));
  EXPECT_FALSE(err.isEmpty());
}

TEST(TextFile, FailuresNameTheirCauseAndCharactersTheirCodePoint) {
  QFile dev;
  const struct {
    int err;
    const char* words;
  } causes[] = {{ENOSPC, "нет места на диске"},
                {EACCES, "нет прав доступа"},
                {EROFS, "только для чтения"},
                {ENOENT, "не существует"}};
  for (const auto& c : causes)
    EXPECT_TRUE(textfile::failureCause(c.err, dev).contains(QString::fromUtf8(c.words))) << c.err;

  QString err;
  EXPECT_FALSE(textfile::writeLines("/nonexistent/x.txt", {"a"}, &err));
  EXPECT_TRUE(err.contains(QString::fromUtf8("не существует"))) << err.toStdString();

  // A character beyond the basic plane is one code point, not half of a pair.
  EXPECT_FALSE(textfile::writeLines("/tmp/unused.txt", {QString::fromUtf8("a\xF0\x9F\x98\x80")}, &err));
  EXPECT_TRUE(err.contains("U+1F600")) << err.toStdString();
  EXPECT_EQ(cp1251::describeChar(QString::fromUtf8("\xE2\x9C\x93"), 0),
            QString::fromUtf8("\"\xE2\x9C\x93\" (U+2713)"));
}

// A file read a block at a time gives the text and the lines a whole read finds, whatever the
// sizes of what is read and handed out; its last lines can be read apart and left out.
TEST(TextFile, LineReaderGivesTheWholeReadsTextInBlocks) {
  QByteArray mixed;
  for (int n = 0; n < 30; ++n)
    mixed += QByteArray(n, 'x') + "\xE6" + (n % 3 == 0 ? "\r\n" : n % 3 == 1 ? "\n" : "\r");
  const QByteArray files[] = {"",          "\r\n",   "a",  "a\r\n", "a\r\n\r\n", "a\rb\nc\r\nd",
                              "x\r\r\n\n", "\n\n\n", mixed};
  QTemporaryDir dir;
  const QString path = dir.filePath("t.txt");
  for (const QByteArray& bytes : files) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
    f.close();
    const QStringList lines = textfile::splitLines(cp1251::decode(bytes));
    for (const auto& [chunk, block] : {std::pair{1, 1}, {2, 5}, {3, 1}, {7, 40}, {1 << 20, 1 << 22}}) {
      for (int dropped = 0; dropped <= qMin(3, int(lines.size())); ++dropped) {
        textfile::LineReader r(chunk, block);
        QString error;
        ASSERT_TRUE(r.open(path, &error)) << error.toStdString();
        EXPECT_EQ(r.lineCount(), lines.size());
        const int n = qMin<int>(textfile::LineReader::kTail, int(lines.size()));
        QStringList tail;
        if (n > 0) {
          ASSERT_TRUE(r.tail(n, &tail, &error));
          EXPECT_EQ(tail, lines.mid(lines.size() - n));
        }
        r.dropLast(dropped);
        QString text, piece;
        for (bool first = true; r.next(&piece, &error); first = false) {
          EXPECT_TRUE(first || piece.startsWith('\n')) << bytes.toStdString();
          text += piece;
        }
        EXPECT_TRUE(error.isEmpty());
        EXPECT_EQ(text, lines.mid(0, lines.size() - dropped).join('\n'))
            << bytes.toStdString() << chunk << block;
      }
    }
  }
}

// Anything but a regular file is refused before it is read, by every reader, with the cause in
// words: a FIFO would block the program until something writes to it, a device never ends.
TEST(TextFile, RefusesWhatIsNotARegularFile) {
  QTemporaryDir dir;
  const QString fifo = dir.filePath("x.sku"), loop = dir.filePath("loop.tbl"), zero = dir.filePath("z.tbl");
  ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
  ASSERT_TRUE(QFile::link(loop, loop));
  ASSERT_TRUE(QFile::link("/dev/zero", zero));
  const struct {
    QString path;
    const char* cause;
  } cases[] = {{fifo, "является каналом (FIFO)"},
               {dir.path(), "является каталогом"},
               {zero, "является устройством"},
               {loop, "слишком много уровней символических ссылок"},
               {dir.filePath("none.tbl"), "файл или папка не существует"}};
  for (const auto& c : cases) {
    QByteArray bytes;
    QString err, errLines;
    EXPECT_FALSE(textfile::readBytes(c.path, &bytes, &err));
    EXPECT_TRUE(err.startsWith(QString::fromUtf8("Не удается открыть файл ") + c.path)) << err.toStdString();
    EXPECT_TRUE(err.contains(QString::fromUtf8(c.cause))) << err.toStdString();
    textfile::LineReader reader;
    EXPECT_FALSE(reader.open(c.path, &errLines));
    EXPECT_EQ(errLines, err);
  }
  EXPECT_TRUE(textfile::notRegularCause(dir.filePath("none.tbl")).isEmpty());
  EXPECT_FALSE(textfile::notRegularCause(fifo).isEmpty());
}

// Every cause is in Russian; the system's text only follows ours for a code we have no words for.
TEST(TextFile, CausesAreRussianWhateverTheCode) {
  QFile none;
  for (int err : {0, ELOOP, ESPIPE, ENXIO, EBUSY, EMFILE, ENOMEM, EINTR, EEXIST, EXDEV, EINVAL, 200}) {
    const QString cause = textfile::failureCause(err, none);
    ASSERT_FALSE(cause.isEmpty()) << err;
    EXPECT_GE(cause[0].unicode(), 0x0400) << err << cause.toStdString();  // starts with a Cyrillic word
  }
  EXPECT_TRUE(textfile::failureCause(200, none).contains("200"));
}

// The writer gives the bytes of the text encoded whole, across the seams of its buffer, and a
// table cell's line breaks as blanks; a character without a code fails it where it stands (its
// line named) and leaves the old file whole.
TEST(TextFile, WriterStreamsTheEncodedTextAndFailsWithoutTouchingTheFile) {
  const QString cyr = QString::fromUtf8("жЖё№");
  QString big;
  while (big.size() < textfile::Writer::kChunk + 5) big += cyr + QStringLiteral("x1&");
  QByteArray bigBytes;
  ASSERT_TRUE(cp1251::encode(big, &bigBytes));
  const QString bad = QString::fromUtf8("a✓");
  const struct {
    std::function<void(textfile::Writer&)> write;
    QByteArray bytes;  // empty: the write fails
    const char* message;
  } cases[] = {
      {[&](textfile::Writer& w) { w.line(cyr), w.line(u""); }, "\xE6\xC6\xB8\xB9\r\n\r\n", ""},
      {[&](textfile::Writer& w) { w.put(big), w.put(big), w.endLine(); }, bigBytes + bigBytes + "\r\n", ""},
      {[&](textfile::Writer& w) { w.cellLine(u"a\r\nb\rc\nd\n\r"); }, "a b c d  \r\n", ""},
      {[&](textfile::Writer& w) { w.line(big), w.line(big + bad); }, {}, "(U+2713) в строке 2"},
      {[&](textfile::Writer& w) { w.cellLine(QString(bad) + "\n" + bad); }, {}, "U+2713"},
  };
  QTemporaryDir dir;
  const QString path = dir.filePath("t.txt");
  for (const auto& c : cases) {
    ASSERT_TRUE(textfile::writeBytes(path, "old", nullptr));
    textfile::Writer w(path);
    c.write(w);
    QString err;
    EXPECT_EQ(w.commit(&err), !c.bytes.isEmpty()) << err.toStdString();
    QByteArray read;
    ASSERT_TRUE(textfile::readBytes(path, &read, &err));
    EXPECT_EQ(read, c.bytes.isEmpty() ? QByteArray("old") : c.bytes);
    EXPECT_TRUE(err.contains(QString::fromUtf8(c.message))) << err.toStdString();
  }
  textfile::Writer nowhere(dir.filePath("no/such/t.txt"));
  EXPECT_FALSE(nowhere.line(u"a"));
  QString err;
  EXPECT_FALSE(nowhere.commit(&err));
  EXPECT_TRUE(err.contains(QString::fromUtf8("файл или папка не существует"))) << err.toStdString();
}

// A plain file read in parts shows, a part at a time, the text it shows read whole, its breaks
// and lines the same, wherever a part ends: inside a CR LF, after a CR, at the file's end.
TEST(TextFile, PlainFileShownInPartsIsShownWhole) {
  const qsizetype n = plaintext::ShownParts::kPart;
  const QByteArray cases[] = {
      QByteArray(n - 1, 'a') + "\r\nb\r\n",
      QByteArray(n - 2, 'a') + "\r\r\nz",
      "x\r" + QByteArray(n - 3, 'a') + "\rb",
      QByteArray(n - 1, 'a') + "\r\r\r\r\n\x01",
      "a\nb\r" + QByteArray(2 * n, '\0') + "\n",
      QByteArray(n, 'a') + "\r\n",
      QByteArray("abc\r"),
      QByteArray(),
      QByteArray("\x00\x7f\xe0", 3),
  };
  for (const QByteArray& bytes : cases) {
    plaintext::Breaks whole;
    const QString expected = plaintext::toShown(bytes, &whole);
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    plaintext::ShownParts parts;
    ASSERT_TRUE(parts.read(&buffer));
    EXPECT_EQ(parts.breaks().lineEnd, whole.lineEnd) << bytes.right(8).toHex().constData();
    EXPECT_EQ(parts.breaks().finalBreak, whole.finalBreak) << bytes.right(8).toHex().constData();
    EXPECT_EQ(parts.lineCount(), expected.count(QLatin1Char('\n')) + 1) << bytes.right(8).toHex().constData();
    QString shown, part;
    while (parts.next(&part)) shown += part;
    EXPECT_EQ(shown, expected) << bytes.right(8).toHex().constData();
    EXPECT_EQ(parts.partCount(), 0u);
  }
}
