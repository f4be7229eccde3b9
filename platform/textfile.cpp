#include "platform/textfile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QFile>
#include <QSaveFile>
#include <cerrno>
#include <cstring>

#include "platform/cp1251.h"
#include "platform/filewriter.h"
#include "platform/linereader.h"

namespace textfile {

namespace {

// Index of the first CR or LF at or after i, or n. A plain loop: the compiler does as well
// on texts of ordinary lines, and a vectorised search gained only on a single huge line.
qsizetype nextBreak(const char16_t* p, qsizetype i, qsizetype n) {
  for (; i < n; ++i)
    if (p[i] == u'\r' || p[i] == u'\n') return i;
  return n;
}

}  // namespace

QStringList splitLines(const QString& text) {
  const char16_t* p = reinterpret_cast<const char16_t*>(text.constData());
  const qsizetype n = text.size();
  QStringList lines;
  lines.reserve(n / 32 + 1);  // a guess at the line count; the list grows past it when needed
  qsizetype start = 0;
  for (qsizetype i = nextBreak(p, 0, n); i < n; i = nextBreak(p, start, n)) {
    lines.append(QString(text.constData() + start, i - start));
    if (p[i] == u'\r' && i + 1 < n && p[i + 1] == u'\n') ++i;
    start = i + 1;
  }
  if (start < n) lines.append(QString(text.constData() + start, n - start));
  return lines;
}

bool readText(const QString& path, QString* text, QString* error) {
  QByteArray bytes;
  if (!readBytes(path, &bytes, error)) return false;
  *text = cp1251::decode(bytes);
  return true;
}

bool readBytes(const QString& path, QByteArray* out, QString* error) {
  QFile f;
  if (!openForReading(&f, path, error)) return false;
  errno = 0;
  const QByteArray bytes = f.readAll();
  if (f.error() != QFileDevice::NoError) {
    if (error)
      *error = QStringLiteral("Ошибка чтения файла ") + path + QStringLiteral(": ") + failureCause(errno, f);
    return false;
  }
  *out = bytes;
  return true;
}

bool readJoined(const QString& path, QString* text, QString* error) {
  LineReader reader;
  if (!reader.open(path, error)) return false;
  return reader.rest(text, error);
}

bool readLines(const QString& path, QStringList* lines, QString* error) {
  QString text;
  if (!readText(path, &text, error)) return false;
  *lines = splitLines(text);
  return true;
}

QString unencodableMessage(const QString& text, int lineNo) {
  int bad = -1;
  if (cp1251::canEncode(text, &bad)) return QString();
  const QString where = lineNo > 0 ? QStringLiteral(" в строке %1").arg(lineNo) : QString();
  return QStringLiteral("Символ %1%2 не имеет кода в кодировке 1251; файл не записан")
      .arg(cp1251::describeChar(text, bad), where);
}

namespace {

// What a file of this type is, for the message that refuses it; empty for a regular file.
QString typeCause(mode_t mode) {
  if (S_ISREG(mode)) return QString();
  const char* what = S_ISDIR(mode)    ? "каталогом"
                     : S_ISFIFO(mode) ? "каналом (FIFO), а не обычным файлом"
                     : S_ISSOCK(mode) ? "сокетом, а не обычным файлом"
                     : S_ISCHR(mode) || S_ISBLK(mode) ? "устройством, а не обычным файлом"
                                                      : "не обычным файлом";
  return QStringLiteral("открываемый файл является ") + QString::fromUtf8(what);
}

QString openFailure(const QString& path, const QString& cause) {
  return QStringLiteral("Не удается открыть файл ") + path + QStringLiteral(": ") + cause;
}

}  // namespace

QString notRegularCause(const QString& path) {
  struct stat st {};
  if (::stat(QFile::encodeName(path).constData(), &st) != 0) return QString();
  return typeCause(st.st_mode);
}

bool openForReading(QFile* file, const QString& path, QString* error) {
  file->setFileName(path);
  const QByteArray name = QFile::encodeName(path);
  QFile none;
  // Looked at before it is opened (opening a device may already do something), and once more
  // on what was opened, without waiting, in case the name was given to another file meanwhile.
  struct stat st {};
  if (::stat(name.constData(), &st) != 0) {
    if (error) *error = openFailure(path, failureCause(errno, none));
    return false;
  }
  QString cause = typeCause(st.st_mode);
  if (cause.isEmpty()) {
    const int fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
      if (error) *error = openFailure(path, failureCause(errno, none));
      return false;
    }
    if (::fstat(fd, &st) != 0 || !(cause = typeCause(st.st_mode)).isEmpty() ||
        ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK) != 0 ||
        !file->open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
      const int err = errno;
      ::close(fd);
      if (cause.isEmpty()) cause = failureCause(err, *file);
    }
  }
  if (cause.isEmpty()) return true;
  if (error) *error = openFailure(path, cause);
  return false;
}

