#include "velmora/translate/textscan.h"

#include <algorithm>

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
    if (run >= 0) append(p + run, i - run);
    run = -1;
  };
  for (int i = 0; i < n; ++i) {
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
        endStatement();
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

void StatementReader::endStatement() {
  if (text_) {
    ends_->push_back(text_->size());
    return;
  }
  // Made at its size: the buffer is kept for the next statement.
  out_->append(QString(pending_.constData(), pending_.size()));
  pending_.resize(0);
}

void StatementReader::flush() {
  if (text_) {
    if (text_->size() > (ends_->empty() ? 0 : ends_->back())) ends_->push_back(text_->size());
    return;
  }
  if (!pending_.isEmpty()) endStatement();
}

namespace {
ushort closerOf(ushort open) { return open == '(' ? ')' : '}'; }
}  // namespace

bool parseSum(const QString& text, Sum* out, int maxDepth) {
  // One frame per open group; frame 0 is the whole text.
  struct Frame {
    ushort open;
    Sum sum;
    Product product;
  };
  std::vector<Frame> stack;
  stack.push_back(Frame{0, {}, {}});
  // The name being read is text[nameStart, i): taken whole when it ends.
  qsizetype nameStart = 0, i = 0;
  std::vector<qsizetype> strays;  // stray closing brackets inside that stretch
  bool ok = true;
  auto endName = [&] {
    if (i > nameStart) {
      QString name = text.mid(nameStart, i - nameStart);
      for (auto s = strays.rbegin(); s != strays.rend(); ++s) name.remove(*s - nameStart, 1);
      if (!name.isEmpty()) {
        Factor f;
        f.name = std::move(name);
        stack.back().product.push_back(std::move(f));
      }
    }
    strays.clear();
    nameStart = std::max(nameStart, i + 1);
  };
  auto closeFrame = [&] {
    endName();
    Frame top = std::move(stack.back());
    stack.pop_back();
    top.sum.push_back(std::move(top.product));
    Factor f;
    f.group = top.open;
    f.alts = std::move(top.sum);
    stack.back().product.push_back(std::move(f));
  };
  for (; i < text.size(); ++i) {
    const ushort u = text.at(i).unicode();
    if (u == '*') {
      endName();
    } else if (u == '|') {
      endName();
      stack.back().sum.push_back(std::move(stack.back().product));
      stack.back().product.clear();
    } else if (u == '(' || u == '{') {
      endName();
      if (int(stack.size()) > maxDepth) {
        ok = false;
        break;
      }
      stack.push_back(Frame{u, {}, {}});
    } else if (u == ')' || u == '}') {
      if (stack.size() > 1 && closerOf(stack.back().open) == u) {
        closeFrame();
      } else {
        strays.push_back(i);  // ignored: the name goes on past it
      }
    }
  }
  while (stack.size() > 1) closeFrame();
  endName();
  stack.back().sum.push_back(std::move(stack.back().product));
  *out = std::move(stack.back().sum);
  return ok;
}

QString toText(const Factor& f) {
  if (f.isName()) return f.name;
  return QChar(f.group) + toText(f.alts) + QChar(closerOf(f.group));
}

QString toText(const Product& p) {
  QString s;
  for (size_t i = 0; i < p.size(); ++i) {
    if (i) s += QLatin1Char('*');
    s += toText(p[i]);
  }
  return s;
}

QString toText(const Sum& sum) {
  QString s;
  for (size_t i = 0; i < sum.size(); ++i) {
    if (i) s += QLatin1Char('|');
    s += toText(sum[i]);
  }
  return s;
}

}  // namespace textscan
