#pragma once
// The text window: free rich text. Loads rich text or plain code page 1251 text, saves rich
// text, prints. The report commands write their reports into one of these.
#include <QList>
#include <QString>

#include "platform/longlines.h"
#include "platform/plaintext.h"
#include "velmora/frameapi/docchild.h"
#include "velmora/documents/docwindow_common.h"

class QAction;
class QMenu;
class QPrinter;
class QStackedWidget;
class QTextDocument;
class QTextEdit;

namespace velmora {

class TTxtForm : public TDocChild {
  Q_OBJECT
 public:
  explicit TTxtForm(QWidget* parent = nullptr);
  ~TTxtForm() override;

  // ---- TDocChild ----
  ChildKindValue kind() const override { return ckText; }
  bool setFontSize(int size) override;
  bool hasFont() const override { return true; }
  void activated() override { FormActivate(); }
  bool isModified() const override;
  QMenu* fileMenu() const override { return mFile_; }
  QList<QMenu*> windowMenus() const override { return {menus.edit, menus.format}; }

  static QString untitledCaption();  // "Untitled - текстовый редактор"

  // The rich-text edit; report producers write into it.
  QTextEdit* Editor = nullptr;
  // The edit of a plain text file, in place of Editor while the text stays plain: it lays out
  // only what is shown, and a long line in pieces, as the РВАС/СКУ editors do.
  longlines::TextEdit* Plain = nullptr;
  // Whether the window shows a plain text file (in Plain), saved back as it came.
  bool isPlain() const { return plainText_; }
  // Full path, or "Untitled". Report producers set it (and the caption) themselves.
  QString fileName;

  // ---- document ----
  // A rich-text file is shown formatted, any other file as plain 1251 text. False (with a
  // message shown) when the file cannot be read; the window keeps what it had.
  bool LoadFromFile(const QString& path);
  // Both return true when the text was written.
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
  void mFontClick();
  void mPrintClick();
  void mPrintSetupClick();
  void Edit1Click();  // the Edit menu opens: enable cut, copy, paste by selection and clipboard
  void FormActivate();
  bool FormCloseQuery();  // true when the window may close
  void FormClose();

  int fontSize() const;
  bool wordWrap() const;
  docwin::TextMenus menus;  // "&Правка", the pop-up and the format menu
  // The printer the print and set-up dialogs work on (made on first use).
  QPrinter* printer();

 protected:
  FrameHandlers frameHandlers() override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void buildMenus();
  // Shows `doc` (owned by this window) in the editor in place of the one it had.
  void setDocument(QTextDocument* doc);
  // Shows the plain edit (true) or the rich one.
  void showPlain(bool plain);
  // A command that formats text makes a plain text rich: it moves into the rich edit.
  void makeRich();
  // The edit shown.
  QAbstractScrollArea* shown() const;
  void watchModified(QTextDocument* doc);

  QMenu* mFile_ = nullptr;
  QPrinter* printer_ = nullptr;
  bool plainText_ = false;    // loaded from a plain text file, so saved as one
  plaintext::Breaks breaks_;  // how that file parted its lines
  QStackedWidget* stack_ = nullptr;
};

}  // namespace velmora
