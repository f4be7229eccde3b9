#pragma once
// Texts kept once each and named by a number. A long step history repeats a handful of inputs
// and answers millions of times; a number per row costs a fraction of a string per row.
#include <QString>
#include <QStringList>
#include <string_view>
#include <unordered_map>

namespace velmora {

class TextPool {
 public:
  TextPool() { id(QString()); }
  // The number of text, kept from now on.
  quint32 id(const QString& text) {
    // Steps in a row often repeat the text before; that costs one comparison.
    if (last_ < quint32(texts_.size()) && texts_[qsizetype(last_)] == text) return last_;
    const auto it = ids_.find(text);
    if (it != ids_.end()) return last_ = it->second;
    const quint32 n = quint32(texts_.size());
    texts_.append(text);
    ids_.emplace(text, n);
    return last_ = n;
  }
  const QString& text(quint32 id) const { return texts_[qsizetype(id)]; }
  int size() const { return int(texts_.size()); }

 private:
  // Short texts hash faster this way than with the seeded hash of QHash.
  struct Hash {
    size_t operator()(const QString& s) const {
      return std::hash<std::u16string_view>()(
          std::u16string_view(reinterpret_cast<const char16_t*>(s.constData()), size_t(s.size())));
    }
  };
  // Texts that share their characters are equal without reading them.
  struct Equal {
    bool operator()(const QString& a, const QString& b) const {
      return (a.constData() == b.constData() && a.size() == b.size()) || a == b;
    }
  };
  QStringList texts_;
  std::unordered_map<QString, quint32, Hash, Equal> ids_;
  quint32 last_ = 0;
};

}  // namespace velmora
