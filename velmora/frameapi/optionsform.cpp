#include "velmora/frameapi/optionsform.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QTabWidget>
#include <QVBoxLayout>

#include "velmora/frameapi/frame.h"

namespace velmora {

TOptionsForm* OptionsForm = nullptr;

namespace {

// '&' separates the fields of the stored option string, so no edit may take one;
// `lower` edits turn what is typed into lower case.
class OptionTextValidator : public QValidator {
 public:
  OptionTextValidator(bool lower, QObject* parent) : QValidator(parent), lower_(lower) {}
  State validate(QString& input, int&) const override {
    if (input.contains(QLatin1Char('&'))) return Invalid;
    if (lower_) input = input.toLower();
    return Acceptable;
  }

 private:
  bool lower_;
};

QString clean(const QString& s, bool lower) {
  QString r = s;
  r.remove(QLatin1Char('&'));
  return lower ? r.toLower() : r;
}

const char* const kDesignLetters = "zxyss";

}  // namespace

TOptionsForm::TOptionsForm(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("OptionsForm"));
  setWindowTitle(QStringLiteral("Настройки"));
  setModal(true);

  auto* letterValidator = new OptionTextValidator(true, this);
  auto* nameValidator = new OptionTextValidator(false, this);
  auto makeLetter = [&](const QString& name, const char* text) {
    auto* e = new QLineEdit(QString::fromLatin1(text));
    e->setObjectName(name);
    e->setMaxLength(1);
    e->setValidator(letterValidator);
    e->setFixedWidth(28);
    return e;
  };
  auto makeName = [&](const QString& name, const char* text) {
    auto* e = new QLineEdit(QString::fromLatin1(text));
    e->setObjectName(name);
    e->setValidator(nameValidator);
    return e;
  };

  pages = new QTabWidget;

