#include "velmora/translate/textscan.h"

#include <algorithm>

namespace velmora {

namespace textscan {

QString headerKey(const QString& line) {
  // Most lines are long statements, never a header: those need no key.
  QString key;
  key.reserve(line.size());
  for (QChar c : line)
    if (c != QLatin1Char(' ')) key += lowerAscii(c);
  return key;
}

namespace {

// Characters the statement reader stops at.
bool isSpecial(ushort u) { return u == '/' || u == ';' || u == ' ' || u == 0; }

// headerKey(line) == key (key is lower case and holds no blank), without making the key.
bool isHeader(const QString& line, QLatin1String key) {
  qsizetype k = 0;
  for (QChar c : line) {
    if (c == QLatin1Char(' ')) continue;
    if (k >= key.size() || lowerAscii(c) != QLatin1Char(key.at(k))) return false;
    ++k;
  }
  return k == key.size();
}

}  // namespace

Sections findSections(const QStringList& lines) {
  Sections s;
  for (int i = 0; i < lines.size(); ++i) {
    const QString& line = lines.at(i);
    if (isHeader(line, QLatin1String("sku:"))) {
      if (s.skuFound) s.skuRepeats.push_back(i);
      s.skuFound = true;
      s.skuHeader = i;
    } else if (isHeader(line, QLatin1String("svf:"))) {
      if (s.svfFound) s.svfRepeats.push_back(i);
      s.svfFound = true;
      s.svfHeader = i;
    }
  }
  const int n = int(lines.size());
  if (s.skuFound) {
    s.skuStart = s.skuHeader + 1;
    s.skuEnd = (s.svfFound && s.svfHeader > s.skuHeader) ? s.svfHeader : n;
  }
  if (s.svfFound) {
    s.svfStart = s.svfHeader + 1;
    s.svfEnd = (s.skuFound && s.skuHeader > s.svfHeader) ? s.skuHeader : n;
  }
  return s;
}

void StatementReader::readLine(const QString& line) {
  // Runs of kept characters are appended whole rather than one by one.
  const QChar* p = line.constData();
  const int n = int(line.size());
  int run = -1;  // start of the run being kept
  const auto endRun = [&](int i) {
    if (run >= 0) text_->append(p + run, i - run);
    run = -1;
  };
  for (int i = 0; i < n; ++i) {
    // Most characters are kept outside comments and skipped inside them: only '/', ';',
    // blanks and null characters need a closer look.
    if (!inComment_) {
      const int from = i;
      while (i < n && !isSpecial(p[i].unicode())) ++i;
      if (i > from && run < 0) run = from;
    } else {
      endRun(i);
      while (i < n && p[i] != QLatin1Char('/')) ++i;
    }
    if (i == n) break;
    const QChar c = p[i];
    if (c == QLatin1Char('/')) {
      const QChar next = i + 1 < n ? p[i + 1] : QChar();
      if (next == QLatin1Char('*')) {
        endRun(i);
        inComment_ = true;
      } else if (next == QLatin1Char('/')) {
        endRun(i);  // the comment is not part of the run
        break;
      }
    }
    if (!inComment_ && !c.isNull() && c != QLatin1Char(' ')) {
      if (c == QLatin1Char(';')) {
        endRun(i);
        ends_->push_back(text_->size());
      } else if (run < 0) {
        run = i;
      }
    } else {
      endRun(i);
    }
    // The same test as the checker's: a '/' after '*' ends a comment.
    if (c == QLatin1Char('/') && i > 0 && p[i - 1] == QLatin1Char('*')) inComment_ = false;
  }
  endRun(n);
}

void StatementReader::flush() {
  if (text_->size() > (ends_->empty() ? 0 : ends_->back())) ends_->push_back(text_->size());
}

namespace {
ushort closerOf(ushort open) { return open == '(' ? ')' : '}'; }

// The alternatives of the innermost frame move to `products`, side by side.
Range moveProducts(std::vector<Range>* pending, size_t base, std::vector<Range>* products) {
  const Range alts{uint32_t(products->size()), uint32_t(pending->size() - base)};
  products->insert(products->end(), pending->begin() + ptrdiff_t(base), pending->end());
  pending->resize(base);
  return alts;
}
}  // namespace

void ParsedSum::endName(QStringView text, qsizetype i) {
  if (i > nameStart_) {
    QStringView name = text.mid(nameStart_, i - nameStart_);
    if (!strays_.empty()) {
      QString kept = name.toString();
      for (auto s = strays_.rbegin(); s != strays_.rend(); ++s) kept.remove(*s - nameStart_, 1);
      cleaned_.push_back(std::move(kept));
      name = cleaned_.back();
    }
    if (!name.isEmpty()) {
      Factor f;
      f.name = name;
      pendingFactors_.push_back(f);
    }
  }
  strays_.clear();
  nameStart_ = std::max(nameStart_, i + 1);
}

void ParsedSum::endProduct() {
  const size_t base = frames_.back().factorBase;
  pendingProducts_.push_back(Range{uint32_t(factors_.size()), uint32_t(pendingFactors_.size() - base)});
  factors_.insert(factors_.end(), pendingFactors_.begin() + ptrdiff_t(base), pendingFactors_.end());
  pendingFactors_.resize(base);
}

void ParsedSum::closeGroup(QStringView text, qsizetype i) {
  endName(text, i);
  endProduct();
  const Frame top = frames_.back();
  frames_.pop_back();
  Factor f;
  f.group = top.open;
  f.alts = moveProducts(&pendingProducts_, top.productBase, &products_);
  pendingFactors_.push_back(f);
}

bool ParsedSum::parse(QStringView text, int maxDepth) {
  factors_.clear();
  products_.clear();
  cleaned_.clear();
  frames_.clear();
  pendingFactors_.clear();
  pendingProducts_.clear();
  strays_.clear();
  // One frame per open group; frame 0 is the whole text. The name being read is
  // text[nameStart_, i): taken whole when it ends.
  frames_.push_back(Frame{0, 0, 0});
  nameStart_ = 0;
  qsizetype i = 0;
  bool ok = true;
  for (; i < text.size(); ++i) {
    const ushort u = text[i].unicode();
    if (u == '*') {
      endName(text, i);
    } else if (u == '|') {
      endName(text, i);
      endProduct();
    } else if (u == '(' || u == '{') {
      endName(text, i);
      if (int(frames_.size()) > maxDepth) {
        ok = false;
        break;
      }
      frames_.push_back(Frame{u, pendingFactors_.size(), pendingProducts_.size()});
    } else if (u == ')' || u == '}') {
      if (frames_.size() > 1 && closerOf(frames_.back().open) == u) {
        closeGroup(text, i);
      } else {
        strays_.push_back(i);  // ignored: the name goes on past it
      }
    }
  }
  while (frames_.size() > 1) closeGroup(text, i);
  endName(text, i);
  endProduct();
  top_ = moveProducts(&pendingProducts_, 0, &products_);
  return ok;
}

}  // namespace textscan

}  // namespace velmora