QString failureCause(int err, const QFileDevice& f) {
  const char* words = nullptr;
  switch (err) {
    case 0: break;
    case ENOSPC: words = "нет места на диске"; break;
#ifdef EDQUOT
    case EDQUOT: words = "превышена дисковая квота"; break;
#endif
    case EACCES:
    case EPERM: words = "нет прав доступа"; break;
    case EROFS: words = "диск доступен только для чтения"; break;
    case ENOENT: words = "файл или папка не существует"; break;
    case ENOTDIR: words = "папка не существует"; break;
    case EISDIR: words = "это папка, а не файл"; break;
    case ENAMETOOLONG: words = "слишком длинное имя файла"; break;
    case EIO: words = "ошибка ввода-вывода"; break;
    case EFBIG:
    case EOVERFLOW: words = "файл слишком велик"; break;
    case ELOOP: words = "слишком много уровней символических ссылок (ссылки указывают друг на друга)"; break;
    case ESPIPE: words = "по файлу нельзя перемещаться: это канал или устройство, а не обычный файл"; break;
    case ENXIO:
    case ENODEV: words = "устройство не существует или не подключено"; break;
    case EBUSY:
    case ETXTBSY: words = "файл занят другой программой"; break;
    case EMFILE:
    case ENFILE: words = "открыто слишком много файлов"; break;
    case ENOMEM: words = "недостаточно памяти"; break;
    case EINTR: words = "операция прервана"; break;
    case EAGAIN: words = "файл временно недоступен"; break;
    case EEXIST: words = "файл уже существует"; break;
    case EXDEV: words = "файл нельзя перенести на другой диск"; break;
    case EINVAL: words = "недопустимое имя файла или действие с ним"; break;
    case ESTALE: words = "файл на сетевом диске больше не доступен"; break;
    case ETIMEDOUT: words = "истекло время ожидания: диск не отвечает"; break;
    case ENOTEMPTY: words = "папка не пуста"; break;
    case EMLINK: words = "слишком много ссылок на файл"; break;
    case EBADF: words = "файл не открыт"; break;
    case EOPNOTSUPP: words = "файловая система не поддерживает это действие"; break;
    default:
      // A code without words of ours: its number, then what the system says of it.
      return QStringLiteral("системная ошибка %1 (%2)")
          .arg(err)
          .arg(QString::fromLocal8Bit(std::strerror(err)));
  }
  if (words) return QString::fromUtf8(words);
  switch (f.error()) {
    case QFileDevice::ReadError: words = "ошибка чтения"; break;
    case QFileDevice::WriteError: words = "ошибка записи"; break;
    case QFileDevice::FatalError: words = "неустранимая ошибка файловой системы"; break;
    case QFileDevice::ResourceError: words = "не хватает памяти или места на диске"; break;
    case QFileDevice::OpenError: words = "файл не удается открыть"; break;
    case QFileDevice::AbortError: words = "операция прервана"; break;
    case QFileDevice::TimeOutError: words = "истекло время ожидания"; break;
    case QFileDevice::RemoveError: words = "файл не удается удалить"; break;
    case QFileDevice::RenameError: words = "файл не удается заменить новым"; break;
    case QFileDevice::PositionError: words = "ошибка перемещения по файлу"; break;
    case QFileDevice::ResizeError: words = "не удается изменить размер файла"; break;
    case QFileDevice::PermissionsError: words = "нет прав доступа"; break;
    case QFileDevice::CopyError: words = "файл не удается скопировать"; break;
    default: words = "система не сообщила причину"; break;
  }
  // The device's own text only adds to ours, and only when it says more than "Unknown error".
  const QString own = f.errorString();
  const QString russian = QString::fromUtf8(words);
  if (own.isEmpty() || own == QLatin1String("Unknown error") ||
      own == QCoreApplication::translate("QIODevice", "Unknown error"))
    return russian;
  return russian + QStringLiteral(" (") + own + QLatin1Char(')');
}

bool writeBytes(const QString& path, const QByteArray& bytes, QString* error) {
  QSaveFile f(path);
  // errno is read right after the failing call: QSaveFile itself often says only "Unknown error".
  errno = 0;
  if (!f.open(QIODevice::WriteOnly)) {
    if (error)
      *error =
          QStringLiteral("Не удается записать файл ") + path + QStringLiteral(": ") + failureCause(errno, f);
    return false;
  }
  errno = 0;
  bool ok = f.write(bytes) == bytes.size();
  int err = errno;
  if (ok) {
    errno = 0;
    ok = f.commit();
    err = errno;
  }
  if (!ok) {
    if (error)
      *error = QStringLiteral("Ошибка записи файла ") + path + QStringLiteral(": ") + failureCause(err, f);
    return false;
  }
  return true;
}

bool writeText(const QString& path, const QString& text, QString* error) {
  QByteArray bytes;
  if (!cp1251::encode(text, &bytes)) {
    if (error) *error = unencodableMessage(text);
    return false;
  }
  return writeBytes(path, bytes, error);
}

QByteArray joinCrLf(const QStringList& lines, bool* ok, QString* error) {
  QByteArray out;
  for (int i = 0; i < lines.size(); ++i) {
    QByteArray b;
    if (!cp1251::encode(lines[i], &b)) {
      if (error) *error = unencodableMessage(lines[i], i + 1);
      if (ok) *ok = false;
      return QByteArray();
    }
    out += b;
    out += "\r\n";
  }
  if (ok) *ok = true;
  return out;
}

bool writeLines(const QString& path, const QStringList& lines, QString* error) {
  Writer out(path);
  for (const QString& line : lines)
    if (!out.line(line)) break;
  return out.commit(error);
}

}  // namespace textfile
