#pragma once
// The text editor of Tiravo for one РВАС, СКУ or ЛСА document: plain lines in a memo, saved
// as cp1251 lines ended by CR LF; hands its lines to the translators.
#include <QString>
#include <QStringList>

#include "platform/longlines.h"
#include "tiravo/forms/childform.h"

class QAction;
class QMenu;
class QPlainTextEdit;

namespace tiravo {

class TEditForm : public TChildForm {
  Q_OBJECT
 public:
  enum Kind { Sku = 1, Rvas = 2, Lsa = 3 };
  explicit TEditForm(QWidget* parent = nullptr);

  int kind() const override { return 3; }
  QList<QMenu*> menus() const override;

  QString FileName = QStringLiteral("Untitled");
  // The frame names the kind right after construction, with the save dialog's filter
  // ("Описание|*.ext|...") for СКУ and ЛСА.
  void setEditKind(int kind, const QString& filter) {
    EditKind = kind;
    if (!filter.isEmpty()) saveFilter = filter;
  }
  int editKind() const { return EditKind; }

  // The text as its lines, and the lines put in place of the text (an edit: the document
  // counts as modified).
  QStringList lines() const;
  void setLines(const QStringList& lines);
  QPlainTextEdit* editor() const { return Editor; }
  bool isModified() const;
  void setModified(bool modified);

  // False (reported) when the file could not be read; the text is then unchanged.
  bool LoadFile(const QString& name);
  // True when the text was written.
  bool Save1Click();
  bool Saveas1Click();

  // ---- handlers ----
  void FormActivate() override;
  bool FormCloseQuery() override;
  void Edit1Click();  // the Edit menu opens: enable cut, copy, paste by selection and clipboard
  void Cut1Click();
  void Copy1Click();
  void Paste1Click();
  void Delete1Click();
  void Selectall1Click();
  void Left1Click(QAction* item);  // one of the three alignment items
  void Wordwrap1Click();
  void FontBig1Click();  // text 2 points larger
  void FontSml2Click();  // text 2 points smaller
  void EditorChange();
  void ToTblClick();
  void ToSkuClick();
  void Print1Click();
  void Printersetup1Click();

  int fontSize() const;
  void setFontSize(int size);
  bool hasFont() const override { return true; }

  QAction *ToTbl = nullptr, *ToSku = nullptr, *wordWrapItem = nullptr;
  QAction *alignLeft = nullptr, *alignRight = nullptr, *alignCenter = nullptr;
  QAction *cutItem = nullptr, *copyItem = nullptr, *pasteItem = nullptr, *deleteItem = nullptr;
  QAction *popupCut = nullptr, *popupCopy = nullptr, *popupPaste = nullptr;
  QMenu* popupMenu() const { return popup_; }

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  int EditKind = Rvas;
  QString saveFilter = QStringLiteral("Файл РВАС (*.rvs)|*.rvs|Все файла|*.*");
  void buildMenus();
  void showLongLineNote();  // in the status bar while some line is shown in pieces
  longlines::TextEdit* Editor = nullptr;
  QList<QMenu*> menus_;
  QMenu* popup_ = nullptr;
};

}  // namespace tiravo