  // "Обшие"
  {
    auto* page = new QWidget;
    auto* v = new QVBoxLayout(page);
    auto* signalsBox = new QGroupBox(QStringLiteral("Маски для сигналов"));
    auto* sg = new QGridLayout(signalsBox);
    InAbstr = makeLetter(QStringLiteral("InAbstr"), "z");
    InDigit = makeLetter(QStringLiteral("InDigit"), "x");
    OutSgn = makeLetter(QStringLiteral("OutSgn"), "y");
    sg->addWidget(new QLabel(QStringLiteral("Входные")), 0, 0, 1, 2);
    sg->addWidget(new QLabel(QStringLiteral("абстрактный сигнал")), 1, 0);
    sg->addWidget(InAbstr, 1, 1);
    sg->addWidget(new QLabel(QStringLiteral("двоичный сигнал")), 2, 0);
    sg->addWidget(InDigit, 2, 1);
    auto* line = new QFrame;
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    sg->addWidget(line, 3, 0, 1, 2);
    sg->addWidget(new QLabel(QStringLiteral("Выходной сигнал")), 4, 0);
    sg->addWidget(OutSgn, 4, 1);
    v->addWidget(signalsBox);

    auto* eventsBox = new QGroupBox(QStringLiteral("Маски для событий"));
    auto* eg = new QGridLayout(eventsBox);
    InSob = makeLetter(QStringLiteral("InSob"), "s");
    OutSob = makeLetter(QStringLiteral("OutSob"), "s");
    eg->addWidget(new QLabel(QStringLiteral("Входное событие")), 0, 0);
    eg->addWidget(InSob, 0, 1);
    eg->addWidget(new QLabel(QStringLiteral("Выходное событие")), 1, 0);
    eg->addWidget(OutSob, 1, 1);
    v->addWidget(eventsBox);

    auto* fontPanel = new QFrame;
    fontPanel->setFrameShape(QFrame::StyledPanel);
    auto* fh = new QHBoxLayout(fontPanel);
    fh->addWidget(new QLabel(QStringLiteral("Размер шрифта сообщений")));
    FontSizeMes = new QComboBox;
    FontSizeMes->setObjectName(QStringLiteral("FontSizeMes"));
    FontSizeMes->setEditable(true);
    FontSizeMes->setInsertPolicy(QComboBox::NoInsert);
    for (int s : {6, 8, 10, 12, 14, 16, 18, 20, 22, 24, 28, 36, 48, 72})
      FontSizeMes->addItem(QString::number(s));
    FontSizeMes->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,3}")), FontSizeMes));
    FontSizeMes->setEditText(QStringLiteral("10"));
    fh->addWidget(FontSizeMes);
    v->addWidget(fontPanel);
    v->addStretch();
    pages->addTab(page, QStringLiteral("Обшие"));
  }

  // "РВАС"
  {
    auto* page = new QWidget;
    auto* v = new QVBoxLayout(page);
    v->addWidget(new QLabel(QStringLiteral("Обозначение начального события")));
    RvasS0 = new QLineEdit(QStringLiteral("s0"));
    RvasS0->setObjectName(QStringLiteral("RvasS0"));
    RvasS0->setMaxLength(15);
    RvasS0->setValidator(letterValidator);
    v->addWidget(RvasS0);
    v->addStretch();
    pages->addTab(page, QStringLiteral("РВАС"));
  }

  // "ГСА"
  {
    auto* page = new QWidget;
    auto* v = new QVBoxLayout(page);
    AutoNumBox = new QCheckBox(QStringLiteral(" Автоматическое"));
    AutoNumBox->setObjectName(QStringLiteral("AutoNumBox"));
    AutoNumBox->setChecked(true);
    v->addWidget(AutoNumBox);
    v->addWidget(new QLabel(QStringLiteral("присвоение имен")));
    MoveEventBox = new QCheckBox(QStringLiteral("Перенос событий"));
    MoveEventBox->setObjectName(QStringLiteral("MoveEventBox"));
    v->addWidget(MoveEventBox);
    TrackFigBox = new QCheckBox(QStringLiteral("\"Следящие\" фигуры"));
    TrackFigBox->setObjectName(QStringLiteral("TrackFigBox"));
    TrackFigBox->setChecked(true);
    v->addWidget(TrackFigBox);
    auto* box = new QGroupBox(QStringLiteral("Настройка начального и конечного событий"));
    auto* g = new QGridLayout(box);
    BegEdit = makeName(QStringLiteral("BegEdit"), "s0");
    BegyEdit = makeName(QStringLiteral("BegyEdit"), "y0");
    EndEdit = makeName(QStringLiteral("EndEdit"), "sk");
    EndyEdit = makeName(QStringLiteral("EndyEdit"), "yk");
    g->addWidget(new QLabel(QStringLiteral("Имя")), 0, 1);
    g->addWidget(new QLabel(QStringLiteral("Сигнал")), 0, 2);
    g->addWidget(new QLabel(QStringLiteral("Начальное событие")), 1, 0);
    g->addWidget(BegEdit, 1, 1);
    g->addWidget(BegyEdit, 1, 2);
    g->addWidget(new QLabel(QStringLiteral("Конечное событие")), 2, 0);
    g->addWidget(EndEdit, 2, 1);
    g->addWidget(EndyEdit, 2, 2);
    v->addWidget(box);
    v->addStretch();
    pages->addTab(page, QStringLiteral("ГСА"));
  }

  // "Таблица переходов"
  {
    auto* page = new QWidget;
    auto* v = new QVBoxLayout(page);
    a_state = new QCheckBox(QStringLiteral("Абстрактные состояния"));
    a_state->setObjectName(QStringLiteral("a_state"));
    a_in = new QCheckBox(QStringLiteral("Абстрактные входы"));
    a_in->setObjectName(QStringLiteral("a_in"));
    a_out = new QCheckBox(QStringLiteral("Абстрактные выходы"));
    a_out->setObjectName(QStringLiteral("a_out"));
    v->addWidget(a_state);
    v->addWidget(a_in);
    v->addWidget(a_out);
    triggers = new QGroupBox(QStringLiteral("Тип триггеров"));
    triggers->setObjectName(QStringLiteral("triggers"));
    triggerButtons = new QButtonGroup(this);
    auto* tv = new QVBoxLayout(triggers);
    const char* const names[] = {"Q  - триггеры", "T - триггеры", "JK - триггеры", "RS - триггеры"};
    for (int i = 0; i < 4; ++i) {
      auto* r = new QRadioButton(QString::fromUtf8(names[i]));
      triggerButtons->addButton(r, i);
      tv->addWidget(r);
    }
    triggerButtons->button(0)->setChecked(true);
    v->addWidget(triggers);
    v->addStretch();
    pages->addTab(page, QStringLiteral("Таблица переходов"));
    connect(a_state, &QCheckBox::toggled, this, [this] { a_stateClick(); });
  }

  // "Моделирование"
  {
    auto* page = new QWidget;
    auto* v = new QVBoxLayout(page);
    AutoReg = new QCheckBox(QStringLiteral("Автоматическое заполнение списка регистров"));
    AutoReg->setObjectName(QStringLiteral("AutoReg"));
    AutoReg->setChecked(true);
    v->addWidget(AutoReg);
    v->addStretch();
    pages->addTab(page, QStringLiteral("Моделирование"));
  }
  pages->setCurrentIndex(2);
  pages->setMinimumWidth(560);

  DefBtn = new QPushButton(QStringLiteral("&Сохранить по умолчанию"));
  DefBtn->setObjectName(QStringLiteral("DefBtn"));
  DefBtn->setToolTip(QStringLiteral("Сохранить настройки по умолчанию"));
  DefBtn->setAutoDefault(false);
  OKBtn = new QPushButton(QStringLiteral("OK"));
  OKBtn->setObjectName(QStringLiteral("OKBtn"));
  OKBtn->setDefault(true);
  CancelBtn = new QPushButton(QStringLiteral("Отмена"));
  CancelBtn->setObjectName(QStringLiteral("CancelBtn"));
  CancelBtn->setAutoDefault(false);

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(DefBtn);
  buttons->addStretch();
  buttons->addWidget(OKBtn);
  buttons->addWidget(CancelBtn);
  auto* main = new QVBoxLayout(this);
  main->addWidget(pages);
  main->addLayout(buttons);
  main->setSizeConstraint(QLayout::SetFixedSize);

  connect(DefBtn, &QPushButton::clicked, this, [this] { DefBtnClick(); });
  connect(OKBtn, &QPushButton::clicked, this, [this] {
    OKClick();
    accept();
  });
  connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
  // Only what the user does counts as a change of the size; filling the box does not.
  connect(FontSizeMes->lineEdit(), &QLineEdit::textEdited, this, [this] { FontSizeMesChange(); });
  connect(FontSizeMes, &QComboBox::textActivated, this, [this] { FontSizeMesChange(); });

  LoadOptions();
}

