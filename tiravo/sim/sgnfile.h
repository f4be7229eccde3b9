#pragma once
// *.sgn: the input sequence of the automatic simulator, with the alphabet it
// was made over. Binary, little-endian, no padding:
//   31-byte tag, type byte (1 abstract, 0 binary), the reference alphabet
//   (int32 count, then int32 length + cp1251 bytes per name), for an abstract
//   file the current alphabet the same way, the int32 step count, and one
//   signal set per step in its binary form.
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <vector>

#include "tiravo/core/signalset.h"

namespace tiravo {

class SgnFile {
 public:
  // The reasons of the load and save message, in its numbering.
  enum Reason {
    Accepted = -1,
    CannotOpen = 0,
    OtherAlphabet = 1,
    BadFormat = 2,
    OtherType = 3,
    TooLarge = 4
  };
  static const char kTag[];  // "XXX_input_with_name_information"
  static constexpr int kTagSize = 31;
  static constexpr int kMaxName = 1023;  // bytes
  // A longer sequence, or a larger file, is refused before anything changes: the
  // simulator recomputes every step on load and keeps them all in memory.
  static constexpr int kMaxSteps = 1000000;
  static constexpr qint64 kMaxBytes = qint64(64) << 20;

  bool Abstract = false;
  QStringList Etalon;   // the alphabet of the table the sequence was made for
  QStringList Current;  // abstract only: the alphabet as the user left it
  std::vector<SSignalSet> Inputs;

  // False, with the reason in *error, when a name has no 1251 form or is too long.
  bool ToBytes(QByteArray* out, QString* error) const;
  // Reads a whole file image. This object changes only when everything passes;
  // the result is Accepted or the reason of the first failure in file order.
  // `mode` and `etalon` are what the simulator's table has; a null `etalon`
  // takes the file's.
  int FromBytes(const QByteArray& bytes, unsigned char mode, const QStringList* etalon);

  // Atomic: the old file stays whole when writing fails.
  bool Save(const QString& path, QString* error) const;
  int Load(const QString& path, unsigned char mode, const QStringList& etalon);

  // "Ошибка при открытии файла"<path>"<reason text>
  static QString ErrorText(const QString& path, int reason);
};

}  // namespace tiravo
