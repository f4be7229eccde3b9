#include "velmora/translate/textscan.h"

namespace textscan {

QString headerKey(const QString& line) {
  QString key;
  key.reserve(line.size());
  for (QChar c : line)
    if (c != QLatin1Char(' ')) key += lowerAscii(c);
  return key;
}

Sections findSections(const QStringList& lines) {
  Sections s;
  for (int i = 0; i < lines.size(); ++i) {
    const QString key = headerKey(lines.at(i));
    if (key == QLatin1String("sku:")) {
      if (s.skuFound) s.skuRepeats.push_back(i);
      s.skuFound = true;
      s.skuHeader = i;
    } else if (key == QLatin1String("svf:")) {
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
  for (int i = 0; i < line.size(); ++i) {
    const QChar c = line.at(i);
    if (c == QLatin1Char('/')) {
      const QChar next = at(line, i + 1);
      if (next == QLatin1Char('*')) inComment_ = true;
      else if (next == QLatin1Char('/')) break;
    }
    if (!inComment_ && !c.isNull() && c != QLatin1Char(' ')) {
      if (c == QLatin1Char(';')) {
        out_->append(pending_);
        pending_.clear();
      } else {
        pending_ += c;
      }
    }
    // The same test as the checker's: a '/' after '*' ends a comment.
    if (c == QLatin1Char('/') && at(line, i - 1) == QLatin1Char('*')) inComment_ = false;
  }
}

void StatementReader::flush() {
  if (!pending_.isEmpty()) out_->append(pending_);
  pending_.clear();
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
  QString name;
  bool ok = true;
  auto endName = [&] {
    if (!name.isEmpty()) {
      Factor f;
      f.name = name;
      stack.back().product.push_back(std::move(f));
      name.clear();
    }
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
  for (QChar c : text) {
    const ushort u = c.unicode();
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
      if (stack.size() > 1 && closerOf(stack.back().open) == u) closeFrame();
      // otherwise a stray closing bracket: ignored
    } else {
      name += c;
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
