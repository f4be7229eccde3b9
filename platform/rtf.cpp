#include "platform/rtf.h"

#include <QColor>
#include <QFont>
#include <QHash>
#include <QSet>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFragment>

#include <climits>

#include "platform/cp1251.h"

namespace rtf {

QString Paragraph::text() const {
  QString s;
  for (const Run& r : runs) s += r.text;
  return s;
}

QString Document::plainText() const {
  QStringList lines;
  for (const Paragraph& p : paragraphs) lines << p.text();
  return lines.join(QLatin1Char('\n'));
}

bool isRtf(const QByteArray& data) {
  int i = 0;
  while (i < data.size() && (data[i] == ' ' || data[i] == '\t' || data[i] == '\r' || data[i] == '\n')) ++i;
  return data.mid(i, 5) == "{\\rtf";
}

int pixelsToTwips(double pixels) {
  const double t = pixels * 15.0;
  if (t >= INT_MAX) return INT_MAX;
  if (t <= 0) return 0;
  return static_cast<int>(t + 0.5);
}

// ---------------------------------------------------------------------------------------------
// Writer

namespace {

const char kHex[] = "0123456789abcdef";

void appendText(QByteArray* out, const QString& text) {
  for (const QChar c : text) {
    const char16_t u = c.unicode();
    if (u == '\\' || u == '{' || u == '}') {
      *out += '\\';
      *out += char(u);
    } else if (u == '\t') {
      *out += "\\tab ";
    } else if (u == 0x2028 || u == '\n' || u == '\r' || u == 0x2029) {
      *out += "\\line ";
    } else if (u == 0xFFFC) {
      // an embedded object has no text form
    } else {
      const int b = cp1251::encodeChar(c);
      if (b >= 0x20 && b < 0x80) {
        *out += char(b);
      } else if (b >= 0) {
        *out += "\\'";
        *out += kHex[(b >> 4) & 0xF];
        *out += kHex[b & 0xF];
      } else {
        // No 1251 code: the Unicode value (signed 16 bits), with '?' for older readers.
        *out += "\\u";
        *out += QByteArray::number(int(static_cast<short>(u)));
        *out += '?';
      }
    }
  }
}

}  // namespace

QByteArray write(const Document& doc) {
  QStringList fonts;
  QList<QRgb> colors;
  for (const Paragraph& p : doc.paragraphs)
    for (const Run& r : p.runs) {
      if (!r.format.font.isEmpty() && !fonts.contains(r.format.font)) fonts << r.format.font;
      if (r.format.hasColor && !colors.contains(r.format.color)) colors << r.format.color;
    }
  if (fonts.isEmpty()) fonts << QStringLiteral("Arial");

  QByteArray out;
  out += "{\\rtf1\\ansi\\ansicpg1251\\deff0\\deflang1049\\uc1\r\n{\\fonttbl";
  for (int i = 0; i < fonts.size(); ++i) {
    out += "{\\f" + QByteArray::number(i) + "\\fnil\\fcharset204 ";
    appendText(&out, fonts[i]);
    out += ";}";
  }
  out += "}\r\n";
  if (!colors.isEmpty()) {
    out += "{\\colortbl ;";
    for (QRgb c : colors)
      out += "\\red" + QByteArray::number(qRed(c)) + "\\green" + QByteArray::number(qGreen(c)) + "\\blue" +
             QByteArray::number(qBlue(c)) + ";";
    out += "}\r\n";
  }
  for (int pi = 0; pi < doc.paragraphs.size(); ++pi) {
    const Paragraph& p = doc.paragraphs[pi];
    out += "\\pard";
    switch (p.align) {
      case AlignRight: out += "\\qr"; break;
      case AlignCenter: out += "\\qc"; break;
      case AlignJustify: out += "\\qj"; break;
      default: break;
    }
    for (int t : p.tabs) out += "\\tx" + QByteArray::number(t);
    out += ' ';
    for (const Run& r : p.runs) {
      if (r.text.isEmpty()) continue;
      const CharFormat& f = r.format;
      out += '{';
      const int mark = out.size();
      if (!f.font.isEmpty()) out += "\\f" + QByteArray::number(fonts.indexOf(f.font));
      if (f.halfPoints > 0) out += "\\fs" + QByteArray::number(f.halfPoints);
      if (f.bold) out += "\\b";
      if (f.italic) out += "\\i";
      if (f.underline) out += "\\ul";
      if (f.hasColor) out += "\\cf" + QByteArray::number(colors.indexOf(f.color) + 1);
      if (out.size() > mark) out += ' ';  // ends the last control word
      appendText(&out, r.text);
      out += '}';
    }
    out += "\\par\r\n";
  }
  out += "}\r\n";
  return out;
}

// ---------------------------------------------------------------------------------------------
// Reader

namespace {

enum class Dest { Text, Skip, FontTable, ColorTable };

struct GroupState {
  Dest dest = Dest::Text;
  int font = INT_MIN;  // font number; INT_MIN: the default font
  int halfPoints = 0;
  bool bold = false, italic = false, underline = false;
  int colorIndex = 0;
  int uc = 1;  // characters that stand in for a \uN
  // Whether text under `o` has the same character format (given the same font and colour tables).
  bool sameFormat(const GroupState& o) const {
    return font == o.font && halfPoints == o.halfPoints && bold == o.bold && italic == o.italic &&
           underline == o.underline && colorIndex == o.colorIndex;
  }
};

struct FontEntry {
  QString name;
  int charset = -1;
};

// Groups nested deeper than this keep no state of their own: their text is read in the format
// of the group at the limit, and the words that would change it are passed over.
constexpr int kMaxDepth = 1000;

class Reader {
 public:
  explicit Reader(const QByteArray& data) : d_(data) {}

