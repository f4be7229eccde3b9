#pragma once
// The РВАС/СКУ editor: one text in either language, its DocSettings, the syntax check, the
// conversions РВАС -> СКУ and text -> transition table, and the checker's messages under
// the text (a double click moves the caret to the faulty place).
#include <QList>
#include <QPointer>
#include <QString>
#include <QStringList>

#include "platform/longlines.h"
#include "velmora/frameapi/docchild.h"
#include "velmora/documents/docwindow_common.h"
#include "velmora/documents/formats/docsettings.h"

class QAction;
class QListWidget;
class QMenu;
class QSplitter;

namespace velmora {

class TVexoTableForm;

class TEditForm : public TDocChild {
  Q_OBJECT
 public:
  explicit TEditForm(QWidget* parent = nullptr);
  ~TEditForm() override;

  // ---- TDocChild ----
  ChildKindValue kind() const override { return ckEdit; }
  bool setFontSize(int size) override;
  bool hasFont() const override { return true; }
  void activated() override { FormActivate(); }
  bool isModified() const override;
  QMenu* fileMenu() const override { return mFile_; }
  QList<QMenu*> windowMenus() const override { return {menus.edit, menus.format, mTrans_}; }

  // The document's settings; settings.kind is the language (0 РВАС, 1 СКУ).
  DocSettings settings;
  // Sets the language: the caption of an untitled window, the save filter and extension.
  void setKind(int kind);
  int docKind() const { return settings.kind; }
  static QString untitledCaption(int kind);  // "Untitled - редактор РВАС" / "... СКУ"

  QString fileName;  // full path, or "Untitled"
  // Where Save as starts for an untitled text: beside the text it was converted from.
  QString saveDir;
  QString saveFilter;      // "Файл РВАС (*.rvs)|*.rvs|Все файлы|*.*" or the СКУ one
  bool toSkuFlag = false;  // the text has content and is РВАС: "Перевод в &СКУ" allowed
  bool checkFlag = false;  // the text has content: check and "to table" allowed
  bool messagesVisible = false;
  int messagesHeight = 0;  // the list's height when it was hidden last (0: never)

  // ---- text ----
  longlines::TextEdit* Editor = nullptr;
  QListWidget* ErrorList = nullptr;
  // The text as lines, exactly as shown (an empty text has no lines).
  QStringList lines() const;
  // Replaces the text (undoable edit, marks the document modified).
  void setLines(const QStringList& lines);

  // ---- document ----
  // Reads a *.rvs/*.sku file; false (message shown) when it cannot be read.
  bool LoadFromFile(const QString& path);
  // Both return true when the file was written.
  bool Save1Click();
  bool Saveas1Click();

  // ---- handlers ----
  void Cut1Click();
  void Copy1Click();
  void Paste1Click();
  void Delete1Click();
  void Selectall1Click();
  void Left1Click(QAction* item);  // one of the three alignment items
  void Wordwrap1Click();
  void FontBig1Click();  // text 2 points larger
  void FontSml2Click();  // text 2 points smaller
  void Edit1Click();     // the Edit menu opens: enable cut, copy, paste by selection and clipboard
  void EditorChange();
  void EditorKeyPress();  // the caret position into status panel 1
  void TestingClick();
  void ToSkuClick();
  void ToTblClick();
  void MessageClick();
  void mOptionsClick();
  void ErrorListDblClick();
  void FormActivate();
  bool FormCloseQuery();  // true when the window may close
  void FormClose();

  // Moves the caret to the place a message line "L-P-N- text" names. False (nothing moves)
  // for a line that does not start so or names no line of the text.
  bool jumpToMessage(const QString& message);
  // Reads the three leading numbers of a message line; false when it is malformed.
  static bool parseMessage(const QString& message, int* line, int* pos, int* length);

  int fontSize() const;
  bool wordWrap() const;
  // Table windows made by "to table": this window owns them and closes them with itself.
  QList<QPointer<TVexoTableForm>> ownedTables() const { return tables_; }

  QAction *toTblItem = nullptr, *toSkuItem = nullptr, *testingItem = nullptr;
  docwin::TextMenus menus;  // "&Правка", the pop-up and the format menu

 protected:
  FrameHandlers frameHandlers() override;
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void buildMenus();
  void setMessageListShown(bool shown);
  void showLongLineNote();  // in status panel 2 while some line is shown in pieces
  void showMessages(const QStringList& messages);
  // Runs the checker of the window's language on `text` and lists its messages. False (the
  // list shown, the count in the status bar) when it found errors.
  bool passesCheck(const QStringList& text);
  TVexoTableForm* newTable();
  bool closeOwnedTables();

  QSplitter* splitter_ = nullptr;
  QMenu *mFile_ = nullptr, *mTrans_ = nullptr;
  QList<QPointer<TVexoTableForm>> tables_;
};

}  // namespace velmora
