#include "tiravo/sim/sgnfile.h"

#include <QBuffer>
#include <QDataStream>
#include <QFile>
#include <cstdlib>

#include "platform/cp1251.h"
#include "platform/textfile.h"
#include "tiravo/sim/letters.h"

namespace tiravo {

const char SgnFile::kTag[] = "XXX_input_with_name_information";

namespace {

void PutWord(QByteArray& out, qint32 v) {
  const quint32 u = quint32(v);
  for (int i = 0; i < 4; ++i) out.append(char((u >> (8 * i)) & 0xFF));
}

bool PutNames(QByteArray& out, const QStringList& names, QString* error) {
  PutWord(out, qint32(names.size()));
  for (const QString& name : names) {
    QByteArray bytes;
    if (!cp1251::encode(name, &bytes) || bytes.size() > SgnFile::kMaxName) {
      if (error)
        *error = QStringLiteral("Имя сигнала \"") + name + QStringLiteral("\" нельзя записать в файл");
      return false;
    }
    PutWord(out, qint32(bytes.size()));
    out += bytes;
  }
  return true;
}

// Reads the image front to back; any shortfall is a format fault.
class Reader {
 public:
  explicit Reader(const QByteArray& bytes) : bytes_(bytes) {}
  qsizetype Left() const { return bytes_.size() - pos_; }
  bool Word(qint32* v) {
    if (Left() < 4) return false;
    quint32 u = 0;
    for (int i = 0; i < 4; ++i) u |= quint32(quint8(bytes_.at(pos_ + i))) << (8 * i);
    pos_ += 4;
    *v = qint32(u);
    return true;
  }
  bool Bytes(qsizetype n, QByteArray* out) {
    if (n < 0 || Left() < n) return false;
    *out = bytes_.mid(pos_, n);
    pos_ += n;
    return true;
  }
  // A count of items each taking at least `least` bytes: never negative,
  // never more than the rest of the file can hold.
  bool Count(qsizetype least, qint32* n) { return Word(n) && *n >= 0 && qsizetype(*n) * least <= Left(); }
  bool Names(QStringList* names) {
    qint32 n = 0;
    if (!Count(4, &n)) return false;
    names->clear();
    for (qint32 i = 0; i < n; ++i) {
      qint32 length = 0;
      QByteArray name;
      if (!Word(&length) || length < 0 || length > SgnFile::kMaxName || !Bytes(length, &name)) return false;
      names->append(cp1251::decode(name));
    }
    return true;
  }

 private:
  const QByteArray& bytes_;
  qsizetype pos_ = 0;
};

// One step's input: a binary one holds literals of known inputs in ascending
// order without repeats, an abstract one exactly one letter.
bool ReadInput(Reader& r, bool abstract, int inputCount, SSignalSet* input) {
  qint32 count = 0;
  if (!r.Word(&count) || count < 0 || count > inputCount) return false;
  if (abstract && count != 1) return false;
  SSignalSet set;
  qint32 previous = 0;
  for (qint32 i = 0; i < count; ++i) {
    qint32 e = 0;
    if (!r.Word(&e) || e == 0 || e < -inputCount || e > inputCount) return false;
    if (abstract && e < 0) return false;
    if (std::abs(e) <= std::abs(previous)) return false;
    previous = e;
    set.AddLiteral(e);
  }
  *input = std::move(set);
  return true;
}

}  // namespace

bool SgnFile::ToBytes(QByteArray* out, QString* error) const {
  QByteArray bytes(kTag, kTagSize);
  bytes.append(char(Abstract ? 1 : 0));
  if (!PutNames(bytes, Etalon, error)) return false;
  if (Abstract && !PutNames(bytes, Current, error)) return false;
  PutWord(bytes, qint32(Inputs.size()));
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly | QIODevice::Append);
  QDataStream stream(&buffer);
  for (const SSignalSet& input : Inputs) input.Write(stream);
  buffer.close();
  *out = bytes;
  return true;
}

int SgnFile::FromBytes(const QByteArray& bytes, unsigned char mode, const QStringList* etalon) {
  Reader r(bytes);
  QByteArray tag;
  if (!r.Bytes(kTagSize, &tag) || tag != QByteArray(kTag, kTagSize)) return BadFormat;
  QByteArray type;
  if (!r.Bytes(1, &type)) return BadFormat;
  const bool abstract = type.at(0) != 0;
  if (abstract != (mode != 0)) return OtherType;
  SgnFile read;
  read.Abstract = abstract;
  if (!r.Names(&read.Etalon)) return BadFormat;
  if (etalon && read.Etalon != *etalon) return OtherAlphabet;
  int inputCount = int(read.Etalon.size());
  if (abstract) {
    // The current alphabet grows from the reference one and names the
    // letters of every text and report: it must stay usable.
    if (!r.Names(&read.Current) || read.Current.size() < read.Etalon.size() || !UsableAlphabet(read.Current))
      return BadFormat;
    inputCount = int(read.Current.size());
  }
  qint32 steps = 0;
  if (!r.Count(4, &steps)) return BadFormat;
  if (steps > kMaxSteps) return TooLarge;
  read.Inputs.resize(size_t(steps));
  for (SSignalSet& input : read.Inputs)
    if (!ReadInput(r, abstract, inputCount, &input)) return BadFormat;
  *this = std::move(read);
  return Accepted;
}

bool SgnFile::Save(const QString& path, QString* error) const {
  QByteArray bytes;
  return ToBytes(&bytes, error) && textfile::writeBytes(path, bytes, error);
}

int SgnFile::Load(const QString& path, unsigned char mode, const QStringList& etalon) {
  QFile f;
  if (!textfile::openForReading(&f, path, nullptr)) return CannotOpen;
  if (f.size() > kMaxBytes) return TooLarge;  // not even read
  const QByteArray bytes = f.readAll();
  if (f.error() != QFileDevice::NoError) return CannotOpen;
  return FromBytes(bytes, mode, &etalon);
}

QString SgnFile::ErrorText(const QString& path, int reason) {
  static const char* const kReasons[] = {
      "!\n Операция отменена!", ":\n различные алфавиты в файле и в таблице!", ": неверный формат файла!",
      ":\n различные типы сигналов в файле и в таблице!", ":\n файл слишком велик для моделирования!"};
  const int r = reason >= CannotOpen && reason <= TooLarge ? reason : BadFormat;
  return QStringLiteral("Ошибка при открытии файла\"") + path + QLatin1Char('"') +
         QString::fromUtf8(kReasons[r]);
}

}  // namespace tiravo