  Document run() {
    doc_.paragraphs.append(Paragraph());
    const int n = d_.size();
    while (pos_ < n && !finished_) {
      const char c = d_[pos_];
      if (c == '{') {
        ++pos_;
        openGroup();
      } else if (c == '}') {
        ++pos_;
        closeGroup();
      } else if (c == '\\') {
        ++pos_;
        control();
      } else {
        ++pos_;
        if (c == '\r' || c == '\n') continue;
        groupStart_ = false;
        byte(static_cast<unsigned char>(c));
      }
    }
    finishParagraph();
    // The mark that ends the last paragraph opens no further one.
    if (endedByPar_ && doc_.paragraphs.size() > 1 && doc_.paragraphs.last().runs.isEmpty())
      doc_.paragraphs.removeLast();
    return doc_;
  }

 private:
  const QByteArray& d_;
  int pos_ = 0;
  bool finished_ = false;
  bool started_ = false;
  QList<GroupState> stack_;
  GroupState st_;
  int overflow_ = 0;         // groups opened beyond kMaxDepth and not yet closed
  int overflowSkip_ = 0;     // the overflow level of an ignorable destination being passed over (0: none)
  bool groupStart_ = false;  // the last token opened a group (for \*)
  int skipChars_ = 0;        // fallback characters still to drop after a \uN
  int codepage_ = 1251;      // \ansicpg
  int deffont_ = 0;          // \deff
  QHash<int, FontEntry> fonts_;
  int fontEntry_ = INT_MIN;  // font number being defined in the font table
  QByteArray fontName_;      // its name bytes so far
  QList<QRgb> colors_;
  QList<bool> colorValid_;
  int red_ = 0, green_ = 0, blue_ = 0;
  bool colorGiven_ = false;
  Align align_ = AlignLeft;
  QList<int> tabs_;
  bool endedByPar_ = false;  // no text since the last paragraph mark
  GroupState runState_;      // the state the last run's format was worked out from
  quint64 tables_ = 0;       // grows with every change of the font or colour table
  quint64 runTables_ = ~quint64(0);
  Document doc_;

  void openGroup() {
    skipChars_ = 0;
    if (overflow_ > 0 || stack_.size() >= kMaxDepth) {
      ++overflow_;
      groupStart_ = true;
      return;
    }
    if (!started_) started_ = true;
    stack_.append(st_);
    groupStart_ = true;
  }

  void closeGroup() {
    skipChars_ = 0;
    groupStart_ = false;
    if (overflow_ > 0) {
      if (overflowSkip_ == overflow_) overflowSkip_ = 0;
      --overflow_;
      return;
    }
    if (st_.dest == Dest::FontTable) endFontEntry();
    if (stack_.isEmpty()) {
      finished_ = true;  // the outermost group has closed
      return;
    }
    st_ = stack_.takeLast();
    if (stack_.isEmpty() && started_) finished_ = true;
  }

