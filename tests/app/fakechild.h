#pragma once
// Document windows of every kind as the frame sees them: they record what the frame asks.
#include <QApplication>
#include <QCloseEvent>
#include <QList>
#include <QMenu>
#include <QTemporaryDir>
#include <memory>

#include "platform/dialogs.h"
#include "platform/registry.h"
#include "velmora/frameapi/childkind.h"
#include "velmora/frameapi/docchild.h"
#include "velmora/app/mainform.h"
#include "velmora/oa/yselectform.h"
#include "velmora/frameapi/optionsform.h"

class FakeChild : public TDocChild {
 public:
  explicit FakeChild(int kind, const QString& title = QString()) : kind_(kind) {
    setWindowTitle(title.isEmpty() ? QStringLiteral("Окно %1").arg(kind) : title);
    resize(200, 120);
  }
  ChildKindValue kind() const override { return ChildKindValue(kind_); }
  void frameCommand(FrameCmd cmd, QObject* sender) override {
    commands << cmd;
    senders << sender;
    if (cmd == FrameCmd::ShowMessages && frame()) {
      itemCheckedOnCommand = frame()->commandChecked(FrameCmd::ShowMessages);
      messagesShown = !messagesShown;
      frame()->setCommandChecked(FrameCmd::ShowMessages, messagesShown);
    }
  }
  bool setFontSize(int size) override {
    if (kind_ < 1 || kind_ > 4) return false;
    fontSize = size;
    return true;
  }
  QMenu* fileMenu() const override { return file; }
  QList<QMenu*> windowMenus() const override { return menus; }
  bool isModified() const override { return false; }

  void activated() override {
    TDocChild::activated();
    if (frame()) frame()->setCommandChecked(FrameCmd::ShowMessages, messagesShown);
  }
  // Like the real windows: ask in FormCloseQuery, clean up in FormClose.
  bool FormCloseQuery() override {
    ++asked;
    return !refuseClose;
  }
  void FormClose() override {
    ++closed;
    // The designer and the model window leave the kind as it is when they close.
    if (kind_ != ckOaModel && kind_ != ckOaDesign) {
      ChildKind = ckNone;
      if (frame()) frame()->updateActions();
    }
  }

  QList<FrameCmd> commands;
  QList<QObject*> senders;
  int fontSize = 0;
  bool refuseClose = false;
  int asked = 0, closed = 0;
  // The message list: the frame's item "Показывать &сообщения" shows it for the active window.
  bool messagesShown = false;
  bool itemCheckedOnCommand = false;
  QMenu* file = nullptr;
  QList<QMenu*> menus;

 protected:
  void closeEvent(QCloseEvent* e) override {
    if (!FormCloseQuery()) {
      e->ignore();
      return;
    }
    FormClose();
    e->accept();
  }

 private:
  int kind_;
};

// A frame and options dialog on a settings file of their own; dialogs answered by script.
struct FrameHarness {
  QTemporaryDir dir;
  std::unique_ptr<dlg::Script> script = std::make_unique<dlg::Script>();
  TMainForm* frame = nullptr;

  explicit FrameHarness(bool show = true) {
    Registry::setStorageFile(dir.filePath(QStringLiteral("registry.ini")));
    ChildKind = ckNone;
    frame = new TMainForm;
    OptionsForm = new TOptionsForm(frame);
    YSelectForm = new TYSelectForm(frame);
    if (show) {
      frame->show();
      frame->activateWindow();
      QApplication::setActiveWindow(frame);
    }
  }
  ~FrameHarness() {
    delete frame;
    YSelectForm = nullptr;  // went with the frame
    Registry::setStorageFile(QString());
    ChildKind = ckNone;
  }
  FakeChild* add(int kind, const QString& title = QString(), QObject* owner = nullptr) {
    auto* c = new FakeChild(kind, title);
    frame->addChild(c, owner);
    return c;
  }
};