TOptionsForm::~TOptionsForm() {
  if (OptionsForm == this) OptionsForm = nullptr;
}

// ---- getters ----

QLineEdit* TOptionsForm::letterEdit(int index) const {
  switch (index) {
    case 0: return InAbstr;
    case 1: return InDigit;
    case 2: return OutSgn;
    case 3: return InSob;
    case 4: return OutSob;
    default: return nullptr;
  }
}

QChar TOptionsForm::letter(int index) const {
  QLineEdit* e = letterEdit(index);
  if (!e) return QChar();
  const QString t = e->text();
  return t.isEmpty() ? QLatin1Char(kDesignLetters[index]) : t[0];
}

QString TOptionsForm::letterText(int index) const {
  QLineEdit* e = letterEdit(index);
  return e ? e->text() : QString();
}

int TOptionsForm::messageFontSize() const {
  bool ok = false;
  const int v = FontSizeMes->currentText().toInt(&ok);
  return ok && v > 0 ? v : 10;
}

QString TOptionsForm::rvasS0() const { return RvasS0->text(); }
bool TOptionsForm::autoNum() const { return AutoNumBox->isChecked(); }
bool TOptionsForm::trackFig() const { return TrackFigBox->isChecked(); }
bool TOptionsForm::moveEvent() const { return MoveEventBox->isChecked(); }
QString TOptionsForm::begName() const { return BegEdit->text(); }
QString TOptionsForm::begSignal() const { return BegyEdit->text(); }
QString TOptionsForm::endName() const { return EndEdit->text(); }
QString TOptionsForm::endSignal() const { return EndyEdit->text(); }
bool TOptionsForm::abstractStates() const { return a_state->isChecked(); }
bool TOptionsForm::abstractInputs() const { return a_in->isChecked(); }
bool TOptionsForm::abstractOutputs() const { return a_out->isChecked(); }
int TOptionsForm::triggerType() const {
  const int id = triggerButtons->checkedId();
  return id < 0 ? 0 : id;
}
bool TOptionsForm::autoReg() const { return AutoReg->isChecked(); }

// ---- setters ----

void TOptionsForm::setLetter(int index, QChar c) {
  if (QLineEdit* e = letterEdit(index))
    e->setText(c.isNull() || c == QLatin1Char('&') ? QString() : QString(c).toLower());
}
void TOptionsForm::setLetterText(int index, const QString& text) {
  if (QLineEdit* e = letterEdit(index)) e->setText(text);
}
void TOptionsForm::setAutoNum(bool on) { AutoNumBox->setChecked(on); }
void TOptionsForm::setTrackFig(bool on) { TrackFigBox->setChecked(on); }
void TOptionsForm::setMoveEvent(bool on) { MoveEventBox->setChecked(on); }
void TOptionsForm::setBegName(const QString& s) { BegEdit->setText(clean(s, false)); }
void TOptionsForm::setBegSignal(const QString& s) { BegyEdit->setText(clean(s, false)); }
void TOptionsForm::setEndName(const QString& s) { EndEdit->setText(clean(s, false)); }
void TOptionsForm::setEndSignal(const QString& s) { EndyEdit->setText(clean(s, false)); }