  bool skipping() const {
    return st_.dest == Dest::Skip || (overflowSkip_ > 0 && overflow_ >= overflowSkip_);
  }

  // A destination that is not text begins in the current group.
  void skipGroup() {
    if (overflow_ > 0) {
      if (!skipping()) overflowSkip_ = overflow_;
    } else {
      st_.dest = Dest::Skip;
    }
  }

  // One control word or control symbol, after its backslash.
  void control() {
    const int n = d_.size();
    if (pos_ >= n) return;
    const char c = d_[pos_];
    const bool wasGroupStart = groupStart_;
    groupStart_ = false;
    if (!isAlpha(c)) {
      ++pos_;
      symbol(c, wasGroupStart);
      return;
    }
    const int start = pos_;
    while (pos_ < n && isAlpha(d_[pos_]) && pos_ - start < 32) ++pos_;
    const QByteArray word = d_.mid(start, pos_ - start);
    while (pos_ < n && isAlpha(d_[pos_])) ++pos_;  // an over-long word is cut, the rest dropped
    bool hasParam = false;
    long long param = 0;
    bool negative = false;
    if (pos_ < n && d_[pos_] == '-' && pos_ + 1 < n && isDigit(d_[pos_ + 1])) {
      negative = true;
      ++pos_;
    }
    int digits = 0;
    while (pos_ < n && isDigit(d_[pos_])) {
      hasParam = true;
      if (digits < 12) param = param * 10 + (d_[pos_] - '0');
      ++digits;
      ++pos_;
    }
    if (negative) param = -param;
    if (param > INT_MAX) param = INT_MAX;
    if (param < INT_MIN) param = INT_MIN;
    if (pos_ < n && d_[pos_] == ' ') ++pos_;  // the delimiter belongs to the word
    command(word, hasParam, static_cast<int>(param));
  }

  static bool isAlpha(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
  static bool isDigit(char c) { return c >= '0' && c <= '9'; }
  static int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
  }

  void symbol(char c, bool atGroupStart) {
    switch (c) {
      case '\'': {
        const int n = d_.size();
        int v = -1;
        if (pos_ + 1 < n) {
          const int h = hexValue(d_[pos_]), l = hexValue(d_[pos_ + 1]);
          if (h >= 0 && l >= 0) v = h * 16 + l;
        }
        if (v < 0) {  // a broken escape is dropped with the hex digit it has
          if (pos_ < n && hexValue(d_[pos_]) >= 0) ++pos_;
          return;
        }
        pos_ += 2;
        byte(static_cast<unsigned char>(v), true);
        return;
      }
      case '*':
        if (atGroupStart) skipGroup();
        return;
      default: break;
    }
    if (countFallback()) return;
    switch (c) {
      case '\\':
      case '{':
      case '}': literal(QChar(QLatin1Char(c))); return;
      case '~': literal(QChar(0x00A0)); return;
      case '_': literal(QChar(QLatin1Char('-'))); return;
      case '\r':
      case '\n': paragraph(); return;
      case '\t': literal(QChar(QLatin1Char('\t'))); return;
      default: return;  // \- and the rest: nothing to show
    }
  }

  // Drops one fallback character after \uN; true when it was dropped.
  bool countFallback() {
    if (skipChars_ > 0) {
      --skipChars_;
      return true;
    }
    return false;
  }

