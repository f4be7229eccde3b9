// The *.sgn reader: any image either is refused without a change or reads into
// a sequence that writes back as the same bytes and satisfies the rules the
// simulator relies on (known letters, ordered literals, one letter per
// abstract step).
#include <cstdint>
#include <cstdlib>

#include "tiravo/sim/sgnfile.h"

namespace {

void Check(bool ok) {
  if (!ok) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QByteArray bytes(reinterpret_cast<const char*>(data), int(size));
  for (unsigned char mode : {0, 1}) {
    tiravo::SgnFile file;
    file.Etalon = QStringList{QStringLiteral("keep")};
    const int reason = file.FromBytes(bytes, mode, nullptr);
    if (reason != tiravo::SgnFile::Accepted) {
      Check(file.Etalon == QStringList{QStringLiteral("keep")} && file.Inputs.empty());
      continue;
    }
    const int letters = int(mode ? file.Current.size() : file.Etalon.size());
    for (const SSignalSet& input : file.Inputs) {
      Check(!mode || (input.Size() == 1 && input.At(0) > 0));
      for (unsigned i = 0; i < input.Size(); ++i) {
        const int e = input.At(i);
        Check(e != 0 && std::abs(e) <= letters);
      }
    }
    QByteArray again;
    Check(file.ToBytes(&again, nullptr));
    // Any type byte other than 0 reads as abstract and is written back as 1.
    Check(again.at(31) == char(mode) && bytes.mid(32).startsWith(again.mid(32)));
    tiravo::SgnFile reread;
    Check(reread.FromBytes(again, mode, &file.Etalon) == tiravo::SgnFile::Accepted);
    Check(reread.Inputs == file.Inputs && reread.Current == file.Current);
  }
  return 0;
}