OptionValues TOptionsForm::values() const {
  OptionValues v;
  v.letters = InAbstr->text() + InDigit->text() + OutSgn->text() + InSob->text() + OutSob->text();
  v.fontSize = FontSizeMes->currentText();
  v.rvasS0 = RvasS0->text();
  v.autoNum = AutoNumBox->isChecked();
  v.trackFig = TrackFigBox->isChecked();
  v.begName = BegEdit->text();
  v.begSignal = BegyEdit->text();
  v.endName = EndEdit->text();
  v.endSignal = EndyEdit->text();
  v.abstractStates = a_state->isChecked();
  v.abstractInputs = a_in->isChecked();
  v.abstractOutputs = a_out->isChecked();
  v.triggerType = triggerType();
  v.autoReg = AutoReg->isChecked();
  return v;
}

void TOptionsForm::setValues(const OptionValues& v) {
  const QString letters = v.letters.size() == 5 ? v.letters : QString::fromLatin1(kDesignLetters);
  for (int i = 0; i < 5; ++i) setLetter(i, letters[i]);
  FontSizeMes->setEditText(v.fontSize);
  RvasS0->setText(clean(v.rvasS0, true).left(15));
  AutoNumBox->setChecked(v.autoNum);
  TrackFigBox->setChecked(v.trackFig);
  setBegName(v.begName);
  setBegSignal(v.begSignal);
  setEndName(v.endName);
  setEndSignal(v.endSignal);
  a_state->setChecked(v.abstractStates);
  a_in->setChecked(v.abstractInputs);
  a_out->setChecked(v.abstractOutputs);
  if (QAbstractButton* b =
          triggerButtons->button(v.triggerType >= 0 && v.triggerType <= 3 ? v.triggerType : 0))
    b->setChecked(true);
  AutoReg->setChecked(v.autoReg);
  a_stateClick();
}

void TOptionsForm::showPage(Page page) { pages->setCurrentIndex(static_cast<int>(page)); }

// ---- opening ----

void TOptionsForm::lend(DocSettings* record, bool fromDocument) {
  record_ = record;
  fromDocument_ = fromDocument;
}

int TOptionsForm::execFor(DocSettings* record, bool fromDocument) {
  lend(record, fromDocument);
  const int result = exec();
  // The record belongs to the opener and may not outlive this call (the table window's
  // is a temporary); keeping the pointer would leave it dangling.
  record_ = nullptr;
  fromDocument_ = false;
  return result;
}

void TOptionsForm::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  FormActivate();
}

// ---- handlers ----

bool TOptionsForm::IsNumber(const QString& text) { return optstr::IsNumber(text); }

void TOptionsForm::LoadOptions() {
  if (TFrame* f = frame()) LoadOptions(f->options());
}

void TOptionsForm::LoadOptions(const QString& options) {
  if (options.isEmpty()) return;
  setValues(optstr::parse(options));
}

void TOptionsForm::FormActivate() {
  if (fromDocument_ && record_) {
    setLetter(0, record_->InAbstr);
    setLetter(1, record_->InDigit);
    setLetter(2, record_->OutSgn);
    setLetter(3, record_->InSob);
    setLetter(4, record_->OutSob);
    RvasS0->setText(clean(record_->RvasS0, true).left(15));
    FontSizeMes->setEditText(QString::number(record_->fontSize));
  }
  fromDocument_ = false;
}

void TOptionsForm::OKClick() {
  if (!record_) return;
  // An emptied letter edit keeps the record's letter: a document never gets a null letter.
  QChar* letters[5] = {&record_->InAbstr, &record_->InDigit, &record_->OutSgn, &record_->InSob,
                       &record_->OutSob};
  for (int i = 0; i < 5; ++i) {
    const QString t = letterEdit(i)->text();
    if (!t.isEmpty()) *letters[i] = t[0];
  }
  record_->RvasS0 = RvasS0->text();
}

void TOptionsForm::FontSizeMesChange() {
  if (!record_) return;
  bool ok = false;
  const int v = FontSizeMes->currentText().toInt(&ok);
  // While the box is being retyped its text may be empty; the record keeps its size then.
  if (ok && v > 0) record_->fontSize = v;
}

void TOptionsForm::DefBtnClick() {
  if (TFrame* f = frame()) f->setOptions(optstr::build(values()));
}

void TOptionsForm::a_stateClick() {
  const bool on = !a_state->isChecked();
  triggers->setEnabled(on);
  a_out->setEnabled(on);
}

TFrame* TOptionsForm::frame() const { return dynamic_cast<TFrame*>(parentWidget()); }

}  // namespace velmora