  void command(const QByteArray& w, bool hasParam, int p) {
    // Destinations whose content is not text.
    // Looked up in a set: every command word of a long file passes here.
    static const QSet<QByteArray> kSkip = {
        "stylesheet",   "info",      "pict",       "object",    "header",
        "footer",       "headerl",   "headerr",    "headerf",   "footerl",
        "footerr",      "footerf",   "footnote",   "listtable", "listoverridetable",
        "rsidtbl",      "generator", "xmlnsdecl",  "themedata", "colorschememapping",
        "latentstyles", "datastore", "filetbl",    "revtbl",    "fldinst",
        "annotation",   "atnid",     "atnauthor",  "private",   "userprops",
        "xe",           "tc",        "nonshppict", "shp",       "result",
        "objdata",      "mmathPr",   "pgdsctbl"};
    if (w == "bin") {
      // Binary data of p bytes follows; it is never text.
      const long long skip = hasParam && p > 0 ? p : 0;
      pos_ = static_cast<int>(qMin<long long>(d_.size(), pos_ + skip));
      return;
    }
    if (skipping()) return;
    if (overflow_ > 0 && (w == "fonttbl" || w == "colortbl")) {
      skipGroup();  // no table can be defined without a group of its own
      return;
    }
    if (w == "fonttbl") {
      st_.dest = Dest::FontTable;
      fontEntry_ = INT_MIN;
      fontName_.clear();
      return;
    }
    if (w == "colortbl") {
      st_.dest = Dest::ColorTable;
      colorGiven_ = false;
      return;
    }
    if (kSkip.contains(w)) {
      skipGroup();
      return;
    }

    if (st_.dest == Dest::FontTable) {
      if (w == "f") {
        endFontEntry();
        fontEntry_ = hasParam ? p : 0;
        fontName_.clear();
        fonts_[fontEntry_] = FontEntry();
        ++tables_;
      } else if (w == "fcharset" && fontEntry_ != INT_MIN) {
        fonts_[fontEntry_].charset = p;
      }
      return;
    }
    if (st_.dest == Dest::ColorTable) {
      const int v = qBound(0, p, 255);
      if (w == "red") {
        red_ = v;
        colorGiven_ = true;
      } else if (w == "green") {
        green_ = v;
        colorGiven_ = true;
      } else if (w == "blue") {
        blue_ = v;
        colorGiven_ = true;
      }
      return;
    }

    if (w == "u") {
      literal(QChar(char16_t(static_cast<unsigned>(p) & 0xFFFF)));
      skipChars_ = st_.uc;
      return;
    }
    if (countFallback()) return;

    if (w == "par" || w == "sect" || w == "page" || w == "row") {
      paragraph();
      return;
    }
    if (w == "line") {
      literal(QChar(0x2028));
      return;
    }
    if (w == "tab" || w == "cell") {
      literal(QChar(QLatin1Char('\t')));
      return;
    }
    if (w == "emdash") {
      literal(QChar(0x2014));
      return;
    }
    if (w == "endash") {
      literal(QChar(0x2013));
      return;
    }
    if (w == "lquote") {
      literal(QChar(0x2018));
      return;
    }
    if (w == "rquote") {
      literal(QChar(0x2019));
      return;
    }
    if (w == "ldblquote") {
      literal(QChar(0x201C));
      return;
    }
    if (w == "rdblquote") {
      literal(QChar(0x201D));
      return;
    }
    if (w == "bullet") {
      literal(QChar(0x2022));
      return;
    }
    if (w == "emspace" || w == "enspace" || w == "qmspace") {
      literal(QChar(QLatin1Char(' ')));
      return;
    }
    // Past the depth limit the text keeps the format it has: a change could not be undone
    // when its group closes.
    if (overflow_ > 0) return;

    if (w == "ansicpg") {
      if (hasParam) codepage_ = p;
      return;
    }
    if (w == "deff") {
      deffont_ = p;
      ++tables_;
      return;
    }
    if (w == "uc") {
      st_.uc = qBound(0, p, 16);
      return;
    }
    if (w == "plain") {
      const Dest d = st_.dest;
      const int uc = st_.uc;
      st_ = GroupState();
      st_.dest = d;
      st_.uc = uc;
      return;
    }
    if (w == "f") {
      st_.font = p;
      return;
    }
    if (w == "fs") {
      st_.halfPoints = p > 0 ? qMin(p, 3276) : 0;
      return;
    }
    if (w == "b") {
      st_.bold = !hasParam || p != 0;
      return;
    }
    if (w == "i") {
      st_.italic = !hasParam || p != 0;
      return;
    }
    if (w == "ul") {
      st_.underline = !hasParam || p != 0;
      return;
    }
    if (w == "ulnone") {
      st_.underline = false;
      return;
    }
    if (w == "cf") {
      st_.colorIndex = p;
      return;
    }
    if (w == "pard") {
      align_ = AlignLeft;
      tabs_.clear();
      return;
    }
    if (w == "ql") {
      align_ = AlignLeft;
      return;
    }
    if (w == "qr") {
      align_ = AlignRight;
      return;
    }
    if (w == "qc") {
      align_ = AlignCenter;
      return;
    }
    if (w == "qj") {
      align_ = AlignJustify;
      return;
    }
    if (w == "tx") {
      if (tabs_.size() < 1000) tabs_.append(qMax(0, p));
      return;
    }
    // Anything else is a property we do not keep.
  }

  int codepageOf(int font) const {
    const int number = font == INT_MIN ? deffont_ : font;
    const auto it = fonts_.constFind(number);
    const int charset = it == fonts_.constEnd() ? -1 : it->charset;
    if (charset == 204) return 1251;
    if (charset == 0 || charset == 2) return 1252;
    return codepage_;
  }

  static QChar decode(unsigned char b, int codepage) {
    if (codepage == 1251) return cp1251::decodeByte(b);
    if (codepage == 1252 || codepage == 28591) return QChar(char16_t(b));
    return cp1251::decodeByte(b);
  }

  // A text byte (raw or from \'hh).
  void byte(unsigned char b, bool escaped = false) {
    if (skipping()) return;
    if (st_.dest == Dest::FontTable) {
      if (b == ';' && !escaped) {
        endFontEntry();
      } else if (fontEntry_ != INT_MIN && fontName_.size() < 256) {
        fontName_ += char(b);
      }
      return;
    }
    if (st_.dest == Dest::ColorTable) {
      if (b == ';' && !escaped) {
        colors_.append(qRgb(red_, green_, blue_));
        ++tables_;
        colorValid_.append(colorGiven_);
        red_ = green_ = blue_ = 0;
        colorGiven_ = false;
      }
      return;
    }
    if (countFallback()) return;
    literal(decode(b, codepageOf(st_.font)));
  }

  void endFontEntry() {
    if (fontEntry_ == INT_MIN) return;
    FontEntry& e = fonts_[fontEntry_];
    const int cp = e.charset == 204 ? 1251 : (e.charset == 0 ? 1252 : codepage_);
    QString name;
    for (char ch : fontName_) name += decode(static_cast<unsigned char>(ch), cp);
    e.name = name.trimmed();
    ++tables_;
    fontEntry_ = INT_MIN;
    fontName_.clear();
  }

  CharFormat currentFormat() const {
    CharFormat f;
    const int number = st_.font == INT_MIN ? deffont_ : st_.font;
    const auto it = fonts_.constFind(number);
    if (it != fonts_.constEnd()) f.font = it->name;
    f.halfPoints = st_.halfPoints;
    f.bold = st_.bold;
    f.italic = st_.italic;
    f.underline = st_.underline;
    const int ci = st_.colorIndex;  // an entry without components is the automatic colour
    if (ci >= 0 && ci < colors_.size() && colorValid_[ci]) {
      f.hasColor = true;
      f.color = colors_[ci];
    }
    return f;
  }

  void literal(QChar c) {
    if (skipping() || st_.dest != Dest::Text) return;
    // Control characters and object marks have no place in the text; paragraphs end only at \par.
    const char16_t u = c.unicode();
    if ((u < 0x20 && u != '\t') || u == 0xFFFC) return;
    if (u == 0x2029) c = QChar(0x2028);
    endedByPar_ = false;
    Paragraph& p = doc_.paragraphs.last();
    // Most characters continue the run before them: the format is worked out only when the
    // state that gives it has changed.
    if (!p.runs.isEmpty() && runTables_ == tables_ && runState_.sameFormat(st_)) {
      p.runs.last().text += c;
      return;
    }
    runState_ = st_;
    runTables_ = tables_;
    const CharFormat f = currentFormat();
    if (!p.runs.isEmpty() && p.runs.last().format == f) {
      p.runs.last().text += c;
    } else {
      p.runs.append(Run{QString(c), f});
    }
  }

  void finishParagraph() {
    Paragraph& p = doc_.paragraphs.last();
    p.align = align_;
    p.tabs = tabs_;
  }

  void paragraph() {
    if (skipping() || st_.dest != Dest::Text) return;
    finishParagraph();
    doc_.paragraphs.append(Paragraph());
    endedByPar_ = true;
  }
};

}  // namespace

Document read(const QByteArray& data) { return Reader(data).run(); }

// ---------------------------------------------------------------------------------------------
// QTextDocument bridge

Document fromTextDocument(const QTextDocument& doc) {
  Document out;
  const QFont base = doc.defaultFont();
  for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
    Paragraph p;
    const QTextBlockFormat bf = b.blockFormat();
    const Qt::Alignment a = bf.alignment() & Qt::AlignHorizontal_Mask;
    if (a & Qt::AlignHCenter)
      p.align = AlignCenter;
    else if (a & Qt::AlignJustify)
      p.align = AlignJustify;
    else if (a & (Qt::AlignRight | Qt::AlignTrailing))
      p.align = AlignRight;
    for (const QTextOption::Tab& t : bf.tabPositions()) p.tabs << pixelsToTwips(t.position);
    for (auto it = b.begin(); !it.atEnd(); ++it) {
      const QTextFragment frag = it.fragment();
      if (!frag.isValid()) continue;
      const QTextCharFormat cf = frag.charFormat();
      const QFont f = cf.font().resolve(base);
      CharFormat rf;
      rf.font = f.families().isEmpty() ? f.family() : f.families().first();
      double pt = f.pointSizeF();
      if (pt <= 0 && f.pixelSize() > 0) pt = f.pixelSize() * 72.0 / 96.0;
      rf.halfPoints = pt > 0 ? qRound(pt * 2) : 0;
      rf.bold = f.bold();
      rf.italic = f.italic();
      rf.underline = f.underline();
      if (cf.foreground().style() != Qt::NoBrush) {
        rf.hasColor = true;
        rf.color = cf.foreground().color().rgb();
      }
      const QString text = frag.text();
      if (!p.runs.isEmpty() && p.runs.last().format == rf)
        p.runs.last().text += text;
      else
        p.runs.append(Run{text, rf});
    }
    out.paragraphs.append(p);
  }
  if (out.paragraphs.isEmpty()) out.paragraphs.append(Paragraph());
  return out;
}

namespace {

// A document uses few character formats; building each once saves most of the filling time.
class FormatCache {
 public:
  const QTextCharFormat& get(const CharFormat& f) {
    for (const auto& e : entries_)
      if (e.first == f) return e.second;
    QTextCharFormat cf;
    if (!f.font.isEmpty()) cf.setFontFamilies({f.font});
    if (f.halfPoints > 0) cf.setFontPointSize(f.halfPoints / 2.0);
    cf.setFontWeight(f.bold ? QFont::Bold : QFont::Normal);
    cf.setFontItalic(f.italic);
    cf.setFontUnderline(f.underline);
    if (f.hasColor) cf.setForeground(QColor::fromRgb(f.color));
    if (entries_.size() >= 64) entries_.removeFirst();
    entries_.append({f, cf});
    return entries_.last().second;
  }

 private:
  QList<QPair<CharFormat, QTextCharFormat>> entries_;
};

}  // namespace

void toTextDocument(const Document& rtf, QTextDocument* doc) {
  FormatCache formats;
  doc->clear();
  // Filling is not an edit the user could undo; keeping every step would cost more than the text.
  const bool undo = doc->isUndoRedoEnabled();
  doc->setUndoRedoEnabled(false);
  QTextCursor cur(doc);
  cur.beginEditBlock();
  bool first = true;
  for (const Paragraph& p : rtf.paragraphs) {
    QTextBlockFormat bf;
    switch (p.align) {
      case AlignRight: bf.setAlignment(Qt::AlignRight); break;
      case AlignCenter: bf.setAlignment(Qt::AlignHCenter); break;
      case AlignJustify: bf.setAlignment(Qt::AlignJustify); break;
      default: bf.setAlignment(Qt::AlignLeft); break;
    }
    QList<QTextOption::Tab> tabs;
    for (int t : p.tabs) tabs << QTextOption::Tab(twipsToPixels(t), QTextOption::LeftTab);
    if (!tabs.isEmpty()) bf.setTabPositions(tabs);
    if (first)
      cur.setBlockFormat(bf);
    else
      cur.insertBlock(bf);
    first = false;
    for (const Run& r : p.runs) {
      const QTextCharFormat& cf = formats.get(r.format);
      QString text = r.text;
      // A run never breaks the paragraph it belongs to.
      for (QChar& c : text)
        if (c == QLatin1Char('\n') || c == QLatin1Char('\r') || c == QChar(0x2029)) c = QChar(0x2028);
      cur.insertText(text, cf);
    }
  }
  cur.endEditBlock();
  doc->setUndoRedoEnabled(undo);
  doc->setModified(false);
}

}  // namespace rtf
